// Timecode arrives from outside as text ("HH:MM:SS:FF" typed or stored), as
// packed BCD words and frame rates read from audio files: any of them, with
// any options, must give a timecode within its ranges and never read outside
// the pulldown tables or loop.
//
// Input layout (missing bytes count 0): float fps, one flag byte (wholeDay,
// pulldown, rateMark), signed phase byte, int32 frame offset, uint32 packed
// word, int64 count, then the text as Latin-1.
#include "FrameCount.h"

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

template<typename T>
T take(const uint8_t*& data, size_t& size)
{
    T value{};
    const size_t n = size < sizeof(T) ? size : sizeof(T);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

void checkFields(const MTools::FrameCount& value, bool wholeDay, int offset, bool pulldown, int phase)
{
    int h, m, s, f;
    value.timecodeFromFrameCount(h, m, s, f, wholeDay, offset, pulldown, phase);
    if (h < 0 || h > 24 || m < 0 || m > 59 || s < 0 || s > 59 || f < 0)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const float fps = take<float>(data, size);
    const uint8_t flags = take<uint8_t>(data, size);
    const int phase = take<int8_t>(data, size);
    const int offset = take<int32_t>(data, size);
    const uint32_t packed = take<uint32_t>(data, size);
    const int64_t count = take<int64_t>(data, size);
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), int(size));
    const bool wholeDay = flags & 1, pulldown = flags & 2, rateMark = flags & 4;

    MTools::FrameCount value(count, fps);
    checkFields(value, wholeDay, offset, pulldown, phase);
    const QString timecode = value.toTimecodeString(wholeDay, pulldown, phase, rateMark);
    if (timecode.size() > 4 * 11 + 3)
        std::abort();
    value.frameCountFromString(text, pulldown, phase);
    value.frameCountAtRate(fps * 2);
    value.smpteTimecode();

    MTools::FrameCount read;
    int field = 0;
    read.setFromSmpte(packed, fps, pulldown, phase, &field);
    checkFields(read, wholeDay, offset, pulldown, phase);
    read.toTimecodeString(wholeDay, pulldown, phase, rateMark);
    read.setFromTimecode(int(count), int(count >> 32), offset, phase, fps, pulldown, phase, &field);
    checkFields(read, wholeDay, offset, pulldown, phase);
    return 0;
}
