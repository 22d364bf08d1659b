#include "ui/nummeredit.h"

#include "ui/dialogs.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>

NummerEdit::NummerEdit(QWidget *parent)
    : QLineEdit(parent)
{
    // '9' is a required digit; the blank shown for an empty place is '_'.
    setInputMask(QStringLiteral("9999;_"));
    setMaxLength(4);
    setText(QStringLiteral("0000"));
    m_before = text();
    // textEdited comes just before the textChanged of the same change.
    connect(this, &QLineEdit::textEdited, this, [this] {
        m_changed = true;
        m_userEdit = true;
    });
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (m_userEdit) {
            m_userEdit = false;
            return;
        }
        // Set by the program (new report, file opened, Escape): the editing starts afresh from
        // here.
        m_before = text();
        m_changed = false;
    });
}

bool NummerEdit::isNoLeaving(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason
           || reason == Qt::MenuBarFocusReason;
}

void NummerEdit::focusInEvent(QFocusEvent *event)
{
    // Coming back from a message box, a menu or another window continues the editing.
    if (!m_editing) {
        m_before = text();
        m_changed = false;
        m_editing = true;
    }
    QLineEdit::focusInEvent(event);
}

void NummerEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (isNoLeaving(event->reason()) || m_refusing)
        return;
    if (mustRefuse()) {
        takeFocusBack();
        return;
    }
    m_editing = false;
    m_changed = false;
    emit leftField();
}

bool NummerEdit::focusNextPrevChild(bool next)
{
    // Tab and Shift+Tab: refused where the user stands, the focus never moves.
    if (mustRefuse() && isVisible() && hasFocus()) {
        complain();
        return true;
    }
    return QLineEdit::focusNextPrevChild(next);
}

void NummerEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && (m_changed || text() != m_before)) {
        setText(m_before);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NummerEdit::complain()
{
    QApplication::beep();
    zor::Dialogs::current().error(
            window(),
            QString::fromUtf8("Ung\u00fcltiger Eingabewert. Benutzen Sie die ESC-Taste, um die "
                              "\u00c4nderungen r\u00fcckg\u00e4ngig zu machen."));
}

void NummerEdit::takeFocusBack()
{
    // The focus change is under way; take the focus back once it is done,
    // showing this field's page again if another one was chosen.
    m_refusing = true;
    QTimer::singleShot(0, this, [this] {
        for (QWidget *w = this; w && w->parentWidget(); w = w->parentWidget()) {
            auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget());
            auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
            if (tabs)
                tabs->setCurrentWidget(w);
        }
        setFocus(Qt::OtherFocusReason);
        complain();
        setFocus(Qt::OtherFocusReason);
        m_refusing = false;
    });
}
