// Printing the whole report, on the printer or into a PDF file.

#include "ui/tsdiappform.h"

#include "core/texts.h"
#include "print/cupsclient.h"
#include "print/defaultprinter.h"
#include "print/offthread.h"
#include "print/printjob.h"
#include "print/printlayout.h"
#include "print/reportpainter.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <climits>
#include <optional>

namespace {

// A wait shorter than this shows no box; the window meanwhile repaints but
// keeps the user's clicks and keys for afterwards.
constexpr int ShowBoxAfterMs = 500;
// Qt's print support waits for the spooler without a limit of its own.
constexpr int QtPatienceMs = zor::cups::PatienceMs;
// Asking the spooler for its printers takes two requests, each with its own limit.
constexpr int AskPatienceMs = 2 * zor::cups::PatienceMs + 1000;

// Most Linux desktops have no printer set up; the PDF is the way out.
void tellNoPrinter(QWidget *parent)
{
    zor::Dialogs::current().message(
            parent, zor::programName(),
            QStringLiteral("Es ist kein Drucker eingerichtet, daher kann der Bericht nicht "
                           "gedruckt werden.\n\nMit \"Als PDF speichern...\" im Men\u00fc "
                           "\"Datei\" k\u00f6nnen Sie den Bericht als PDF-Datei speichern "
                           "und sp\u00e4ter drucken oder weitergeben."));
}

void tellNotPrinted(QWidget *parent, const QString &error)
{
    zor::Dialogs::current().message(
            parent, zor::programName(),
            QStringLiteral("Der Bericht konnte nicht gedruckt werden.\n\n") + error
                    + QStringLiteral("\n\nBitte pr\u00fcfen Sie den Drucker oder speichern Sie "
                                     "den Bericht mit \"Als PDF speichern...\"."));
}

// Waits for work on its own thread while the window keeps answering. After
// a moment a box shows what happens, with "Abbrechen". Nothing comes back
// when the user cancels, or when `deadlineMs` (0 for none) has passed; then
// `timedOut` says so.
template<typename T>
std::optional<T> await(QWidget *parent, zor::OffThread<T> &task, const QString &label,
                       int deadlineMs, bool *timedOut = nullptr)
{
    QWidget *above = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent;
    QProgressDialog box(label, QString(), 0, 0, above);
    box.setObjectName(QStringLiteral("DruckFortschritt"));
    box.setWindowTitle(zor::programName());
    box.setWindowModality(Qt::WindowModal);
    auto *cancel = new QPushButton(QStringLiteral("Abbrechen"), &box);
    cancel->setObjectName(QStringLiteral("DruckAbbrechen"));
    box.setCancelButton(cancel);
    // The box shows when this wait says so, not by its own clock.
    box.setMinimumDuration(INT_MAX);
    box.setAutoReset(false);
    box.setAutoClose(false);
    zor::makeReadable(box);

    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    bool cancelled = false;
    bool late = false;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (task.total() > 0) {
            box.setMaximum(task.total());
            box.setValue(qMin(task.done(), task.total()));
        }
        late = deadlineMs > 0 && clock.elapsed() >= deadlineMs;
        if (task.finished() || late || (!box.isVisible() && clock.elapsed() >= ShowBoxAfterMs))
            loop.quit();
    });
    QObject::connect(&box, &QProgressDialog::canceled, &loop, [&] {
        cancelled = true;
        loop.quit();
    });
    tick.start(20);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!task.finished() && !late) {
        box.show();
        loop.exec();
    }
    tick.stop();
    box.hide();
    if (task.finished())
        return task.take();
    // The work ends on its own; what it still holds goes with it.
    task.cancel();
    if (timedOut)
        *timedOut = late && !cancelled;
    return std::nullopt;
}

const QString AskingLabel = QStringLiteral("Der Druckdienst wird gefragt...");

// The printers there are, or nothing after telling why not.
std::optional<zor::cups::Printers> askPrinters(QWidget *parent)
{
    auto task = zor::OffThread<zor::Result<zor::cups::Printers>>::start([](auto &state) {
        return zor::DefaultPrinter::current().printers([&state] { return !state.cancelled; });
    });
    bool timedOut = false;
    std::optional<zor::Result<zor::cups::Printers>> asked = await(parent, task, AskingLabel,
                                                                  AskPatienceMs, &timedOut);
    if (!asked) {
        if (timedOut)
            tellNotPrinted(parent, zor::cups::noAnswerText());
        return std::nullopt;
    }
    if (!*asked) {
        if (!asked->reason().isEmpty())
            tellNotPrinted(parent, asked->reason());
        return std::nullopt;
    }
    return asked->value();
}

// The printer of `queue` on its own paper, or nothing after telling why not.
std::unique_ptr<QPrinter> makePrinter(QWidget *parent, const QString &queue)
{
    auto task = zor::OffThread<std::unique_ptr<QPrinter>>::start(
            [queue](auto &) { return zor::DefaultPrinter::current().printer(queue); });
    bool timedOut = false;
    std::optional<std::unique_ptr<QPrinter>> made = await(parent, task, AskingLabel, QtPatienceMs,
                                                          &timedOut);
    if (!made) {
        if (timedOut)
            tellNotPrinted(parent, zor::cups::noAnswerText());
        return nullptr;
    }
    if (!*made) {
        tellNotPrinted(parent, QStringLiteral("Den Drucker %1 gibt es im Drucksystem nicht.")
                                       .arg(zor::quoted(queue)));
        return nullptr;
    }
    return std::move(*made);
}

// The report laid out for the printable area of the printer's paper as it
// is set now; the margins Qt's dialog may have left from another printer go.
zor::PrintLayout layoutFor(QPrinter &printer, const QDate &today, const zor::Report &report)
{
    zor::usePrintableArea(printer);
    const zor::PageGeometry page = zor::pageGeometry(printer);
    return zor::layoutReport(page.width, page.height, page.dpiY, today, report);
}

} // namespace

// Prints straight on the default printer, without a dialog. The window and the
// report are only read. Without a default printer the user may choose one.
void TSDIAppForm::FilePrintExecute1()
{
    commitPendingEdit();
    guarded([this] {
        const zor::Report report = currentReport();
        const std::optional<zor::cups::Printers> printers = askPrinters(this);
        if (!printers)
            return;
        if (printers->queues.isEmpty()) {
            tellNoPrinter(this);
            return;
        }
        if (printers->defaultQueue.isEmpty()) {
            const int choice = zor::Dialogs::current().choose(
                    this, zor::programName(),
                    QStringLiteral("Es ist kein Standarddrucker gew\u00e4hlt, daher wei\u00df "
                                   "das Programm nicht, auf welchem Drucker der Bericht "
                                   "gedruckt werden soll.\n\nIm Druckdialog k\u00f6nnen Sie "
                                   "einen der eingerichteten Drucker w\u00e4hlen (%1).")
                            .arg(printers->queues.join(QStringLiteral(", "))),
                    {QStringLiteral("Drucker w\u00e4hlen..."), QStringLiteral("Abbrechen")});
            if (choice == 0)
                printWithDialog(report, printers->queues.first());
            return;
        }
        std::unique_ptr<QPrinter> printer = makePrinter(this, printers->defaultQueue);
        if (!printer)
            return;
        // The whole layout, counts included, is made before the job begins, so
        // a count that is no whole number stops here with no job open.
        sendJob(*printer, layoutFor(*printer, QDate::currentDate(), report));
    });
}

// Hands one job to the printer; a long one shows its progress and can be
// cancelled. Every way the job fails is told, with the printer's own reason.
void TSDIAppForm::sendJob(QPrinter &printer, const zor::PrintLayout &layout)
{
    if (layout.fit.tooSmall) {
        const QSizeF mm = printer.pageLayout().paintRect(QPageLayout::Millimeter).size();
        tellNotPrinted(this, QStringLiteral("Die bedruckbare Fl\u00e4che des Papiers (%1 \u00d7 %2 "
                                            "mm) ist zu klein f\u00fcr den Bericht.")
                                     .arg(qRound(mm.width()))
                                     .arg(qRound(mm.height())));
        return;
    }
    const zor::JobSettings settings = zor::jobSettings(printer);
    if (settings.queue.isEmpty()) {
        // A file, not a spooler queue: nothing to wait for.
        const zor::PrintResult drawn = zor::printJob(printer, layout);
        if (!drawn)
            tellNotPrinted(this, drawn.reason());
        return;
    }
    auto task = zor::OffThread<zor::PrintResult>::start([settings, layout](auto &state) {
        return zor::printJob(settings, layout, [&state](int done, int total) {
            state.done = done;
            state.total = total;
            return !state.cancelled;
        });
    });
    const std::optional<zor::PrintResult> result = await(
            this, task,
            QStringLiteral("Der Bericht wird an den Drucker %1 gesendet...")
                    .arg(zor::quoted(settings.queue)),
            0);
    if (!result)
        return; // cancelled: the job takes itself back
    if (*result && **result > 0) {
        // The spooler took the job; a failure on the way to the paper is told later.
        zor::watchJob(this, settings.queue, **result,
                      [this](const QString &error) { tellNotPrinted(this, error); });
        return;
    }
    if (!*result && !result->failure().cancelled)
        tellNotPrinted(this, result->reason());
}

// The same printout as a PDF file, for a club without a printer or to mail.
void TSDIAppForm::FileSavePdfExecute()
{
    commitPendingEdit();
    guarded([this] {
        const zor::PageGeometry page = zor::pdfGeometry();
        const zor::PrintLayout layout = zor::layoutReport(page.width, page.height, page.dpiY,
                                                          QDate::currentDate(), currentReport());
        // Offer the report's own name, with the PDF's extension, beside it.
        QString offered;
        if (!currentFileName().isEmpty()) {
            const QFileInfo report(currentFileName());
            offered = report.dir().filePath(report.completeBaseName() + QStringLiteral(".pdf"));
        }
        const QString path = zor::Dialogs::current().saveFile(
                this, QStringLiteral("Bericht als PDF speichern"), offered,
                QStringLiteral("PDF-Dateien (*.pdf)"), QStringLiteral("pdf"));
        if (path.isEmpty())
            return;
        if (const zor::Result<void> written = zor::writePdf(layout, path); !written) {
            zor::Dialogs::current().message(
                    this, zor::programName(),
                    QStringLiteral("Die PDF-Datei %1 konnte nicht geschrieben "
                                   "werden:\n%2")
                            .arg(zor::quotedPath(path), written.reason()));
        }
    });
}

namespace {

// What a printer with its engine swapped for the preview's draws is never sent.
bool isPreview(QPrinter &printer)
{
    return printer.paintEngine() && printer.paintEngine()->type() == QPaintEngine::Picture;
}

// The printer to show or choose first: the default, else the first there is.
std::unique_ptr<QPrinter> firstChoice(QWidget *parent)
{
    const std::optional<zor::cups::Printers> printers = askPrinters(parent);
    if (!printers)
        return nullptr;
    if (printers->queues.isEmpty()) {
        tellNoPrinter(parent);
        return nullptr;
    }
    return makePrinter(parent, printers->defaultQueue.isEmpty() ? printers->queues.first()
                                                                : printers->defaultQueue);
}

} // namespace

// The same pages on screen, on the printer's paper; printing from the
// preview goes through the same job as "Datei Drucken", on the printer and
// paper chosen in its dialog.
void TSDIAppForm::FilePreviewExecute()
{
    commitPendingEdit();
    guarded([this] {
        // The report as it stands now; a count that is no number stops here.
        const zor::Report report = currentReport();
        const QDate today = QDate::currentDate();
        std::unique_ptr<QPrinter> printer = firstChoice(this);
        if (!printer)
            return;
        layoutFor(*printer, today, report);

        QPrintPreviewDialog preview(printer.get(), this);
        preview.setWindowTitle(QStringLiteral("Druckvorschau"));
        connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                [this, &report, today](QPrinter *p) {
                    guarded([&] {
                        const zor::PrintLayout layout = layoutFor(*p, today, report);
                        if (isPreview(*p)) {
                            QPainter painter(p);
                            zor::paintLayout(painter, *p, layout.pages);
                        } else {
                            sendJob(*p, layout);
                        }
                    });
                });
        zor::runModal(preview);
    });
}

// The system's print dialog first: printer, paper, copies and pages.
void TSDIAppForm::FilePrintDialogExecute()
{
    commitPendingEdit();
    guarded([this] {
        const zor::Report report = currentReport();
        const std::optional<zor::cups::Printers> printers = askPrinters(this);
        if (!printers)
            return;
        if (printers->queues.isEmpty()) {
            tellNoPrinter(this);
            return;
        }
        printWithDialog(report, printers->defaultQueue.isEmpty() ? printers->queues.first()
                                                                 : printers->defaultQueue);
    });
}

// The print dialog, opened on `queue`, and the job on what the user chose.
void TSDIAppForm::printWithDialog(const zor::Report &report, const QString &queue)
{
    std::unique_ptr<QPrinter> printer = makePrinter(this, queue);
    if (!printer)
        return;
    const QDate today = QDate::currentDate();
    const int pages = int(layoutFor(*printer, today, report).pages.size());

    QPrintDialog dialog(printer.get(), this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    dialog.setMinMax(1, pages);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (zor::runModal(dialog) != QDialog::Accepted)
        return;
    sendJob(*printer, layoutFor(*printer, today, report));
}
