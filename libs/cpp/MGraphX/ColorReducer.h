#pragma once

#include "Cube.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QVector>

namespace MGraphX {

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
    // A null or empty source gives a null image.
    QImage reduce(int nColors);

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
    void ditherImage(const QVector<QRgb>& vecColors, QImage& imgIndices);
    void applyTransparency(QImage& imgResult) const;

    QVector<int> m_vecHistogram;   // pixel counts, then the key map
    QVector<int> m_vecColorList;   // keys present, re-ordered by the cut
    QVector<Cube> m_vecCubes;
    int m_nColorCount = 256;
    QImage m_imgWork;              // 32-bit pixels of the source; alpha byte ignored
    QImage m_imgSource;
    QVector<QRgb> m_vecPalette;
    bool m_bDithering = true;
    bool m_bGrayAlgorithm = true;
};

// Reduces the image and writes it as PNG at the strongest compression.
// Returns whether the file was written.
bool reduceAndSave(const QImage& image, const QString& strFileName, int nColors,
                   bool bDithering, bool bGray);
bool reduceAndSaveAs(const QImage& image, const QString& strFileName, int nColors,
                     const QString& strFormat);

} // namespace MGraphX
