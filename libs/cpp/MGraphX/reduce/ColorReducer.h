#pragma once

#include "Cube.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

namespace MGraphX {

class IndexedPngWriter;

// Reduces a picture of any format to an 8-bit indexed image of at most 256
// colours: a histogram of 15-bit colour keys, a breadth-first median cut, the
// weighted mean colour of every box and a plain or error-diffused mapping.
// All-grey pictures take a grey path; pictures with an alpha channel get a
// fully transparent entry at index 255.
//
// A reducer serves one picture and one call of reduce() (the call turns the
// histogram into the key map). It runs on the calling thread and emits
// progress() synchronously: 0, then 0..9 while boxes are split, then 10..99,
// one value per pixel column, while dithering. 100 is never emitted.
class ColorReducer : public QObject
{
    Q_OBJECT

public:
    explicit ColorReducer(const QImage& image, QObject* pParent = nullptr);
    ~ColorReducer() override;

    // 15-bit colour key: red in bits 0-4, green in 5-9, blue in 10-14.
    static int colorKey(QRgb rgb)
    {
        return int(((rgb >> 19) & 0x1Fu) | ((rgb >> 6) & 0x3E0u) | ((rgb << 7) & 0x7C00u));
    }
    static int keyRed(int nKey) { return (nKey << 3) & 0xFF; }
    static int keyGreen(int nKey) { return (nKey >> 2) & 0xF8; }
    static int keyBlue(int nKey) { return (nKey >> 7) & 0xF8; }

    void setDithering(bool bDithering);
    void setGrayAlgorithm(bool bGray);

    // Colour counts outside 1..256 are clamped. A source with an alpha channel
    // asked for 255 or 256 colours gets 254, index 255 being transparent.
    // A null or empty source gives a null image. The dithered colour result
    // keeps the source's resolution, offset, text and colour space (saved as
    // PNG chunks); the plainly mapped and the grey results carry none of it.
    QImage reduce(int nColors);

    // PNG bytes (strongest compression) of reduce(nColors), identical to
    // encodePng(reduce(nColors)); rows are compressed on a helper thread while
    // later rows are still being reduced. The indexed image goes to
    // *pReduced, and the milliseconds spent finishing the PNG after the
    // reduction ended to *pFinishMs, when given. Throws std::system_error
    // when the helper thread cannot be started.
    QByteArray reduceToPng(int nColors, QImage* pReduced = nullptr, qint64* pFinishMs = nullptr);

    // Per-channel posterisation to nLevels + 1 levels (1..255, clamped), in
    // Format_ARGB32 and opaque. Dithering has no effect here.
    QImage stretch(int nLevels);

signals:
    void progress(int);

private:
    void fitBounds(Cube& cube) const;
    void packAxisKeys(int nLower, int nUpper, int nAxis);
    void sortKeys(int nLower, int nUpper);
    void unpackAxisKeys(int nLower, int nUpper, int nAxis);
    int medianCut();
    void buildPalette(QVector<int>& vecKeyMap, int nCubes);
    QImage mapToPalette();
    QImage reduceGray();
    QImage stretchImage();
    void ditherImage(const QVector<QRgb>& vecColors, QImage& imgIndices,
                     const std::function<void(int, uchar*)>& rowDone);
    void finishRow(int y, uchar* pRow);

    QVector<int> m_vecHistogram;   // pixel counts, then the key map
    QVector<int> m_vecColorList;   // keys present, re-ordered by the cut
    QVector<Cube> m_vecCubes;
    int m_nColorCount = 256;
    QImage m_imgWork;              // 32-bit pixels of the source; alpha byte ignored
    QImage m_imgSource;
    QVector<QRgb> m_vecPalette;
    bool m_bDithering = true;
    bool m_bGrayAlgorithm = true;
    QImage m_imgAlpha;                      // ARGB32 view of the source, for its alpha
    IndexedPngWriter* m_pPngWriter = nullptr; // set during reduceToPng
};

// Reduces the image and writes it as PNG at the strongest compression.
// Returns whether the file was written.
bool reduceAndSave(const QImage& image, const QString& strFileName, int nColors,
                   bool bDithering, bool bGray);
bool reduceAndSaveAs(const QImage& image, const QString& strFileName, int nColors,
                     const QString& strFormat);

} // namespace MGraphX
