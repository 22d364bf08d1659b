#include "tests/support/formfixture.h"

#include "ui_tsdiappform.h"

#include <QApplication>
#include <QStatusBar>
#include <QTest>

namespace zortest {

std::unique_ptr<TSDIAppForm> makeForm()
{
    zortest::dialogs().setScripted(true);
    zortest::dialogs().reset();
    auto form = std::make_unique<TSDIAppForm>();
    form->show();
    QApplication::setActiveWindow(form.get());
    if (!QTest::qWaitForWindowExposed(form.get()))
        qFatal("the window was never shown");
    return form;
}

void idle(TSDIAppForm &form)
{
    QCoreApplication::processEvents();
    form.AppIdle();
}

void typeInto(QWidget *widget, const QString &text)
{
    widget->setFocus(Qt::OtherFocusReason);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            // QTest knows only ASCII keys; an umlaut arrives as text of an unknown key.
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
}

QString statusText(const TSDIAppForm &form)
{
    return form.form()->StatusBar->currentMessage();
}

QStringList shownDialogs()
{
    QStringList out;
    for (const auto &d : zortest::dialogs().shown())
        out << d.kind + QLatin1Char('|') + d.caption + QLatin1Char('|') + d.text;
    return out;
}

} // namespace zortest
