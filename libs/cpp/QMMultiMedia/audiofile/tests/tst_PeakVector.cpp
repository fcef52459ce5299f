// Peak vectors (growth, lookups, shifting) and the peak cache (one scale,
// first in first out).
#include "AudioTestSupport.h"
#include "PeakCache.h"
#include "PeakVector.h"

#include <QtTest>

#include <limits>

using namespace QMMultiMedia;

Q_DECLARE_METATYPE(std::function<void()>)

namespace {

PeakArray numbered(int n)
{
    PeakArray peaks;
    for (int i = 0; i < n; ++i)
        peaks << Peak(float(i + 1), -float(i + 1));
    return peaks;
}

const Peak kZero(0.0f, 0.0f);

}  // namespace

class tst_PeakVector : public QObject
{
    Q_OBJECT

private slots:
    void construction();
    void growth();
    void readOnlyLookupNeverGrows_data();
    void readOnlyLookupNeverGrows();
    void insertPadsThenInserts();
    void shift_data();
    void shift();
    void setChannelAndClear();
    void preconditionsAbortNamingTheCondition_data();
    void preconditionsAbortNamingTheCondition();
    void dump();
    void cacheEvictsOldestInsertion();
    void cacheBelongsToOneScale();
    void cacheReplacesAHeldKey();
};

void tst_PeakVector::construction()
{
    const PeakVector empty;
    QCOMPARE(empty.numberOfChannels(), 0);
    QCOMPARE(empty.numberOfPeaks(), 0);
    QVERIFY(empty.isEmpty());

    PeakVector sized(3, 2);
    QCOMPARE(sized.numberOfChannels(), 2);
    QCOMPARE(sized.numberOfPeaks(), 3);
    QCOMPARE(sized.channel(1), PeakArray(3, kZero));

    PeakVector channelsOnly(4);
    QCOMPARE(channelsOnly.numberOfChannels(), 4);
    QCOMPARE(channelsOnly.numberOfPeaks(), 0);
    QVERIFY(!channelsOnly.isEmpty());

    sized.channel(0)[1] = Peak(0.5f, -0.5f);
    const PeakVector copy(sized);
    QCOMPARE(copy.peak(1, 0), Peak(0.5f, -0.5f));
    QCOMPARE(copy.peak(9, 0), kZero);
}

void tst_PeakVector::growth()
{
    PeakVector v;
    v.append(0.5f, -0.25f, 2);
    QCOMPARE(v.numberOfChannels(), 3);
    QVERIFY(v.channel(0).isEmpty());
    QVERIFY(v.channel(1).isEmpty());
    QCOMPARE(v.channel(2), PeakArray{Peak(0.5f, -0.25f)});
    QCOMPARE(v.numberOfPeaks(), 1);

    PeakVector g;
    Peak& p = g.peakRef(4, 1);
    QCOMPARE(p, kZero);
    p.first = 0.75f;
    QCOMPARE(g.numberOfChannels(), 2);
    QVERIFY(g.channel(0).isEmpty());
    QCOMPARE(g.channel(1).size(), 5);
    QCOMPARE(g.peak(4, 1), Peak(0.75f, 0.0f));
    QCOMPARE(g.numberOfPeaks(), 5);
    g.peakRef(2, 1);  // present: nothing grows
    QCOMPARE(g.channel(1).size(), 5);
}

void tst_PeakVector::readOnlyLookupNeverGrows_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("ch");
    QTest::addColumn<Peak>("expected");
    QTest::newRow("present") << 1 << 0 << Peak(2.0f, -2.0f);
    QTest::newRow("beyond the channel's end") << 3 << 0 << kZero;
    QTest::newRow("channel that does not exist") << 0 << 2 << kZero;
    QTest::newRow("negative index") << -1 << 0 << kZero;
    QTest::newRow("negative channel") << 0 << -1 << kZero;
    QTest::newRow("most negative index") << std::numeric_limits<int>::min() << 1 << kZero;
}

void tst_PeakVector::readOnlyLookupNeverGrows()
{
    QFETCH(int, x);
    QFETCH(int, ch);
    QFETCH(Peak, expected);
    PeakVector v;
    v.setChannel(numbered(3), 0);
    v.setChannel(numbered(1), 1);
    QCOMPARE(v.peak(x, ch), expected);
    QCOMPARE(v.numberOfChannels(), 2);
    QCOMPARE(v.channel(0), numbered(3));
    QCOMPARE(v.channel(1), numbered(1));
}

void tst_PeakVector::insertPadsThenInserts()
{
    PeakVector v;
    v.setChannel(numbered(3), 0);
    v.insert(0.5f, -0.5f, 0, 5, 2);
    PeakArray expected = numbered(3);
    expected << kZero << kZero << Peak(0.5f, -0.5f) << Peak(0.5f, -0.5f);
    QCOMPARE(v.channel(0), expected);

    v.insert(9.0f, -9.0f, 0, 1, 1);
    QCOMPARE(v.channel(0).at(1), Peak(9.0f, -9.0f));
    QCOMPARE(v.channel(0).at(2), Peak(2.0f, -2.0f));
    QCOMPARE(v.channel(0).size(), 8);

    v.insert(1.0f, 1.0f, 2, 0, 0);  // no copies: the channel only comes to be
    QCOMPARE(v.numberOfChannels(), 3);
    QVERIFY(v.channel(2).isEmpty());
}

void tst_PeakVector::shift_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<PeakArray>("expected");
    const PeakArray p = numbered(5);
    QTest::newRow("by 2") << 2 << PeakArray{p[2], p[3], p[4], kZero, kZero};
    QTest::newRow("by -2") << -2 << PeakArray{kZero, kZero, p[0], p[1], p[2]};
    QTest::newRow("by 7") << 7 << PeakArray(5, kZero);
    QTest::newRow("by -5") << -5 << PeakArray(5, kZero);
    QTest::newRow("by the most negative") << std::numeric_limits<int>::min() << PeakArray(5, kZero);
    QTest::newRow("by 0") << 0 << p;
}

void tst_PeakVector::shift()
{
    QFETCH(int, n);
    QFETCH(PeakArray, expected);
    PeakVector v;
    v.setChannel(numbered(5), 0);
    v.setChannel(numbered(1), 1);
    v.shift(n);
    QCOMPARE(v.channel(0), expected);
    QCOMPARE(v.channel(1).size(), 1);  // every channel keeps its length
}

void tst_PeakVector::setChannelAndClear()
{
    PeakVector v;
    v.setChannel(numbered(2), 1);
    QCOMPARE(v.numberOfChannels(), 2);
    QCOMPARE(v.channel(1), numbered(2));
    v.setChannel(numbered(1), 1);
    QCOMPARE(v.channel(1), numbered(1));
    v.clear();
    QVERIFY(v.isEmpty());
    QCOMPARE(v.numberOfPeaks(), 0);
}

void tst_PeakVector::preconditionsAbortNamingTheCondition_data()
{
    using F = std::function<void()>;
    QTest::addColumn<F>("call");
    QTest::addColumn<QString>("condition");
    QTest::newRow("negative channel count") << F([] { PeakVector v(-1); }) << "nChannels>=0";
    QTest::newRow("channel past the end") << F([] { PeakVector(1, 2).channel(2); }) << "ch < _vectorVector.size()";
    QTest::newRow("negative channel") << F([] { PeakVector(1, 2).channel(-1); }) << "ch>=0";
    QTest::newRow("growing lookup, negative index") << F([] { PeakVector().peakRef(-1, 0); }) << "x>=0";
    QTest::newRow("growing lookup, channel 32") << F([] { PeakVector().peakRef(0, 32); }) << "ch<32";
    QTest::newRow("append to a negative channel") << F([] { PeakVector().append(0, 0, -1); }) << "ch>=0";
    QTest::newRow("insert at a negative position") << F([] { PeakVector().insert(0, 0, 0, -1, 1); }) << "pos>=0";
    QTest::newRow("insert a negative count") << F([] { PeakVector().insert(0, 0, 0, 0, -1); }) << "n>=0";
}

void tst_PeakVector::preconditionsAbortNamingTheCondition()
{
    QFETCH(std::function<void()>, call);
    QFETCH(QString, condition);
    QString output;
    QVERIFY(AudioTest::aborts(call, &output));
    QVERIFY2(output.contains("\"" + condition + "\""), qPrintable(output));
}

void tst_PeakVector::dump()
{
    PeakVector v(3, 2);
    AudioTest::CapturedDebug debug;
    v.dumpInfo();
    QCOMPARE(debug.lines(), (QStringList{"---- PeakVector Info Begin -----", "Number of peaks =  3",
                                         "Number of channels =  2", "---- PeakVector Info End-----"}));
}

void tst_PeakVector::cacheEvictsOldestInsertion()
{
    PeakCache cache(2);
    cache.insert(1, 0, 100.0f, Peak(0.1f, 0.0f));
    cache.insert(2, 0, 100.0f, Peak(0.2f, 0.0f));
    QVERIFY(cache.find(1, 0, 100.0f));  // a hit does not refresh the entry
    cache.insert(3, 0, 100.0f, Peak(0.3f, 0.0f));
    QVERIFY(!cache.find(1, 0, 100.0f));
    QCOMPARE(cache.find(2, 0, 100.0f).value(), Peak(0.2f, 0.0f));
    QCOMPARE(cache.find(3, 0, 100.0f).value(), Peak(0.3f, 0.0f));
    QVERIFY(!cache.find(3, 1, 100.0f));  // the channel is part of the key
    QCOMPARE(cache.count(), 2);

    cache.clear();
    QCOMPARE(cache.count(), 0);
    QCOMPARE(cache.scale(), 100.0f);
}

void tst_PeakVector::cacheBelongsToOneScale()
{
    PeakCache cache(6000);
    QCOMPARE(cache.scale(), 0.0f);
    cache.insert(5, 1, 64.0f, Peak(0.5f, -0.5f));
    QVERIFY(!cache.find(5, 1, 32.0f));
    QVERIFY(cache.find(5, 1, 64.0f));
    cache.insert(6, 1, 32.0f, Peak(0.6f, -0.6f));
    QCOMPARE(cache.scale(), 32.0f);
    QVERIFY(!cache.find(5, 1, 32.0f));
    QCOMPARE(cache.count(), 1);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    cache.insert(7, 0, nan, Peak(0.7f, 0.0f));
    QCOMPARE(cache.count(), 1);  // emptied, then the new entry
    QVERIFY(!cache.find(7, 0, nan));  // NaN is no scale anything is found at
    cache.insert(8, 0, nan, Peak(0.8f, 0.0f));
    QCOMPARE(cache.count(), 1);
}

void tst_PeakVector::cacheReplacesAHeldKey()
{
    PeakCache cache(2);
    cache.insert(1, 0, 10.0f, Peak(0.1f, 0.0f));
    cache.insert(1, 0, 10.0f, Peak(0.9f, 0.0f));
    cache.insert(2, 0, 10.0f, Peak(0.2f, 0.0f));
    QCOMPARE(cache.find(1, 0, 10.0f).value(), Peak(0.9f, 0.0f));
    QCOMPARE(cache.count(), 2);
    cache.insert(3, 0, 10.0f, Peak(0.3f, 0.0f));  // evicts key 1, held once
    QVERIFY(!cache.find(1, 0, 10.0f));
    QVERIFY(cache.find(2, 0, 10.0f));
    cache.insert(4, 0, 10.0f, Peak(0.4f, 0.0f));
    QVERIFY(!cache.find(2, 0, 10.0f));
    QCOMPARE(cache.count(), 2);
}

QTEST_GUILESS_MAIN(tst_PeakVector)
#include "tst_PeakVector.moc"
