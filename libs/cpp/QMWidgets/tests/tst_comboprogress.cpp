// The one-line progress display.
#include "ComboProgress.h"

#include "QMTest.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

using QMWidgets::ComboProgress;

namespace {

struct Parts
{
    QProgressBar* pBar;
    QPushButton* pStop;
    QLabel* pLabel;
};

Parts partsOf(ComboProgress& progress)
{
    return {progress.findChild<QProgressBar*>(), progress.findChild<QPushButton*>("ComboProgressStop"),
            progress.label()};
}

} // namespace

class TestComboProgress : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void startsWithTheLabel();
    void progressSwitchesToTheBarAndBack();
    void stopRaisesTheFlagUntilTheNextValue();
};

void TestComboProgress::startsWithTheLabel()
{
    ComboProgress progress;
    progress.show();
    const Parts parts = partsOf(progress);
    QVERIFY(parts.pStop);
    QCOMPARE(parts.pStop->toolTip(), QString("Stop"));
    QCOMPARE(parts.pStop->size(), QSize(20, 20));
    QVERIFY(parts.pStop->isFlat());
    QVERIFY(parts.pLabel->isVisible());
    QVERIFY(parts.pLabel->text().isEmpty());
    QVERIFY(!parts.pBar->isVisible());
    QVERIFY(!parts.pStop->isVisible());
    QVERIFY(!progress.isStopped());
}

void TestComboProgress::progressSwitchesToTheBarAndBack()
{
    ComboProgress progress;
    progress.show();
    const Parts parts = partsOf(progress);

    progress.slotSetProgress(40);
    QVERIFY(parts.pBar->isVisible());
    QVERIFY(parts.pStop->isVisible());
    QVERIFY(!parts.pLabel->isVisible());
    QCOMPARE(progress.value(), 40);

    progress.slotSetProgress(100);
    QVERIFY(parts.pLabel->isVisible());
    QVERIFY(!parts.pBar->isVisible());
    QCOMPARE(progress.value(), 40);  // the end does not move the bar

    progress.setLabelMode(false);
    QVERIFY(parts.pBar->isVisible());
    progress.setLabelMode(true);
    QVERIFY(!parts.pBar->isVisible());
}

void TestComboProgress::stopRaisesTheFlagUntilTheNextValue()
{
    ComboProgress progress;
    progress.show();
    const Parts parts = partsOf(progress);
    progress.slotSetProgress(10);

    QTest::mouseClick(parts.pStop, Qt::LeftButton);
    QVERIFY(progress.isStopped());
    QVERIFY(parts.pLabel->isVisible());
    QVERIFY(!parts.pBar->isVisible());

    progress.slotSetProgress(20);
    QVERIFY(!progress.isStopped());
    QVERIFY(parts.pBar->isVisible());
    QCOMPARE(progress.value(), 20);
}

QMTEST_APP_MAIN(TestComboProgress)
#include "tst_comboprogress.moc"
