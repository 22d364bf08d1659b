// Renders the main window's four pages and the member list dialog to PNG files and the printout to
// a PDF (offscreen), so the README's pictures can be made again after every change:
//   zor-screenshots <folder>

#include "app/startup.h"
#include "import/memberlistfile.h"
#include "tests/support/formfixture.h"
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
    zor::Report r = zor::Report::fresh();
    const char *const sample[zor::FieldCount] = {"Judo-Club Beispielhausen e.V.",
                                                 "0042",
                                                 "Xy7k",
                                                 "Erika",
                                                 "Mustermann",
                                                 "Hauptstraße 1",
                                                 "12345",
                                                 "Beispielhausen",
                                                 "01234 567890",
                                                 "",
                                                 "info@judo-beispielhausen.de",
                                                 "Sporthalle am Park",
                                                 "Parkweg 3",
                                                 "12345",
                                                 "Beispielhausen",
                                                 "judo-beispielhausen.de"};
    for (int i = 0; i < zor::FieldCount; ++i)
        r.texts[i] = QString::fromUtf8(sample[i]);
    const char *const counts[zor::AgeGroupCount][2] = {
            {"4", "3"}, {"12", "9"}, {"6", "5"}, {"3", "2"}, {"8", "4"}, {"5", "2"}, {"2", "1"}};
    for (int g = 0; g < zor::AgeGroupCount; ++g)
        r.counts[g] = {QString::fromLatin1(counts[g][0]), QString::fromLatin1(counts[g][1])};
    r.masters = QStringList{QStringLiteral("Mustermann;Erika;3"),
                            QString::fromUtf8("M\u00fcller;Hans;2"),
                            QStringLiteral("Schmidt;Anna;1")};
    form.showReport(r);
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
    const zor::Report shown = form.currentReport();
    MemberImportDialog importDialog(std::move(list).value(), QStringLiteral("mitglieder.xlsx"),
                                    shown.counts, shown.masters, QDate(2026, 12, 8), &form);
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
