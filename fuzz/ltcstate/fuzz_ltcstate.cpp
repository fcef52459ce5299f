// A timecode state file ("LTCC") from outside: loaded without trusting its
// count, looked up at and around every listed frame, its frame rate and
// times asked for, then saved and loaded again, which must give the same
// list.
#include "LTCDecoder.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string g_folder;
std::string g_input;
std::string g_copy;

void removeFiles()
{
    std::remove(g_input.c_str());
    std::remove(g_copy.c_str());
    rmdir(g_folder.c_str());
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

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
    char folder[] = "/tmp/fuzz-ltcstate-XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    g_folder = folder;
    g_input = g_folder + "/input";
    g_copy = g_folder + "/copy";
    std::atexit(removeFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(g_input.c_str(), "wb");
    if (!file)
        std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    using namespace QMMultiMedia;
    LTCDecoder decoder(nullptr);
    if (!decoder.load(g_input.c_str()))
        return 0;
    const std::vector<LTCData>& frames = decoder.frames();
    check(frames.size() <= size / 14);
    for (const LTCData& d : frames) {
        const qint32 a = qint32(d.audioFrame());
        for (qint32 at : {a, qint32(quint32(a) - 1), qint32(quint32(a) + 1)}) {
            // A listed frame, or the invalid one.
            const LTCData* found = &decoder.getLTC(at);
            check((found >= frames.data() && found < frames.data() + frames.size())
                  || (!found->isValid() && found->audioFrame() == -1));
        }
        decoder.frameOfTimecode(d.hour(), d.min(), d.sec(), d.frame());
        d.timecodeText(decoder.fps(), true);
    }
    if (!decoder.hasFrames())
        return 0;
    check(decoder.save(g_copy.c_str()));
    LTCDecoder back(nullptr);
    check(back.load(g_copy.c_str()));
    check(back.frames().size() == decoder.frames().size());
    for (size_t i = 0; i < back.frames().size(); ++i)
        check(same(back.frames()[i], decoder.frames()[i]));
    return 0;
}
