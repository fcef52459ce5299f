#pragma once

#include "LTCData.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// Linear timecode read from one channel of a file input. Construction
// calibrates the bit length on the first ten timecode frames of the file and
// looks, from the last channel down, for the channel that carries timecode
// (one whose calibration block decodes to an LTC sync word). decode() slices
// a channel into a string of "0" and "1" characters (biphase mark: a level
// change at every bit boundary, one more inside a "1"). The list of timecode
// frames comes only from an "LTCC" state file (load), saved with save().
//
// Every failure is one line on the standard error stream and a false or
// invalid answer; sizes from a state file are never trusted for allocation.
namespace QMMultiMedia {

class FileInput;

class LTCDecoder
{
public:
    // The input is read from its current position and left at frame 0; it
    // is not owned and must outlive the decoder. A null input, or one too
    // short for ten timecode frames, leaves the decoder uncalibrated.
    explicit LTCDecoder(FileInput* input);
    virtual ~LTCDecoder();
    LTCDecoder(const LTCDecoder&) = delete;
    LTCDecoder& operator=(const LTCDecoder&) = delete;

    // Appends the bits of the channel, read from frame 0 to the end, each
    // call from a clean start; the bits do not depend on how the reads of
    // the file fall. A channel outside the input's channels is refused.
    void decode(int channel);
    // The frame for an audio frame: the listed frame at it or the next one
    // after it; the invalid frame outside the list (with an error line).
    const LTCData& getLTC(qint32 audioFrame);
    // The audio frame (its low 32 bits, sign-extended) of the first listed
    // frame with this time; -1 when there is none.
    qint64 frameOfTimecode(int hour, int min, int sec, int frame) const;
    bool hasFrames() const { return !m_frames.empty(); }
    const std::vector<LTCData>& frames() const { return m_frames; }
    int channel() const { return m_nChannel; }
    // The frame rate the list counts in: its largest frame number among the
    // first 60 frames, plus one; 0 for an empty list.
    float fps();
    int samplesPerBit() const { return m_nSamplesPerBit; }
    const QString& bits() const { return m_strBits; }

    // The "LTCC" state file: magic, a signed 32-bit count and 14-byte
    // records, little-endian. save writes the list (not when empty) and
    // keeps the file and the list as they were when a write fails; load
    // replaces the list by the records present.
    bool save(const char* path);
    bool load(const char* path);

    void dumpInfo() const;

private:
    float slice(float x);
    void calibrate(std::vector<float>& block);
    bool carriesTimecode(const std::vector<float>& block);

    qint32 m_nSamplesPerBit = 0;
    float m_fPreviousLevel = 0.0f;
    QString m_strBits;
    float m_fHoldLevel = 0.0f;
    FileInput* m_pInput;
    std::vector<LTCData> m_frames;
    LTCData m_invalidFrame;
    float m_fThreshold = 0.1f;
    float m_fMaxFrameNumber = 0.0f;
    qint32 m_nCalibrationLength = 0;
    qint32 m_nChannel = -1;
};

}  // namespace QMMultiMedia
