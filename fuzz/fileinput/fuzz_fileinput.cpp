// An audio file from outside, opened by the general input (WAV first, then
// AIFF) and used as a waveform view would: every sample read, peaks at every
// kind of zoom (from the file's own envelope, or a scan that writes the
// cache), timecode texts, and the timecode decoder's calibration and
// decoding. What opens must be sane: 1 to 32 channels, 8 to 32 bits, a
// positive rate, samples within the file and in [-1, 1], one peak per block.
#include "../FuzzCheck.h"
#include "../FuzzFiles.h"
#include "GeneralFileInput.h"
#include "LTCDecoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string g_input;

void readEverything(QMMultiMedia::FileInput& input, qint64 fileSize)
{
    const int c = input.channels();
    const qint64 samples = input.fileInfo()->numberOfSamples();
    FUZZ_CHECK(samples >= 0 && samples <= fileSize);
    std::vector<float> block(size_t(c) * 1000);
    qint64 total = 0;
    int n;
    while ((n = input.read(block.data(), int(block.size()))) > 0) {
        for (int i = 0; i < n; ++i)
            FUZZ_CHECK(block[size_t(i)] >= -1.0f && block[size_t(i)] <= 1.0f);
        total += n;
        FUZZ_CHECK(total <= samples);
    }
    FUZZ_CHECK(total == samples);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    g_input = fuzzfiles::path("input");
    QMMultiMedia::FileInput::setBaseFolder(QString::fromStdString(fuzzfiles::folder()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzfiles::write(g_input, data, size);

    using namespace QMMultiMedia;
    GeneralFileInput input;
    if (!input.openChecked(g_input.c_str(), true))
        return 0;
    const int c = input.channels();
    const int bits = input.bitsPerSample();
    FUZZ_CHECK(c >= 1 && c <= 32);
    FUZZ_CHECK(bits == 8 || bits == 16 || bits == 24 || bits == 32);
    FUZZ_CHECK(input.sampleRate() > 0);
    // Samples lie inside the file (an offset may point past it: then none).
    const FileInfo* info = input.fileInfo();
    FUZZ_CHECK(info->dataSize() == 0 || info->dataOffset() + 4 + info->dataSize() <= qint64(size));
    readEverything(input, qint64(size));

    const qint64 frames = input.fileInfo()->numberOfSamples() / c;
    for (float scale : {512.0f, 256.0f, 100.0f, 1.0f, 0.5f}) {
        for (int index : {0, 1, int(frames / 300), -1}) {
            const Peak* p = input.peak({index, int(frames % c), scale});
            FUZZ_CHECK(p && std::isfinite(p->first) && std::isfinite(p->second));
        }
    }
    const MTools::Handle<PeakVector> peaks = input.peakVector();
    FUZZ_CHECK(peaks->numberOfChannels() >= 1 && peaks->numberOfChannels() <= 32);
    input.durationTimecode();
    input.endTimecode();
    input.ltcText(0, false);
    input.ltcChannel();

    // The decoder on the input itself, decoding every channel it has.
    LTCDecoder decoder(&input);
    if (decoder.samplesPerBit() > 0)
        decoder.decode(c - 1);
    FUZZ_CHECK(decoder.bits().size() <= input.fileInfo()->numberOfSamples());
    // The next input takes the same path: no cache of this one may remain.
    QFile::remove(input.envelopeCache().bodyPath());
    QFile::remove(input.envelopeCache().recordPath());
    return 0;
}
