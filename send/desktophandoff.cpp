#include "send/desktophandoff.h"

#include "send/sending.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace zor {

namespace {

DesktopHandOff *standInHandOff = nullptr;

} // namespace

DesktopHandOff::~DesktopHandOff() = default;

QString DesktopHandOff::findProgram(const QString &name) const
{
    return QStandardPaths::findExecutable(name);
}

bool DesktopHandOff::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

bool DesktopHandOff::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

QStringList DesktopHandOff::installedHelpPages() const
{
    const QString page = QStringLiteral("zor-quorvane/zorhelp.htm");
    return helpPageCandidates(QCoreApplication::applicationDirPath(),
                              QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, page),
                              QStringLiteral(ZOR_INSTALLED_HELP));
}

DesktopHandOff &DesktopHandOff::current()
{
    static DesktopHandOff desktop;
    return standInHandOff ? *standInHandOff : desktop;
}

void DesktopHandOff::setCurrent(DesktopHandOff *standIn)
{
    standInHandOff = standIn;
}

bool startMailProgram(DesktopHandOff &desktop, const QString &mailbox, const QString &subject,
                      const QString &attachment)
{
    const QString xdgEmail = desktop.findProgram(QStringLiteral("xdg-email"));
    if (!xdgEmail.isEmpty()
        && desktop.startDetached(xdgEmail, xdgEmailArguments(mailbox, subject, attachment)))
        return true;
    return desktop.openUrl(mailtoUrl(mailbox, subject));
}

} // namespace zor
