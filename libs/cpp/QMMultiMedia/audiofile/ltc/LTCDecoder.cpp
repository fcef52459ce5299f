#include "LTCDecoder.h"

#include "ChunkReader.h"
#include "FileInput.h"
#include "ProductionParameters.h"
#include "SafeSave.h"

#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace QMMultiMedia {

namespace {

constexpr int kRecordSize = 14;
constexpr int kFramesPerBlock = 8192;
constexpr int kShortestStart = 100;
// Ten timecode frames at any sane rate are far fewer samples; the cap keeps
// a hostile sample rate from asking for gigabytes.
constexpr qint64 kMaxCalibrationSamples = qint64(1) << 24;
// Bits 64 to 79 of every LTC word, in transmission order.
const QLatin1String kSyncWord("0011111111111101");

// The decoding rule, fed one sliced level at a time: a level change after
// about a bit's length is a "0"; after about half a bit it is a "1", and the
// change that ends the "1" is passed over.
struct BitReader
{
    float previousLevel = 0.0f;
    qint64 k = 0;  // frames since the last level change
    bool skipping = false;

    void step(float s, int samplesPerBit, QString& bits)
    {
        if (skipping) {
            if (std::trunc(s) != 0.0f && s != previousLevel) {
                previousLevel = s;
                k = 1;
                skipping = false;
            }
            return;
        }
        if (std::trunc(s) == 0.0f || s == previousLevel) {
            ++k;
            return;
        }
        if (previousLevel == 0.0f) {
            previousLevel = s;
            ++k;
            return;
        }
        previousLevel = s;
        if (std::llabs(qint64(samplesPerBit) - k) <= samplesPerBit / 4) {
            bits.append(QLatin1Char('0'));
            k = 1;
        } else {
            bits.append(QLatin1Char('1'));
            skipping = true;
        }
    }
};

void putLe32(unsigned char* out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = quint8(value >> (8 * i));
}

quint32 getLe32(const unsigned char* in)
{
    return quint32(in[0]) | (quint32(in[1]) << 8) | (quint32(in[2]) << 16) | (quint32(in[3]) << 24);
}

}  // namespace

LTCDecoder::LTCDecoder(FileInput* input)
    : m_pInput(input)
{
    if (!input)
        return;
    // A broadcast record without a rate holds -1: count in the production's.
    const double fps = std::trunc(double(effectiveFps(input->fps())));
    const qint64 rate = input->sampleRate();
    const qint64 channels = input->channels();
    if (rate > 0 && fps >= 1.0 && fps <= double(rate) && channels > 0) {
        const qint64 frames = std::min(rate / qint64(fps) * 10, kMaxCalibrationSamples / channels);
        m_nCalibrationLength = qint32(frames);
        if (input->fileInfo()->numberOfSamples() / channels > frames) {
            std::vector<float> interleaved(static_cast<size_t>(frames * channels));
            if (input->read(interleaved.data(), int(frames * channels)) == frames * channels) {
                std::vector<float> block(static_cast<size_t>(frames));
                for (qint64 ch = channels - 1; ch >= 0; --ch) {
                    for (qint64 i = 0; i < frames; ++i)
                        block[size_t(i)] = interleaved[size_t(i * channels + ch)];
                    calibrate(block);
                    if (carriesTimecode(block)) {
                        m_nChannel = int(ch);
                        break;
                    }
                }
            }
        }
    }
    m_fHoldLevel = 0.0f;
}

LTCDecoder::~LTCDecoder() = default;

float LTCDecoder::slice(float x)
{
    if (x > -m_fThreshold && x < m_fThreshold)
        return m_fHoldLevel;
    if (x > 0.0f)
        m_fHoldLevel = 1.0f;
    else if (x < 0.0f)
        m_fHoldLevel = -1.0f;
    return m_fHoldLevel;
}

void LTCDecoder::calibrate(std::vector<float>& block)
{
    float largest = 0.0f;
    for (float x : block)
        largest = std::max(largest, std::fabs(x));
    m_fThreshold = largest / 7.0f;
    for (float& x : block)
        x = slice(x);

    // The shortest distance between level changes is half a bit. The first
    // short distance is taken for a glitch at the start and skipped.
    qint64 shortest = kShortestStart;
    bool skip = true;
    qint64 last = -1;
    for (size_t i = 0; i < block.size(); ++i) {
        const float v = block[i];
        if (std::trunc(v) == 0.0f)
            continue;
        if (m_fPreviousLevel == 0.0f) {
            m_fPreviousLevel = v;
            continue;
        }
        if (v == m_fPreviousLevel)
            continue;
        m_fPreviousLevel = v;
        if (last < 0) {
            last = qint64(i);
            continue;
        }
        const qint64 d = qint64(i) - last;
        if (d >= shortest) {
            last = qint64(i);
        } else if (skip) {
            skip = false;
        } else {
            shortest = d;
            last = qint64(i);
        }
    }
    m_nSamplesPerBit = qint32(2 * shortest);
    m_pInput->seekFrame(0);
    m_fHoldLevel = 0.0f;
}

bool LTCDecoder::carriesTimecode(const std::vector<float>& block)
{
    if (m_nSamplesPerBit < 4) {
        m_nSamplesPerBit = 0;
        return false;
    }
    BitReader reader;
    for (float x : block)
        reader.step(slice(x), m_nSamplesPerBit, m_strBits);
    const bool found = m_strBits.contains(kSyncWord);
    m_strBits.clear();
    m_fHoldLevel = 0.0f;
    return found;
}

void LTCDecoder::decode(int channel)
{
    if (m_nSamplesPerBit == 0) {
        std::fprintf(stderr, "The LTC decoder is not calibrated\n");
        return;
    }
    const int channels = m_pInput ? m_pInput->channels() : 0;
    if (channel < 0 || channel >= channels) {
        std::fprintf(stderr, "LTCDecoder::decode: the input has no channel %d\n", channel);
        return;
    }
    m_pInput->seekFrame(0);
    // The levels left by the calibration, or by an earlier decode, belong to
    // another place in the file: the first sample starts everything afresh.
    // From there the slicer and the reader carry on across reads, so the bits
    // do not depend on where a read ends (it may end inside a "1").
    m_fHoldLevel = 0.0f;
    BitReader reader;
    std::vector<float> block(size_t(kFramesPerBlock) * size_t(channels));
    int n;
    while ((n = m_pInput->read(block.data(), kFramesPerBlock * channels)) > 0) {
        // Only the whole frames this read delivered.
        const int frames = n / channels;
        for (int i = 0; i < frames; ++i)
            reader.step(slice(block[size_t(i) * size_t(channels) + size_t(channel)]), m_nSamplesPerBit, m_strBits);
    }
    m_fPreviousLevel = reader.previousLevel;
}

const LTCData& LTCDecoder::getLTC(qint32 audioFrame)
{
    if (m_frames.empty())
        return m_invalidFrame;
    const qint64 a = audioFrame;
    const qint64 lastIndex = qint64(m_frames.size()) - 1;
    if (m_frames.size() == 1 && m_frames[0].audioFrame() == a)
        return m_frames[0];
    if (a < m_frames.front().audioFrame() || a > m_frames.back().audioFrame()) {
        std::fprintf(stderr, "LTCDecoder::getLTC() : Error LTC for this frame does not exists\n");
        return m_invalidFrame;
    }
    // A first guess from the spacing of the first two frames; a list from a
    // file need not be evenly spaced, nor ordered.
    qint64 i = 0;
    const qint64 spacing = m_frames[1].audioFrame() - m_frames[0].audioFrame();
    if (spacing > 0)
        i = std::clamp<qint64>((a - m_frames[0].audioFrame()) / spacing, 0, lastIndex);
    auto brackets = [&](qint64 k) {
        return m_frames[size_t(k)].audioFrame() <= a && a <= m_frames[size_t(k + 1)].audioFrame();
    };
    if (m_frames[size_t(i)].audioFrame() <= a) {
        if (i == lastIndex)
            return m_frames[size_t(i)];
        for (qint64 k = i; k < lastIndex; ++k)
            if (brackets(k))
                return m_frames[size_t(k + 1)];
    } else {
        for (qint64 k = i - 1; k >= 0; --k)
            if (brackets(k))
                return m_frames[size_t(k + 1)];
        return m_frames[0];
    }
    std::fprintf(stderr, "LTCDecoder::getLTC() : Error LTC for this frame does not exists\n");
    return m_invalidFrame;
}

qint64 LTCDecoder::frameOfTimecode(int hour, int min, int sec, int frame) const
{
    for (const LTCData& d : m_frames)
        if (d.hour() == hour && d.min() == min && d.sec() == sec && d.frame() == frame)
            return qint64(qint32(quint32(quint64(d.audioFrame()))));
    return -1;
}

float LTCDecoder::fps()
{
    if (m_frames.empty())
        return 0.0f;
    if (m_fMaxFrameNumber == 0.0f) {
        const size_t n = std::min<size_t>(m_frames.size(), 60);
        for (size_t i = 0; i < n; ++i)
            m_fMaxFrameNumber = std::max(m_fMaxFrameNumber, float(m_frames[i].frame()));
    }
    return m_fMaxFrameNumber + 1.0f;
}

bool LTCDecoder::save(const char* path)
{
    if (m_frames.empty())
        return false;
    // Written beside the target and put in its place only when whole: a
    // failed write leaves the previous state file, and the list, as they were.
    // The list is read back from the file below, which a pipe or a device
    // would not give back: only a regular file (or a new one) is written.
    MTools::SafeSave file(QFile::decodeName(path ? path : ""), MTools::SafeSave::RegularFileOnly);
    if (!path || !file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "LTCDecoder::save: file creation error\n");
        return false;
    }
    QByteArray bytes("LTCC", 4);
    unsigned char count[4];
    putLe32(count, quint32(qint32(std::min<size_t>(m_frames.size(), 0x7FFFFFFF))));
    bytes.append(reinterpret_cast<const char*>(count), 4);
    for (const LTCData& d : m_frames) {
        unsigned char record[kRecordSize];
        record[0] = d.isValid() ? 1 : 0;
        putLe32(record + 1, quint32(quint64(d.audioFrame())));
        record[5] = quint8(d.hour());
        record[6] = quint8(d.min());
        record[7] = quint8(d.sec());
        record[8] = quint8(d.frame());
        record[9] = d.isDrop() ? 1 : 0;
        for (int u = 0; u < 4; ++u)
            record[10 + u] = quint8(d.userByte(u));
        bytes.append(reinterpret_cast<const char*>(record), kRecordSize);
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "LTCDecoder::save: file writing error\n");
        return false;
    }
    return load(path);
}

bool LTCDecoder::load(const char* path)
{
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        std::fprintf(stderr, "LTCDecoder::load: file read error\n");
        return false;
    }
    unsigned char header[8];
    const qint64 got = ChunkReader::readFilled(file, header, 8);
    if (got < 4 || std::memcmp(header, "LTCC", 4) != 0) {
        std::fprintf(stderr, "LTCDecoder::load error: not ltc file\n");
        std::fclose(file);
        return false;
    }
    const qint64 count = got == 8 ? qint64(qint32(getLe32(header + 4))) : 0;
    // The count is a promise: room only for the records the file can hold.
    std::vector<LTCData> frames;
    frames.reserve(size_t(std::clamp<qint64>(ChunkReader::bytesLeft(file) / kRecordSize, 0, count < 0 ? 0 : count)));
    unsigned char r[kRecordSize];
    for (qint64 i = 0; i < count && std::fread(r, 1, kRecordSize, file) == size_t(kRecordSize); ++i)
        frames.emplace_back(r[0] != 0, qint64(qint32(getLe32(r + 1))), r[5], r[6], r[7], r[8], r[9] != 0, r[10],
                            r[11], r[12], r[13]);
    std::fclose(file);
    m_frames.swap(frames);
    m_fMaxFrameNumber = 0.0f;  // the rate belongs to the new list
    return true;
}

void LTCDecoder::dumpInfo() const
{
    qDebug() << "----- LTC Decoder Begin ------";
    qDebug() << "Calibrated Samples Per Bit =" << m_nSamplesPerBit;
    qDebug() << "----- LTC Decoder End ------";
}

}  // namespace QMMultiMedia
