#include "MFft.h"
#include "Math.h"

#include <QtTest>

#include <cmath>
#include <complex>
#include <limits>
#include <vector>

using MTools::Math;

namespace {

const double kPi = 3.14159265358979323846;

float identity(float x)
{
    return x;
}

float square(float x)
{
    return x * x;
}

using Points = std::vector<std::complex<double>>;

// The plain O(N^2) sum over j of x[j] e^(sign 2 pi i jk / N), times scale.
Points directDft(const Points& x, int sign, double scale)
{
    const int n = int(x.size());
    Points out(x.size());
    for (int k = 0; k < n; ++k) {
        std::complex<double> sum;
        for (int j = 0; j < n; ++j)
            sum += x[size_t(j)] * std::polar(1.0, sign * 2.0 * kPi * j * k / n);
        out[size_t(k)] = sum * scale;
    }
    return out;
}

// Eight fixed points with no symmetry to hide an index mix-up.
Points samplePoints()
{
    return {{0.5, -1.0}, {2.0, 0.25}, {-1.5, 0.0}, {0.75, 3.0}, {0.0, -0.5}, {-2.25, 1.0}, {1.0, 1.0}, {0.125, -2.0}};
}

void split(const Points& x, std::vector<float>& re, std::vector<float>& im)
{
    re.clear();
    im.clear();
    for (const auto& p : x) {
        re.push_back(float(p.real()));
        im.push_back(float(p.imag()));
    }
}

bool near(const std::vector<float>& re, const std::vector<float>& im, const Points& expected, double tolerance)
{
    for (size_t i = 0; i < expected.size(); ++i) {
        if (std::fabs(re[i] - expected[i].real()) > tolerance || std::fabs(im[i] - expected[i].imag()) > tolerance) {
            qWarning("point %zu: %g%+gi, expected %g%+gi", i, double(re[i]), double(im[i]), expected[i].real(),
                     expected[i].imag());
            return false;
        }
    }
    return true;
}

}  // namespace

class TestMath : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void degreeTables();
    void series_data();
    void series();
    void outsideTheDomainsEnds_data();
    void outsideTheDomainsEnds();
    void integerHelpers_data();
    void integerHelpers();
    void integrate();
    void fftAgainstDirectSum();
    void fftInvalidCounts_data();
    void fftInvalidCounts();
    void mfftTable();
    void mfftTransform();
    void mfftInvalidSizes_data();
    void mfftInvalidSizes();

private:
    Math* m_pMath = nullptr;
};

void TestMath::initTestCase()
{
    // The program's own object: it fills the tables at this precision.
    static Math math(1e-10f);
    m_pMath = &math;
}

void TestMath::degreeTables()
{
    QVERIFY(std::fabs(Math::sinDegrees(90) - 1.0f) <= 1e-6f);
    QVERIFY(std::fabs(Math::cosDegrees(90)) <= 1e-6f);
    QCOMPARE(Math::sinDegrees(0), 0.0f);
    QCOMPARE(Math::cosDegrees(0), 1.0f);
    for (int d = 0; d < 360; ++d) {
        const double angle = d * kPi / 180.0;
        if (std::fabs(Math::sinDegrees(d) - std::sin(angle)) > 1e-5 || std::fabs(Math::cosDegrees(d) - std::cos(angle)) > 1e-5)
            QFAIL(qPrintable(QStringLiteral("entry %1 is off").arg(d)));
    }
    // Degrees outside 0..359 are the same entries.
    QCOMPARE(&Math::cosDegrees(450), &Math::cosDegrees(90));
    QCOMPARE(&Math::sinDegrees(359), &Math::sinDegrees(-1));
    QCOMPARE(&Math::sinDegrees(-90), &Math::sinDegrees(270));
    QCOMPARE(&Math::sinDegrees(-360 * 1000), &Math::sinDegrees(0));
    QVERIFY(std::fabs(Math::tanDegrees(45) - 1.0f) <= 1e-5f);
    QCOMPARE(Math::tanDegrees(405), Math::tanDegrees(45));
    QVERIFY(std::fabs(Math::tanDegrees(-45) + 1.0f) <= 1e-5f);

    // Later objects and precisions leave the tables alone.
    const float before = Math::sinDegrees(37);
    Math::setPrecision(0.5f);
    Math coarse(0.5f);
    QCOMPARE(Math::sinDegrees(37), before);
    Math::setPrecision(1e-10f);
}

void TestMath::series_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("a");
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");
    QTest::newRow("sine 0") << "sine" << 0.0f << 0.0f << 0.0 << 0.0;
    QTest::newRow("cosine 0") << "cosine" << 0.0f << 0.0f << 1.0 << 0.0;
    QTest::newRow("sine pi/6") << "sine" << float(kPi / 6) << 0.0f << 0.5 << 1e-6;
    QTest::newRow("cosine 1") << "cosine" << 1.0f << 0.0f << std::cos(1.0) << 1e-6;
    // Reduced by whole turns: without it the series gives 1.638.
    QTest::newRow("sine 20") << "sine" << 20.0f << 0.0f << std::sin(20.0) << 1e-5;
    QTest::newRow("cosine -20") << "cosine" << -20.0f << 0.0f << std::cos(20.0) << 1e-5;
    QTest::newRow("sine 100") << "sine" << 100.0f << 0.0f << std::sin(100.0) << 1e-4;
    QTest::newRow("exponential 1") << "exponential" << 1.0f << 0.0f << std::exp(1.0) << 1e-6;
    // The partial sums 1 and -1 have the same magnitude: not yet settled.
    QTest::newRow("exponential -2") << "exponential" << -2.0f << 0.0f << std::exp(-2.0) << 1e-6;
    QTest::newRow("naturalLog 1.5") << "naturalLog" << 1.5f << 0.0f << std::log(1.5) << 1e-6;
    QTest::newRow("naturalLog 1") << "naturalLog" << 1.0f << 0.0f << 0.0 << 0.0;
    QTest::newRow("arctan 0.5") << "arctan" << 0.5f << 0.0f << std::atan(0.5) << 1e-6;
    QTest::newRow("arccos 0.5") << "arccos" << 0.5f << 0.0f << std::acos(0.5) << 1e-6;
    QTest::newRow("arccos 0") << "arccos" << 0.0f << 0.0f << double(1.5707964f) << 0.0;
    QTest::newRow("arctanShifted 0") << "arctanShifted" << 0.0f << 0.0f << double(1.5707964f) << 0.0;
    QTest::newRow("realPower 1.5^2") << "realPower" << 1.5f << 2.0f << 2.25 << 0.0;
    QTest::newRow("realPower 1.21^0.5") << "realPower" << 1.21f << 0.5f << 1.1 << 1e-6;
    QTest::newRow("realPower 0.5^-1") << "realPower" << 0.5f << -1.0f << 2.0 << 1e-6;
    QTest::newRow("squareRoot 2") << "squareRoot" << 2.0f << 0.0f << 1.4142135 << 1e-6;
    QTest::newRow("squareRoot 0") << "squareRoot" << 0.0f << 0.0f << 0.0 << 1e-9;
    QTest::newRow("secant 0") << "secant" << 0.0f << 0.0f << 1.0 << 0.0;
}

void TestMath::series()
{
    QFETCH(QString, function);
    QFETCH(float, x);
    QFETCH(float, a);
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    float value = 0;
    if (function == "sine")
        value = Math::sine(x);
    else if (function == "cosine")
        value = Math::cosine(x);
    else if (function == "exponential")
        value = Math::exponential(x);
    else if (function == "naturalLog")
        value = Math::naturalLog(x);
    else if (function == "arctan")
        value = Math::arctan(x);
    else if (function == "arccos")
        value = Math::arccos(x);
    else if (function == "arctanShifted")
        value = Math::arctanShifted(x);
    else if (function == "realPower")
        value = Math::realPower(x, a);
    else if (function == "squareRoot")
        value = Math::squareRoot(x);
    else if (function == "secant")
        value = Math::secant(x);
    else
        QFAIL("unknown function");
    QVERIFY2(std::fabs(value - expected) <= tolerance,
             qPrintable(QStringLiteral("%1 instead of %2").arg(double(value), 0, 'g', 9).arg(expected, 0, 'g', 9)));
}

void TestMath::outsideTheDomainsEnds_data()
{
    QTest::addColumn<QString>("call");
    QTest::newRow("exponential 89 overflows") << "exp89";
    QTest::newRow("naturalLog 3 diverges") << "log3";
    QTest::newRow("naturalLog 0 creeps") << "log0";
    QTest::newRow("arctan 1 creeps") << "atan1";
    QTest::newRow("arctan 2 diverges") << "atan2";
    QTest::newRow("squareRoot -1 circles") << "sqrt-1";
    QTest::newRow("arccos 1") << "acos1";
    QTest::newRow("realPower 3^0.5 diverges") << "pow3";
    QTest::newRow("sine of infinity") << "sinInf";
    QTest::newRow("coarse precision") << "coarse";
}

void TestMath::outsideTheDomainsEnds()
{
    // Each call used to run for ever; it must return, and where the true
    // value is in reach, come near it.
    QFETCH(QString, call);
    QElapsedTimer clock;
    clock.start();
    if (call == "exp89") {
        QVERIFY(std::isinf(Math::exponential(89.0f)));
        QVERIFY(Math::exponential(88.0f) > 1.6e38f);
    } else if (call == "log3") {
        Math::naturalLog(3.0f);
    } else if (call == "log0") {
        QVERIFY(Math::naturalLog(0.0f) < -10.0f);
    } else if (call == "atan1") {
        QVERIFY(std::fabs(Math::arctan(1.0f) - kPi / 4) < 1e-5);
    } else if (call == "atan2") {
        Math::arctan(2.0f);
    } else if (call == "sqrt-1") {
        Math::squareRoot(-1.0f);
    } else if (call == "acos1") {
        Math::arccos(1.0f);
    } else if (call == "pow3") {
        Math::realPower(3.0f, 0.5f);
    } else if (call == "sinInf") {
        QVERIFY(std::isnan(Math::sine(std::numeric_limits<float>::infinity())));
    } else if (call == "coarse") {
        Math::setPrecision(1.0f);
        const float root = Math::squareRoot(4.0f);
        const float arccos = Math::arccos(0.5f);
        Math::setPrecision(1e-10f);
        QCOMPARE(root, 1.0f);
        QVERIFY(std::fabs(arccos - (1.5707964 - std::atan(0.5))) < 0.1);
    }
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

void TestMath::integerHelpers_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("2^10") << "power" << double(Math::power(2.0f, 10)) << 1024.0;
    QTest::newRow("2^0") << "power" << double(Math::power(2.0f, 0)) << 1.0;
    QTest::newRow("2^-3") << "power" << double(Math::power(2.0f, -3)) << 1.0;
    QTest::newRow("-2^3") << "power" << double(Math::power(-2.0f, 3)) << -8.0;
    QTest::newRow("2^(2^31-1) overflows") << "power" << double(Math::power(2.0f, INT_MAX)) << inf;
    QTest::newRow("-2^(2^31-1) overflows negative") << "power" << double(Math::power(-2.0f, INT_MAX)) << -inf;
    QTest::newRow("-1^(2^31-1)") << "power" << double(Math::power(-1.0f, INT_MAX)) << -1.0;
    QTest::newRow("0.5^(2^31-1)") << "power" << double(Math::power(0.5f, INT_MAX)) << 0.0;
    QTest::newRow("5!") << "factorial" << double(Math::factorial(5)) << 120.0;
    QTest::newRow("0!") << "factorial" << double(Math::factorial(0)) << 1.0;
    QTest::newRow("12!") << "factorial" << double(Math::factorial(12)) << 479001600.0;
    // 13! = 6227020800, modulo 2^32.
    QTest::newRow("13! wraps") << "factorial" << double(Math::factorial(13)) << 1932053504.0;
    QTest::newRow("34! wraps to 0") << "factorial" << double(Math::factorial(34)) << 0.0;
    QTest::newRow("(-3)!") << "factorial" << double(Math::factorial(-3)) << 1.0;
    QTest::newRow("5.0!") << "factorial" << double(Math::factorial(5.0f)) << 120.0;
    QTest::newRow("2.5!") << "factorial" << double(Math::factorial(2.5f)) << 2.5 * 1.5 * 0.5;
    QTest::newRow("(-2.5)!") << "factorial" << double(Math::factorial(-2.5f)) << 1.0;
    QTest::newRow("35.0! overflows") << "factorial" << double(Math::factorial(35.0f)) << inf;
    QTest::newRow("1e9! ends") << "factorial" << double(Math::factorial(1e9f)) << inf;
    QTest::newRow("absolute") << "misc" << double(Math::absolute(-2.5f)) << 2.5;
    QTest::newRow("maximum") << "misc" << double(Math::maximum(1.0f, 2.0f)) << 2.0;
    QTest::newRow("minimum") << "misc" << double(Math::minimum(1.0f, 2.0f)) << 1.0;
    QTest::newRow("truncate negative") << "misc" << double(Math::truncate(-2.7f)) << -2.0;
    QTest::newRow("truncate huge") << "misc" << double(Math::truncate(1e20f)) << double(1e20f);
    QTest::newRow("180 degrees") << "misc" << double(Math::degreesToRadians(180)) << double(3.1415927f);
}

void TestMath::integerHelpers()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(value, expected);
}

void TestMath::integrate()
{
    // 50 strips of 0.02: 0.02 * 0.02 * (0 + 1 + ... + 49) = 0.49.
    QVERIFY(std::fabs(Math::integrate(0.0f, 1.0f, identity) - 0.49) < 1e-5);
    // 0.06^3 * (0^2 + ... + 49^2) = 0.000216 * 40425.
    QVERIFY(std::fabs(Math::integrate(0.0f, 3.0f, square) - 8.7318) < 1e-3);
    QCOMPARE(Math::integrate(1.0f, 0.0f, identity), 0.0f);
    QCOMPARE(Math::integrate(1.0f, 1.0f, identity), 0.0f);
    // Where a + h == a the strips never move: capped at 51 of them.
    // (Floats near 1e8 lie 8 apart, so a strip of 64 / 50 never moves a.)
    const float big = 1e8f;
    const float capped = Math::integrate(big, big + 64.0f, identity);
    QVERIFY2(std::fabs(capped / (51 * 1e8 * 1.28) - 1) < 1e-5, qPrintable(QString::number(double(capped))));
    QCOMPARE(Math::integrate(0.0f, 1.0f, nullptr), 0.0f);
}

void TestMath::fftAgainstDirectSum()
{
    std::vector<float> re, im;
    split(samplePoints(), re, im);
    Math::fft(8, re.data(), im.data());
    QVERIFY(near(re, im, directDft(samplePoints(), +1, 1.0), 1e-4));
    Math::inverseFft(8, re.data(), im.data());
    QVERIFY(near(re, im, samplePoints(), 1e-5));

    float unitRe[4] = {1, 0, 0, 0};
    float unitIm[4] = {0, 0, 0, 0};
    Math::fft(4, unitRe, unitIm);
    for (int i = 0; i < 4; ++i) {
        QVERIFY(std::fabs(unitRe[i] - 1.0f) < 1e-6f);
        QVERIFY(std::fabs(unitIm[i]) < 1e-6f);
    }
    Math::inverseFft(4, unitRe, unitIm);
    QVERIFY(std::fabs(unitRe[0] - 1.0f) < 1e-6f);
    for (int i = 1; i < 4; ++i)
        QVERIFY(std::fabs(unitRe[i]) < 1e-6f && std::fabs(unitIm[i]) < 1e-6f);
}

void TestMath::fftInvalidCounts_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("1") << 1;
    QTest::newRow("0") << 0;
    QTest::newRow("3") << 3;
    QTest::newRow("6") << 6;
    QTest::newRow("-4") << -4;
}

void TestMath::fftInvalidCounts()
{
    QFETCH(int, count);
    float re[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    float im[8] = {8, 7, 6, 5, 4, 3, 2, 1};
    Math::fft(count, re, im);
    Math::inverseFft(count, re, im);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(re[i], float(i + 1));
        QCOMPARE(im[i], float(8 - i));
    }
    Math::fft(4, nullptr, im);
}

void TestMath::mfftTable()
{
    const MTools::MFft fft(3);
    const std::vector<int> expected = {0, 4, 2, 6, 1, 5, 3, 7};
    QCOMPARE(std::vector<int>(fft.table().begin(), fft.table().begin() + 8), expected);
    QCOMPARE(fft.table().size(), size_t(32768));
    QCOMPARE(MTools::MFft(15).table()[1], 16384);
}

void TestMath::mfftTransform()
{
    MTools::MFft fft(3);
    std::vector<float> re, im;
    split(samplePoints(), re, im);
    fft.transform(re.data(), im.data(), false);
    QVERIFY(near(re, im, directDft(samplePoints(), -1, 1.0 / 8), 1e-5));

    split(samplePoints(), re, im);
    fft.transform(re.data(), im.data(), true);
    QVERIFY(near(re, im, directDft(samplePoints(), +1, 1.0), 1e-4));
    // The scaled forward transform undoes the unscaled positive one.
    fft.transform(re.data(), im.data(), false);
    QVERIFY(near(re, im, samplePoints(), 1e-5));

    float one[1] = {2.5f};
    float zero[1] = {-1.0f};
    MTools::MFft(0).transform(one, zero, false);
    QCOMPARE(one[0], 2.5f);
    QCOMPARE(zero[0], -1.0f);
}

void TestMath::mfftInvalidSizes_data()
{
    QTest::addColumn<int>("n");
    QTest::newRow("16") << 16;
    QTest::newRow("-1") << -1;
    QTest::newRow("40") << 40;
}

void TestMath::mfftInvalidSizes()
{
    QFETCH(int, n);
    MTools::MFft fft(n);
    std::vector<float> re(8, 1.0f), im(8, 2.0f);
    fft.transform(re.data(), im.data(), false);
    QCOMPARE(re, std::vector<float>(8, 1.0f));
    QCOMPARE(im, std::vector<float>(8, 2.0f));
    QCOMPARE(fft.table()[1], 0);
}

QTEST_GUILESS_MAIN(TestMath)
#include "tst_math.moc"
