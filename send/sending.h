#pragma once

#include "core/result.h"

#include <QString>
#include <QStringList>
#include <QUrl>

namespace zor {

// The association's report mailbox, the one address the instructions name
// and the mail program is started with.
QString reportMailbox();

// The subject every report mail carries.
QString reportSubject();

// The seventeen lines that tell the club how to send its companion copy,
// joined by single line feeds. Trailing blanks belong to the lines.
QString sendInstructions(const QString &mailbox, const QString &subject);

// mailto: URL with the mailbox as recipient and the subject filled in.
QUrl mailtoUrl(const QString &mailbox, const QString &subject);

// Arguments for xdg-email. The attachment is left out when it is empty.
QStringList xdgEmailArguments(const QString &mailbox, const QString &subject,
                              const QString &attachment);

// What the user is told when no mail program could be started.
QString mailNotStartedText(const QString &mailbox, const QString &subject,
                           const QString &attachment);

// What the user is told when xdg-email had not come back in time: the mail
// program may be open, but nobody confirmed it.
QString mailUnconfirmedText(const QString &mailbox, const QString &subject,
                            const QString &attachment);

// What the user is told when the mail program was opened: to check the
// attachment (xdg-email was given the file) or to add it (a mailto: URL
// carries none), and that "Ordner öffnen" shows the file to drag in, for a
// webmail in the browser above all, where no attachment ever arrives.
QString mailOpenedText(const QString &mailbox, const QString &subject, const QString &companion,
                       bool attachmentGiven);

// The sentence that offers "Ordner öffnen" after a hand-off that went wrong.
QString folderOfferText(const QString &companion);

// The button that shows the companion file in the file manager.
QString folderButtonText();

// What the user is told when no file manager showed the file.
QString folderNotShownText(const QString &companion);

// What the user is told when the mail program was opened without the file.
QString attachmentLeftOutText(const QString &attachment, const QString &reason);

// True when the path holds only letters, digits and "/._-": nothing a mail
// program's compose line could take for a separator or a quote.
bool isPlainPath(const QString &path);

// The copy the mail program attaches: the companion file, under its own name
// (the club number with ".zor"), in a folder of this program's own in the
// user's runtime directory, so the path is plain whatever folder the club
// keeps its reports in. Gives the copy's path.
Result<QString> makeAttachmentCopy(const QString &companion);

// The help page to open: the one in the start-up folder when it is there,
// else the first installed copy that exists. Empty when there is none.
QString locateHelpPage(const QString &startupPage, const QStringList &installedPages);

// Where an installed copy of the help page can stand, most specific first:
// beside a relocated installation (<appDir>/../share/zor-quorvane), the copy
// the build puts beside the program (<appDir>/share/zor-quorvane), the given
// data folders, and the installation folder the program was built for.
QStringList helpPageCandidates(const QString &appDir, const QStringList &dataDirPages,
                               const QString &installedPage);

} // namespace zor
