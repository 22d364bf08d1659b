#include "app/commandline.h"

#include <QCommandLineParser>

namespace zor {

namespace {

// The parser knows our options; the texts the user reads are our own, so
// they are German whether or not Qt's translation is there.
struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}};

    explicit Parser(const QStringList &arguments)
    {
        parser.addOption(help);
        parser.addOption(version);
        ok = parser.parse(arguments);
    }
    bool ok = false;
};

QString quoted(const QString &s)
{
    return QString::fromUtf8("\u201e") + s + QString::fromUtf8("\u201c");
}

} // namespace

Result<CommandLine> parseCommandLine(const QStringList &arguments)
{
    Parser p(arguments);
    if (!p.ok) {
        const QStringList unknown = p.parser.unknownOptionNames();
        if (unknown.isEmpty())
            return Failure{p.parser.errorText()};
        const QString name = unknown.constFirst();
        return Failure{
                QStringLiteral("Unbekannte Option %1.")
                        .arg(quoted((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"))
                                    + name))};
    }
    CommandLine c;
    if (p.parser.isSet(p.help)) {
        c.action = CommandLine::ShowHelp;
        return c;
    }
    if (p.parser.isSet(p.version)) {
        c.action = CommandLine::ShowVersion;
        return c;
    }
    const QStringList files = p.parser.positionalArguments();
    if (files.size() > 1) {
        QStringList names;
        for (const QString &f : files)
            names << quoted(f);
        return Failure{
                QString::fromUtf8(
                        "Es kann nur eine Datei ge\u00f6ffnet werden, angegeben sind %1: %2.")
                        .arg(files.size())
                        .arg(names.join(QStringLiteral(", ")))};
    }
    if (!files.isEmpty())
        c.file = files.constFirst();
    return c;
}

bool answerableWithoutWindow(const QStringList &arguments)
{
    Parser p(arguments);
    return p.ok
           && (p.parser.isSet(p.help) || p.parser.isSet(p.version)
               || p.parser.positionalArguments().size() > 1);
}

QString commandLineHelp()
{
    return QString::fromUtf8(
            "Aufruf: zor-quorvane [Optionen] [Datei]\n"
            "\n"
            "ZOR-Quorvane: die j\u00e4hrliche Bestandsmeldung (Quorvane) eines Vereins ausf\u00fcllen,\n"
            "pr\u00fcfen, speichern, drucken und an den Verband schicken.\n"
            "\n"
            "Argumente:\n"
            "  Datei          eine gespeicherte Quorvane (.zor), die beim Start ge\u00f6ffnet wird;\n"
            "                 ohne Datei beginnt eine neue Meldung\n"
            "\n"
            "Optionen:\n"
            "  -h, --help     zeigt diese Hilfe an\n"
            "  -v, --version  zeigt die Versionsnummer an\n"
            "  --             alles Folgende ist ein Dateiname, auch wenn es mit - beginnt\n");
}

QString commandLineVersion()
{
    return QStringLiteral("zor-quorvane " ZOR_VERSION "\n");
}

QString commandLineRefusal(const QString &error)
{
    return QStringLiteral("zor-quorvane: ") + error
           + QString::fromUtf8(
                   "\n\u201ezor-quorvane --help\u201c zeigt, wie das Programm aufgerufen wird.\n");
}

} // namespace zor
