#include "ColorReducer.h"

#include "IndexedPngWriter.h"
#include "NearestColor.h"

#include <QColorSpace>
#include <QElapsedTimer>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

namespace MGraphX {

namespace {

constexpr int kKeyCount = 32768;
constexpr int kTransparentIndex = 255;

enum Axis { AxisRed, AxisGreen, AxisBlue };

bool isEmptyImage(const QImage& image)
{
    return image.isNull() || image.width() <= 0 || image.height() <= 0;
}

// The alpha channel as ARGB32 rows, for the transparency test. Shares the
// source when it is already ARGB32.
QImage alphaSource(const QImage& source)
{
    if (source.format() == QImage::Format_ARGB32)
        return source;
    return source.convertToFormat(QImage::Format_ARGB32);
}

inline int clampByte(int n)
{
    return n < 0 ? 0 : (n > 255 ? 255 : n);
}

// The PNG writer's thread reads the rows of the picture being made. Unless
// the picture is handed on, the writer is stopped and joined before the
// picture goes away, on every way out: an early return or an exception (out
// of memory). Declared after the picture, so it ends first.
class WriterStop
{
public:
    explicit WriterStop(IndexedPngWriter* pWriter) : m_pWriter(pWriter) {}
    ~WriterStop()
    {
        if (m_pWriter)
            m_pWriter->cancel();
    }
    WriterStop(const WriterStop&) = delete;
    WriterStop& operator=(const WriterStop&) = delete;
    void release() { m_pWriter = nullptr; }

private:
    IndexedPngWriter* m_pWriter;
};

// What Qt carries over when an image is copied or converted: resolution,
// offset, text, colour space and device pixel ratio. QImage::save writes the
// first four as PNG chunks.
void copyImageMetadata(QImage& target, const QImage& source)
{
    target.setDotsPerMeterX(source.dotsPerMeterX());
    target.setDotsPerMeterY(source.dotsPerMeterY());
    target.setOffset(source.offset());
    for (const QString& strKey : source.textKeys())
        target.setText(strKey, source.text(strKey));
    target.setColorSpace(source.colorSpace());
    target.setDevicePixelRatio(source.devicePixelRatio());
}

} // namespace

ColorReducer::ColorReducer(const QImage& image, QObject* pParent)
    : QObject(pParent)
    , m_imgSource(image)
{
    if (isEmptyImage(image))
        return;
    // 32-bit sources are read in place (the alpha byte plays no part in the
    // colours), which saves a full copy of large pictures.
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        m_imgWork = image;
    else
        m_imgWork = image.convertToFormat(QImage::Format_RGB32);

    m_vecHistogram.fill(0, kKeyCount);
    int* pBins = m_vecHistogram.data();
    const int nWidth = m_imgWork.width();
    for (int y = 0; y < m_imgWork.height(); ++y) {
        const QRgb* pRow = reinterpret_cast<const QRgb*>(m_imgWork.constScanLine(y));
        for (int x = 0; x < nWidth; ++x)
            ++pBins[colorKey(pRow[x])];
    }
}

ColorReducer::~ColorReducer() = default;

void ColorReducer::setDithering(bool bDithering)
{
    m_bDithering = bDithering;
}

void ColorReducer::setGrayAlgorithm(bool bGray)
{
    m_bGrayAlgorithm = bGray;
}

QImage ColorReducer::reduce(int nColors)
{
    emit progress(0);
    // The box table and the grey tables hold 256 entries; a count from an
    // edited settings store must not reach past them.
    m_nColorCount = qBound(1, nColors, 256);
    if (m_imgSource.hasAlphaChannel() && m_nColorCount >= 255)
        m_nColorCount = 254;
    // Nothing to count: no boxes can be formed, and no means divided.
    if (m_imgWork.isNull())
        return QImage();
    if (m_imgSource.hasAlphaChannel()) {
        m_imgAlpha = alphaSource(m_imgSource);
        // No memory for the alpha view: a result without its transparency
        // would be wrong, so there is none.
        if (m_imgAlpha.isNull())
            return QImage();
    }
    if (m_bGrayAlgorithm && m_imgSource.allGray())
        return reduceGray();

    const int nCubes = medianCut();
    buildPalette(m_vecHistogram, nCubes);
    return mapToPalette();
}

QByteArray ColorReducer::reduceToPng(int nColors, QImage* pReduced, qint64* pFinishMs)
{
    IndexedPngWriter writer;
    m_pPngWriter = &writer;
    const QImage imgResult = reduce(nColors);
    m_pPngWriter = nullptr;
    if (pReduced)
        *pReduced = imgResult;
    QElapsedTimer timer;
    timer.start();
    const QByteArray png = writer.finish(imgResult);
    if (pFinishMs)
        *pFinishMs = timer.elapsed();
    return png;
}

QImage ColorReducer::stretch(int nLevels)
{
    // Outside 1..255 the tables leave the byte range or divide by zero.
    m_nColorCount = qBound(1, nLevels, 255);
    return stretchImage();
}

void ColorReducer::fitBounds(Cube& cube) const
{
    cube.m_nRedMin = cube.m_nGreenMin = cube.m_nBlueMin = 255;
    cube.m_nRedMax = cube.m_nGreenMax = cube.m_nBlueMax = 0;
    for (int i = cube.m_nLower; i <= cube.m_nUpper; ++i) {
        const int nKey = m_vecColorList[i];
        const int r = keyRed(nKey), g = keyGreen(nKey), b = keyBlue(nKey);
        cube.m_nRedMin = qMin(cube.m_nRedMin, r);
        cube.m_nRedMax = qMax(cube.m_nRedMax, r);
        cube.m_nGreenMin = qMin(cube.m_nGreenMin, g);
        cube.m_nGreenMax = qMax(cube.m_nGreenMax, g);
        cube.m_nBlueMin = qMin(cube.m_nBlueMin, b);
        cube.m_nBlueMax = qMax(cube.m_nBlueMax, b);
    }
}

// The sort key puts the axis channel in the top five bits: red sorts by red,
// blue, green; green by green, blue, red; blue by the key itself.
void ColorReducer::packAxisKeys(int nLower, int nUpper, int nAxis)
{
    for (int i = nLower; i <= nUpper; ++i) {
        const int k = m_vecColorList[i];
        const int r = k & 0x1F, g = (k >> 5) & 0x1F, b = k >> 10;
        if (nAxis == AxisRed)
            m_vecColorList[i] = g | (b << 5) | (r << 10);
        else if (nAxis == AxisGreen)
            m_vecColorList[i] = r | (b << 5) | (g << 10);
    }
}

void ColorReducer::sortKeys(int nLower, int nUpper)
{
    int* pData = m_vecColorList.data();
    std::sort(pData + nLower, pData + nUpper + 1);
}

void ColorReducer::unpackAxisKeys(int nLower, int nUpper, int nAxis)
{
    for (int i = nLower; i <= nUpper; ++i) {
        const int s = m_vecColorList[i];
        const int lo = s & 0x1F, mid = (s >> 5) & 0x1F, hi = s >> 10;
        if (nAxis == AxisRed)
            m_vecColorList[i] = hi | (lo << 5) | (mid << 10);
        else if (nAxis == AxisGreen)
            m_vecColorList[i] = lo | (hi << 5) | (mid << 10);
    }
}

// Splits breadth first: always the lowest-level box that holds more than one
// key, the lowest index among equals. Returns the number of boxes.
int ColorReducer::medianCut()
{
    m_vecCubes.fill(Cube(), 256);
    m_vecColorList.fill(0, kKeyCount);
    int nKeys = 0;
    qint64 nTotal = 0;
    for (int nKey = 0; nKey < kKeyCount; ++nKey) {
        if (m_vecHistogram[nKey] != 0) {
            m_vecColorList[nKeys++] = nKey;
            nTotal += m_vecHistogram[nKey];
        }
    }
    Cube& first = m_vecCubes[0];
    first.m_nLower = 0;
    first.m_nUpper = nKeys - 1;
    first.m_nCount = nTotal;
    first.m_nLevel = 0;
    fitBounds(first);
    int nCubes = 1;
    if (m_nColorCount <= 1)
        return nCubes;

    while (nCubes < m_nColorCount) {
        emit progress(nCubes * 10 / m_nColorCount);
        int nChoice = -1;
        int nBound = 255;
        for (int i = 0; i < nCubes; ++i) {
            const Cube& c = m_vecCubes[i];
            if (c.m_nLower != c.m_nUpper && c.m_nLevel < nBound) {
                nBound = c.m_nLevel;
                nChoice = i;
            }
        }
        if (nChoice < 0)
            break;
        Cube parent = m_vecCubes[nChoice];
        const int nRed = parent.m_nRedMax - parent.m_nRedMin;
        const int nGreen = parent.m_nGreenMax - parent.m_nGreenMin;
        const int nBlue = parent.m_nBlueMax - parent.m_nBlueMin;
        int nAxis = AxisRed;
        if (nBlue >= nRed && nBlue >= nGreen)
            nAxis = AxisBlue;
        else if (nGreen >= nRed)
            nAxis = AxisGreen;
        packAxisKeys(parent.m_nLower, parent.m_nUpper, nAxis);
        sortKeys(parent.m_nLower, parent.m_nUpper);
        unpackAxisKeys(parent.m_nLower, parent.m_nUpper, nAxis);

        const qint64 nHalf = parent.m_nCount / 2;
        qint64 nSum = 0;
        int x = parent.m_nLower;
        do {
            nSum += m_vecHistogram[m_vecColorList[x++]];
        } while (x != parent.m_nUpper && nSum < nHalf);

        Cube& low = m_vecCubes[nChoice];
        low.m_nLower = parent.m_nLower;
        low.m_nUpper = x - 1;
        low.m_nCount = nSum;
        low.m_nLevel = parent.m_nLevel + 1;
        fitBounds(low);
        Cube& high = m_vecCubes[nCubes];
        high.m_nLower = x;
        high.m_nUpper = parent.m_nUpper;
        high.m_nCount = parent.m_nCount - nSum;
        high.m_nLevel = parent.m_nLevel + 1;
        fitBounds(high);
        ++nCubes;
    }
    return nCubes;
}

// Box colours are the pixel-weighted means of the quantised key channels.
// Sums are exact 64-bit integers and the means are floored, so a box of pure
// white keys keeps 248 and is lifted to 255 at any pixel count.
void ColorReducer::buildPalette(QVector<int>& vecKeyMap, int nCubes)
{
    m_vecPalette.resize(nCubes);
    for (int i = 0; i < nCubes; ++i) {
        const Cube& cube = m_vecCubes[i];
        qint64 nRed = 0, nGreen = 0, nBlue = 0;
        for (int j = cube.m_nLower; j <= cube.m_nUpper; ++j) {
            const int nKey = m_vecColorList[j];
            const qint64 c = vecKeyMap[nKey];
            nRed += keyRed(nKey) * c;
            nGreen += keyGreen(nKey) * c;
            nBlue += keyBlue(nKey) * c;
        }
        int r = int(nRed / cube.m_nCount);
        int g = int(nGreen / cube.m_nCount);
        int b = int(nBlue / cube.m_nCount);
        if (r == 248 && g == 248 && b == 248)
            r = g = b = 255;
        m_vecPalette[i] = qRgb(r, g, b);
    }
    for (int i = 0; i < nCubes; ++i) {
        const Cube& cube = m_vecCubes[i];
        for (int j = cube.m_nLower; j <= cube.m_nUpper; ++j)
            vecKeyMap[m_vecColorList[j]] = i;
    }
}

// Builds the indexed image directly. Its colour table lists every distinct
// colour once, in the order a row-by-row scan first meets it (equal box
// colours merge), which is what converting an RGB32 picture of at most 256
// colours would give. Rows are finished one after the other, so a PNG writer
// can compress them while the next are made.
QImage ColorReducer::mapToPalette()
{
    const int nWidth = m_imgWork.width();
    const int nHeight = m_imgWork.height();
    QImage imgResult(nWidth, nHeight, QImage::Format_Indexed8);
    if (imgResult.isNull())
        return QImage();
    // The dithered picture is made from a copy of the source and converted,
    // so it keeps the source's metadata; the plainly mapped one is a new
    // image and has none of it.
    if (m_bDithering)
        copyImageMetadata(imgResult, m_imgSource);
    WriterStop writerStop(m_pPngWriter);
    if (m_pPngWriter)
        m_pPngWriter->begin(imgResult);

    QVector<QRgb> vecTable;
    std::array<int, 256> boxToTable;
    boxToTable.fill(-1);
    auto tableIndexOfBox = [&](int nBox) {
        if (boxToTable[nBox] < 0) {
            const QRgb rgb = m_vecPalette[nBox];
            int nIndex = vecTable.indexOf(rgb);
            if (nIndex < 0) {
                nIndex = vecTable.size();
                vecTable.append(rgb);
            }
            boxToTable[nBox] = nIndex;
        }
        return boxToTable[nBox];
    };

    if (m_bDithering) {
        // Box indices, renumbered by first appearance as each row is done.
        ditherImage(m_vecPalette, imgResult, [&](int y, uchar* pRow) {
            for (int x = 0; x < nWidth; ++x)
                pRow[x] = uchar(tableIndexOfBox(pRow[x]));
            finishRow(y, pRow);
        });
    } else {
        std::vector<qint16> keyToTable(kKeyCount, -1);
        const int* pKeyMap = m_vecHistogram.constData();
        for (int y = 0; y < nHeight; ++y) {
            const QRgb* pSrc = reinterpret_cast<const QRgb*>(m_imgWork.constScanLine(y));
            uchar* pRow = imgResult.scanLine(y);
            for (int x = 0; x < nWidth; ++x) {
                const int nKey = colorKey(pSrc[x]);
                int nIndex = keyToTable[nKey];
                if (nIndex < 0) {
                    nIndex = tableIndexOfBox(pKeyMap[nKey]);
                    keyToTable[nKey] = qint16(nIndex);
                }
                pRow[x] = uchar(nIndex);
            }
            finishRow(y, pRow);
        }
    }
    // With alpha: 256 entries, transparent black beyond the colours, and
    // index 255 (given to the transparent pixels in finishRow) transparent.
    if (m_imgSource.hasAlphaChannel()) {
        const int nColors = vecTable.size();
        vecTable.resize(256);
        std::fill(vecTable.begin() + nColors, vecTable.end(), 0u);
        vecTable[kTransparentIndex] = 0;
    }
    imgResult.setColorTable(vecTable);
    writerStop.release();
    return imgResult;
}

// Last touch of a result row: pixels whose source alpha is 126 or less take
// the transparent index; then the row is final.
void ColorReducer::finishRow(int y, uchar* pRow)
{
    if (!m_imgAlpha.isNull()) {
        const QRgb* pSrc = reinterpret_cast<const QRgb*>(m_imgAlpha.constScanLine(y));
        for (int x = 0; x < m_imgAlpha.width(); ++x) {
            if (qAlpha(pSrc[x]) <= 126)
                pRow[x] = kTransparentIndex;
        }
    }
    if (m_pPngWriter)
        m_pPngWriter->rowsReady(y + 1);
}

namespace {

// Emits the column progress values 10 + 90 * x / width, one per column and in
// column order, spread over a walk of the rows.
class ColumnProgress
{
public:
    ColumnProgress(int nWidth, int nHeight)
        : m_nWidth(nWidth), m_nHeight(nHeight) {}
    // Before row y: the columns whose share of the walk has begun.
    template<typename Emit>
    void beforeRow(int y, Emit emitValue)
    {
        const qint64 nUpTo = qMin<qint64>(m_nWidth, qint64(y) * m_nWidth / m_nHeight + 1);
        for (; m_nNext < nUpTo; ++m_nNext)
            emitValue(int(10 + 90LL * m_nNext / m_nWidth));
    }
    template<typename Emit>
    void finish(Emit emitValue) { beforeRow(m_nHeight, emitValue); }

private:
    int m_nWidth;
    int m_nHeight;
    int m_nNext = 0;
};

} // namespace

// Error diffusion. Each pixel passes trunc(7e/16) to its right neighbour,
// trunc(5e/16) to the one below and trunc(e/16) to the one below right, each
// share added and clamped at once, in the order a column-by-column scan
// (x outer, y inner) delivers them: for pixel (x, y) first the share of
// (x-1, y-1), then that of (x-1, y), then that of (x, y-1). Those three pixels
// all come before (x, y) in row order too, so the pixels are visited row by
// row (sequential memory) and each pixel gathers its three shares in that
// order from the stored errors of the previous row and of its left neighbour.
// The values are exactly those of the column scan.
// Writes the index into vecColors of every pixel into imgIndices and hands
// every finished row to rowDone.
void ColorReducer::ditherImage(const QVector<QRgb>& vecColors, QImage& imgIndices,
                               const std::function<void(int, uchar*)>& rowDone)
{
    const int nWidth = m_imgWork.width();
    const int nHeight = m_imgWork.height();
    NearestColor nearest(vecColors);
    std::vector<int> palette(size_t(vecColors.size()) * 3);
    for (int i = 0; i < vecColors.size(); ++i) {
        palette[size_t(i) * 3] = qRed(vecColors[i]);
        palette[size_t(i) * 3 + 1] = qGreen(vecColors[i]);
        palette[size_t(i) * 3 + 2] = qBlue(vecColors[i]);
    }
    // Errors of the previous row and of the current one, 3 per pixel.
    std::vector<int> previous(size_t(nWidth) * 3, 0), current(size_t(nWidth) * 3, 0);
    ColumnProgress columns(nWidth, nHeight);
    auto emitProgress = [this](int n) { emit progress(n); };

    for (int y = 0; y < nHeight; ++y) {
        columns.beforeRow(y, emitProgress);
        const QRgb* pSrc = reinterpret_cast<const QRgb*>(m_imgWork.constScanLine(y));
        uchar* pDst = imgIndices.scanLine(y);
        const int* pAbove = previous.data();
        int* pErr = current.data();
        int lr = 0, lg = 0, lb = 0; // error of the left neighbour
        const bool bAbove = y > 0;
        for (int x = 0; x < nWidth; ++x, pAbove += 3, pErr += 3) {
            const QRgb rgb = pSrc[x];
            int r = qRed(rgb), g = qGreen(rgb), b = qBlue(rgb);
            if (x > 0) {
                if (bAbove) {
                    r = clampByte(r + pAbove[-3] / 16);
                    g = clampByte(g + pAbove[-2] / 16);
                    b = clampByte(b + pAbove[-1] / 16);
                }
                r = clampByte(r + 7 * lr / 16);
                g = clampByte(g + 7 * lg / 16);
                b = clampByte(b + 7 * lb / 16);
            }
            if (bAbove) {
                r = clampByte(r + 5 * pAbove[0] / 16);
                g = clampByte(g + 5 * pAbove[1] / 16);
                b = clampByte(b + 5 * pAbove[2] / 16);
            }
            const int nIndex = nearest.find(r, g, b);
            pDst[x] = uchar(nIndex);
            const int* pColor = &palette[size_t(nIndex) * 3];
            lr = pErr[0] = r - pColor[0];
            lg = pErr[1] = g - pColor[1];
            lb = pErr[2] = b - pColor[2];
        }
        rowDone(y, pDst);
        previous.swap(current);
    }
    columns.finish(emitProgress);
}

// Grey sources: posterise to d + 1 levels (d = colours / 2, at least 2) through
// a compression and an expansion table, or dither against the levels found.
// Every table entry and every working value stays grey, so one channel is
// worked and the nearest level and the table index become 256-entry tables.
QImage ColorReducer::reduceGray()
{
    const int d = qMax(m_nColorCount / 2, 2);
    const int e = 255 - d;
    std::array<int, 256> posterise;
    for (int v = 0; v < 256; ++v) {
        const int nCompressed = e + v * d / 255;
        // 255 * k / d in integers keeps the top level at 255 for every d.
        posterise[v] = 255 * (nCompressed - e) / d;
    }

    const int nWidth = m_imgWork.width();
    const int nHeight = m_imgWork.height();

    // Grey table: the levels that occur, ascending, then white fillers.
    std::array<bool, 256> present{};
    std::array<bool, 256> valueSeen{};
    // A 16-bit source is judged grey on premultiplied values, so its (nearly)
    // transparent pixels may still hold colours; those take the three-channel
    // route below.
    bool bAllGrey = true;
    for (int y = 0; y < nHeight; ++y) {
        const QRgb* pSrc = reinterpret_cast<const QRgb*>(m_imgWork.constScanLine(y));
        for (int x = 0; x < nWidth; ++x) {
            const QRgb p = pSrc[x];
            valueSeen[qRed(p)] = true;
            bAllGrey = bAllGrey && qRed(p) == qGreen(p) && qGreen(p) == qBlue(p);
        }
    }
    for (int v = 0; v < 256; ++v) {
        if (valueSeen[v])
            present[posterise[v]] = true;
    }
    QVector<QRgb> vecTable;
    for (int v = 0; v < 256; ++v) {
        if (present[v])
            vecTable.append(qRgb(v, v, v));
    }
    while (vecTable.size() < 256)
        vecTable.append(0xFFFFFFFFu);

    // First table index of every grey value (255 when absent).
    std::array<int, 256> indexOfGrey;
    indexOfGrey.fill(kTransparentIndex);
    for (int i = 255; i >= 0; --i) {
        if (qAlpha(vecTable[i]) == 255)
            indexOfGrey[qRed(vecTable[i])] = i;
    }

    // A new image, dithered or not: none of the source's metadata.
    QImage imgResult(nWidth, nHeight, QImage::Format_Indexed8);
    if (imgResult.isNull())
        return QImage();
    WriterStop writerStop(m_pPngWriter);
    if (m_pPngWriter)
        m_pPngWriter->begin(imgResult);
    uchar* pOut = imgResult.bits();
    const qsizetype nOutStride = imgResult.bytesPerLine();

    if (m_bDithering && !bAllGrey) {
        // The nearest entry's index is the first one holding its colour.
        ditherImage(vecTable, imgResult, [&](int y, uchar* pRow) { finishRow(y, pRow); });
    } else if (m_bDithering) {
        // Nearest table entry of every grey value, first index on ties.
        std::array<int, 256> nearestLevel;
        for (int v = 0; v < 256; ++v) {
            int nBest = 0, nBestDist = 1 << 30;
            for (int i = 0; i < 256; ++i) {
                const int nDiff = v - qRed(vecTable[i]);
                if (nDiff * nDiff < nBestDist) {
                    nBestDist = nDiff * nDiff;
                    nBest = i;
                }
            }
            nearestLevel[v] = qRed(vecTable[nBest]);
        }
        // The same row-order walk as ditherImage, on one channel.
        std::vector<int> previous(size_t(nWidth), 0), current(size_t(nWidth), 0);
        ColumnProgress columns(nWidth, nHeight);
        auto emitProgress = [this](int n) { emit progress(n); };
        for (int y = 0; y < nHeight; ++y) {
            columns.beforeRow(y, emitProgress);
            const QRgb* pSrc = reinterpret_cast<const QRgb*>(m_imgWork.constScanLine(y));
            uchar* pRow = pOut + y * nOutStride;
            const int* pAbove = previous.data();
            int* pErr = current.data();
            int nLeft = 0;
            const bool bAbove = y > 0;
            for (int x = 0; x < nWidth; ++x) {
                int v = qRed(pSrc[x]);
                if (x > 0) {
                    if (bAbove)
                        v = clampByte(v + pAbove[x - 1] / 16);
                    v = clampByte(v + 7 * nLeft / 16);
                }
                if (bAbove)
                    v = clampByte(v + 5 * pAbove[x] / 16);
                const int nLevel = nearestLevel[v];
                pRow[x] = uchar(indexOfGrey[nLevel]);
                nLeft = pErr[x] = v - nLevel;
            }
            finishRow(y, pRow);
            previous.swap(current);
        }
        columns.finish(emitProgress);
    } else {
        for (int y = 0; y < nHeight; ++y) {
            const QRgb* pSrc = reinterpret_cast<const QRgb*>(m_imgWork.constScanLine(y));
            uchar* pRow = pOut + y * nOutStride;
            for (int x = 0; x < nWidth; ++x) {
                const QRgb p = pSrc[x];
                const int r = posterise[qRed(p)];
                // A posterised colour that is not grey matches no entry.
                const bool bGrey = r == posterise[qGreen(p)] && r == posterise[qBlue(p)];
                pRow[x] = uchar(bGrey ? indexOfGrey[r] : kTransparentIndex);
            }
            finishRow(y, pRow);
        }
    }

    if (m_imgSource.hasAlphaChannel())
        vecTable[kTransparentIndex] = 0;
    imgResult.setColorTable(vecTable);
    writerStop.release();
    return imgResult;
}

QImage ColorReducer::stretchImage()
{
    if (m_imgWork.isNull())
        return QImage();
    const int b = m_nColorCount;
    const int c = 255 - b;
    std::array<uint, 256> table;
    for (int v = 0; v < 256; ++v) {
        const int nCompressed = c + v * b / 255;
        table[v] = uint(255 * (nCompressed - c) / b);
    }
    const int nWidth = m_imgWork.width();
    QImage imgResult(nWidth, m_imgWork.height(), QImage::Format_ARGB32);
    if (imgResult.isNull())
        return QImage();
    for (int y = 0; y < imgResult.height(); ++y) {
        const QRgb* pSrc = reinterpret_cast<const QRgb*>(m_imgWork.constScanLine(y));
        QRgb* pDst = reinterpret_cast<QRgb*>(imgResult.scanLine(y));
        for (int x = 0; x < nWidth; ++x) {
            const QRgb p = pSrc[x];
            pDst[x] = 0xFF000000u | (table[qRed(p)] << 16) | (table[qGreen(p)] << 8)
                      | table[qBlue(p)];
        }
    }
    return imgResult;
}

bool reduceAndSave(const QImage& image, const QString& strFileName, int nColors,
                   bool bDithering, bool bGray)
{
    ColorReducer reducer(image);
    reducer.setDithering(bDithering);
    reducer.setGrayAlgorithm(bGray);
    return reducer.reduce(nColors).save(strFileName, "PNG", 0);
}

bool reduceAndSaveAs(const QImage& image, const QString& strFileName, int nColors,
                     const QString& strFormat)
{
    ColorReducer reducer(image);
    return reducer.reduce(nColors).save(strFileName, strFormat.toLocal8Bit().constData(), 0);
}

} // namespace MGraphX
