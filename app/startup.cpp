#include "app/startup.h"

#include "app/recoverystore.h"
#include "ui/icons.h"
#include "ui/tsdiappform.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace zor {

QTranslator *installGerman(QApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
    return translator;
}

int runProgram(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("zor-quorvane"));
    QApplication::setApplicationVersion(QStringLiteral(ZOR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("zor-quorvane"));
    installGerman(app);
    QApplication::setWindowIcon(QIcon(zor::icons::programPicture(64)));

    TSDIAppForm form;
    form.show();
    form.startRecovery(RecoveryStore::defaultFolder());
    form.offerRecovery();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && !args.at(1).isEmpty())
        form.openFromCommandLine(args.at(1));
    return app.exec();
}

} // namespace zor
