#include "ComboSlider.h"

#include "DialogLayoutCheck.h"

#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include "QMTest.h"

#include <QtTest>

using QMWidgets::ComboSlider;

namespace {

QLabel *titleLabel(ComboSlider &combo) { return combo.findChildren<QLabel *>().value(0); }
QLabel *suffixLabel(ComboSlider &combo) { return combo.findChildren<QLabel *>().value(1); }

} // namespace

class TestComboSlider : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void setValueEmitsOncePerChange_data();
    void setValueEmitsOncePerChange();
    void userChangesEmitOnce_data();
    void userChangesEmitOnce();
    void titleAndSuffixVisibility();
    void laysOutAtMinimumSize();
};

void TestComboSlider::construction()
{
    ComboSlider combo(QStringLiteral("Quality"));
    QSlider *slider = combo.findChild<QSlider *>();
    QVERIFY(slider);
    QCOMPARE(slider->orientation(), Qt::Horizontal);
    QCOMPARE(slider->tickPosition(), QSlider::TicksBothSides);
    QCOMPARE(slider->tickInterval(), 20);
    QCOMPARE(titleLabel(combo)->text(), QStringLiteral("Quality"));
    const QMetaObject *meta = combo.metaObject();
    QCOMPARE(QByteArray(meta->className()), QByteArray("QMWidgets::ComboSlider"));
    QVERIFY(meta->indexOfSignal("sliderMoved(int)") >= 0);
    QVERIFY(meta->indexOfSlot("slotSpinValueChanged(int)") >= 0);
}

void TestComboSlider::setValueEmitsOncePerChange_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("request");
    QTest::addColumn<QList<int>>("emitted");
    QTest::addColumn<int>("final");
    QTest::newRow("same value") << 50 << 50 << QList<int>{} << 50;
    QTest::newRow("new value") << 50 << 70 << QList<int>{ 70 } << 70;
    QTest::newRow("above maximum clamps") << 50 << 150 << QList<int>{ 100 } << 100;
    QTest::newRow("above maximum at maximum") << 100 << 150 << QList<int>{} << 100;
    QTest::newRow("below minimum clamps") << 50 << -5 << QList<int>{ 0 } << 0;
}

void TestComboSlider::setValueEmitsOncePerChange()
{
    QFETCH(int, start);
    QFETCH(int, request);
    QFETCH(QList<int>, emitted);
    QFETCH(int, final);
    ComboSlider combo(QStringLiteral("Quality"));
    combo.setRange(0, 100);
    combo.setValue(start);
    QSignalSpy spy(&combo, SIGNAL(sliderMoved(int)));
    combo.setValue(request);
    QList<int> got;
    for (const QList<QVariant> &args : qAsConst(spy))
        got << args.at(0).toInt();
    QCOMPARE(got, emitted);
    QCOMPARE(combo.value(), final);
    QCOMPARE(combo.findChild<QSpinBox *>()->value(), final);
}

void TestComboSlider::userChangesEmitOnce_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("expected");
    QTest::newRow("slider dragged") << "slider" << 64;
    QTest::newRow("slider paged") << "page" << 40;
    QTest::newRow("spin box typed") << "typed" << 7;
    QTest::newRow("spin box stepped") << "stepped" << 31;
}

void TestComboSlider::userChangesEmitOnce()
{
    QFETCH(QString, how);
    QFETCH(int, expected);
    ComboSlider combo{QString()};
    combo.setRange(0, 100);
    combo.setValue(30);
    QSlider *slider = combo.findChild<QSlider *>();
    QSpinBox *spin = combo.findChild<QSpinBox *>();
    slider->setPageStep(10);
    QSignalSpy spy(&combo, SIGNAL(sliderMoved(int)));

    if (how == "slider") {
        slider->setSliderDown(true);
        slider->setSliderPosition(64);
        slider->setSliderDown(false);
    } else if (how == "page") {
        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (how == "typed") {
        // One keystroke, since keyboard tracking makes every keystroke a change.
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_7);
    } else {
        spin->stepUp();
    }

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), expected);
    QCOMPARE(combo.value(), expected);
    QCOMPARE(spin->value(), expected);
    QCOMPARE(slider->value(), expected);
}

void TestComboSlider::titleAndSuffixVisibility()
{
    ComboSlider untitled{QString()};
    QVERIFY(titleLabel(untitled)->isHidden());
    QVERIFY(suffixLabel(untitled)->isHidden());
    QVERIFY(!untitled.findChild<QSlider *>()->isHidden());
    QVERIFY(!untitled.findChild<QSpinBox *>()->isHidden());

    ComboSlider titled(QStringLiteral("Resize"));
    QVERIFY(!titleLabel(titled)->isHidden());
    titled.setSuffixText(QStringLiteral("%"));
    QVERIFY(!suffixLabel(titled)->isHidden());
    QCOMPARE(suffixLabel(titled)->text(), QStringLiteral("%"));
    titled.setSuffixText(QString());
    QVERIFY(suffixLabel(titled)->isHidden());
}

void TestComboSlider::laysOutAtMinimumSize()
{
    ComboSlider combo(QStringLiteral("Colours"));
    combo.setRange(1, 256);
    combo.setSuffixText(QStringLiteral("colours"));
    const QStringList problems = DialogLayoutCheck::checkAtMinimumSize(&combo);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
}

QMTEST_APP_MAIN(TestComboSlider)
#include "tst_comboslider.moc"
