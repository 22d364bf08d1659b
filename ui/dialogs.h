#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace zor {

enum class Answer { Ok, Yes, No, Cancel };

// What a dialog showed, as the scripted stand-in records it.
struct ShownDialog
{
    QString kind; // "message", "confirm", "warning", "error", "open", "save"
    QString caption;
    QString text;
    QStringList buttons;
    QString filter;  // file dialogs
    QString initial; // file dialogs: the name offered
};

// Every message box and file dialog of the program goes through here. Tests
// switch on the scripted stand-in, prime the next answers and file names, and
// read back what was shown; the user sees real Qt dialogs.
class Dialogs
{
public:
    // The program's own message box: its caption, no icon, an OK button or
    // Yes/No/Cancel. Returns Ok, or Yes/No/Cancel (closing counts as Cancel).
    static Answer message(QWidget *parent, const QString &text, const QString &caption,
                          bool yesNoCancel = false);

    // The confirmation before a changed report is closed: caption "Bestätigung",
    // question icon, buttons "&Ja", "&Nein", "Abbrechen". Escape counts as Cancel.
    static Answer confirm(QWidget *parent, const QString &text);

    // A question with the buttons "&Ja" and "&Nein" ("&Nein" the default, so
    // Return does not overwrite anything); closing the box counts as No.
    static Answer askYesNo(QWidget *parent, const QString &text, const QString &caption);

    // A question with buttons of its own; the first is the default (Return).
    // Returns the index of the button chosen; closing the box counts as the
    // last one. The stand-in answers Yes for the first button, No for the second.
    static int choose(QWidget *parent, const QString &text, const QString &caption,
                      const QStringList &buttons);

    // Warning with caption "Warnung" and one OK button.
    static void warning(QWidget *parent, const QString &text);

    // The general error report: the program's title as caption, an OK button.
    static void error(QWidget *parent, const QString &text);

    // Open dialog for an existing file; empty when cancelled.
    static QString openFile(QWidget *parent, const QString &filter);

    // Save dialog: offers `current`, appends `defaultSuffix` when none is typed,
    // does not ask before replacing a file. A name in a folder that does not
    // exist is refused with a warning and the dialog asks again. Empty when
    // cancelled.
    static QString saveFile(QWidget *parent, const QString &title, const QString &current,
                            const QString &filter, const QString &defaultSuffix);

    // --- the scripted stand-in for tests ---
    static void setScripted(bool on);
    static bool scripted();
    static void primeAnswer(Answer a);          // next message/confirm answer
    static void primeFile(const QString &path); // next file dialog result ("" = cancel)
    static int pendingAnswers();
    static int pendingFiles();
    static const QList<ShownDialog> &shown();
    static void clearShown();
    static void reset(); // forget primed answers and what was shown
};

} // namespace zor
