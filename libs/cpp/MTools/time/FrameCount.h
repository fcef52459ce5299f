#pragma once

#include "Timecode.h"

#include <QString>
#include <QtGlobal>

namespace MTools {

// A 64-bit frame count with the frame rate it is counted in, convertible to
// and from SMPTE timecode (hours, minutes, seconds, frames) and its packed BCD
// word. 29.97 and 23.98 (exactly 29.97f and 23.98f) count in drop frame;
// 2:3 pulldown maps 24 fps film frames to 30 fps video frames in four phases.
//
// Rates: a rate that is not finite or whose magnitude is below 1 counts as 0
// (empty text, four zero fields, the invalid count INT64_MIN); any other rate
// is used by its magnitude, whole-number rates truncated (59.94 counts 59).
// Counts are taken in their low 32 bits and wrap at a day.
//
// Errors never throw: they go to the debug stream as
// "unexpected ERROR in ..\..\..\..\libs\cpp\MTools\FrameCount:<line>" (or
// their own text) and the operation gives a neutral result.
class FrameCount
{
public:
    // The unset count INT64_MIN at 30 fps, valid.
    FrameCount();
    FrameCount(qint64 frames, float fps);
    ~FrameCount();
    FrameCount(const FrameCount& other);
    FrameCount& operator=(const FrameCount& other);

    // Stores the count and marks it known; a cached packed timecode is dropped.
    void setFrameCount(qint64 frames);
    // The unset count at 30 fps, marked unknown; a packed timecode stays.
    void clear();
    // -1 (and an error message) when the count is unknown.
    qint64 frameCount() const;

    bool operator==(const FrameCount& other) const;
    // False (and an error message) when either count is unknown.
    bool operator>(const FrameCount& other) const;
    bool operator<(const FrameCount& other) const;

    // The timecode of the count. wholeDay lets exactly one day read
    // 24:00:00:00. With pulldown the frames field is the 30 fps video frame
    // of the film frame at phase 1..4, moved by frameOffset with carry.
    void timecodeFromFrameCount(int& hours, int& minutes, int& seconds, int& frames, bool wholeDay = false,
                                int frameOffset = 0, bool pulldown = false, int phase = 0) const;
    // The count of a timecode at this value's rate, as a signed 32-bit sum.
    // With pulldown, frames is a video frame 0..29 whose film field (0 or 1,
    // -1 before film frame 0) goes to *field when given; a video frame or
    // phase outside the tables gives INT64_MIN.
    qint64 frameCountFromTimecode(int hours, int minutes, int seconds, int frames, bool pulldown = false,
                                  int phase = 0, int* field = nullptr) const;
    void setFromTimecode(int hours, int minutes, int seconds, int frames, float fps, bool pulldown = false,
                         int phase = 0, int* field = nullptr);
    // Reads a packed BCD timecode. fps is kept when it is 23.98, 24, 25, 29.97
    // or 30, except that the drop rates without the word's drop-frame bit
    // become 24 and 30; any other rate becomes 30.
    void setFromSmpte(quint32 packed, float fps, bool pulldown = false, int phase = 0, int* field = nullptr);
    void setFromSmpte(float fps, quint32 packed, bool pulldown = false, int phase = 0, int* field = nullptr);
    // "HH?MM?SS?FF" (exactly 11 characters, separators not examined, each
    // field read as far as it has digits); INT64_MIN for any other length.
    qint64 frameCountFromString(const QString& text, bool pulldown = false, int phase = 0) const;

    // The packed BCD timecode: the one read or cached, else computed and
    // cached; 0 (and a debug message) when the count is unknown. Words written
    // at a drop rate carry the drop-frame bit, so they read back to the same
    // rate and count.
    quint32 smpteTimecode();
    void computeSmpte();

    // The count at another rate (rounded half up, then truncated); the stored
    // rate is made positive first. INT64_MIN when the stored rate counts as 0
    // or the count is unknown (with an error message).
    qint64 frameCountAtRate(float rate);
    // Converts the count to the rate and keeps it.
    void setFrameRate(float rate);

    QString formatTimecode(int hours, int minutes, int seconds, int frames, bool dropFrame) const;
    // HH:MM:SS:FF, or HH;MM;SS;FF at the drop rates; empty when the rate
    // counts as 0.
    QString toTimecodeString(bool wholeDay = false, bool pulldown = false, int phase = 0,
                             bool rateMark = false) const;
    // "frame = <count>" on the debug stream when the count is known.
    void printDebug() const;

private:
    qint64 m_nFrames;
    bool m_bValid;
    float m_fFps;
    quint32 m_nSmpte;
    bool m_bHasSmpte;
};

}  // namespace MTools
