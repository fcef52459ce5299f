#pragma once

#include <QtGlobal>

#include <cstdio>

// Walks the chunks of a RIFF or IFF file without trusting their sizes: sizes
// are unsigned, positions 64-bit, every body is limited to the bytes present,
// and each step goes to the padded end of the chunk measured from its start,
// so a walk always moves forward and ends at the end of its range. Used by the
// broadcast-wave metadata and envelope loaders and by the file readers.
namespace QMMultiMedia {

struct ChunkHeader
{
    char id[4] = {0, 0, 0, 0};
    quint32 size = 0;      // as the header states it
    qint64 start = 0;      // file position of the 8-byte header
    qint64 available = 0;  // body bytes present: the size cut at the end of the range

    bool is(const char* tag) const;
    qint64 bodyStart() const { return start + 8; }
    // Where the next chunk starts: bodies of odd size carry a pad byte.
    qint64 paddedEnd() const { return bodyStart() + qint64(size) + (size & 1); }
};

class ChunkReader
{
public:
    enum ByteOrder { LittleEndian, BigEndian };

    // The walk covers [begin, end); end is cut at the file's length.
    ChunkReader(FILE* file, qint64 begin, qint64 end, ByteOrder order = LittleEndian);

    // Reads the next header and leaves the stream at the start of its body.
    // False at the end of the range, when fewer than 8 bytes are left for a
    // header, or when a read or seek fails.
    bool next(ChunkHeader* pHeader);

    qint64 end() const { return m_nEnd; }
    // The position of the first "levl" header the walk passed, -1 when none.
    qint64 levlPosition() const { return m_nLevlPosition; }

    // The file's length in bytes (the stream's position is kept); -1 on error.
    static qint64 fileLength(FILE* file);
    // Bytes from the stream's position to the end of the file, at least 0.
    static qint64 bytesLeft(FILE* file);
    // Reads up to count bytes; the bytes a short read leaves are set to 0.
    // Answers the number read.
    static qint64 readFilled(FILE* file, void* buffer, qint64 count);

private:
    FILE* m_pFile;
    ByteOrder m_order;
    qint64 m_nCursor;
    qint64 m_nEnd;
    qint64 m_nLevlPosition = -1;
};

}  // namespace QMMultiMedia
