#include "app/startup.h"

#include "app/commandline.h"
#include "app/endsignals.h"
#include "core/texts.h"
#include "reportfile/recoverystore.h"
#include "reportfile/safefile.h"
#include "ui/dialogs.h"
#include "ui/icons.h"
#include "ui/programstyle.h"
#include "ui/tsdiappform.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace zor {

namespace {

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

} // namespace

std::optional<int> answerCommandLine(const Result<CommandLine> &command)
{
    if (!command) {
        print(stderr, commandLineRefusal(command.reason()));
        return refusedCommandLineStatus;
    }
    switch (command->action) {
    case CommandLine::ShowHelp:
        print(stdout, commandLineHelp());
        return 0;
    case CommandLine::ShowVersion:
        print(stdout, commandLineVersion());
        return 0;
    case CommandLine::Run:
        break;
    }
    return std::nullopt;
}

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

Result<CommandLine> readCommandLine(int argc, char *argv[])
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return parseCommandLine(args);
}

// A report left by a run that did not end normally comes first; a file
// named on the command line then asks before it replaces it.
static void startWith(TSDIAppForm &form, const CommandLine &command)
{
    form.startRecovery(RecoveryStore::defaultFolder());
    keepReportAtSessionEnd(form);
    form.offerRecovery();
    if (!command.file.isEmpty()) {
        // Named relative to the folder the user started the program in.
        const QString path = QFileInfo(command.file).absoluteFilePath();
        // Looked at first, without waiting on a pipe or reading a device.
        if (const ReadResult readable = readFileBounded(path)) {
            form.openFromCommandLine(path);
        } else {
            const QString why = readable.reason();
            print(stderr, QString::fromUtf8("zor-quorvane: Die Datei %1 kann nicht ge\u00f6ffnet "
                                            "werden. %2\n")
                                  .arg(zor::quotedPath(path), why));
            // Told in the window too: a double click has no terminal. The box
            // comes once the window is on screen.
            QTimer::singleShot(0, &form, [&form, path, why] {
                zor::Dialogs::current().warning(
                        &form, QString::fromUtf8("Datei kann nicht ge\u00f6ffnet werden\n\n%1\n%2")
                                       .arg(zor::quotedPath(path), why));
            });
        }
    }
}

int runProgram(QApplication &app, const CommandLine &command)
{
    QApplication::setApplicationName(QStringLiteral("zor-quorvane"));
    QApplication::setApplicationVersion(QStringLiteral(ZOR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("zor-quorvane"));
    installGerman(app);
    QApplication::setStyle(new ProgramStyle); // before the first widget
    QApplication::setWindowIcon(QIcon(zor::icons::programPicture(64)));

    TSDIAppForm form;
    form.show();
    // The window goes to the screen first; the recovery check and the report
    // named on the command line follow at the event loop's first turn.
    QTimer::singleShot(0, &form, [&form, &command] { startWith(form, command); });
    return app.exec();
}

} // namespace zor
