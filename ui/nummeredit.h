#pragma once

#include <QLineEdit>

// The club number: exactly four digits. Once the user has changed it, it may
// not be left half-filled, whichever way the focus would go (Tab, Shift+Tab,
// a click, a label's shortcut, another page): it beeps, says so and keeps the
// focus, every time. Escape brings back what it held before the editing began.
// A menu, a context menu or another window taking the focus is no leaving.
class NummerEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit NummerEdit(QWidget *parent = nullptr);

    // True while the field is taking the focus back from where it went.
    bool takingFocusBack() const { return m_refusing; }

    // Focus changes that do not leave the field.
    static bool isNoLeaving(Qt::FocusReason reason);

signals:
    // The focus left the field with an acceptable value (the mask's check passed).
    void leftField();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool mustRefuse() const { return m_changed && !hasAcceptableInput(); }
    void complain();
    void takeFocusBack();

    QString m_before;        // the text when the editing began
    bool m_changed = false;  // the user changed it since
    bool m_editing = false;  // between getting the focus and leaving for good
    bool m_userEdit = false; // a change under way comes from the user
    bool m_refusing = false;
};
