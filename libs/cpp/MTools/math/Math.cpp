#include "Math.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>
#include <utility>

namespace MTools {

namespace {

float g_fPrecision = 1e-10f;
std::atomic<int> g_nInstances{0};
std::once_flag g_tablesFilled;
float g_sineTable[360];
float g_cosineTable[360];

constexpr float kPi = 3.1415927f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kTwoPi = 6.2831855f;

// Enough for every argument inside a series' domain short of its very edge
// (arctan(0.99999) needs about 10^6 terms); outside it, the bound ends
// series that would never settle.
constexpr int kMaxTerms = 1000000;
// Newton's square root settles in well under a hundred steps, or circles
// between two neighbouring floats for ever.
constexpr int kMaxNewtonSteps = 1000;

// Adds next(k) for k = 1, 2, ... to first until the sum changes by no more
// than the precision, or is no longer finite. While the sum keeps its sign
// this is the change of its magnitude; a sum that only flips its sign (1 to
// -1 in the exponential of -2) has not settled.
template<typename Next>
float series(float fFirst, Next next)
{
    float fSum = fFirst;
    for (int k = 1; k <= kMaxTerms && std::isfinite(fSum); ++k) {
        const float fNew = fSum + next(k);
        const bool bSettled = std::fabs(fNew - fSum) <= g_fPrecision;
        fSum = fNew;
        if (bSettled)
            break;
    }
    return fSum;
}

// Whole turns off arguments beyond 2 pi only, so that the table angles
// (below 2 pi) are computed exactly as given.
float reducedAngle(float x)
{
    return std::fabs(x) > kTwoPi ? std::fmod(x, kTwoPi) : x;
}

int tableIndex(int d)
{
    return (d % 360 + 360) % 360;
}

bool isPowerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

void transform(int nCount, float* pRe, float* pIm, bool bInverse)
{
    if (!isPowerOfTwo(nCount) || !pRe || !pIm)
        return;
    int nBits = 0;
    while ((1 << nBits) < nCount)
        ++nBits;
    for (int i = 0; i < nCount; ++i) {
        int j = 0;
        for (int b = 0; b < nBits; ++b)
            j |= ((i >> b) & 1) << (nBits - 1 - b);
        if (i < j) {
            std::swap(pRe[i], pRe[j]);
            std::swap(pIm[i], pIm[j]);
        }
    }
    for (long long nSpan = 2; nSpan <= nCount; nSpan *= 2) {
        const int m = static_cast<int>(nSpan / 2);
        const float fAngle = kPi / static_cast<float>(m);
        const float c = Math::cosine(fAngle);
        const float s = bInverse ? -Math::sine(fAngle) : Math::sine(fAngle);
        float wr = 1.0f;
        float wi = 0.0f;
        for (int k = 0; k < m; ++k) {
            for (long long i = k; i < nCount; i += nSpan) {
                const long long j = i + m;
                const float tr = wr * pRe[j] - wi * pIm[j];
                const float ti = wr * pIm[j] + wi * pRe[j];
                pRe[j] = pRe[i] - tr;
                pIm[j] = pIm[i] - ti;
                pRe[i] += tr;
                pIm[i] += ti;
            }
            const float fNext = wr * c - wi * s;
            wi = wr * s + wi * c;
            wr = fNext;
        }
    }
    if (bInverse) {
        for (int i = 0; i < nCount; ++i) {
            pRe[i] /= static_cast<float>(nCount);
            pIm[i] /= static_cast<float>(nCount);
        }
    }
}

}  // namespace

Math::Math(const float& precision)
{
    std::call_once(g_tablesFilled, [&precision] {
        g_fPrecision = precision;
        for (int i = 0; i < 360; ++i) {
            const float fAngle = static_cast<float>(i) * kPi / 180.0f;
            g_sineTable[i] = sine(fAngle);
            g_cosineTable[i] = cosine(fAngle);
        }
    });
    ++g_nInstances;
}

Math::~Math() = default;

void Math::setPrecision(const float& x)
{
    g_fPrecision = x;
}

float Math::sine(const float& x)
{
    const float y = reducedAngle(x);
    float fTerm = y;
    return series(y, [&](int k) {
        fTerm = fTerm * -(y * y) / ((2.0f * k) * (2.0f * k + 1.0f));
        return fTerm;
    });
}

float Math::cosine(const float& x)
{
    const float y = reducedAngle(x);
    float fTerm = 1.0f;
    return series(1.0f, [&](int k) {
        fTerm = fTerm * -(y * y) / ((2.0f * k - 1.0f) * (2.0f * k));
        return fTerm;
    });
}

float Math::exponential(const float& x)
{
    float fTerm = 1.0f;
    return series(1.0f, [&](int k) {
        fTerm = fTerm * x / static_cast<float>(k);
        return fTerm;
    });
}

float Math::naturalLog(const float& x)
{
    const float y = x - 1.0f;
    float fPower = y;
    return series(y, [&](int k) {
        fPower *= y;
        const float fTerm = fPower / static_cast<float>(k + 1);
        return k % 2 == 1 ? -fTerm : fTerm;
    });
}

float Math::arctan(const float& x)
{
    float fPower = x;
    return series(x, [&](int k) {
        fPower = fPower * -(x * x);
        return fPower / (2.0f * k + 1.0f);
    });
}

float Math::arccos(const float& x)
{
    const float fRoot = g_fPrecision < 1.0f ? squareRoot(1.0f - x * x) : 1.0f;
    return kHalfPi - arctan(x / fRoot);
}

float Math::arctanShifted(const float& x)
{
    return arctan(x) + kHalfPi;
}

float Math::realPower(const float& x, const float& a)
{
    const float y = x - 1.0f;
    float fTerm = 1.0f;
    return series(1.0f, [&](int k) {
        fTerm = fTerm * (a - static_cast<float>(k - 1)) * y / static_cast<float>(k);
        return fTerm;
    });
}

float Math::power(const float& x, const int& n)
{
    float fResult = 1.0f;
    for (int i = 0; i < n; ++i) {
        // Once the product is 0, infinite or not a number, or x is +-1, only
        // the sign can still change: finish without the remaining steps.
        if (fResult == 0.0f || !std::isfinite(fResult) || std::fabs(x) == 1.0f) {
            if (x < 0.0f && (n - i) % 2 == 1)
                fResult = -fResult;
            if (std::isnan(x))
                fResult = x;
            break;
        }
        fResult *= x;
    }
    return fResult;
}

float Math::squareRoot(const float& x)
{
    if (g_fPrecision >= 1.0f)
        return 1.0f;
    float r = 1.0f;
    for (int i = 0; i < kMaxNewtonSteps && std::isfinite(r); ++i) {
        const float fNext = (r + x / r) / 2.0f;
        const bool bSettled = std::fabs(fNext - r) <= g_fPrecision;
        r = fNext;
        if (bSettled)
            break;
    }
    return r;
}

int Math::factorial(const int& n)
{
    // Unsigned, so that what does not fit wraps instead of being undefined;
    // from 34! on the product holds 2^32 and stays 0.
    unsigned nProduct = 1;
    for (int i = 2; i <= n && nProduct != 0; ++i)
        nProduct *= static_cast<unsigned>(i);
    return nProduct <= 0x7FFFFFFFu ? static_cast<int>(nProduct)
                                   : static_cast<int>(nProduct - 0x80000000u) - 0x7FFFFFFF - 1;
}

float Math::factorial(const float& x)
{
    if (std::isnan(x))
        return x;
    if (!(x > 0.0f))
        return 1.0f;
    // Past 34 every product overflows; past 2^24, x - 1 == x would never
    // reach 0.
    if (x > 64.0f)
        return std::numeric_limits<float>::infinity();
    float factors[64];
    int nFactors = 0;
    for (float v = x; v > 0.0f; v -= 1.0f)
        factors[nFactors++] = v;
    // Smallest factor first, as x * factorial(x - 1) multiplies.
    float fProduct = 1.0f;
    while (nFactors > 0)
        fProduct = factors[--nFactors] * fProduct;
    return fProduct;
}

float Math::absolute(const float& x)
{
    return std::fabs(x);
}

float Math::maximum(const float& a, const float& b)
{
    return a > b ? a : b;
}

float Math::minimum(const float& a, const float& b)
{
    return b > a ? a : b;
}

float Math::truncate(const float& x)
{
    return std::trunc(x);
}

float Math::degreesToRadians(const int& d)
{
    return static_cast<float>(d) * kPi / 180.0f;
}

float Math::secant(const float& x)
{
    return 1.0f / cosine(x);
}

const float& Math::sinDegrees(const int& d)
{
    return g_sineTable[tableIndex(d)];
}

const float& Math::cosDegrees(const int& d)
{
    return g_cosineTable[tableIndex(d)];
}

float Math::tanDegrees(const int& d)
{
    return g_sineTable[tableIndex(d)] / g_cosineTable[tableIndex(d)];
}

float Math::integrate(const float& a, const float& b, float function(float))
{
    if (!function)
        return 0.0f;
    const float h = (b - a) / 50.0f;
    float fSum = 0.0f;
    float fLeft = a;
    // 51 strips at most: where a + h == a in single precision the right end
    // would never move.
    for (int nStrip = 0; nStrip < 51; ++nStrip) {
        const float fRight = fLeft + h;
        if (!(fRight < b))
            break;
        fSum += function(fLeft) * h;
        fLeft = fRight;
    }
    return fSum;
}

void Math::fft(const int& count, float* re, float* im)
{
    transform(count, re, im, false);
}

void Math::inverseFft(const int& count, float* re, float* im)
{
    transform(count, re, im, true);
}

}  // namespace MTools
