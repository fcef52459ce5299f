#include "IndexedPngWriter.h"

#include "ImageIO.h"

#include <QColorSpace>
#include <QtEndian>

#include <zlib.h>

#include <cstring>
#include <new>
#include <vector>

namespace MGraphX {

namespace {

constexpr int kIdatChunkSize = 8192;   // the PNG library's output buffer
constexpr qint64 kSmallImageBytes = 16384; // below this the window is narrowed

void appendChunk(QByteArray& png, const char* pType, const char* pData, int nSize)
{
    char header[8];
    qToBigEndian(quint32(nSize), header);
    memcpy(header + 4, pType, 4);
    png.append(header, 8);
    if (nSize > 0)
        png.append(pData, nSize);
    uLong nCrc = crc32(0L, reinterpret_cast<const Bytef*>(pType), 4);
    if (nSize > 0)
        nCrc = crc32(nCrc, reinterpret_cast<const Bytef*>(pData), uInt(nSize));
    char crc[4];
    qToBigEndian(quint32(nCrc), crc);
    png.append(crc, 4);
}

void appendChunk(QByteArray& png, const char* pType, const QByteArray& data)
{
    appendChunk(png, pType, data.constData(), data.size());
}

} // namespace

IndexedPngWriter::IndexedPngWriter() = default;

IndexedPngWriter::~IndexedPngWriter()
{
    stop();
}

void IndexedPngWriter::begin(const QImage& image)
{
    if (m_bStarted || image.format() != QImage::Format_Indexed8 || image.isNull())
        return;
    // Small pictures get a narrowed zlib window and header from the PNG
    // library; they are quick to encode anyway, so they take the plain path.
    if (qint64(image.width() + 1) * image.height() <= kSmallImageBytes)
        return;
    m_pBits = image.constBits();
    m_nStride = image.bytesPerLine();
    m_nWidth = image.width();
    m_nHeight = image.height();
    m_bStarted = true;
    // Throws std::system_error when no thread can be started; the caller
    // decides what becomes of the picture then.
    m_thread = std::thread(&IndexedPngWriter::compress, this);
}

void IndexedPngWriter::rowsReady(int nRows)
{
    if (!m_bStarted)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_nReady = nRows;
    }
    m_cvReady.notify_one();
}

void IndexedPngWriter::compress()
{
    z_stream zs{};
    if (deflateInit2(&zs, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    bool bOk = true;
    // Out of memory while the stream grows: finish() saves the picture
    // plainly instead (an exception must not leave this thread).
    try {
        std::vector<Bytef> row(size_t(m_nWidth) + 1, 0); // filter byte 0: none
        std::vector<Bytef> out(1 << 16);
        auto drain = [&](int nFlush) {
            int nRet;
            do {
                zs.next_out = out.data();
                zs.avail_out = uInt(out.size());
                nRet = deflate(&zs, nFlush);
                if (nRet == Z_STREAM_ERROR)
                    return false;
                m_stream.append(reinterpret_cast<const char*>(out.data()), int(out.size() - zs.avail_out));
            } while (zs.avail_out == 0 || (nFlush == Z_FINISH && nRet != Z_STREAM_END));
            return true;
        };

        int nAvailable = 0;
        for (int y = 0; y < m_nHeight && bOk; ++y) {
            if (y >= nAvailable) {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_cvReady.wait(lock, [&] { return m_nReady > y || m_bAbort; });
                if (m_bAbort) {
                    bOk = false;
                    break;
                }
                nAvailable = m_nReady;
            }
            memcpy(row.data() + 1, m_pBits + qsizetype(y) * m_nStride, size_t(m_nWidth));
            zs.next_in = row.data();
            zs.avail_in = uInt(row.size());
            bOk = drain(Z_NO_FLUSH);
        }
        if (bOk)
            bOk = drain(Z_FINISH);
    } catch (const std::bad_alloc&) {
        bOk = false;
        m_stream.clear();
    }
    deflateEnd(&zs);
    m_bStreamOk = bOk;
}

void IndexedPngWriter::stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_nReady < m_nHeight)
            m_bAbort = true;
    }
    m_cvReady.notify_one();
    m_thread.join();
}

QByteArray IndexedPngWriter::finish(const QImage& image)
{
    stop();
    const bool bStreamUsable = m_bStarted && m_bStreamOk && !image.isNull()
                               && image.format() == QImage::Format_Indexed8
                               && image.constBits() == m_pBits && image.width() == m_nWidth
                               && image.height() == m_nHeight
                               // A grey-ramp table is written as a grey PNG.
                               && !image.isGrayscale()
                               // Whether a stream ending on a chunk boundary
                               // gets an empty last chunk is not ours to know.
                               && m_stream.size() % kIdatChunkSize != 0
                               && image.text().isEmpty() && image.offset().isNull()
                               // A colour space is written as a profile chunk.
                               && !image.colorSpace().isValid();
    if (!bStreamUsable)
        return encodePng(image);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    char ihdr[13];
    qToBigEndian(quint32(m_nWidth), ihdr);
    qToBigEndian(quint32(m_nHeight), ihdr + 4);
    ihdr[8] = 8;  // bit depth
    ihdr[9] = 3;  // palette
    ihdr[10] = ihdr[11] = ihdr[12] = 0;
    appendChunk(png, "IHDR", ihdr, 13);

    const QVector<QRgb> table = image.colorTable();
    QByteArray plte, trns;
    int nTransparent = 0;
    for (int i = 0; i < table.size(); ++i) {
        plte.append(char(qRed(table[i]))).append(char(qGreen(table[i]))).append(char(qBlue(table[i])));
        trns.append(char(qAlpha(table[i])));
        if (qAlpha(table[i]) < 255)
            nTransparent = i + 1;
    }
    appendChunk(png, "PLTE", plte);
    if (nTransparent > 0)
        appendChunk(png, "tRNS", trns.constData(), nTransparent);
    if (image.dotsPerMeterX() > 0 || image.dotsPerMeterY() > 0) {
        char phys[9];
        qToBigEndian(quint32(image.dotsPerMeterX()), phys);
        qToBigEndian(quint32(image.dotsPerMeterY()), phys + 4);
        phys[8] = 1; // metre
        appendChunk(png, "pHYs", phys, 9);
    }
    for (int nPos = 0; nPos < m_stream.size(); nPos += kIdatChunkSize)
        appendChunk(png, "IDAT", m_stream.constData() + nPos, qMin(kIdatChunkSize, m_stream.size() - nPos));
    appendChunk(png, "IEND", nullptr, 0);
    return png;
}

} // namespace MGraphX
