#include "Delay.h"
#include "Wait.h"

#include <QElapsedTimer>
#include <QMetaMethod>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

class TestWait : public QObject
{
    Q_OBJECT

private slots:
    void waitsWhileEventsRun_data();
    void waitsWhileEventsRun();
    void shortAndNegativeTimesReturn_data();
    void shortAndNegativeTimesReturn();
    void delayTakesNoParent();
    void delayMetaObject();
};

namespace {

void waitWith(const QString& how, int milliseconds)
{
    if (how == "wait") {
        MTools::wait(milliseconds);
    } else {
        MTools::Delay delay;
        delay.waitFor(milliseconds);
    }
}

}  // namespace

void TestWait::waitsWhileEventsRun_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("wait") << "wait";
    QTest::newRow("Delay") << "Delay";
}

void TestWait::waitsWhileEventsRun()
{
    QFETCH(QString, how);
    int ticks = 0;
    QTimer repeating;
    connect(&repeating, &QTimer::timeout, [&ticks] { ++ticks; });
    repeating.start(20);
    bool queuedRan = false;
    QMetaObject::invokeMethod(this, [&queuedRan] { queuedRan = true; }, Qt::QueuedConnection);

    QElapsedTimer clock;
    clock.start();
    waitWith(how, 200);
    const qint64 elapsed = clock.elapsed();
    repeating.stop();

    QVERIFY2(elapsed >= 200, qPrintable(QString::number(elapsed)));
    QVERIFY2(elapsed < 5000, qPrintable(QString::number(elapsed)));
    QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    QVERIFY(queuedRan);
}

void TestWait::shortAndNegativeTimesReturn_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("wait 0") << "wait" << 0;
    QTest::newRow("wait -5") << "wait" << -5;
    QTest::newRow("Delay 0") << "Delay" << 0;
    QTest::newRow("Delay -1") << "Delay" << -1;
}

void TestWait::shortAndNegativeTimesReturn()
{
    QFETCH(QString, how);
    QFETCH(int, milliseconds);
    // A zero-time timer is delivered after the events already queued.
    bool queuedRan = false;
    QMetaObject::invokeMethod(this, [&queuedRan] { queuedRan = true; }, Qt::QueuedConnection);
    QElapsedTimer clock;
    clock.start();
    waitWith(how, milliseconds);
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(queuedRan);
}

void TestWait::delayTakesNoParent()
{
    QObject owner;
    std::unique_ptr<MTools::Delay> delay(new MTools::Delay(&owner));
    QCOMPARE(delay->parent(), static_cast<QObject*>(nullptr));
    QVERIFY(owner.children().isEmpty());
    // The same object waits again.
    delay->waitFor(1);
    delay->waitFor(1);
}

void TestWait::delayMetaObject()
{
    MTools::Delay delay;
    const QMetaObject* meta = delay.metaObject();
    QCOMPARE(meta->className(), "MTools::Delay");
    QVERIFY(qobject_cast<MTools::Delay*>(static_cast<QObject*>(&delay)) == &delay);
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 1);
    const QMetaMethod slot = meta->method(meta->methodOffset());
    QCOMPARE(slot.methodSignature(), QByteArray("slotUnblock()"));
    QCOMPARE(slot.methodType(), QMetaMethod::Slot);
    QCOMPARE(meta->propertyCount() - meta->propertyOffset(), 0);
}

QTEST_GUILESS_MAIN(TestWait)
#include "tst_wait.moc"
