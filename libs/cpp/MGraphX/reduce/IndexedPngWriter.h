#pragma once

#include <QByteArray>
#include <QImage>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace MGraphX {

// Compresses the rows of an 8-bit indexed image on a helper thread while the
// image is still being made, and then wraps the stream into PNG chunks once
// the colour table is known. The bytes are those that QImage::save(…, "PNG",
// 0) writes for the finished image: the same zlib settings (level 9, 32 KiB
// window, unfiltered rows), 8 KiB IDAT chunks, and around them the very
// chunks Qt writes for the image's table and metadata (colour profile,
// palette, transparency, offset, resolution, text). Where that cannot be
// guaranteed (small pictures, grey-ramp tables, a stream ending on a chunk
// boundary), finish() falls back to QImage::save itself.
class IndexedPngWriter
{
public:
    IndexedPngWriter();
    ~IndexedPngWriter();
    IndexedPngWriter(const IndexedPngWriter&) = delete;
    IndexedPngWriter& operator=(const IndexedPngWriter&) = delete;

    // Starts compressing the rows of image (Format_Indexed8), which must stay
    // alive and keep its pixel buffer until finish(). Throws
    // std::system_error when no helper thread can be started.
    void begin(const QImage& image);
    // Rows 0 to nRows - 1 hold their final bytes and are not written again.
    void rowsReady(int nRows);
    // PNG bytes of the finished image (its colour table and resolution now
    // final); empty for a null image.
    QByteArray finish(const QImage& image);
    // Whether the last finish() used the rows compressed meanwhile rather
    // than saving the image anew.
    bool streamed() const;
    // Ends the helper thread and waits for it; for a picture that goes away
    // before finish() (a failed reduction). finish() then saves anew.
    void cancel();

private:
    void compress();
    void stop();

    const uchar* m_pBits = nullptr;
    qsizetype m_nStride = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    bool m_bStarted = false;

    std::mutex m_mutex;
    std::condition_variable m_cvReady;
    int m_nReady = 0;        // rows published, guarded by m_mutex
    bool m_bAbort = false;   // guarded by m_mutex
    std::thread m_thread;

    // Written by the helper thread, read after it is joined.
    QByteArray m_stream;
    bool m_bStreamOk = false;
    bool m_bStreamed = false;
};

} // namespace MGraphX
