#include "ColorMatrix.h"

#include <cmath>
#include <utility>

namespace MGraphX {

namespace {

int toChannel(long double v)
{
    // Truncated toward zero, then limited to a byte.
    if (!(v > 0))
        return 0;
    if (v >= 255)
        return 255;
    return int(v);
}

} // namespace

ColorMatrix::ColorMatrix()
    : QObject(nullptr)
{
    setIdentity();
}

ColorMatrix::ColorMatrix(const ColorMatrix& other)
    : QObject(nullptr)
{
    setIdentity();
    m_nChangeMask = 0;
    assign(other);
}

ColorMatrix& ColorMatrix::assign(const ColorMatrix& other)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m_fCells[i][j] = other.m_fCells[i][j];
    m_nChangeMask = other.m_nChangeMask;
    return *this;
}

void ColorMatrix::setIdentity()
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m_fCells[i][j] = i == j ? 1.0f : 0.0f;
}

void ColorMatrix::reset()
{
    setIdentity();
    changed();
}

void ColorMatrix::setSaturation(float s)
{
    const double a = (1.0 - s) / 3.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m_fCells[i][j] = float(i == j ? s + a : a);
    changed();
}

void ColorMatrix::setScale(float r, float g, float b, float a)
{
    m_fCells[0][0] = r;
    m_fCells[1][1] = g;
    m_fCells[2][2] = b;
    m_fCells[3][3] = a;
    changed();
}

void ColorMatrix::setBrightness(float x)
{
    m_fCells[0][0] = m_fCells[1][1] = m_fCells[2][2] = x;
    changed();
}

void ColorMatrix::setGrayAverage()
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m_fCells[i][j] = 1.0f / 3.0f;
    changed();
}

void ColorMatrix::setGrayLuminance()
{
    const float weights[3] = {0.3086f, 0.6094f, 0.0820f};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m_fCells[i][j] = weights[i];
    changed();
}

void ColorMatrix::swapColumns(int a, int b)
{
    for (int i = 0; i < 3; ++i)
        std::swap(m_fCells[i][a], m_fCells[i][b]);
    changed();
}

void ColorMatrix::swapRedGreen() { swapColumns(0, 1); }
void ColorMatrix::swapRedBlue() { swapColumns(0, 2); }
void ColorMatrix::swapGreenBlue() { swapColumns(1, 2); }

void ColorMatrix::setTint(float r, float g, float b, float a)
{
    float d = std::ceil(r) + std::ceil(g) + std::ceil(b);
    if (!(d > 0))
        d = 1;
    for (int i = 0; i < 3; ++i) {
        m_fCells[i][0] = r / d;
        m_fCells[i][1] = g / d;
        m_fCells[i][2] = b / d;
        m_fCells[i][3] = 0;
        m_fCells[3][i] = 0;
    }
    m_fCells[3][3] = a;
    changed();
}

void ColorMatrix::setAlphaFromSum()
{
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 3; ++j)
            m_fCells[i][j] = 0;
        m_fCells[i][3] = 1;
    }
    changed();
}

QRgb ColorMatrix::transform(int r, int g, int b, int a) const
{
    int out[4];
    for (int j = 0; j < 4; ++j) {
        long double v = static_cast<long double>(r) * m_fCells[0][j];
        v += static_cast<long double>(g) * m_fCells[1][j];
        v += static_cast<long double>(b) * m_fCells[2][j];
        v += static_cast<long double>(a) * m_fCells[3][j];
        out[j] = toChannel(v);
    }
    return QRgb(out[3]) << 24 | QRgb(out[0]) << 16 | QRgb(out[1]) << 8 | QRgb(out[2]);
}

QImage ColorMatrix::apply(const QImage& image) const
{
    QImage result = image;
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        break;
    default:
        result = image.convertToFormat(QImage::Format_ARGB32);
    }
    for (int y = 0; y < result.height(); ++y) {
        QRgb* pLine = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb p = pLine[x];
            pLine[x] = transform(qRed(p), qGreen(p), qBlue(p), qAlpha(p));
        }
    }
    return result;
}

} // namespace MGraphX
