#include "app/commandline.h"

#include "core/texts.h"

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
        // "-platform" is one word, not -p -l -a ...
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOption(help);
        parser.addOption(version);
        ok = parser.parse(arguments);
    }
    bool ok = false;
};

// Qt's own options, which QApplication takes out of the command line before
// the program sees it: the platform's, the window's, the style's and those
// of the X11 platform plugin. Written with one dash or two, and taken
// wherever they stand, after "--" too, as Qt does.
struct QtOption
{
    const char *name;
    bool takesValue;
    bool valueAfterEquals; // "-style=fusion" as well as "-style fusion"
};
constexpr QtOption qtOptions[] = {
        {"platform", true, false},
        {"platformpluginpath", true, false},
        {"platformtheme", true, false},
        {"plugin", true, false},
        {"qwindowgeometry", true, false},
        {"geometry", true, false},
        {"qwindowtitle", true, false},
        {"title", true, false},
        {"qwindowicon", true, false},
        {"icon", true, false},
        {"style", true, true},
        {"stylesheet", true, true},
        {"session", true, false},
        {"qmljsdebugger", true, true},
        {"reverse", false, false},
        {"testability", false, false},
        {"widgetcount", false, false},
        {"display", true, false},
        {"name", true, false},
        {"visual", true, false},
        {"nograb", false, false},
        {"dograb", false, false},
};

// The arguments without Qt's own options and their values. A Qt option that
// wants a value and has none is refused: Qt would take it silently.
Result<QStringList> withoutQtOptions(const QStringList &arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments.at(i);
        if (i == 0 || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")
            || arg == QLatin1String("--")) {
            kept << arg;
            continue;
        }
        const QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        const QtOption *found = nullptr;
        bool hasValue = false;
        for (const QtOption &o : qtOptions) {
            const QLatin1String n(o.name);
            if (name == n) {
                found = &o;
            } else if (o.valueAfterEquals && name.startsWith(n + QLatin1Char('='))) {
                found = &o;
                hasValue = true;
            }
            if (found)
                break;
        }
        if (!found) {
            kept << arg;
            continue;
        }
        if (found->takesValue && !hasValue) {
            if (i + 1 == arguments.size())
                return Failure{
                        QStringLiteral("Die Option %1 verlangt einen Wert.").arg(quoted(arg))};
            ++i;
        }
    }
    return kept;
}

} // namespace

Result<CommandLine> parseCommandLine(const QStringList &givenArguments)
{
    const Result<QStringList> arguments = withoutQtOptions(givenArguments);
    if (!arguments)
        return arguments.failure();
    Parser p(*arguments);
    if (!p.ok) {
        const QStringList unknown = p.parser.unknownOptionNames();
        if (unknown.isEmpty())
            return Failure{p.parser.errorText()};
        // Named as it was typed: "-drucken", not "-d".
        const QString name = unknown.constFirst();
        for (const QString &arg : *arguments) {
            if (arg == QLatin1String("--"))
                break;
            if (arg.size() > 1 && arg.startsWith(QLatin1Char('-'))
                && QStringView(arg).mid(arg.startsWith(QLatin1String("--")) ? 2 : 1)
                                   .split(u'=')
                                   .first()
                           == name)
                return Failure{QStringLiteral("Unbekannte Option %1.").arg(quoted(arg))};
        }
        return Failure{QStringLiteral("Unbekannte Option %1.").arg(quoted(name))};
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
            "  --             alles Folgende ist ein Dateiname, auch wenn es mit - beginnt\n"
            "\n"
            "Dazu kommen die Optionen jedes Qt-Programms, etwa -platform Name oder -style Name.\n");
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
