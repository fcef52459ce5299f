#pragma once

#include "ChunkReader.h"
#include "FileInput.h"

// Reads AIFF files ("FORM"/"AIFF", every number big-endian): the "COMM"
// chunk (1 to 32 channels, 8, 16, 24 or 32 bits, an 80-bit extended sample
// rate from 1 to 2^31 - 1), the "SSND" samples after their offset (cut at
// the end of the file) and the first comment of a "COMT" chunk. A file
// without "SSND" is refused; one without "COMM" keeps the default Settings.
namespace QMMultiMedia {

class AiffInput : public FileInput
{
public:
    AiffInput();
    ~AiffInput() override;

    bool open(const char* path) override;
    // 64 for 8 bits, 32 for 16, 4096 for 24, else 0.
    int sampleFormat() const override;
    const char* name() const override;
    const char* extensions() const override;

private:
    bool fail();
    bool readCommon(const ChunkHeader& chunk);
    void readComments(const ChunkHeader& chunk);
};

}  // namespace QMMultiMedia
