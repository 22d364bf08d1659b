#pragma once

#include "ui/dialogs.h"

#include <QList>
#include <QQueue>

namespace zortest {

// What a dialog showed, as the scripted stand-in records it.
struct ShownDialog
{
    QString kind; // "message", "confirm", "question", "choice", "warning", "error", "open", "save"
    QString caption;
    QString text;
    QStringList buttons;
    QString filter;  // file dialogs
    QString initial; // file dialogs: the name offered
};

// Answers the program's dialogs from primed answers and file names, as a
// person would, and records what each one showed. Unprimed, a box is closed
// (Cancel, or OK where that is the only button) and a file dialog cancelled.
class ScriptedDialogs : public zor::Dialogs
{
public:
    void primeAnswer(zor::Answer a) { m_answers.enqueue(a); }
    void primeFile(const QString &path) { m_files.enqueue(path); }
    const QList<ShownDialog> &shown() const { return m_shown; }
    void clearShown() { m_shown.clear(); }
    void reset(); // forget primed answers and what was shown
    // Off: the real dialogs are shown, for tests that answer a real
    // QMessageBox or QFileDialog as a person would.
    void setScripted(bool on) { m_scripted = on; }

    void message(QWidget *parent, const QString &caption, const QString &text) override;
    zor::Answer askYesNoCancel(QWidget *parent, const QString &caption,
                               const QString &text) override;
    zor::Answer confirm(QWidget *parent, const QString &text) override;
    zor::Answer askYesNo(QWidget *parent, const QString &caption, const QString &text) override;
    int choose(QWidget *parent, const QString &caption, const QString &text,
               const QStringList &buttons) override;
    void warning(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;
    QString openFile(QWidget *parent, const QString &filter) override;

protected:
    QString askSaveFile(QWidget *parent, const QString &caption, const QString &offered,
                        const QString &filter, const QString &defaultSuffix) override;

private:
    zor::Answer answer(zor::Answer fallback);
    QString file();
    void record(const QString &kind, const QString &caption, const QString &text,
                const QStringList &buttons, const QString &filter = {},
                const QString &initial = {});

    QQueue<zor::Answer> m_answers;
    QQueue<QString> m_files;
    QList<ShownDialog> m_shown;
    bool m_scripted = true;
};

// The stand-in every window test, benchmark and screenshot uses; the first
// call puts it in place for the rest of the program's run.
ScriptedDialogs &dialogs();

} // namespace zortest
