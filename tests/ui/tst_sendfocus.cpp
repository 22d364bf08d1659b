// Sending in a real X server with a window manager: the box that tells how
// the mail program's start went comes while the user is typing, since the
// window does not wait for it. It takes the keys while it is up; afterwards
// the keys go on into the field the user was in.

#include "tests/support/realx.h"
#include "tests/support/standinprogram.h"

#include "send/sending.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

using zor::Field;

class TstSendFocus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void typingGoesOnAfterTheLateBox();

private:
    QTemporaryDir m_runtime;
};

void TstSendFocus::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
}

void TstSendFocus::typingGoesOnAfterTheLateBox()
{
    zortest::StandInProgram xdgEmail(QStringLiteral("xdg-email"), 0, 2);
    QVERIFY(xdgEmail.isValid());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto form = zortest::makeActiveForm(true);
    zortest::fillComplete(*form);
    QVERIFY2(zortest::saveAs(*form, dir.filePath(QStringLiteral("bericht.zor"))),
             "the report could not be saved");
    zortest::dialogs().setScripted(false);
    QVERIFY(zortest::settled(form.get()));

    // A person: OK on the instructions with Return; on the late box, OK
    // with Escape (Return would show the folder).
    QStringList boxes;
    QPointer<QMessageBox> answered;
    QTimer person;
    person.setInterval(20);
    QObject::connect(&person, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == answered || QApplication::activeWindow() != box)
            return;
        answered = box;
        boxes << box->text();
        QTest::keyClick(box, boxes.size() == 1 ? Qt::Key_Return : Qt::Key_Escape);
    });
    person.start();

    QLineEdit *fax = zortest::field(*form, Field::Fax);
    zortest::trigger(*form, "EMailSchicken");
    QCOMPARE(boxes.size(), 1);
    QVERIFY(zortest::settled(form.get()));
    // Typing while the mail program starts.
    fax->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(zortest::focused(), static_cast<QWidget *>(fax));
    fax->selectAll();
    zortest::typeKeys(QStringLiteral("12"));
    QCOMPARE(fax->text(), QStringLiteral("12"));

    QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 2, 15000);
    QCOMPARE(boxes.at(1),
             zor::mailOpenedText(QStringLiteral(ZOR_REPORT_MAILBOX), QStringLiteral("quorvane"),
                                 dir.filePath(QStringLiteral("0042.zor")), true));
    // The box is gone and the window has the keys again, in the same field.
    QVERIFY(zortest::settled(form.get()));
    QCOMPARE(zortest::focused(), static_cast<QWidget *>(fax));
    zortest::typeKeys(QStringLiteral("3"));
    QCOMPARE(fax->text(), QStringLiteral("123"));
    person.stop();
    zortest::dialogs().setScripted(true);
}

QTEST_MAIN(TstSendFocus)
#include "tst_sendfocus.moc"
