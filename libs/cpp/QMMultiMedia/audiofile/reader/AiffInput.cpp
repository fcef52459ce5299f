#include "AiffInput.h"

#include "Codecs.h"
#include "SampleConversion.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace QMMultiMedia {

namespace {

constexpr qint64 kCommonSize = 18;
constexpr int kMaxChannels = 32;  // the peak envelope's limit
constexpr qint64 kMaxCommentBytes = 0xFFFF;

}  // namespace

AiffInput::AiffInput() = default;

AiffInput::~AiffInput() = default;

const char* AiffInput::name() const
{
    return "AiffInput";
}

const char* AiffInput::extensions() const
{
    return "aif aiff";
}

int AiffInput::sampleFormat() const
{
    switch (settings().bitsPerSample()) {
    case 8: return Signed8;
    case 16: return BigEndianSigned;
    case 24: return Signed24Swapped;
    default: return 0;
    }
}

bool AiffInput::fail()
{
    close();
    return false;
}

bool AiffInput::open(const char* path)
{
    m_info.setDataOffset(0);
    close();
    m_pFile = path ? std::fopen(path, "rb") : nullptr;
    if (!m_pFile)
        return false;
    const qint64 length = ChunkReader::fileLength(m_pFile);
    ChunkReader file(m_pFile, 0, length, ChunkReader::BigEndian);
    ChunkHeader form;
    char type[4];
    if (!file.next(&form) || !form.is("FORM") || std::fread(type, 1, 4, m_pFile) != 4
        || std::memcmp(type, "AIFF", 4) != 0)
        return fail();

    ChunkReader walk(m_pFile, 12, 8 + qint64(form.size) + (form.size & 1), ChunkReader::BigEndian);
    ChunkHeader chunk;
    bool haveData = false;
    qint64 firstSample = 0;
    while (walk.next(&chunk)) {
        // The walk needs more than a bare header before the form's end: an
        // empty chunk in its last 8 bytes is not read.
        if (walk.end() - chunk.start <= 8)
            break;
        if (chunk.is("COMM")) {
            if (!readCommon(chunk))
                return fail();
        } else if (chunk.is("SSND")) {
            quint32 offset = 0;
            if (chunk.available >= 8) {
                offset = quint32(readInt32(m_pFile, true));
                readInt32(m_pFile, true);  // block size
            }
            // The samples start after the offset and end with the chunk or
            // the file.
            haveData = true;
            firstSample = chunk.bodyStart() + 8 + qint64(offset);
            const qint64 size = std::max<qint64>(0, qint64(chunk.size) - 8 - qint64(offset));
            m_info.setDataSize(std::clamp<qint64>(length - firstSample, 0, size));
        } else if (chunk.is("COMT")) {
            readComments(chunk);
        }
    }
    if (!haveData)
        return fail();
    m_info.setDataOffset(firstSample - 4);
    m_info.setNumberOfSamples(m_info.dataSize() / (settings().bitsPerSample() / 8));
    m_nDataEnd = firstSample + m_info.dataSize();
    rewind();
    return true;
}

bool AiffInput::readCommon(const ChunkHeader& chunk)
{
    if (chunk.available < kCommonSize)
        return false;
    Settings& s = settings();
    const int channels = qint16(readInt16(m_pFile, true));
    const quint32 frames = quint32(readInt32(m_pFile, true));
    const int bits = readInt16(m_pFile, true);
    unsigned char extended[10];
    if (std::fread(extended, 1, 10, m_pFile) != 10)
        return false;
    const double rate = std::trunc(ieeeExtendedToDouble(extended));
    s.setChannels(channels);
    s.setBitsPerSample(bits);
    s.setFormat(sampleFormat());
    m_info.setNumberOfSamples(qint64(frames) * channels);
    // An infinite, huge or zero rate, no channels or an unknown width would
    // reach divisions and 32-bit fields later.
    if (!(rate >= 1.0 && rate <= 2147483647.0) || channels < 1 || channels > kMaxChannels
        || !(bits == 8 || bits == 16 || bits == 24 || bits == 32))
        return false;
    s.setSampleRate(qint32(rate));
    return true;
}

void AiffInput::readComments(const ChunkHeader& chunk)
{
    if (chunk.available < 10 || readInt16(m_pFile, true) == 0)
        return;
    readInt32(m_pFile, true);  // time stamp
    readInt16(m_pFile, true);  // marker
    const qint64 n = std::min<qint64>({readInt16(m_pFile, true), chunk.available - 10, kMaxCommentBytes});
    if (n <= 0)
        return;
    QByteArray text(int(n), '\0');
    const qint64 got = ChunkReader::readFilled(m_pFile, text.data(), n);
    m_info.setComment(MTools::fromLatin1Bytes(reinterpret_cast<const uchar*>(text.constData()), int(got)));
}

}  // namespace QMMultiMedia
