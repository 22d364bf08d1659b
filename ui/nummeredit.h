#pragma once

#include <QLineEdit>

// The club number: exactly four digits. Once the user has changed it, it may
// not be left half-filled: it beeps, says so and keeps the focus; Escape brings
// back what it held before the editing began.
class NummerEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit NummerEdit(QWidget *parent = nullptr);

    // True when the user changed the text since the field got the focus.
    bool changedByUser() const { return m_changed; }

signals:
    // The focus left the field with an acceptable value (the mask's check passed).
    void leftField();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void refuseLeaving();

    QString m_before;
    bool m_changed = false;
    bool m_refusing = false;
};
