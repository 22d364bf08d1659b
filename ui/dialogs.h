#pragma once

#include "core/standin.h"

#include <QString>
#include <QStringList>

class QDialog;
class QProgressDialog;
class QWidget;

namespace zor {

// Runs a modal dialog of the program where the user looks and gives the
// focus back afterwards: the box waits until its window is on screen (right
// after start-up it may not be yet, and a box centred on it would land in a
// corner), and when it has gone its window is made active again with the
// focus in the field the box came from. A window manager does that last part
// itself; without one the focus would fall to the root window, and neither
// typing nor the checks on leaving a field would reach the program until a
// click. Returns what QDialog::exec() returns.
int runModal(QDialog &dialog);

// A progress box a screen reader can follow: its bar is named by its text.
void makeReadable(QProgressDialog &progress);

enum class Answer { Ok, Yes, No, Cancel };

// Every message box and file dialog of the program goes through
// Dialogs::current(). The arguments follow QMessageBox: parent, caption, text.
// The user sees real Qt dialogs; tests put a scripted stand-in in place.
class Dialogs : public Replaceable<Dialogs>
{
public:
    static Dialogs &real();

    // The program's own message box: its caption, no icon, an OK button.
    virtual void message(QWidget *parent, const QString &caption, const QString &text);

    // The same box with "&Ja", "&Nein" and "Abbrechen"; closing counts as Cancel.
    virtual Answer askYesNoCancel(QWidget *parent, const QString &caption, const QString &text);

    // The confirmation before a changed report is closed: caption "Bestätigung",
    // question icon, buttons "&Ja", "&Nein", "Abbrechen". Escape counts as Cancel.
    virtual Answer confirm(QWidget *parent, const QString &text);

    // A question with "&Ja" and "&Nein" ("&Nein" the default, so Return does
    // not overwrite anything); closing the box counts as No.
    virtual Answer askYesNo(QWidget *parent, const QString &caption, const QString &text);

    // A question with buttons of its own; the first is the default (Return).
    // Returns the index of the button chosen, or -1 when the box was closed
    // (Escape, the window's close button) without a choice: closing a box
    // never counts as one of its buttons.
    virtual int choose(QWidget *parent, const QString &caption, const QString &text,
                       const QStringList &buttons);

    // Warning with caption "Warnung" and one OK button.
    virtual void warning(QWidget *parent, const QString &text);

    // The general error report: the program's title as caption, an OK button.
    virtual void error(QWidget *parent, const QString &text);

    // Open dialog for an existing file; empty when cancelled.
    virtual QString openFile(QWidget *parent, const QString &filter);

    // Save dialog: offers `current`, appends `defaultSuffix` when none is typed,
    // does not ask before replacing a file. A name in a folder that does not
    // exist is refused with a warning and the dialog asks again. Empty when
    // cancelled.
    QString saveFile(QWidget *parent, const QString &title, const QString &current,
                     const QString &filter, const QString &defaultSuffix);

protected:
    // One round of the save dialog, without the folder rule.
    virtual QString askSaveFile(QWidget *parent, const QString &title, const QString &offered,
                                const QString &filter, const QString &defaultSuffix);
};

} // namespace zor
