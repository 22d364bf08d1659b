// Renders the main window's four pages and the member list dialog to PNG files and the printout to
// a PDF (offscreen), so the README's pictures can be made again after every change:
//   zor-screenshots <folder>

#include "app/startup.h"
#include "import/memberlistfile.h"
#include "tests/support/formfixture.h"
#include "tests/support/samplereport.h"
#include "ui/memberimportdialog.h"
#include "ui/tsdiappform.h"
#include "ui/zahlengrid.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    zor::installGerman(app);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    TSDIAppForm form;
    form.showReport(zortest::sampleReport());
    form.setModified(false);
    form.resize(640, 470);
    form.show();

    const char *const names[] = {"verein", "mitglieder", "meister", "web"};
    for (int i = 0; i < 4; ++i) {
        zortest::pages(form)->setCurrentIndex(i);
        zortest::idle(form);
        const QString path = QDir(folder).filePath(
                QStringLiteral("seite-%1.png").arg(QLatin1String(names[i])));
        if (!form.grab().save(path))
            return 1;
    }

    // The dialog of "Mitgliederliste übernehmen..." with the test data's member list.
    zor::Result<zor::MemberBook> list = zor::readMemberListFile(
            QStringLiteral(ZOR_SAMPLE_MEMBER_LIST));
    if (!list)
        return 1;
    const QDate today(2026, 12, 8);
    zor::Result<zor::FirstCount> first = zor::countFirstSheet(
            *list, zor::CountRules{zor::referenceDayFor(today), today, zor::OtherSex::NotCounted});
    if (!first)
        return 1;
    const zor::Report shown = form.currentReport();
    MemberImportDialog importDialog({std::move(list).value(), std::move(first).value()},
                                    QStringLiteral("mitglieder.xlsx"), shown.counts, shown.masters,
                                    today, &form);
    importDialog.show();
    QCoreApplication::processEvents();
    if (!importDialog.grab().save(QDir(folder).filePath(QStringLiteral("mitgliederliste.png"))))
        return 1;
    importDialog.hide();

    // And the printout, as "Als PDF speichern..." writes it.
    zortest::dialogs().setScripted(true);
    const QString pdf = QDir(folder).filePath(QStringLiteral("ausdruck.pdf"));
    zortest::dialogs().primeFile(pdf);
    zortest::trigger(form, "FileSavePdf");
    return QFileInfo::exists(pdf) ? 0 : 1;
}
