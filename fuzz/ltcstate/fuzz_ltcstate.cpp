// A timecode state file ("LTCC") from outside: loaded without trusting its
// count, looked up at and around every listed frame, its frame rate and
// times asked for, then saved and loaded again, which must give the same
// list.
#include "../FuzzCheck.h"
#include "../FuzzFiles.h"
#include "LTCDecoder.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string g_input;
std::string g_copy;

bool same(const QMMultiMedia::LTCData& a, const QMMultiMedia::LTCData& b)
{
    return a.isValid() == b.isValid() && a.audioFrame() == b.audioFrame() && a.hour() == b.hour()
        && a.min() == b.min() && a.sec() == b.sec() && a.frame() == b.frame() && a.isDrop() == b.isDrop()
        && a.userByte(0) == b.userByte(0) && a.userByte(1) == b.userByte(1) && a.userByte(2) == b.userByte(2)
        && a.userByte(3) == b.userByte(3);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    g_input = fuzzfiles::path("input");
    g_copy = fuzzfiles::path("copy");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzfiles::write(g_input, data, size);

    using namespace QMMultiMedia;
    LTCDecoder decoder(nullptr);
    if (!decoder.load(g_input.c_str()))
        return 0;
    const std::vector<LTCData>& frames = decoder.frames();
    FUZZ_CHECK(frames.size() <= size / 14);
    for (const LTCData& d : frames) {
        const qint32 a = qint32(d.audioFrame());
        for (qint32 at : {a, qint32(quint32(a) - 1), qint32(quint32(a) + 1)}) {
            // A listed frame, or the invalid one.
            const LTCData* found = &decoder.getLTC(at);
            FUZZ_CHECK((found >= frames.data() && found < frames.data() + frames.size())
                  || (!found->isValid() && found->audioFrame() == -1));
        }
        decoder.frameOfTimecode(d.hour(), d.min(), d.sec(), d.frame());
        d.timecodeText(decoder.fps(), true);
    }
    if (!decoder.hasFrames())
        return 0;
    FUZZ_CHECK(decoder.save(g_copy.c_str()));
    LTCDecoder back(nullptr);
    FUZZ_CHECK(back.load(g_copy.c_str()));
    FUZZ_CHECK(back.frames().size() == decoder.frames().size());
    for (size_t i = 0; i < back.frames().size(); ++i)
        FUZZ_CHECK(same(back.frames()[i], decoder.frames()[i]));
    return 0;
}
