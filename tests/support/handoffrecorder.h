#pragma once

#include "send/desktophandoff.h"

#include <QList>
#include <QMap>
#include <QTimer>
#include <QUrl>

namespace zortest {

// Stands in for the desktop: records every program start, every URL and
// every file-manager request, and answers as primed, from the event loop as
// the real desktop does. Puts itself in place while it lives.
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
    QMap<QString, zor::HandOffResult> resultOf;                 // ... unless its own is primed here
    bool openSucceeds = true;
    bool fileManagerShows = true; // how the file manager answers
    QStringList helpPages;        // the installed copies to look at
    QList<Start> starts;
    QList<QUrl> urls;
    QList<QStringList> shownItems; // what the file manager was asked to show

    QString findProgram(const QString &name) const override
    {
        if (name == QLatin1String("xdg-email"))
            return xdgEmail;
        return name == QLatin1String("xdg-open") ? xdgOpen : QString();
    }
    void start(const QString &program, const QStringList &arguments, int, QObject *context,
               Finished done) override
    {
        starts.append({program, arguments});
        const zor::HandOffResult r = resultOf.value(program, result);
        QTimer::singleShot(0, context, [done, r] { done(r); });
    }
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return openSucceeds;
    }
    void showItems(const QStringList &fileUrls, int, QObject *context, Answered done) override
    {
        shownItems.append(fileUrls);
        const bool shows = fileManagerShows;
        QTimer::singleShot(0, context, [done, shows] { done(shows); });
    }
    QStringList installedHelpPages() const override { return helpPages; }

private:
    zor::StandIn<zor::DesktopHandOff> m_inPlace{*this};
};

} // namespace zortest
