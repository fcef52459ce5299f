#include "WaveInput.h"

#include "Codecs.h"
#include "SampleConversion.h"
#include "WaveComment.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace QMMultiMedia {

namespace {

constexpr quint32 kMinimumFormatSize = 16;
constexpr int kPcm = 1;
constexpr int kMaxChannels = 32;  // the peak envelope's limit

}  // namespace

WaveInput::WaveInput() = default;

WaveInput::~WaveInput() = default;

const char* WaveInput::name() const
{
    return "WaveInput";
}

const char* WaveInput::extensions() const
{
    return "wav wave bwf";
}

int WaveInput::sampleFormat() const
{
    const int bits = settings().bitsPerSample();
    switch (settings().format()) {
    case kPcm:
        if (bits == 8)
            return Unsigned8;
        if (bits == 16 || bits == 32)
            return LittleEndianSigned;
        return bits == 24 ? Signed24Normal : 0;
    case 257: return MuLaw;
    case 258: return ALaw;
    case 259: return ImaAdpcm;
    default: return 0;
    }
}

bool WaveInput::fail()
{
    close();
    return false;
}

bool WaveInput::open(const char* path)
{
    m_info.setComment(QString());
    m_info.setDataOffset(0);
    settings().setFormat(0);
    close();
    m_pFile = path ? std::fopen(path, "rb") : nullptr;
    if (!m_pFile)
        return false;
    const qint64 length = ChunkReader::fileLength(m_pFile);
    ChunkReader file(m_pFile, 0, length);
    ChunkHeader riff;
    if (!file.next(&riff) || !riff.is("RIFF") || std::fread(m_formType, 1, 4, m_pFile) != 4
        || std::memcmp(m_formType, "WAVE", 4) != 0)
        return fail();
    const qint64 riffSize = qint64(riff.size) + (riff.size & 1);
    m_info.setFileSize(riffSize);

    // The walk ends at the RIFF's end or the file's, whichever comes first;
    // sizes never move it backwards.
    ChunkReader walk(m_pFile, 12, 8 + riffSize);
    bool haveData = false;
    qint64 firstSample = 0;
    while (walk.next(&m_chunk)) {
        if (m_chunk.is("LIST")) {
            if (!readList(m_chunk))
                return fail();
        } else if (m_chunk.is("fmt ") && settings().format() == 0) {
            if (!readFormat(m_chunk))
                return fail();
        } else if (m_chunk.is("data") && !haveData) {
            // Cut at the end of the file, not of the RIFF: a RIFF size that
            // undercounts loses no samples.
            haveData = true;
            firstSample = m_chunk.bodyStart();
            m_info.setDataSize(std::clamp<qint64>(length - firstSample, 0, m_chunk.size));
        } else if (m_chunk.is("bext")) {
            m_ebuInfo = MTools::Handle<EBUInfo>(new EBUInfo);
            // The coding history ends with the chunk, whatever its size says.
            m_ebuInfo->setChunkSize(quint32(m_chunk.available));
            m_ebuInfo->readChunk(m_pFile);
        } else if (m_chunk.is("levl") && m_chunk.start == walk.levlPosition()) {
            m_envelope = MTools::Handle<EBUEnvelope>(new EBUEnvelope);
            m_envelope->setChunkSize(qint32(quint32(quint64(m_chunk.size) + (m_chunk.size & 1))));
            m_envelope->readChunk(m_pFile);
            m_nLevlPosition = m_chunk.start;
        }
    }
    if (!haveData)
        return fail();
    m_info.setDataOffset(firstSample - 4);
    m_info.setNumberOfSamples(m_info.dataSize() / (settings().bitsPerSample() / 8));
    m_nDataEnd = firstSample + m_info.dataSize();
    settings().setFormat(sampleFormat());
    rewind();
    return true;
}

bool WaveInput::readFormat(const ChunkHeader& chunk)
{
    if (chunk.size < kMinimumFormatSize || chunk.available < kMinimumFormatSize)
        return false;
    Settings& s = settings();
    const int tag = readInt16(m_pFile, false);
    const int channels = readInt16(m_pFile, false);
    const qint32 rate = readInt32(m_pFile, false);
    readInt32(m_pFile, false);  // bytes per second
    readInt16(m_pFile, false);  // block align
    s.setFormat(tag);
    s.setChannels(channels);
    s.setSampleRate(rate);
    if (tag != kPcm)
        return false;
    const int bits = readInt16(m_pFile, false);
    s.setBitsPerSample(bits);
    // Every later division and the peak envelope rely on these.
    return channels >= 1 && channels <= kMaxChannels && rate > 0
        && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

bool WaveInput::readList(const ChunkHeader& chunk)
{
    if (chunk.available < 4)
        return true;  // no list type: nothing to read, the walk goes on
    char type[4];
    if (std::fread(type, 1, 4, m_pFile) != 4)
        return false;
    if (std::memcmp(type, "INFO", 4) != 0)
        return true;
    // The sub-chunks are walked inside the list's own bytes: an unpadded odd
    // string or an oversized sub-chunk ends the list, not the file.
    ChunkReader list(m_pFile, chunk.bodyStart() + 4, chunk.bodyStart() + chunk.available);
    ChunkHeader item;
    while (list.next(&item)) {
        if (!item.is("ICMT"))
            continue;
        QByteArray text(int(std::min<qint64>(item.available, kMaxWaveCommentBytes)), '\0');
        const qint64 got = ChunkReader::readFilled(m_pFile, text.data(), text.size());
        text.truncate(int(got));
        const int nul = text.indexOf('\0');
        if (nul >= 0)
            text.truncate(nul);
        m_info.setComment(waveCommentText(text, nul < 0 && item.available > kMaxWaveCommentBytes));
    }
    return true;
}

}  // namespace QMMultiMedia
