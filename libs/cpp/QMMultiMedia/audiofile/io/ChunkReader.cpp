#include "ChunkReader.h"

#include <algorithm>
#include <cstring>

namespace QMMultiMedia {

bool ChunkHeader::is(const char* tag) const
{
    return std::memcmp(id, tag, 4) == 0;
}

ChunkReader::ChunkReader(FILE* file, qint64 begin, qint64 end, ByteOrder order)
    : m_pFile(file),
      m_order(order),
      m_nCursor(std::max<qint64>(begin, 0)),
      m_nEnd(std::min(end, fileLength(file)))
{
}

bool ChunkReader::next(ChunkHeader* pHeader)
{
    if (!m_pFile || m_nCursor < 0 || m_nEnd - m_nCursor < 8)
        return false;
    if (fseeko(m_pFile, off_t(m_nCursor), SEEK_SET) != 0)
        return false;
    unsigned char b[8];
    if (std::fread(b, 1, 8, m_pFile) != 8)
        return false;
    ChunkHeader header;
    std::memcpy(header.id, b, 4);
    header.size = m_order == LittleEndian
        ? (quint32(b[7]) << 24) | (quint32(b[6]) << 16) | (quint32(b[5]) << 8) | b[4]
        : (quint32(b[4]) << 24) | (quint32(b[5]) << 16) | (quint32(b[6]) << 8) | b[7];
    header.start = m_nCursor;
    header.available = std::max<qint64>(0, std::min<qint64>(header.size, m_nEnd - header.bodyStart()));
    if (m_nLevlPosition < 0 && header.is("levl"))
        m_nLevlPosition = header.start;
    // At least the 8 header bytes each step: the walk cannot stand still or
    // go back, whatever the size says.
    m_nCursor = header.paddedEnd();
    *pHeader = header;
    return true;
}

qint64 ChunkReader::fileLength(FILE* file)
{
    if (!file)
        return -1;
    const off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0)
        return -1;
    const off_t length = ftello(file);
    fseeko(file, here, SEEK_SET);
    return qint64(length);
}

qint64 ChunkReader::bytesLeft(FILE* file)
{
    if (!file)
        return 0;
    const off_t here = ftello(file);
    const qint64 length = fileLength(file);
    return here < 0 || length < 0 ? 0 : std::max<qint64>(0, length - here);
}

qint64 ChunkReader::readFilled(FILE* file, void* buffer, qint64 count)
{
    if (count <= 0)
        return 0;
    const size_t n = file ? std::fread(buffer, 1, size_t(count), file) : 0;
    std::memset(static_cast<char*>(buffer) + n, 0, size_t(count) - n);
    return qint64(n);
}

}  // namespace QMMultiMedia
