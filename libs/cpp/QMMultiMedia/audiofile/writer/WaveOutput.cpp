#include "WaveOutput.h"

#include "FrameCount.h"
#include "ProductionParameters.h"
#include "SampleConversion.h"
#include "WaveComment.h"

#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace QMMultiMedia {

namespace {

constexpr qint64 kRiffLimit = 0xFFFFFFFFLL;  // the largest size a RIFF header states
// Samples are converted in pieces small enough to stay in the first-level
// cache, into a buffer that goes to the file in one call.
constexpr int kSamplesPerPiece = 2048;
constexpr int kSamplesPerWrite = 16 * kSamplesPerPiece;

bool writeTag(FILE* file, const char* tag)
{
    return std::fwrite(tag, 1, 4, file) == 4;
}

bool writeLe32(FILE* file, quint32 value)
{
    return writeInt32(qint32(value), file, false) == 1;
}

bool writeLe16(FILE* file, quint32 value)
{
    return writeInt16(int(value), file, false) == 1;
}

}  // namespace

WaveOutput::WaveOutput(const char* path, const Settings& settings, const QString& comment,
                       MTools::Handle<EBUInfo> metadata, bool broadcastWave)
    : FileOutput(path, settings, comment, metadata, broadcastWave)
{
    if (!path)
        path = "";
    if (!settingsAreWritable()) {
        std::fprintf(stderr, "WaveOutput: unsupported settings for the %s\n", path);
        this->settings().dumpInfo();
        qDebug() << "Can not create the ouput file: " << path;
        return;
    }
    if (broadcastWave) {
        if (m_metadata.isNull())
            m_metadata = MTools::Handle<EBUInfo>(new EBUInfo);
        m_metadata->setDefaults(m_info.url().toLocalFile(), settings.sampleRate(), settings.bitsPerSample(),
                                settings.channels());
    }
    Settings& s = this->settings();
    switch (s.bitsPerSample()) {
    case 32: s.setFormat(LittleEndianSigned); break;
    case 24: s.setFormat(Signed24Normal); break;
    case 16: s.setFormat(LittleEndianSigned); break;
    default: s.setFormat(Unsigned8); break;
    }
    if (!writeHeader(path))
        qDebug() << "Can not create the ouput file: " << path;
}

WaveOutput::~WaveOutput()
{
    if (m_pFile)
        close();
}

bool WaveOutput::settingsAreWritable() const
{
    const Settings& s = settings();
    const int bits = s.bitsPerSample();
    return s.channels() >= 1 && s.channels() <= 32 && s.sampleRate() >= 1
        && (bits == 8 || bits == 16 || bits == 24 || bits == 32) && size_t(s.channels()) == m_accumulators.size();
}

bool WaveOutput::writeHeader(const char* path)
{
    // A file still open is finished first; the new one starts with no peaks.
    if (m_pFile)
        close();
    m_peaks.clear();
    for (Accumulator& a : m_accumulators)
        a = Accumulator();
    m_fPeakOfPeaks = 0.0f;
    m_envelope->setPosPeakOfPeaks(0);
    m_info.setDataSize(0);
    if (!path)
        path = "";
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::fprintf(stderr, "WaveOutput: create error of the %s\n", path);
        return false;
    }
    if (!writeTag(file, "RIFF")) {
        std::fprintf(stderr, "WaveOutput: write error of the %s\n", path);
        std::fclose(file);
        return false;
    }
    const Settings& s = settings();
    bool ok = true;
    m_info.setSizeOffset(ftello(file));
    ok = ok && writeLe32(file, 0) && writeTag(file, "WAVE");
    qint64 payload = 4;
    if (ok && !m_metadata.isNull()) {
        const quint32 size = m_metadata->chunkSize();
        ok = m_metadata->writeChunk(file) && (size % 2 == 0 || writeInt8(0, file) == 1);
        payload += 8 + qint64(size) + (size % 2);
    }
    const QByteArray comment = waveCommentBytes(m_info.comment());
    if (ok && !comment.isEmpty()) {
        // The text and its NUL; a pad byte makes an odd text size even.
        const quint32 textSize = quint32(comment.size()) + 1;
        const quint32 padded = textSize + (textSize % 2);
        ok = writeTag(file, "LIST") && writeLe32(file, 12 + padded) && writeTag(file, "INFO")
            && writeTag(file, "ICMT") && writeLe32(file, textSize)
            && std::fwrite(comment.constData(), 1, size_t(comment.size()), file) == size_t(comment.size())
            && writeInt8(0, file) == 1 && (padded == textSize || writeInt8(0, file) == 1);
        payload += 8 + 12 + padded;
    }
    const quint32 blockAlign = quint32(s.channels() * (s.bitsPerSample() / 8));
    ok = ok && writeTag(file, "fmt ") && writeLe32(file, 16) && writeLe16(file, 1) && writeLe16(file, s.channels())
        && writeLe32(file, quint32(s.sampleRate())) && writeLe32(file, quint32(s.sampleRate()) * blockAlign)
        && writeLe16(file, blockAlign) && writeLe16(file, s.bitsPerSample());
    payload += 24;
    ok = ok && writeTag(file, "data");
    m_info.setDataOffset(ftello(file));
    ok = ok && writeLe32(file, 0);
    payload += 8;
    m_info.setFileSize(payload);
    if (!ok) {
        std::fclose(file);
        return false;
    }
    m_pFile = file;
    return true;
}

bool WaveOutput::fitsInRiff(qint64 addedBytes, qint64 addedFrames) const
{
    // The envelope grows with the frames: one pair per block and channel,
    // plus the last block's, counted at two bytes per value so that a later
    // change of the envelope format cannot push the file past the limit.
    const qint64 frames = (m_accumulators.empty() ? 0 : m_accumulators.front().count) + addedFrames;
    const qint64 pairs = frames / m_nBlockSize + 1;
    const qint64 envelope = 8 + 120 + 2 * qint64(m_accumulators.size()) * pairs * 2;
    const qint64 data = m_info.dataSize() + addedBytes;
    return m_info.fileSize() + envelope + data + (data % 2) <= kRiffLimit;
}

bool WaveOutput::writeBytes(const char* data, int count)
{
    if (!m_pFile || count < 0)
        return false;
    if (!fitsInRiff(count, 0)) {
        std::fprintf(stderr, "WaveOutput: error writing: the file would pass the size a RIFF header can state\n");
        return false;
    }
    const size_t written = std::fwrite(data, 1, size_t(count), m_pFile);
    m_info.setDataSize(m_info.dataSize() + count);
    if (written != size_t(count)) {
        std::fprintf(stderr, "WaveOutput: error writing\n");
        return false;
    }
    return true;
}

int WaveOutput::bytesPerStoredSample() const
{
    const Settings& s = settings();
    switch (s.format()) {
    case BigEndianSigned: return 4;  // the floats as they are
    case Unsigned8: return 1;
    case Signed24Normal: return 3;
    case LittleEndianSigned: return s.bitsPerSample() == 16 ? 2 : s.bitsPerSample() == 32 ? 4 : 0;
    default: return 0;
    }
}

bool WaveOutput::write(const float* data, int count)
{
    if (!m_pFile || count < 0)
        return false;
    const int width = bytesPerStoredSample();
    const int channels = settings().channels();
    if (width == 0 || channels < 1 || size_t(channels) != m_accumulators.size()) {
        std::fprintf(stderr, "WaveOutput::write() Error: the following settings are not supported;\n");
        settings().dumpInfo();
        return false;
    }
    if (!fitsInRiff(qint64(count) * width, count / channels)) {
        std::fprintf(stderr, "WaveOutput: error writing: the file would pass the size a RIFF header can state\n");
        return false;
    }
    accumulatePeaks(data, count);

    const int format = settings().format();
    qint32 ints[kSamplesPerPiece];
    m_stored.resize(size_t(kSamplesPerWrite) * 4);
    bool ok = true;
    for (int done = 0; done < count; done += kSamplesPerWrite) {
        const int total = std::min(kSamplesPerWrite, count - done);
        if (!ok) {
            // Counted like the rest of a failed write, as a single write would.
            m_info.setDataSize(m_info.dataSize() + qint64(total) * width);
            continue;
        }
        for (int part = 0; part < total; part += kSamplesPerPiece) {
            const int n = std::min(kSamplesPerPiece, total - part);
            const float* in = data + done + part;
            char* out = m_stored.data() + qint64(part) * width;
            const int byteCount = n * width;
            switch (format) {
            case BigEndianSigned:
                std::memcpy(out, in, size_t(byteCount));
                break;
            case Unsigned8:
                floatToUInt8(in, ints, n);
                int8ToBytes(ints, out, n);
                break;
            case Signed24Normal:
                floatToInt24(in, ints, n);
                int24ToBytes(ints, out, byteCount);
                break;
            default:
                if (width == 2) {
                    floatToInt16(in, ints, n);
                    int16ToBytes(ints, out, byteCount, true);
                } else {
                    floatToInt32(in, ints, n);
                    int32ToBytes(ints, out, byteCount, true);
                }
                break;
            }
        }
        ok = writeBytes(m_stored.data(), total * width);
    }
    return ok;
}

bool WaveOutput::close()
{
    if (!m_pFile)
        return false;
    FILE* file = m_pFile;
    const qint64 dataSize = m_info.dataSize();
    bool ok = dataSize % 2 == 0 || writeInt8(0, file) == 1;
    flushPeaks();
    ok = m_envelope->writeChunk(file, m_peaks, m_nEnvelopeFormat) && ok;
    const qint64 riffSize =
        m_info.fileSize() + 8 + qint64(quint32(m_envelope->chunkSize())) + dataSize + (dataSize % 2);
    ok = ok && fseeko(file, off_t(m_info.sizeOffset()), SEEK_SET) == 0 && writeLe32(file, quint32(riffSize));
    ok = ok && fseeko(file, off_t(m_info.dataOffset()), SEEK_SET) == 0 && writeLe32(file, quint32(dataSize));
    ok = ok && std::fflush(file) == 0 && !std::ferror(file);
    ok = std::fclose(file) == 0 && ok;
    m_pFile = nullptr;
    if (!ok)
        std::fprintf(stderr, "WaveOutput: error closing\n");
    return ok;
}

int WaveOutput::waveVersion() const
{
    return 0;
}

quint64 WaveOutput::sampleCount() const
{
    const int bytes = settings().bitsPerSample() / 8;
    return bytes > 0 ? quint64(m_info.dataSize()) / quint64(bytes) : 0;
}

float WaveOutput::ebuFps() const
{
    return m_metadata.isNull() ? 0.0f : m_metadata->fps();
}

QString WaveOutput::timecodeOfFrames(double frames) const
{
    const float rate = effectiveFps(ebuFps());
    const int sampleRate = settings().sampleRate();
    double count = sampleRate == 0 ? 0.0 : std::trunc(frames * double(rate) / sampleRate);
    // The count is taken as a 32-bit signed number.
    if (!(count >= -2147483648.0))
        count = -2147483648.0;
    else if (count > 2147483647.0)
        count = 2147483647.0;
    return MTools::FrameCount(qint64(qint32(count)), rate).toTimecodeString(false, false, 0, false);
}

QString WaveOutput::lengthTimecode() const
{
    const int channels = settings().channels();
    const double perChannel = channels > 0 ? std::trunc(double(sampleCount()) / channels) : 0.0;
    return timecodeOfFrames(perChannel);
}

QString WaveOutput::timecodeAt(qint64 samplePosition) const
{
    return timecodeOfFrames(double(samplePosition));
}

QString WaveOutput::timeReferenceTimecode() const
{
    return timecodeOfFrames(m_metadata.isNull() ? 0.0 : double(m_metadata->timeReference()));
}

bool WaveOutput::saveEnvelope(const char* path)
{
    return m_envelope->save(path, m_peaks, m_nEnvelopeFormat);
}

void WaveOutput::dumpInfo()
{
    qDebug() << "==== Wave Info Begin ====";
    AudioIO::dumpInfo();
    qDebug() << "Name = " << name();
    qDebug() << "File Descriptor = " << static_cast<const void*>(m_pFile);
    qDebug() << "Wave Version = " << waveVersion();
    settings().dumpInfo();
    m_info.dumpInfo();
    qDebug() << "==== Wave Info End ====";
}

const char* WaveOutput::name() const
{
    return "WaveOutput";
}

}  // namespace QMMultiMedia
