#include "import/memberlistloader.h"

#include "import/memberlistreaders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

namespace zor {

namespace {

// The readers once loaded: the plugin stays loaded until the program ends.
struct PluginState
{
    QStringList folders;
    MemberListReaders *readers = nullptr;
};

PluginState &state()
{
    static PluginState s;
    return s;
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

Result<MemberListReaders *> loadReaders()
{
    PluginState &s = state();
    if (s.readers)
        return s.readers;
    const QString cannot = QStringLiteral(
            "Mitgliederlisten k\u00f6nnen nicht gelesen werden, weil %1.\n\n%2\n\n"
            "Bitte installieren Sie ZOR-Quorvane noch einmal.");
    const QStringList folders = memberListPluginFolders();
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(memberListPluginName());
        if (!QFileInfo(path).isFile())
            continue;
        QPluginLoader loader(path);
        QObject *plugin = loader.instance();
        if (auto *readers = qobject_cast<MemberListReaders *>(plugin)) {
            s.readers = readers;
            return readers;
        }
        if (plugin)
            return Failure{cannot.arg(QStringLiteral("ein Teil des Programms nicht zu dieser "
                                                     "Version von ZOR-Quorvane passt"),
                                      shown(path))};
        return Failure{cannot.arg(QStringLiteral("sich ein Teil des Programms nicht laden "
                                                 "l\u00e4sst"),
                                  shown(path) + QStringLiteral("\n") + loader.errorString())};
    }
    QStringList where;
    for (const QString &folder : folders)
        where << shown(folder);
    return Failure{cannot.arg(QStringLiteral("ein Teil des Programms fehlt"),
                              QStringLiteral("Die Datei %1 ist in keinem dieser Ordner:\n%2")
                                      .arg(memberListPluginName(), where.join(QLatin1Char('\n'))))};
}

} // namespace

QString memberListPluginName()
{
    return QStringLiteral(ZOR_MEMBER_LIST_PLUGIN);
}

QStringList memberListPluginFolders()
{
    if (!state().folders.isEmpty())
        return state().folders;
    const QString app = QCoreApplication::applicationDirPath();
    return {QDir::cleanPath(app + QLatin1Char('/') + QStringLiteral(ZOR_PLUGIN_DIR_FROM_BIN)), app};
}

void setMemberListPluginFolders(const QStringList &folders)
{
    state().folders = folders;
    state().readers = nullptr;
}

Result<MemberBook> readMemberListFileViaPlugin(const QString &path, const ProgressHook &progress)
{
    const Result<MemberListReaders *> readers = loadReaders();
    if (!readers)
        return readers.failure();
    return (*readers)->readMemberListFile(path, progress);
}

Result<void> loadMemberListReaders()
{
    const Result<MemberListReaders *> readers = loadReaders();
    if (!readers)
        return readers.failure();
    return {};
}

} // namespace zor
