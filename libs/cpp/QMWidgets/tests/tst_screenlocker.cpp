// The screen locker, offscreen only: it grabs the keyboard and the mouse of
// this process, so it has a test program of its own.
#include "ScreenLocker.h"

#include "QMTest.h"

#include <QPushButton>
#include <QSignalSpy>

using QMWidgets::ScreenLocker;

namespace {

QPushButton* unlockButton(ScreenLocker& locker)
{
    return QMTest::buttonWithText(&locker, "Unlock");
}

} // namespace

class TestScreenLocker : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void runsOffscreenOnly();
    void locksWithinTheFirstTick();
    void unlockButtonHiddenUntilOffered();
    void unlockFreesTheInputUntilTheNextCheck();
    void lockingTwiceKeepsTheWindow();
};

void TestScreenLocker::runsOffscreenOnly()
{
    QCOMPARE(QGuiApplication::platformName(), QString("offscreen"));
}

void TestScreenLocker::locksWithinTheFirstTick()
{
    ScreenLocker locker;
    QVERIFY(!locker.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(locker.isVisible(), 1000);
    QVERIFY(locker.isFullScreen());
    QCOMPARE(locker.windowType(), Qt::Window);
    QVERIFY(locker.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(locker.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(QWidget::keyboardGrabber(), unlockButton(locker));
    QCOMPARE(QWidget::mouseGrabber(), unlockButton(locker));
}

void TestScreenLocker::unlockButtonHiddenUntilOffered()
{
    ScreenLocker locker;
    QVERIFY(unlockButton(locker));
    locker.slotLock();
    QVERIFY(!unlockButton(locker)->isVisible());
    locker.showUnlockButton();
    QVERIFY(unlockButton(locker)->isVisible());
}

void TestScreenLocker::unlockFreesTheInputUntilTheNextCheck()
{
    ScreenLocker locker;
    locker.showUnlockButton();
    locker.slotLock();
    QSignalSpy spy(&locker, SIGNAL(unlocked()));
    unlockButton(locker)->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(QWidget::keyboardGrabber(), nullptr);
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    // The next check, 10 ms later, locks again: only destroying ends it.
    QTRY_COMPARE_WITH_TIMEOUT(QWidget::keyboardGrabber(), unlockButton(locker), 200);
    QCOMPARE(spy.count(), 1);
}

void TestScreenLocker::lockingTwiceKeepsTheWindow()
{
    // The flags are set once: setting them again would re-create the window
    // (and make it flicker) at every check.
    ScreenLocker locker;
    locker.slotLock();
    const WId id = locker.winId();
    locker.slotTest();
    locker.slotCheck();
    QCOMPARE(locker.winId(), id);
}

QMTEST_APP_MAIN(TestScreenLocker)
#include "tst_screenlocker.moc"
