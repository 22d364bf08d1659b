#pragma once

// Helpers for the tests that run in a real X server with a window manager:
// the window must really be active, keys go where the keyboard sends them,
// and the program's real modal message boxes are answered as a person would.

#include "tests/support/formfixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace zortest {

// A real main window, shown and activated by the window manager. Message
// boxes are the real ones unless `scripted`.
inline std::unique_ptr<TSDIAppForm> makeActiveForm(bool scripted = false)
{
    auto form = makeForm();
    zortest::dialogs().setScripted(scripted);
    form->raise();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get()))
        qWarning("the window manager did not activate the window");
    return form;
}

// Answers every real modal message box that comes up with Return, as a person
// pressing OK would, and keeps what each one said.
class BoxAnswerer : public QObject
{
public:
    BoxAnswerer()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    QStringList texts; // the text of each box, in order
    QStringList captions;

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == m_answered)
            return;
        // Wait until the window manager has really given the box the focus.
        if (QApplication::activeWindow() != box)
            return;
        m_answered = box;
        texts << box->text();
        captions << box->windowTitle();
        QTest::keyClick(box, Qt::Key_Return);
    }

    QTimer m_timer;
    QPointer<QMessageBox> m_answered;
};

// Waits until the window manager has given the main window back its activity
// (after a modal box) and the focus is settled.
inline bool settled(QWidget *window)
{
    const auto back = [window] {
        return QApplication::activeModalWidget() == nullptr
               && QApplication::activeWindow() == window;
    };
    bool ok = QTest::qWaitFor(back, 1000);
    if (!ok && !QApplication::activeModalWidget() && !QApplication::activeWindow()) {
        // Now and then openbox gives the focus to no window at all once a
        // box has gone; a person would click the window. That is the window
        // manager's doing, not the program's.
        window->activateWindow();
        ok = QTest::qWaitFor(back, 4000);
    }
    if (!ok)
        qWarning() << "not settled: modal" << QApplication::activeModalWidget() << "active"
                   << QApplication::activeWindow() << "focus" << QApplication::focusWidget();
    return ok;
}

} // namespace zortest
