#include "Peekmeter.h"

#include <QtTest>

using namespace QMMultiMedia;

class tst_Peekmeter : public QObject
{
    Q_OBJECT

private slots:
    void startsEmpty();
    void levelIsClampedToTheScale_data();
    void levelIsClampedToTheScale();
    void barRisesFromTheBottom_data();
    void barRisesFromTheBottom();
};

void tst_Peekmeter::startsEmpty()
{
    Peekmeter meter;
    QCOMPARE(meter.value(), -70);
    QCOMPARE(meter.percent(), 0);
}

void tst_Peekmeter::levelIsClampedToTheScale_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("percent");

    QTest::newRow("bottom") << -70 << -70 << 0;
    QTest::newRow("below") << -71 << -70 << 0;
    QTest::newRow("far below") << INT_MIN << -70 << 0;
    QTest::newRow("-30 is half") << -30 << -30 << 50;
    QTest::newRow("-69 rounds down") << -69 << -69 << 1;
    QTest::newRow("9") << 9 << 9 << 98;
    QTest::newRow("top") << 10 << 10 << 100;
    QTest::newRow("above") << 11 << 10 << 100;
    QTest::newRow("far above") << INT_MAX << 10 << 100;
}

void tst_Peekmeter::levelIsClampedToTheScale()
{
    QFETCH(int, level);
    QFETCH(int, stored);
    QFETCH(int, percent);

    Peekmeter meter;
    meter.slotSetValue(level);
    QCOMPARE(meter.value(), stored);
    QCOMPARE(meter.percent(), percent);
}

void tst_Peekmeter::barRisesFromTheBottom_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("redRows");

    // A 10 x 100 widget: percent equals rows.
    QTest::newRow("empty") << -70 << 0;
    QTest::newRow("one percent") << -69 << 1;
    QTest::newRow("half") << -30 << 50;
    QTest::newRow("98") << 9 << 98;
    QTest::newRow("full") << 10 << 100;
}

void tst_Peekmeter::barRisesFromTheBottom()
{
    QFETCH(int, level);
    QFETCH(int, redRows);

    Peekmeter meter;
    meter.resize(10, 100);
    meter.slotSetValue(level);
    const QImage image = meter.grab().toImage();
    QCOMPARE(image.size(), QSize(10, 100));
    for (int y = 0; y < 100; ++y) {
        const bool expectRed = y >= 100 - redRows;
        for (int x = 0; x < 10; ++x) {
            const bool red = image.pixel(x, y) == qRgb(255, 0, 0);
            QVERIFY2(red == expectRed, qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

QTEST_MAIN(tst_Peekmeter)
#include "tst_Peekmeter.moc"
