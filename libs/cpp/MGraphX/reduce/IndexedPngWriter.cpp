#include "IndexedPngWriter.h"

#include "ImageIO.h"

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

// The chunks Qt's PNG writer puts around the image data of image: IHDR,
// those before the first IDAT (colour profile, palette, transparency, offset,
// resolution, text) and those after the last (IEND). They depend on the
// table and the metadata only, never on the pixels, so they are taken from
// QImage::save of a one-pixel copy, which keeps both; the size in IHDR is
// then the only thing to put right. False when that save fails or does not
// give an 8-bit palette PNG.
bool savedChunks(const QImage& image, QByteArray* pIhdr, QByteArray* pBefore, QByteArray* pAfter)
{
    const QByteArray png = encodePng(image.copy(0, 0, 1, 1));
    if (png.size() < 8 + 25 || !png.startsWith("\x89PNG\r\n\x1a\n"))
        return false;
    int nPos = 8;
    bool bDataSeen = false;
    pIhdr->clear();
    pBefore->clear();
    pAfter->clear();
    while (nPos + 12 <= png.size()) {
        const quint32 nSize = qFromBigEndian<quint32>(png.constData() + nPos);
        if (nSize > quint32(png.size() - nPos - 12))
            return false;
        const QByteArray chunk = png.mid(nPos, int(nSize) + 12);
        const QByteArray type = chunk.mid(4, 4);
        if (nPos == 8) {
            if (type != "IHDR" || nSize != 13)
                return false;
            *pIhdr = chunk.mid(8, 13);
        } else if (type == "IDAT") {
            if (!pAfter->isEmpty())
                return false;
            bDataSeen = true;
        } else {
            (bDataSeen ? pAfter : pBefore)->append(chunk);
        }
        nPos += int(nSize) + 12;
    }
    // 8 bits per index, palette, no interlace.
    return nPos == png.size() && bDataSeen && pAfter->endsWith(QByteArray("IEND\xae\x42\x60\x82", 8))
           && pIhdr->size() == 13 && pIhdr->at(8) == 8 && pIhdr->at(9) == 3 && pIhdr->at(12) == 0;
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
    m_bStreamed = false;
    QByteArray ihdr, before, after;
    const bool bStreamUsable = m_bStarted && m_bStreamOk && !image.isNull()
                               && image.format() == QImage::Format_Indexed8
                               && image.constBits() == m_pBits && image.width() == m_nWidth
                               && image.height() == m_nHeight
                               // A grey-ramp table is written as a grey PNG.
                               && !image.isGrayscale()
                               // Whether a stream ending on a chunk boundary
                               // gets an empty last chunk is not ours to know.
                               && m_stream.size() % kIdatChunkSize != 0
                               && savedChunks(image, &ihdr, &before, &after);
    if (!bStreamUsable)
        return encodePng(image);

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    qToBigEndian(quint32(m_nWidth), ihdr.data());
    qToBigEndian(quint32(m_nHeight), ihdr.data() + 4);
    appendChunk(png, "IHDR", ihdr.constData(), ihdr.size());
    png.append(before);
    for (int nPos = 0; nPos < m_stream.size(); nPos += kIdatChunkSize)
        appendChunk(png, "IDAT", m_stream.constData() + nPos, qMin(kIdatChunkSize, m_stream.size() - nPos));
    png.append(after);
    m_bStreamed = true;
    return png;
}

void IndexedPngWriter::cancel()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bAbort = true;
        }
        m_cvReady.notify_one();
        m_thread.join();
    }
    m_bStarted = false;
    m_pBits = nullptr;
}

bool IndexedPngWriter::streamed() const
{
    return m_bStreamed;
}

} // namespace MGraphX
