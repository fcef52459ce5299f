#pragma once

namespace MTools {

// Elementary functions in single precision by power series and Newton
// iteration, to a process-wide precision, with 360-entry sine and cosine
// tables by whole degree and a radix-2 FFT pair.
//
// The first Math object sets the precision and fills the tables (with the
// series, at that precision); later objects and setPrecision() leave the
// tables as they are. A series adds terms until its sum changes by no more
// than the precision; it also stops when the sum is no longer finite or
// after a bounded number of terms, so arguments outside a series' domain
// give a meaningless value but always return. The state is
// shared and unlocked: build the first object before other threads use it.
class Math
{
public:
    explicit Math(const float& precision);
    virtual ~Math();

    static void setPrecision(const float& x);

    // Arguments beyond +-2 pi are first reduced by whole turns.
    static float sine(const float& x);
    static float cosine(const float& x);
    static float exponential(const float& x);
    // For 0 < x <= 2.
    static float naturalLog(const float& x);
    // For -1 < x < 1.
    static float arctan(const float& x);
    // 1.5707964 - arctan(x / sqrt(1 - x^2)), for x within +-0.7071 (the
    // root is 1 when the precision is 1 or coarser).
    static float arccos(const float& x);
    static float arctanShifted(const float& x);
    // x to the real power a by the binomial series, for 0 < x < 2.
    static float realPower(const float& x, const float& a);
    // x multiplied n times; 1 for n of 0 or less.
    static float power(const float& x, const int& n);
    // Newton iteration from 1, for x >= 0; 1 when the precision is 1 or
    // coarser.
    static float squareRoot(const float& x);
    // n!, 1 for n of 0 or less; wraps modulo 2^32 from 13! on.
    static int factorial(const int& n);
    // x (x - 1) (x - 2) ... down to the last positive factor; 1 for x of 0
    // or less.
    static float factorial(const float& x);
    static float absolute(const float& x);
    static float maximum(const float& a, const float& b);
    static float minimum(const float& a, const float& b);
    static float truncate(const float& x);
    static float degreesToRadians(const int& d);
    static float secant(const float& x);
    // Table entries; d is taken modulo 360 into 0..359.
    static const float& sinDegrees(const int& d);
    static const float& cosDegrees(const int& d);
    static float tanDegrees(const int& d);
    // Left Riemann sum over [a, b] in 50 strips: the function at a, a + h, ...
    // for every strip whose right end (accumulated in single precision) lies
    // below b, times h = (b - a) / 50; at most 51 strips. 0 when b is not
    // above a + h.
    static float integrate(const float& a, const float& b, float function(float));
    // In-place radix-2 transforms of count points (a power of two; any other
    // count leaves the data unchanged). fft computes the unscaled sum with
    // e^(+2 pi i jk / N); inverseFft undoes it, dividing by count.
    static void fft(const int& count, float* re, float* im);
    static void inverseFft(const int& count, float* re, float* im);
};

}  // namespace MTools
