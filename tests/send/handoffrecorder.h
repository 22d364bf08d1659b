#pragma once

#include "send/desktophandoff.h"

#include <QList>
#include <QUrl>

namespace zortest {

// Stands in for the desktop: records every program start and every URL, and
// answers as primed. Puts itself in place while it lives.
class HandOffRecorder : public zor::DesktopHandOff
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
    };

    QString xdgEmail; // what the search for xdg-email finds ("" = not there)
    QString xdgOpen;  // the same for xdg-open
    zor::HandOffResult result{zor::HandOffResult::Finished, 0}; // how every started program ends
    bool openSucceeds = true;
    QStringList helpPages; // the installed copies to look at
    QList<Start> starts;
    QList<QUrl> urls;

    QString findProgram(const QString &name) const override
    {
        if (name == QLatin1String("xdg-email"))
            return xdgEmail;
        return name == QLatin1String("xdg-open") ? xdgOpen : QString();
    }
    zor::HandOffResult run(const QString &program, const QStringList &arguments, int) override
    {
        starts.append({program, arguments});
        return result;
    }
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return openSucceeds;
    }
    QStringList installedHelpPages() const override { return helpPages; }

private:
    zor::StandIn<zor::DesktopHandOff> m_inPlace{*this};
};

} // namespace zortest
