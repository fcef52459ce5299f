#include "FileInput.h"

#include "ChunkReader.h"
#include "FrameCount.h"
#include "PrivateFolder.h"
#include "ProductionParameters.h"
#include "SampleConversion.h"

#include <QDebug>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <limits>
#include <cmath>

#include <sys/stat.h>

namespace QMMultiMedia {

namespace {

constexpr qint64 kMinimumFileSize = 40;
constexpr int kPeakCacheCapacity = 6000;
// Samples are converted in pieces that stay in the second-level cache.
constexpr int kSamplesPerPiece = 16384;
// The peak scan reads this many blocks of every channel at a time.
constexpr int kBlocksPerScanPiece = 64;
constexpr int kPeakValuesPerPiece = 8192;

QString& baseFolderText()
{
    static QString folder = QStringLiteral("/tmp");
    return folder;
}

// A folder of the base folder that only this user can reach; empty, with a
// warning, where there can be none.
QString privateFolder(const QString& name)
{
    const MTools::PrivateFolder folder(FileInput::baseFolder(), name);
    if (!folder.isValid())
        qWarning("FileInput: no %s: %s", qPrintable(name), qPrintable(folder.errorString()));
    return folder.path();
}

bool earlier(const timespec& a, const timespec& b)
{
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

QList<FileInput*>& registry()
{
    static QList<FileInput*> inputs;
    return inputs;
}

bool supportedBits(int bits)
{
    return bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// trunc(v) as an index, -1 when it is negative, not a number or too large.
int toIndex(double v)
{
    return v >= 0.0 && v <= double(INT_MAX) ? int(std::trunc(v)) : -1;
}

// The leading decimal digits of a text; 0 without any.
int leadingNumber(const QString& text)
{
    qint64 value = 0;
    for (QChar ch : text) {
        if (!ch.isDigit() || ch.unicode() > 127)
            break;
        value = std::min<qint64>(value * 10 + (ch.unicode() - '0'), INT_MAX);
    }
    return int(value);
}

// Stored samples of up to 24 bits as 32-bit words holding the value in their
// top bits: the float of such a word (times 2^-31) is exact, so the words
// compare as the floats do.
void toTopWords(const char* source, qint32* words, int count, int bits, int code)
{
    const auto* b = reinterpret_cast<const unsigned char*>(source);
    const bool littleEndian = code == LittleEndianSigned || code == LittleEndianUnsigned;
    switch (bits) {
    case 8: {
        // Unsigned bytes count from their midpoint 128.
        const quint32 flip = code == Unsigned8 ? 0x80000000u : 0u;
        for (int i = 0; i < count; ++i)
            words[i] = qint32((quint32(b[i]) << 24) ^ flip);
        break;
    }
    case 16: {
        const quint32 flip = code == LittleEndianUnsigned || code == BigEndianUnsigned ? 0x80000000u : 0u;
        const int hi = littleEndian ? 1 : 0;
        for (int i = 0; i < count; ++i)
            words[i] = qint32(((quint32(b[2 * i + hi]) << 24) | (quint32(b[2 * i + 1 - hi]) << 16)) ^ flip);
        break;
    }
    default: {
        const int hi = code == Signed24Swapped ? 0 : 2;
        for (int i = 0; i < count; ++i)
            words[i] = qint32((quint32(b[3 * i + hi]) << 24) | (quint32(b[3 * i + 1]) << 16)
                              | (quint32(b[3 * i + 2 - hi]) << 8));
        break;
    }
    }
}

inline float toFloat(qint32 word)
{
    return float(double(word) * (1.0 / 2147483648.0));
}

inline float toFloat(float x)
{
    return x;
}

inline double magnitude(qint32 word)
{
    return std::fabs(double(word));
}

inline double magnitude(float x)
{
    return std::fabs(double(x));
}

struct PeakScanResult
{
    // Per channel: the largest magnitude so far and its first frame.
    std::vector<double> largest;
    std::vector<qint64> largestAt;
};

// The (maximum, minimum) of every block of b frames of each channel, both
// starting from 0, appended to the channel's peaks.
template <typename T>
class PeakScan
{
public:
    PeakScan(int channels, int blockFrames, std::vector<PeakArray>& peaks)
        : m_nChannels(channels),
          m_nBlock(blockFrames),
          m_peaks(peaks)
    {
        result.largest.assign(size_t(channels), 0.0);
        result.largestAt.assign(size_t(channels), -1);
    }

    void scan(const T* samples, int frames, qint64 firstFrame)
    {
        const int c = m_nChannels;
        for (int start = 0; start < frames; start += m_nBlock) {
            const int e = std::min(m_nBlock, frames - start);
            const T* block = samples + size_t(start) * size_t(c);
            T max[32], min[32];
            extremes(block, e, max, min);
            for (int k = 0; k < c; ++k) {
                m_peaks[size_t(k)].append(Peak(toFloat(max[k]), toFloat(min[k])));
                const double largest = std::max(magnitude(max[k]), magnitude(min[k]));
                if (largest > result.largest[size_t(k)]) {
                    int i = 0;
                    while (i + 1 < e && magnitude(block[size_t(i) * size_t(c) + size_t(k)]) != largest)
                        ++i;
                    result.largest[size_t(k)] = largest;
                    result.largestAt[size_t(k)] = firstFrame + start + i;
                }
            }
        }
    }

    PeakScanResult result;

private:
    // Mono and stereo have loops of their own, which the compiler unrolls.
    void extremes(const T* block, int e, T* max, T* min) const
    {
        const int c = m_nChannels;
        if (c == 1) {
            T hi = 0, lo = 0;
            for (int i = 0; i < e; ++i) {
                hi = std::max(hi, block[i]);
                lo = std::min(lo, block[i]);
            }
            max[0] = hi;
            min[0] = lo;
            return;
        }
        if (c == 2) {
            T hi0 = 0, lo0 = 0, hi1 = 0, lo1 = 0;
            for (int i = 0; i < e; ++i) {
                hi0 = std::max(hi0, block[2 * i]);
                lo0 = std::min(lo0, block[2 * i]);
                hi1 = std::max(hi1, block[2 * i + 1]);
                lo1 = std::min(lo1, block[2 * i + 1]);
            }
            max[0] = hi0;
            min[0] = lo0;
            max[1] = hi1;
            min[1] = lo1;
            return;
        }
        std::fill(max, max + c, T(0));
        std::fill(min, min + c, T(0));
        for (int i = 0; i < e; ++i) {
            for (int k = 0; k < c; ++k) {
                max[k] = std::max(max[k], block[size_t(i) * size_t(c) + size_t(k)]);
                min[k] = std::min(min[k], block[size_t(i) * size_t(c) + size_t(k)]);
            }
        }
    }

    int m_nChannels;
    int m_nBlock;
    std::vector<PeakArray>& m_peaks;
};

}  // namespace

FileInput::FileInput()
    : m_peakVector(new PeakVector),
      m_peakResult(0.0f, 0.0f),
      m_peakCache(kPeakCacheCapacity),
      m_strEnvelopeFolder(QStringLiteral("Envelopes"))
{
    registry().append(this);
}

FileInput::~FileInput()
{
    close();
    registry().removeAll(this);
}

void FileInput::dumpInfo()
{
    qDebug() << "========== Input Info Begin =========";
    qDebug() << "File Pointer = " << static_cast<const void*>(m_pFile);
    BaseInput::dumpInfo();
    m_info.dumpInfo();
    if (!m_ebuInfo.isNull())
        m_ebuInfo->dumpInfo();
    if (!m_envelope.isNull())
        m_envelope->dumpInfo();
    if (!m_ltcDecoder.isNull())
        m_ltcDecoder->dumpInfo();
    qDebug() << "----------- TimeCode Begin ----------";
    qDebug() << "FPS=" << fps();
    qDebug() << "START=" << startTimecode();
    qDebug() << "END=" << endTimecode();
    qDebug() << "DURATION=" << durationTimecode();
    qDebug() << "----------- TimeCode End ----------";
    qDebug() << "========== Input Info End =========";
}

const char* FileInput::name() const
{
    return "FileInput";
}

int FileInput::readChunkHeader(char* header, bool bigEndian)
{
    if (!m_pFile)
        return -1;
    if (!header || std::fread(header, 1, 8, m_pFile) != 8)
        return 0;
    if (bigEndian) {
        std::swap(header[4], header[7]);
        std::swap(header[5], header[6]);
    }
    return 1;
}

bool FileInput::openChecked(const char* path, bool skipExtensionCheck)
{
    if (!path)
        return false;
    if (!skipExtensionCheck) {
        const QString text = QString::fromLatin1(path);
        const QStringList endings = QString::fromLatin1(extensions()).toLower().split(QLatin1Char(' '));
        if (std::none_of(endings.begin(), endings.end(),
                         [&](const QString& ending) { return text.endsWith(ending, Qt::CaseSensitive); }))
            return false;
    }
    const QFileInfo fileInfo(QFile::decodeName(path));
    if (!fileInfo.isFile() || fileInfo.size() < kMinimumFileSize)
        return false;

    // Nothing known of the previous file may be taken for the new one's.
    close();
    setSettings(AudioIO().settings());
    m_info = FileInfo();
    m_ebuInfo = MTools::Handle<EBUInfo>();
    m_envelope = MTools::Handle<EBUEnvelope>();
    m_ltcDecoder = MTools::Handle<LTCDecoder>();
    m_peakVector = MTools::Handle<PeakVector>(new PeakVector);
    m_peakCache.clear();
    m_nLevlPosition = -1;
    m_nDataEnd = 0;

    if (!open(path)) {
        close();
        return false;
    }
    if (this->fileInfo() != &m_info)
        m_info = *this->fileInfo();
    m_nDataEnd = m_info.dataOffset() + m_info.dataSize() + 4;
    // The absolute path names the envelope cache: a relative one, or one cut
    // at '#' or '?' by URL parsing, would give two files the same cache.
    m_info.setUrl(QUrl::fromLocalFile(fileInfo.absoluteFilePath()));
    return true;
}

int FileInput::readBytes(char* buffer, int count)
{
    if (!m_pFile || !buffer || count <= 0)
        return 0;
    const qint64 position = ftello(m_pFile);
    if (position < 0 || position >= m_nDataEnd)
        return 0;
    const qint64 wanted = std::min<qint64>(count, m_nDataEnd - position);
    return int(std::fread(buffer, 1, size_t(wanted), m_pFile));
}

int FileInput::readRaw(MTools::Handle<RawBuffer> buffer)
{
    return buffer.isNull() ? 0 : readBytes(buffer->data(), buffer->size());
}

int FileInput::readBuffer(MTools::Handle<AudioFloatBuffer> buffer)
{
    if (buffer.isNull() || buffer->channels() <= 0)
        return 0;
    return read(buffer->data(), buffer->size()) / buffer->channels();
}

int FileInput::readBufferAt(MTools::Handle<AudioFloatBuffer> buffer, int startFrame)
{
    if (buffer.isNull())
        return 0;
    return seekAndRead(startFrame, buffer->data(), buffer->frames(), buffer->channels());
}

int FileInput::convert(const char* bytes, float* data, int count)
{
    const int code = settings().format();
    const bool littleEndian = code == LittleEndianSigned || code == LittleEndianUnsigned;
    const bool isUnsigned = code == LittleEndianUnsigned || code == BigEndianUnsigned;
    qint32* ints = m_ints.data();
    switch (settings().bitsPerSample()) {
    case 8:
        bytesToInt8(bytes, ints, count);
        return code == Unsigned8 ? uint8ToFloat(ints, data, count) : int8ToFloat(ints, data, count);
    case 16:
        if (!isUnsigned)
            return bytes16ToFloat(bytes, data, count, littleEndian);
        bytesToInt16(bytes, ints, count, littleEndian);
        return uint16ToFloat(ints, data, count);
    case 24:
        return bytes24ToFloat(bytes, data, count, code != Signed24Swapped);
    default:
        if (!isUnsigned)
            return bytes32ToFloat(bytes, data, count, littleEndian);
        bytesToInt32(bytes, ints, count, littleEndian);
        return uint32ToFloat(ints, data, count);
    }
}

int FileInput::read(float* data, int count)
{
    const int bits = settings().bitsPerSample();
    if (!supportedBits(bits)) {
        std::fprintf(stderr, "FileInput::read() Error: %dbits data format is not supported\n", bits);
        if (data && count > 0)
            std::fill(data, data + count, 0.0f);
        return 0;
    }
    if (!data || count <= 0)
        return 0;
    const int width = bits / 8;
    m_bytes.resize(size_t(kSamplesPerPiece) * 4);
    m_ints.resize(kSamplesPerPiece);
    int done = 0;
    while (done < count) {
        const int wanted = std::min(count - done, kSamplesPerPiece);
        const int whole = readBytes(m_bytes.data(), wanted * width) / width;
        convert(m_bytes.data(), data + done, whole);
        done += whole;
        if (whole < wanted)
            break;
    }
    std::fill(data + done, data + count, 0.0f);
    return done;
}

int FileInput::readChannel(float* data, int frames, int channel)
{
    const int channels = settings().channels();
    if (channels <= 0)
        return 0;
    if (channel < 0 || channel >= channels)
        return -1;
    if (!data || frames <= 0)
        return 0;
    const int piece = std::max(1, kSamplesPerPiece / channels);
    m_frames.resize(size_t(piece) * size_t(channels));
    int done = 0;
    while (done < frames) {
        const int wanted = std::min(frames - done, piece);
        const int whole = read(m_frames.data(), wanted * channels) / channels;
        for (int i = 0; i < whole; ++i)
            data[done + i] = m_frames[size_t(i) * size_t(channels) + size_t(channel)];
        done += whole;
        if (whole < wanted)
            break;
    }
    return done;
}

int FileInput::seekBytes(qint64 offset)
{
    if (!m_pFile)
        return -1;
    const qint64 start = m_info.dataOffset() + 4;
    if (offset > std::numeric_limits<qint64>::max() - start || offset < -start)
        return -1;
    return fseeko(m_pFile, off_t(start + offset), SEEK_SET) == 0 ? 0 : -1;
}

qint64 FileInput::tellBytes()
{
    if (!m_pFile)
        return -1;
    return qint64(ftello(m_pFile)) - m_info.dataOffset() - 4;
}

int FileInput::flush()
{
    return m_pFile ? std::fflush(m_pFile) : -1;
}

int FileInput::rewind()
{
    return seekBytes(0);
}

qint64 FileInput::filePosition()
{
    return m_pFile ? qint64(ftello(m_pFile)) : -1;
}

int FileInput::seekFrames(int frame, int channels)
{
    return seekBytes(qint64(frame) * channels * (settings().bitsPerSample() / 8));
}

int FileInput::seekFrame(int frame)
{
    return seekFrames(frame, settings().channels());
}

int FileInput::seekAndRead(int frame, float* data, int frames, int channels)
{
    seekFrames(frame, channels);
    return readFrames(data, frames, channels);
}

int FileInput::readFrames(float* data, int frames, int channels)
{
    if (channels <= 0)
        return 0;
    const qint64 count = qint64(frames) * channels;
    if (count <= 0 || count > INT_MAX)
        return 0;
    return read(data, int(count)) / channels;
}

void FileInput::buildPeaks()
{
    if (!m_pFile)
        return;
    // The file's own envelope serves when it describes this file's channels
    // in blocks of the size peak() counts in.
    if (m_nLevlPosition >= 0 && !m_envelope.isNull() && m_envelope->peakChannels() == channels()
        && m_envelope->blockSize() == m_nSamplesPerPeak
        && buildPeakVector(m_pFile, m_nLevlPosition + qint64(m_envelope->offsetToPeaks()))) {
        seekBytes(0);
        return;
    }
    const EnvelopeCache cache = envelopeCache();
    // Taken before the scan: a file that changes while it is read must not
    // pass for the one the peaks came from.
    const QByteArray source = cache.sourceRecord(m_pFile);
    if (cache.holds(source) && cacheFitsTheFile(cache)) {
        seekBytes(0);
        return;
    }
    m_envelope = MTools::Handle<EBUEnvelope>(new EBUEnvelope);
    // Until the new body is whole, it answers for no file.
    cache.forget();
    scanPeaks();
    seekBytes(0);
    if (cache.storeBody([this](FILE* stream) {
            return m_envelope->writeChunk(stream, *m_peakVector, EBUEnvelope::OneByte);
        }))
        cache.store(source);
}

EnvelopeCache FileInput::envelopeCache() const
{
    return EnvelopeCache(privateFolder(m_strEnvelopeFolder), m_info.url().toLocalFile());
}

bool FileInput::cacheFitsTheFile(const EnvelopeCache& cache)
{
    // Even with a record of this source, a body must be newer than the
    // audio and describe exactly its channels and blocks.
    FILE* body = cache.openBody();
    if (!body)
        return false;
    struct stat bodyStatus, audioStatus;
    const bool newer = fstat(fileno(body), &bodyStatus) == 0 && fstat(fileno(m_pFile), &audioStatus) == 0
        && !earlier(bodyStatus.st_mtim, audioStatus.st_mtim);
    const bool loaded = newer && readEnvelope(body);
    std::fclose(body);
    if (!loaded)
        return false;
    const int c = channels();
    const qint64 frames = c > 0 ? m_info.numberOfSamples() / c : 0;
    const qint64 blocks = (frames + m_nSamplesPerPeak - 1) / m_nSamplesPerPeak;
    return m_envelope->peakChannels() == c && m_envelope->blockSize() == m_nSamplesPerPeak
        && m_envelope->numPeakFrames() == blocks;
}

bool FileInput::buildPeakVector(FILE* stream, qint64 position)
{
    const int format = m_envelope->format();
    if (format != EBUEnvelope::OneByte && format != EBUEnvelope::TwoBytes) {
        std::fprintf(stderr, "FileInput::buildPeakVector() Error: Unknown EBU Envelope format\n");
        return false;
    }
    // Sizes from a file: at most the envelope's 32 channels, and no more
    // values than the bytes present.
    const qint64 c = m_envelope->peakChannels();
    const qint64 f = m_envelope->numPeakFrames();
    const qint64 length = ChunkReader::fileLength(stream);
    if (c < 1 || c > 32 || f < 0 || position < 0 || length < position
        || 2 * c * f * format > length - position || fseeko(stream, off_t(position), SEEK_SET) != 0)
        return false;

    std::vector<PeakArray> peaks(static_cast<size_t>(c));
    for (PeakArray& channel : peaks)
        channel.reserve(int(f));
    const float full = format == EBUEnvelope::TwoBytes ? 65535.0f : 255.0f;
    unsigned char bytes[2 * kPeakValuesPerPiece];
    const qint64 values = 2 * c * f;
    for (qint64 done = 0; done < values;) {
        // Whole (frame, channel) pairs per piece.
        const qint64 n = std::min<qint64>(values - done, kPeakValuesPerPiece);
        if (std::fread(bytes, size_t(format), size_t(n), stream) != size_t(n))
            return false;
        for (qint64 i = 0; i < n; i += 2) {
            const qint64 v = done + i;
            const int k = int((v / 2) % c);
            float first, second;
            if (format == EBUEnvelope::TwoBytes) {
                first = float(bytes[2 * i] | (bytes[2 * i + 1] << 8)) / full;
                second = float(bytes[2 * i + 2] | (bytes[2 * i + 3] << 8)) / full;
            } else {
                first = float(bytes[i]) / full;
                second = float(bytes[i + 1]) / full;
            }
            peaks[size_t(k)].append(Peak(first, -second));
        }
        done += n;
    }
    m_peakVector->clear();
    for (int k = 0; k < int(c); ++k)
        m_peakVector->setChannel(peaks[size_t(k)], k);
    return true;
}

void FileInput::scanPeaks()
{
    m_peakVector->clear();
    m_envelope->setBlockSize(m_nSamplesPerPeak);
    const int c = channels();
    const int bits = bitsPerSample();
    if (c <= 0 || c > 32 || !supportedBits(bits))
        return;
    const int b = m_nSamplesPerPeak;
    const int width = bits / 8;
    std::vector<PeakArray> peaks(static_cast<size_t>(c));
    const qint64 expected = (m_info.numberOfSamples() / c + b - 1) / b;
    for (PeakArray& channel : peaks)
        channel.reserve(int(std::clamp<qint64>(expected, 0, INT_MAX / 2)));
    PeakScan<qint32> words(c, b, peaks);
    PeakScan<float> floats(c, b, peaks);

    // One pass over the file, all channels at once. Samples of up to 24 bits
    // are scanned as words (exact, and in the order of their floats); 32-bit
    // ones as floats, whose rounding decides which of two close samples is
    // the larger.
    const int pieceFrames = b * kBlocksPerScanPiece;
    const int pieceSamples = pieceFrames * c;
    std::vector<char> raw(size_t(pieceSamples) * size_t(width));
    std::vector<qint32> scratch(static_cast<size_t>(pieceSamples));
    std::vector<float> samples(bits == 32 ? size_t(pieceSamples) : 0);
    m_ints.resize(size_t(pieceSamples));
    seekBytes(0);
    for (qint64 firstFrame = 0;;) {
        int got = 0;
        for (int n; got < pieceSamples * width; got += n)
            if ((n = readBytes(raw.data() + got, pieceSamples * width - got)) <= 0)
                break;
        const int frames = got / (width * c);
        if (bits == 32) {
            convert(raw.data(), samples.data(), frames * c);
            floats.scan(samples.data(), frames, firstFrame);
        } else {
            toTopWords(raw.data(), scratch.data(), frames * c, bits, settings().format());
            words.scan(scratch.data(), frames, firstFrame);
        }
        firstFrame += frames;
        if (frames < pieceFrames)
            break;
    }
    for (int k = 0; k < c; ++k)
        m_peakVector->setChannel(peaks[size_t(k)], k);
    // Channel by channel, as if each were scanned in turn: a later channel
    // takes the position only with a strictly larger magnitude.
    const PeakScanResult& result = bits == 32 ? floats.result : words.result;
    double overall = 0.0;
    for (int k = 0; k < c; ++k) {
        if (result.largest[size_t(k)] > overall) {
            overall = result.largest[size_t(k)];
            m_envelope->setPosPeakOfPeaks(qint32(result.largestAt[size_t(k)]));
        }
    }
}

const Peak* FileInput::peak(const PeakRequest& request)
{
    if (m_peakVector->isEmpty())
        buildPeaks();
    const float s = request.scale;
    const int b = m_nSamplesPerPeak;
    const int channel = request.channel;
    if (s > float(b))
        return &m_peakVector->peak(toIndex(double(request.index) * (double(s) / b)), channel);
    if (s == float(b) && b != 1)
        return &m_peakVector->peak(request.index, channel);
    m_peakResult = Peak(0.0f, 0.0f);
    // Not a number, or a position before the first sample: nothing to read.
    if (!(s == s) || request.index < 0)
        return &m_peakResult;
    if (s > 1.0f) {
        if (const std::optional<Peak> hit = m_peakCache.find(request.index, channel, s)) {
            m_peakResult = *hit;
            return &m_peakResult;
        }
        const int frame = toIndex(double(request.index) * double(s));
        if (frame >= 0 && seekFrame(frame) == 0) {
            m_block.resize(size_t(b));
            const int e = readChannel(m_block.data(), int(s), channel);
            float min = 0.0f, max = 0.0f;
            for (int i = 0; i < e; ++i) {
                min = std::min(min, m_block[size_t(i)]);
                max = std::max(max, m_block[size_t(i)]);
            }
            if (e > 0)
                m_peakResult = Peak(min, max);
        }
        m_peakCache.insert(request.index, channel, s, m_peakResult);
        return &m_peakResult;
    }
    const int frame = s == 1.0f ? request.index : toIndex(double(request.index) * double(s));
    float x = 0.0f;
    if (frame >= 0 && seekFrame(frame) == 0 && readChannel(&x, 1, channel) > 0)
        m_peakResult = Peak(x, 0.0f);
    return &m_peakResult;
}

bool FileInput::saveEnvelope(const char* path, int format)
{
    if (m_peakVector->isEmpty())
        buildPeaks();
    return m_envelope->save(path, *m_peakVector, format);
}

bool FileInput::loadEnvelope(const char* path)
{
    m_envelope = MTools::Handle<EBUEnvelope>(new EBUEnvelope);
    FILE* stream = path ? std::fopen(path, "rb") : nullptr;
    if (!stream) {
        std::fprintf(stderr, "EBUEnvelope:load: file open error\n");
        return false;
    }
    const bool loaded = readEnvelope(stream);
    std::fclose(stream);
    return loaded;
}

bool FileInput::readEnvelope(FILE* stream)
{
    m_envelope = MTools::Handle<EBUEnvelope>(new EBUEnvelope);
    bool loaded = false;
    ChunkReader reader(stream, 0, ChunkReader::fileLength(stream));
    ChunkHeader header;
    if (reader.next(&header)) {
        if (!header.is("levl")) {
            qDebug() << "It is not a valid EBUEnvelope file";
        } else {
            m_envelope->setChunkSize(qint32(quint32(quint64(header.size) + (header.size & 1))));
            m_envelope->readChunk(stream);
            loaded = buildPeakVector(stream, m_envelope->offsetToPeaks());
        }
    }
    return loaded;
}

bool FileInput::saveInfo(const char* path)
{
    return !m_ebuInfo.isNull() && m_ebuInfo->save(path);
}

bool FileInput::loadInfo(const char* path)
{
    if (m_ebuInfo.isNull())
        m_ebuInfo = MTools::Handle<EBUInfo>(new EBUInfo);
    return m_ebuInfo->load(path);
}

MTools::Handle<EBUInfo> FileInput::ebuInfo() const
{
    return m_ebuInfo;
}

MTools::Handle<EBUEnvelope> FileInput::envelope() const
{
    return m_envelope;
}

const FileInfo* FileInput::fileInfo() const
{
    return &m_info;
}

const char* FileInput::extensions() const
{
    return "";
}

MTools::Handle<PeakVector> FileInput::peakVector() const
{
    return m_peakVector;
}

FILE* FileInput::file() const
{
    return m_pFile;
}

int FileInput::close()
{
    if (!m_pFile)
        return 0;
    const int result = std::fclose(m_pFile);
    m_pFile = nullptr;
    return result;
}

void FileInput::makeDecoder()
{
    if (m_ltcDecoder.isNull())
        m_ltcDecoder = MTools::Handle<LTCDecoder>(new LTCDecoder(this));
}

int FileInput::ltcStatus(int channel)
{
    makeDecoder();
    if (channel >= 0)
        return 0;
    return m_ltcDecoder->channel() < 0 ? -1 : 0;
}

LTCData FileInput::ltcAt(int audioFrame)
{
    if (m_ltcDecoder.isNull())
        return LTCData(-1, QString(), 30.0f);
    return m_ltcDecoder->getLTC(audioFrame);
}

qint64 FileInput::frameOfTimecode(int hours, int minutes, int seconds, int frames)
{
    return m_ltcDecoder.isNull() ? -1 : m_ltcDecoder->frameOfTimecode(hours, minutes, seconds, frames);
}

qint64 FileInput::frameOfTimecodeText(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() < 4)
        return -1;
    return frameOfTimecode(leadingNumber(parts[0]), leadingNumber(parts[1]), leadingNumber(parts[2]),
                           leadingNumber(parts[3]));
}

bool FileInput::hasLtc()
{
    makeDecoder();
    return m_ltcDecoder->hasFrames();
}

int FileInput::ltcChannel()
{
    makeDecoder();
    return m_ltcDecoder->channel();
}

QString FileInput::ltcText(int audioFrame, bool userBits)
{
    return ltcAt(audioFrame).timecodeText(effectiveFps(fps()), userBits);
}

float FileInput::ltcFps()
{
    makeDecoder();
    return m_ltcDecoder->fps();
}

float FileInput::fps() const
{
    // Through the virtual accessor: a general input answers its reader's.
    const MTools::Handle<EBUInfo> record = ebuInfo();
    return record.isNull() ? 0.0f : record->fps();
}

QString FileInput::timecodeOf(double samples) const
{
    const float rate = effectiveFps(fps());
    const int sampleRate = this->sampleRate();
    double count = sampleRate == 0 ? 0.0 : std::trunc(double(rate) * samples / sampleRate);
    if (!(count > -9.2e18 && count < 9.2e18))
        count = 0.0;
    return MTools::FrameCount(qint64(count), rate).toTimecodeString(false, false, 0, false);
}

namespace {

double framesOf(const FileInput& input)
{
    const int c = input.channels();
    return c > 0 ? std::trunc(double(input.fileInfo()->numberOfSamples()) / c) : 0.0;
}

double timeReferenceOf(const FileInput& input)
{
    const MTools::Handle<EBUInfo> record = input.ebuInfo();
    return record.isNull() ? 0.0 : double(record->timeReference());
}

}  // namespace

QString FileInput::durationTimecode() const
{
    return timecodeOf(framesOf(*this));
}

QString FileInput::startTimecode() const
{
    return timecodeOf(timeReferenceOf(*this));
}

QString FileInput::endTimecode() const
{
    return timecodeOf(timeReferenceOf(*this) + framesOf(*this));
}

QString FileInput::timecodeAtSample(qint64 offset) const
{
    return timecodeOf(timeReferenceOf(*this) + double(offset));
}

QString FileInput::timecodeOfSamples(qint64 count) const
{
    return timecodeOf(double(count));
}

QString FileInput::scene() const
{
    const MTools::Handle<EBUInfo> record = ebuInfo();
    return record.isNull() ? QString() : record->scene();
}

QString FileInput::take() const
{
    const MTools::Handle<EBUInfo> record = ebuInfo();
    return record.isNull() ? QString() : record->take();
}

float FileInput::durationIn(float rate) const
{
    return float(framesOf(*this)) / rate;
}

int FileInput::readTag(char* tag)
{
    if (!m_pFile)
        return -1;
    return tag ? int(std::fread(tag, 1, 4, m_pFile)) : 0;
}

QString FileInput::envelopeFileName() const
{
    return envelopeCache().bodyPath();
}

QString FileInput::audioTempFolder() const
{
    const QString folder = privateFolder(QStringLiteral("AudioTemp"));
    return folder.isEmpty() ? folder : folder + QLatin1Char('/');
}

QString FileInput::audioTempFileName() const
{
    const QString folder = audioTempFolder();
    if (folder.isEmpty())
        return {};
    return folder + EnvelopeCache::fileNameFor(m_info.url().toLocalFile(), QStringLiteral(":"));
}

void FileInput::setBaseFolder(const QString& folder)
{
    baseFolderText() = folder;
}

QString FileInput::baseFolder()
{
    return baseFolderText();
}

const QList<FileInput*>& FileInput::instances()
{
    return registry();
}

}  // namespace QMMultiMedia
