#include "ProgressLine.h"

#include <QtTest>

#include <climits>

using namespace MGraphX;

class TestProgressLine : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
};

void TestProgressLine::steps_data()
{
    // Steps as "s<value>" (setProgress) or "a<value>" (addProgress).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("progress");
    QTest::newRow("new") << QStringList{} << 0;
    QTest::newRow("set 50 after 70 keeps 70") << QStringList{"s70", "s50"} << 70;
    QTest::newRow("add 40 from 70 stops at 100") << QStringList{"s70", "a40"} << 100;
    QTest::newRow("set -1 changes nothing") << QStringList{"s70", "s-1"} << 70;
    QTest::newRow("add -5 changes nothing") << QStringList{"s70", "a-5"} << 70;
    QTest::newRow("set above 100") << QStringList{"s150"} << 100;
    QTest::newRow("adds accumulate") << QStringList{"a30", "a30"} << 60;
    QTest::newRow("add the largest int") << QStringList{"s70", QString("a%1").arg(INT_MAX)} << 100;
    QTest::newRow("add the largest int at 100") << QStringList{"s100", QString("a%1").arg(INT_MAX)} << 100;
}

void TestProgressLine::steps()
{
    QFETCH(QStringList, steps);
    QFETCH(int, progress);
    ProgressLine line(1, 2, 3, 4, 5);
    for (const QString& strStep : steps) {
        const int nValue = strStep.mid(1).toInt();
        if (strStep.startsWith('s'))
            line.setProgress(nValue);
        else
            line.addProgress(nValue);
    }
    QCOMPARE(line.progress(), progress);
}

QTEST_GUILESS_MAIN(TestProgressLine)
#include "tst_ProgressLine.moc"
