// Plays the desktop's file manager on the tests' own session bus, started by
// the bus when the program asks for it, as a real one is. Answers ShowItems
// by writing the URLs it was given, one a line, to the file named on its
// command line, then ends. With "--refuse" it answers with an error instead.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QTimer>

class FileManager : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    FileManager(const QString &record, bool refuse)
        : m_record(record)
        , m_refuse(refuse)
    { }

public slots:
    void ShowItems(const QStringList &uris, const QString &startupId)
    {
        QFile f(m_record);
        if (f.open(QIODevice::WriteOnly | QIODevice::Append)) {
            f.write((uris.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
            f.write(("startup-id=" + startupId + QLatin1Char('\n')).toUtf8());
        }
        if (m_refuse)
            sendErrorReply(QDBusError::Failed, QStringLiteral("refused"));
        QTimer::singleShot(100, qApp, &QCoreApplication::quit);
    }

private:
    QString m_record;
    bool m_refuse;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2)
        return 2;
    FileManager manager(args.at(1), args.contains(QStringLiteral("--refuse")));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                            QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.freedesktop.FileManager1")))
        return 1;
    // Never outlives the test by long, asked or not.
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    return app.exec();
}

#include "filemanagerstandin.moc"
