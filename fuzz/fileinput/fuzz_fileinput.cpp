// An audio file from outside, opened by the general input (WAV first, then
// AIFF) and used as a waveform view would: every sample read, peaks at every
// kind of zoom (from the file's own envelope, or a scan that writes the
// cache), timecode texts, and the timecode decoder's calibration and
// decoding. What opens must be sane: 1 to 32 channels, 8 to 32 bits, a
// positive rate, samples within the file and in [-1, 1], one peak per block.
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

std::string g_folder;
std::string g_input;

void removeFiles()
{
    QDir(QString::fromStdString(g_folder)).removeRecursively();
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void readEverything(QMMultiMedia::FileInput& input, qint64 fileSize)
{
    const int c = input.channels();
    const qint64 samples = input.fileInfo()->numberOfSamples();
    check(samples >= 0 && samples <= fileSize);
    std::vector<float> block(size_t(c) * 1000);
    qint64 total = 0;
    int n;
    while ((n = input.read(block.data(), int(block.size()))) > 0) {
        for (int i = 0; i < n; ++i)
            check(block[size_t(i)] >= -1.0f && block[size_t(i)] <= 1.0f);
        total += n;
        check(total <= samples);
    }
    check(total == samples);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    char folder[] = "/tmp/fuzz-fileinput-XXXXXX";
    if (!mkdtemp(folder))
        std::abort();
    g_folder = folder;
    g_input = g_folder + "/input";
    QMMultiMedia::FileInput::setBaseFolder(QString::fromStdString(g_folder));
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
    GeneralFileInput input;
    if (!input.openChecked(g_input.c_str(), true))
        return 0;
    const int c = input.channels();
    const int bits = input.bitsPerSample();
    check(c >= 1 && c <= 32);
    check(bits == 8 || bits == 16 || bits == 24 || bits == 32);
    check(input.sampleRate() > 0);
    // Samples lie inside the file (an offset may point past it: then none).
    const FileInfo* info = input.fileInfo();
    check(info->dataSize() == 0 || info->dataOffset() + 4 + info->dataSize() <= qint64(size));
    readEverything(input, qint64(size));

    const qint64 frames = input.fileInfo()->numberOfSamples() / c;
    for (float scale : {512.0f, 256.0f, 100.0f, 1.0f, 0.5f}) {
        for (int index : {0, 1, int(frames / 300), -1}) {
            const Peak* p = input.peak({index, int(frames % c), scale});
            check(p && std::isfinite(p->first) && std::isfinite(p->second));
        }
    }
    const MTools::Handle<PeakVector> peaks = input.peakVector();
    check(peaks->numberOfChannels() >= 1 && peaks->numberOfChannels() <= 32);
    input.durationTimecode();
    input.endTimecode();
    input.ltcText(0, false);
    input.ltcChannel();

    // The decoder on the input itself, decoding every channel it has.
    LTCDecoder decoder(&input);
    if (decoder.samplesPerBit() > 0)
        decoder.decode(c - 1);
    check(decoder.bits().size() <= input.fileInfo()->numberOfSamples());
    QFile::remove(input.envelopeFileName());
    return 0;
}
