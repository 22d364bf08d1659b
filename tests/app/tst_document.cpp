#include <QtTest>
class TstDocument : public QObject { Q_OBJECT private slots: void placeholder() { QVERIFY(true); } };
QTEST_MAIN(TstDocument)
#include "tst_document.moc"
