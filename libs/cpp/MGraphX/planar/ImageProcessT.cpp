#include "ImageProcessT.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace MGraphX {

namespace {

// Samples as ints: floating samples are truncated, and saturate instead of
// leaving the int range.
template <typename T>
int sampleToInt(T v)
{
    if constexpr (std::is_floating_point_v<T>) {
        if (!(v > -2147483648.0))
            return std::isnan(v) ? 0 : std::numeric_limits<int>::min();
        if (v >= 2147483647.0)
            return std::numeric_limits<int>::max();
        return int(v);
    } else {
        return int(v);
    }
}

// Depth-1 sample for a set value: 255 for 1 and 0 for 0. Bytes take the
// negated low byte, floating samples value x 255.
template <typename T>
T binarySample(int nValue)
{
    if constexpr (std::is_floating_point_v<T>)
        return T(double(nValue) * 255.0);
    else
        return T(uchar(0u - unsigned(nValue & 0xFF)));
}

template <typename T>
T* copyOf(const T* pSource, qint64 nCount)
{
    if (!pSource)
        return nullptr;
    T* pCopy = new T[size_t(nCount)];
    std::copy(pSource, pSource + nCount, pCopy);
    return pCopy;
}

uchar* identityTable()
{
    uchar* pTable = new uchar[256];
    for (int i = 0; i < 256; ++i)
        pTable[i] = uchar(i);
    return pTable;
}

bool isPaletted(int nDepth) { return nDepth == 8; }
bool isBinary(int nDepth) { return nDepth == 1; }
bool isColor(int nDepth) { return !isPaletted(nDepth) && !isBinary(nDepth); }

} // namespace

template <typename T>
bool ImageProcessT<T>::setSize(qint64 nWidth, qint64 nHeight)
{
    if (nWidth < 0 || nHeight < 0 || nWidth > std::numeric_limits<int>::max()
        || nHeight > std::numeric_limits<int>::max() || nWidth * nHeight > kMaxImagePixels) {
        m_nWidth = m_nHeight = 0;
        return false;
    }
    m_nWidth = int(nWidth);
    m_nHeight = int(nHeight);
    return true;
}

template <typename T>
ImageProcessT<T>::ImageProcessT(const int& nDepth, const int& nWidth, const int& nHeight,
                                const int& nFill, void*)
{
    m_nDepth = qint8(nDepth);
    if (!setSize(nWidth, nHeight))
        return;
    const qint64 n = sampleCount();
    m_nByteSize = n * m_nDepth / 8;
    if (isBinary(m_nDepth)) {
        m_pRed = new T[size_t(n)];
        std::fill_n(m_pRed, n, binarySample<T>(nFill));
    } else if (isPaletted(m_nDepth)) {
        m_pRed = new T[size_t(n)];
        std::fill_n(m_pRed, n, T(nFill));
        m_pPaletteRed = identityTable();
        m_pPaletteGreen = identityTable();
        m_pPaletteBlue = identityTable();
    } else {
        m_pRed = new T[size_t(n)];
        m_pGreen = new T[size_t(n)];
        m_pBlue = new T[size_t(n)];
        std::fill_n(m_pRed, n, T((nFill >> 16) & 0xFF));
        std::fill_n(m_pGreen, n, T((nFill >> 8) & 0xFF));
        std::fill_n(m_pBlue, n, T(nFill & 0xFF));
    }
}

template <typename T>
ImageProcessT<T>::ImageProcessT(const QImage& image, void*)
{
    fromImage(image);
    if (m_nWidth == image.width() && m_nHeight == image.height())
        m_imgSource = image.convertToFormat(QImage::Format_RGB32);
    if (!m_imgSource.isNull())
        splitChannels(m_imgSource.constBits(), m_nWidth * m_nHeight);
}

template <typename T>
ImageProcessT<T>::ImageProcessT(const char* pFileName, void*)
{
    QImage image;
    if (pFileName)
        loadImageChecked(QFile::decodeName(pFileName), &image);
    fromImage(image);
    if (m_nWidth > 0 && m_nHeight > 0) {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        splitChannels(rgb.constBits(), m_nWidth * m_nHeight);
    }
}

template <typename T>
void ImageProcessT<T>::fromImage(const QImage& image)
{
    // The picture's size is taken after the depth; the byte size stays 0.
    m_nDepth = 24;
    setSize(image.width(), image.height());
}

template <typename T>
ImageProcessT<T>::ImageProcessT(const ImageProcessT& other)
    : GraphX(other)
{
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    m_nByteSize = other.m_nByteSize;
    m_nParam1 = other.m_nParam1;
    m_nParam2 = other.m_nParam2;
    m_nParam3 = other.m_nParam3;
    m_nDepth = other.m_nDepth;
    m_fMax = other.m_fMax;
    m_fMin = other.m_fMin;
    m_nFlags = other.m_nFlags & kGrayFlag;
    m_nHighColor = other.m_nHighColor;
    m_nLowColor = other.m_nLowColor;
    const qint64 n = sampleCount();
    m_pRed = copyOf(other.m_pRed, n);
    m_pGreen = copyOf(other.m_pGreen, n);
    m_pBlue = copyOf(other.m_pBlue, n);
    m_pAlpha = copyOf(other.m_pAlpha, n);
    m_pPaletteRed = copyOf(other.m_pPaletteRed, 256);
    m_pPaletteGreen = copyOf(other.m_pPaletteGreen, 256);
    m_pPaletteBlue = copyOf(other.m_pPaletteBlue, 256);
    m_pExtraTable = copyOf(other.m_pExtraTable, 256);
}

template <typename T>
ImageProcessT<T>::~ImageProcessT()
{
    freePlanes();
}

template <typename T>
void ImageProcessT<T>::freePlanes()
{
    for (T** pp : {&m_pRed, &m_pGreen, &m_pBlue, &m_pAlpha}) {
        delete[] *pp;
        *pp = nullptr;
    }
    for (uchar** pp : {&m_pPaletteRed, &m_pPaletteGreen, &m_pPaletteBlue, &m_pExtraTable}) {
        delete[] *pp;
        *pp = nullptr;
    }
}

template <typename T>
bool ImageProcessT<T>::splitChannels(const uchar* pPixels, int nCount)
{
    for (T** pp : {&m_pRed, &m_pGreen, &m_pBlue, &m_pAlpha}) {
        delete[] *pp;
        *pp = new T[size_t(sampleCount())]();
    }
    const qint64 n = qBound<qint64>(0, nCount, sampleCount());
    for (qint64 i = 0; pPixels && i < n; ++i) {
        const uchar* p = pPixels + 4 * i;
        m_pBlue[i] = T(p[0]);
        m_pGreen[i] = T(p[1]);
        m_pRed[i] = T(p[2]);
        m_pAlpha[i] = T(p[3]);
    }
    return true;
}

template <typename T>
void ImageProcessT<T>::copyPlanes(const ImageProcessT& other)
{
    if (&other == this)
        return;
    for (T** pp : {&m_pRed, &m_pGreen, &m_pBlue, &m_pAlpha}) {
        delete[] *pp;
        *pp = nullptr;
    }
    // The planes bring their size with them, so no plane is read or written
    // beyond its end.
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    const qint64 n = sampleCount();
    m_pRed = copyOf(other.m_pRed, n);
    m_pGreen = copyOf(other.m_pGreen, n);
    m_pBlue = copyOf(other.m_pBlue, n);
    m_pAlpha = copyOf(other.m_pAlpha, n);
}

template <typename T>
int ImageProcessT<T>::pixel(int x, int y) const
{
    if (!inside(x, y))
        return 0;
    const qint64 i = qint64(y) * m_nWidth + x;
    auto sample = [i](const T* pPlane) { return pPlane ? sampleToInt(pPlane[i]) : 0; };
    if (isBinary(m_nDepth)) {
        if constexpr (std::is_floating_point_v<T>)
            return m_pRed && m_pRed[i] >= T(128) ? 1 : 0;
        else
            return m_pRed && (m_pRed[i] & 0x80) ? 1 : 0;
    }
    if (isPaletted(m_nDepth))
        return sample(m_pRed);
    return int(unsigned(sample(m_pRed)) << 16 | unsigned(sample(m_pGreen)) << 8 | unsigned(sample(m_pBlue)));
}

template <typename T>
void ImageProcessT<T>::setPixel(int x, int y, int nValue)
{
    if (!inside(x, y) || !m_pRed)
        return;
    const qint64 i = qint64(y) * m_nWidth + x;
    if (isPaletted(m_nDepth)) {
        m_pRed[i] = T(nValue & 0xFF);
    } else if (isBinary(m_nDepth)) {
        m_pRed[i] = binarySample<T>(nValue);
    } else {
        m_pRed[i] = T((nValue >> 16) & 0xFF);
        if (m_pGreen)
            m_pGreen[i] = T((nValue >> 8) & 0xFF);
        if (m_pBlue)
            m_pBlue[i] = T(nValue & 0xFF);
    }
}

template <typename T>
void ImageProcessT<T>::hook1()
{
    int nFirst = m_nParam1;
    int nSecond = m_nParam2;
    hook2(nFirst, nSecond);
}

// ---- unsigned char only ---------------------------------------------------

template <>
void ImageProcessT<uchar>::histogram(int nBins[256], const uchar* pPlane) const
{
    std::fill_n(nBins, 256, 0);
    if (!pPlane)
        pPlane = m_pRed;
    if (!pPlane)
        return;
    const qint64 n = sampleCount();
    for (qint64 i = 0; i < n; ++i)
        ++nBins[pPlane[i]];
}

template <>
void ImageProcessT<uchar>::mapPlane(uchar* pPlane, const uchar table[256])
{
    if (!pPlane)
        return;
    for (qint64 i = sampleCount() - 1; i >= 0; --i)
        pPlane[i] = table[pPlane[i]];
}

template <>
void ImageProcessT<uchar>::applyTable(const uchar table[256])
{
    mapPlane(m_pRed, table);
    mapPlane(m_pGreen, table);
    mapPlane(m_pBlue, table);
    if (isBinary(m_nDepth) && m_pRed) {
        const qint64 n = sampleCount();
        for (qint64 i = 0; i < n; ++i)
            m_pRed[i] = uchar(m_pRed[i] > 126 ? m_nHighColor : m_nLowColor);
    }
}

template <>
void ImageProcessT<uchar>::brighten(const int& nAmount, void*)
{
    auto shift = [this, nAmount](uchar* pSamples, qint64 n) {
        if (!pSamples)
            return;
        for (qint64 i = 0; i < n; ++i) {
            const qint64 v = qint64(pSamples[i]) + nAmount;
            pSamples[i] = uchar(v > m_nHighColor ? m_nHighColor : v < m_nLowColor ? m_nLowColor : v);
        }
    };
    if ((m_nFlags & kGrayFlag) || !isPaletted(m_nDepth)) {
        const qint64 n = sampleCount();
        shift(m_pRed, n);
        if (m_pGreen) {
            shift(m_pGreen, n);
            shift(m_pBlue, n);
        }
    } else {
        shift(m_pPaletteRed, 256);
        shift(m_pPaletteGreen, 256);
        shift(m_pPaletteBlue, 256);
    }
    if (isBinary(m_nDepth))
        convertDepth(127);
}

template <>
void ImageProcessT<uchar>::convertDepth(const int& nLevel)
{
    const qint64 n = sampleCount();
    const bool bColorPlanes = isColor(m_nDepth) && m_pRed && m_pGreen && m_pBlue;
    if (!(m_nFlags & kGrayFlag)) {
        if (isPaletted(m_nDepth) && m_pRed && m_pPaletteRed && m_pPaletteGreen && m_pPaletteBlue) {
            for (qint64 i = 0; i < n; ++i) {
                const uchar c = m_pRed[i];
                m_pRed[i] = uchar((m_pPaletteRed[c] + m_pPaletteGreen[c] + m_pPaletteBlue[c]) / 3);
            }
            for (int i = 0; i < 256; ++i)
                m_pPaletteRed[i] = m_pPaletteGreen[i] = m_pPaletteBlue[i] = uchar(i);
        } else if (bColorPlanes) {
            for (qint64 i = 0; i < n; ++i)
                m_pRed[i] = m_pGreen[i] = m_pBlue[i] = uchar((m_pRed[i] + m_pGreen[i] + m_pBlue[i]) / 3);
        }
        m_nFlags |= kGrayFlag;
    }
    if (!m_pRed)
        return;
    for (qint64 i = 0; i < n; ++i) {
        const uchar v = uchar(m_pRed[i] < nLevel ? m_nLowColor : m_nHighColor);
        m_pRed[i] = v;
        if (bColorPlanes)
            m_pGreen[i] = m_pBlue[i] = v;
    }
}

template <>
QImage ImageProcessT<uchar>::toImage() const
{
    QImage image(m_nWidth, m_nHeight, QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    for (int y = 0; y < m_nHeight; ++y) {
        QRgb* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < m_nWidth; ++x)
            pLine[x] = 0xFF000000u | QRgb(pixel(x, y));
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (!m_imgSource.isNull()) {
        const QImage alpha = m_imgSource.scaled(m_nWidth, m_nHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                                 .convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < m_nHeight; ++y) {
            QRgb* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
            const QRgb* pAlpha = reinterpret_cast<const QRgb*>(alpha.constScanLine(y));
            for (int x = 0; x < m_nWidth; ++x)
                pLine[x] = (pLine[x] & 0x00FFFFFFu) | (pAlpha[x] & 0xFF000000u);
        }
    }
    return image;
}

template class ImageProcessT<uchar>;
template class ImageProcessT<float>;
template class ImageProcessT<double>;

} // namespace MGraphX
