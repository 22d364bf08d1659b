#include "ui/nummeredit.h"

#include "app/dialogs.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

NummerEdit::NummerEdit(QWidget *parent)
    : QLineEdit(parent)
{
    // '9' is a required digit; the blank shown for an empty place is '_'.
    setInputMask(QStringLiteral("9999;_"));
    setMaxLength(4);
    setText(QStringLiteral("0000"));
    connect(this, &QLineEdit::textEdited, this, [this] { m_changed = true; });
}

void NummerEdit::focusInEvent(QFocusEvent *event)
{
    if (!m_refusing) {
        m_before = text();
        m_changed = false;
    }
    QLineEdit::focusInEvent(event);
}

void NummerEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A popup (context menu) or a switch to another window is no leaving.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason
        || m_refusing)
        return;
    if (m_changed && !hasAcceptableInput()) {
        refuseLeaving();
        return;
    }
    m_changed = false;
    emit leftField();
}

void NummerEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_changed) {
        setText(m_before);
        m_changed = false;
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NummerEdit::refuseLeaving()
{
    // The focus change is under way; take the focus back once it is done.
    m_refusing = true;
    QTimer::singleShot(0, this, [this] {
        QApplication::beep();
        zor::Dialogs::error(window(),
                            QString::fromUtf8("Ung\u00fcltiger Eingabewert. Benutzen Sie die ESC-Taste, um die "
                                              "\u00c4nderungen r\u00fcckg\u00e4ngig zu machen."));
        setFocus(Qt::OtherFocusReason);
        m_refusing = false;
    });
}
