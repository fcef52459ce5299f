#pragma once

#include "ChunkReader.h"
#include "FileInput.h"

// Reads RIFF/WAVE files, broadcast-wave files included: integer PCM ("fmt "
// format tag 1) of 1 to 32 channels at 8, 16, 24 or 32 bits and a positive
// rate, the "data" samples (cut at the end of the file), the comment of a
// "LIST"/"INFO"/"ICMT" chunk (UTF-8, or Latin-1 when its bytes are not UTF-8:
// see WaveComment.h), the "bext" record and the "levl" envelope header.
// Only the first "fmt ", "data" and "levl" count. Other tags (floating
// point, WAVE_FORMAT_EXTENSIBLE, compressed data) are refused, as is a file
// without "data". A file without "fmt " keeps the default Settings.
namespace QMMultiMedia {

class WaveInput : public FileInput
{
public:
    WaveInput();
    ~WaveInput() override;

    bool open(const char* path) override;
    // The code of the Settings' format field and bits: the walk stores the
    // code in the field, so asking again after an open maps the code itself
    // (and answers 0).
    int sampleFormat() const override;
    const char* name() const override;
    const char* extensions() const override;

private:
    bool fail();
    bool readFormat(const ChunkHeader& chunk);
    bool readList(const ChunkHeader& chunk);

    ChunkHeader m_chunk;
    char m_formType[4] = {0, 0, 0, 0};
};

}  // namespace QMMultiMedia
