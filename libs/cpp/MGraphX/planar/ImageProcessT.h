#pragma once

#include "GraphX.h"
#include "ImageIO.h"

#include <QImage>

namespace MGraphX {

// A raster held as separate planes of samples of type T (unsigned char, float
// or double), row after row, with a colour depth of 1, 8 or 24 bits:
//  - 24: red, green and blue planes hold 0..255 channel values; the alpha
//    plane holds alpha when the raster was built from a picture;
//  - 8: the red plane holds palette indices and the three 256-entry palettes
//    give each index's colour;
//  - 1: the red plane holds 0 or 255; a sample counts as set from 128 up.
// Any other depth is treated like 24. The object owns its planes and tables;
// copies are deep. Sizes beyond kMaxImagePixels (or negative) are refused:
// the object is then empty (0 x 0, no planes).
//
// Table, brightness and binarising operations and toImage() exist for
// unsigned char samples only.
template <typename T>
class ImageProcessT : public GraphX
{
public:
    // Planes of width x height samples at the given depth: depth 1 fills the
    // red plane with 255 for fill 1 and 0 for fill 0; depth 8 fills the red
    // plane with the fill and sets identity palettes; other depths fill red,
    // green and blue with the fill's three channel bytes (0xRRGGBB).
    ImageProcessT(const int& nDepth, const int& nWidth, const int& nHeight, const int& nFill,
                  void* pReserved = nullptr);
    // Depth 24 from the picture converted to RGB32; the converted picture is
    // kept and supplies toImage()'s alpha.
    explicit ImageProcessT(const QImage& image, void* pReserved = nullptr);
    // Depth 24 from a picture file (the 8-bit name decoded as the system
    // decodes file names); an unreadable file gives an empty raster.
    explicit ImageProcessT(const char* pFileName, void* pReserved = nullptr);
    // Deep copy; the kept picture is not copied.
    ImageProcessT(const ImageProcessT& other);
    ImageProcessT& operator=(const ImageProcessT&) = delete;
    ~ImageProcessT() override;

    void setPixel(int x, int y, int nValue) override;
    int pixel(int x, int y) const override;

    int sharedInt1() const override { return s_nShared1; }
    int sharedInt2() const override { return s_nShared2; }
    bool sharedFlag() const override { return s_bShared; }
    void hook1() override;
    void hook2(int&, int&) override {}
    void hook3(int, int, int, int) override {}
    void hook4(int) override {}
    void hook5(int) override {}
    void hook6(int, int, int, int, int, int) override {}
    QRect bounds() const override { return QRect(0, 0, m_nWidth, m_nHeight); }

    // Four planes filled from the first min(count, width x height) 32-bit
    // little-endian pixels (byte 3 alpha, 2 red, 1 green, 0 blue); the rest
    // are 0.
    bool splitChannels(const uchar* pPixels, int nCount);
    // Deep copies of the other's planes where they exist, with its size.
    void copyPlanes(const ImageProcessT& other);
    // Frees the four planes and the four tables.
    void freePlanes();

    // uchar only: counts the samples of the plane (the red plane for null).
    void histogram(int nBins[256], const uchar* pPlane = nullptr) const;
    // uchar only: every sample of the plane becomes table[sample].
    void mapPlane(uchar* pPlane, const uchar table[256]);
    // uchar only: maps red, green and blue through the table; at depth 1 the
    // red plane is binarised again (above 126 high colour, else low colour).
    void applyTable(const uchar table[256]);
    // uchar only: adds the amount to every colour sample (at depth 8 without
    // grey samples, to the palettes), limited to low colour..high colour.
    void brighten(const int& nAmount, void* pReserved = nullptr);
    // uchar only: turns the samples grey (the mean of the channels) once,
    // then sets them to the low colour below the level, else the high colour.
    // The depth does not change.
    void convertDepth(const int& nLevel);
    // uchar only: the raster as ARGB32. At depth 24 the colour; at depths 8
    // and 1 the raw sample lands in the blue byte. Alpha comes from the kept
    // picture (255 when there is none).
    QImage toImage() const;

    int width() const { return m_nWidth; }
    int height() const { return m_nHeight; }
    int depth() const { return m_nDepth; }
    bool hasGraySamples() const { return m_nFlags & kGrayFlag; }
    int highColor() const { return m_nHighColor; }
    int lowColor() const { return m_nLowColor; }
    T* redPlane() const { return m_pRed; }
    T* greenPlane() const { return m_pGreen; }
    T* bluePlane() const { return m_pBlue; }
    T* alphaPlane() const { return m_pAlpha; }
    uchar* paletteRed() const { return m_pPaletteRed; }
    uchar* paletteGreen() const { return m_pPaletteGreen; }
    uchar* paletteBlue() const { return m_pPaletteBlue; }

private:
    static constexpr quint8 kGrayFlag = 0x02;
    static inline int s_nShared1 = 0;
    static inline int s_nShared2 = 0;
    static inline bool s_bShared = false;

    qint64 sampleCount() const { return qint64(m_nWidth) * m_nHeight; }
    bool setSize(qint64 nWidth, qint64 nHeight);
    void fromImage(const QImage& image);
    bool inside(int x, int y) const { return unsigned(x) < unsigned(m_nWidth) && unsigned(y) < unsigned(m_nHeight); }

    T* m_pRed = nullptr;
    T* m_pGreen = nullptr;
    T* m_pBlue = nullptr;
    T* m_pAlpha = nullptr;
    uchar* m_pPaletteRed = nullptr;
    uchar* m_pPaletteGreen = nullptr;
    uchar* m_pPaletteBlue = nullptr;
    uchar* m_pExtraTable = nullptr;   // copied with the others, read by nothing
    int m_nWidth = 0;
    int m_nHeight = 0;
    qint64 m_nByteSize = 0;           // width x height x depth / 8 (0 for pictures)
    int m_nParam1 = 0;                // the first two go to hook2
    int m_nParam2 = 0;
    int m_nParam3 = 0;
    qint8 m_nDepth = 24;
    float m_fMax = 255.0f;
    float m_fMin = 0.0f;
    quint8 m_nFlags = 0;
    int m_nReserved = 0;
    QImage m_imgSource;               // RGB32 source picture, for toImage()'s alpha
    int m_nHighColor = 255;
    int m_nLowColor = 0;
};

template <> void ImageProcessT<uchar>::histogram(int nBins[256], const uchar* pPlane) const;
template <> void ImageProcessT<uchar>::mapPlane(uchar* pPlane, const uchar table[256]);
template <> void ImageProcessT<uchar>::applyTable(const uchar table[256]);
template <> void ImageProcessT<uchar>::brighten(const int& nAmount, void* pReserved);
template <> void ImageProcessT<uchar>::convertDepth(const int& nLevel);
template <> QImage ImageProcessT<uchar>::toImage() const;

extern template class ImageProcessT<uchar>;
extern template class ImageProcessT<float>;
extern template class ImageProcessT<double>;

} // namespace MGraphX
