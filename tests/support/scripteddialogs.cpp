#include "tests/support/scripteddialogs.h"

#include <QFileInfo>

namespace zortest {

void ScriptedDialogs::reset()
{
    m_answers.clear();
    m_files.clear();
    m_shown.clear();
}

zor::Answer ScriptedDialogs::answer(zor::Answer fallback)
{
    return m_answers.isEmpty() ? fallback : m_answers.dequeue();
}

QString ScriptedDialogs::file()
{
    return m_files.isEmpty() ? QString() : m_files.dequeue();
}

void ScriptedDialogs::record(const QString &kind, const QString &caption, const QString &text,
                             const QStringList &buttons, const QString &filter,
                             const QString &initial)
{
    m_shown.append(ShownDialog{kind, caption, text, buttons, filter, initial});
}

void ScriptedDialogs::message(QWidget *parent, const QString &caption, const QString &text)
{
    if (!m_scripted)
        return Dialogs::message(parent, caption, text);
    record(QStringLiteral("message"), caption, text, {QStringLiteral("OK")});
    answer(zor::Answer::Ok);
}

zor::Answer ScriptedDialogs::askYesNoCancel(QWidget *parent, const QString &caption,
                                            const QString &text)
{
    if (!m_scripted)
        return Dialogs::askYesNoCancel(parent, caption, text);
    record(QStringLiteral("message"), caption, text,
           {QStringLiteral("Ja"), QStringLiteral("Nein"), QStringLiteral("Abbrechen")});
    return answer(zor::Answer::Cancel);
}

zor::Answer ScriptedDialogs::confirm(QWidget *parent, const QString &text)
{
    if (!m_scripted)
        return Dialogs::confirm(parent, text);
    record(QStringLiteral("confirm"), QString::fromUtf8("Best\u00e4tigung"), text,
           {QStringLiteral("&Ja"), QStringLiteral("&Nein"), QStringLiteral("Abbrechen")});
    return answer(zor::Answer::Cancel);
}

zor::Answer ScriptedDialogs::askYesNo(QWidget *parent, const QString &caption, const QString &text)
{
    if (!m_scripted)
        return Dialogs::askYesNo(parent, caption, text);
    record(QStringLiteral("question"), caption, text,
           {QStringLiteral("&Ja"), QStringLiteral("&Nein")});
    return answer(zor::Answer::No);
}

// Yes picks the first button, No the second, anything else closes the box (-1).
int ScriptedDialogs::choose(QWidget *parent, const QString &caption, const QString &text,
                            const QStringList &buttons)
{
    if (!m_scripted)
        return Dialogs::choose(parent, caption, text, buttons);
    record(QStringLiteral("choice"), caption, text, buttons);
    const zor::Answer a = answer(zor::Answer::Cancel);
    if (a == zor::Answer::Yes)
        return 0;
    if (a == zor::Answer::No)
        return 1;
    return -1;
}

void ScriptedDialogs::warning(QWidget *parent, const QString &text)
{
    if (!m_scripted)
        return Dialogs::warning(parent, text);
    record(QStringLiteral("warning"), QStringLiteral("Warnung"), text, {QStringLiteral("OK")});
    answer(zor::Answer::Ok);
}

void ScriptedDialogs::error(QWidget *parent, const QString &text)
{
    if (!m_scripted)
        return Dialogs::error(parent, text);
    record(QStringLiteral("error"), QStringLiteral("ZOR-Quorvane"), text, {QStringLiteral("OK")});
    answer(zor::Answer::Ok);
}

QString ScriptedDialogs::openFile(QWidget *parent, const QString &filter)
{
    if (!m_scripted)
        return Dialogs::openFile(parent, filter);
    record(QStringLiteral("open"), QString(), QString(), {}, filter);
    return file();
}

// As QFileDialog does: a name typed without a suffix gets the default one.
QString ScriptedDialogs::askSaveFile(QWidget *parent, const QString &caption,
                                     const QString &offered, const QString &filter,
                                     const QString &defaultSuffix)
{
    if (!m_scripted)
        return Dialogs::askSaveFile(parent, caption, offered, filter, defaultSuffix);
    record(QStringLiteral("save"), caption, QString(), {}, filter, offered);
    QString f = file();
    if (!f.isEmpty() && !defaultSuffix.isEmpty() && QFileInfo(f).suffix().isEmpty())
        f += QLatin1Char('.') + defaultSuffix;
    return f;
}

ScriptedDialogs &dialogs()
{
    static ScriptedDialogs scripted;
    static zor::StandIn<zor::Dialogs> inPlace(scripted);
    return scripted;
}

} // namespace zortest
