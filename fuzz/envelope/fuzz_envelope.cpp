// A peak-envelope cache from outside, met three times: as an envelope file
// loaded directly into an input; as the body of an audio file's cache beside
// a true record of its source, where it may only serve when it describes
// exactly that file (its channels and blocks); and as the record of the
// source beside a true body, where only the exact record of the file may
// let the body serve. Otherwise the samples are scanned again. Either way
// the input then holds one channel of 4 peaks for its 1000 mono frames, and
// the record beside the cache is the true one.
#include "../FuzzCheck.h"
#include "../FuzzFiles.h"
#include "EBUEnvelope.h"
#include "WaveInput.h"

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

std::string g_audio;
std::string g_input;
// The cache that a scan of the audio leaves: the body and the record.
std::string g_body;
std::string g_record;
QByteArray g_trueBody;
QByteArray g_trueRecord;

void writeLe(std::vector<unsigned char>& out, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// 1000 frames of mono 16-bit PCM at 8000 Hz: a slow ramp.
void writeAudio()
{
    std::vector<unsigned char> bytes;
    const uint32_t dataSize = 2000;
    bytes.insert(bytes.end(), {'R', 'I', 'F', 'F'});
    writeLe(bytes, 4 + 24 + 8 + dataSize, 4);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    writeLe(bytes, 16, 4);
    writeLe(bytes, 1, 2);
    writeLe(bytes, 1, 2);
    writeLe(bytes, 8000, 4);
    writeLe(bytes, 16000, 4);
    writeLe(bytes, 2, 2);
    writeLe(bytes, 16, 2);
    bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
    writeLe(bytes, dataSize, 4);
    for (int i = 0; i < 1000; ++i)
        writeLe(bytes, uint32_t(i * 30 - 15000) & 0xFFFF, 2);
    fuzzfiles::write(g_audio, bytes.data(), bytes.size());
}

QByteArray contents(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const std::string& path, const QByteArray& bytes)
{
    fuzzfiles::write(path, reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

void checkPeaks(const QMMultiMedia::PeakVector& peaks)
{
    for (int c = 0; c < peaks.numberOfChannels(); ++c)
        for (int i = 0; i < peaks.numberOfPeaks(); ++i) {
            const QMMultiMedia::Peak& p = peaks.peak(i, c);
            FUZZ_CHECK(p.first >= 0.0f && p.first <= 1.0f && p.second <= 0.0f && p.second >= -1.0f);
        }
}

// An input of the audio asks for its peaks with the cache as it lies.
void checkCachedPeaks()
{
    using namespace QMMultiMedia;
    WaveInput input;
    FUZZ_CHECK(input.openChecked(g_audio.c_str()));
    const Peak* first = input.peak({0, 0, 256.0f});
    FUZZ_CHECK(first && std::isfinite(first->first));
    const MTools::Handle<PeakVector> peaks = input.peakVector();
    FUZZ_CHECK(peaks->numberOfChannels() == 1 && peaks->numberOfPeaks() == 4);
    checkPeaks(*peaks);
    FUZZ_CHECK(contents(g_record) == g_trueRecord);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    g_audio = fuzzfiles::path("take.wav");
    g_input = fuzzfiles::path("input.bef");
    QMMultiMedia::FileInput::setBaseFolder(QString::fromStdString(fuzzfiles::folder()));
    QDir().mkpath(QString::fromStdString(fuzzfiles::path("Envelopes")));
    writeAudio();
    QMMultiMedia::WaveInput input;
    FUZZ_CHECK(input.openChecked(g_audio.c_str()));
    input.buildPeaks();
    g_body = input.envelopeCache().bodyPath().toStdString();
    g_record = input.envelopeCache().recordPath().toStdString();
    g_trueBody = contents(g_body);
    g_trueRecord = contents(g_record);
    FUZZ_CHECK(!g_trueBody.isEmpty() && !g_trueRecord.isEmpty());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace QMMultiMedia;
    fuzzfiles::write(g_input, data, size);
    {
        WaveInput input;
        FUZZ_CHECK(input.openChecked(g_audio.c_str()));
        if (input.loadEnvelope(g_input.c_str())) {
            const MTools::Handle<PeakVector> peaks = input.peakVector();
            FUZZ_CHECK(peaks->numberOfChannels() >= 1 && peaks->numberOfChannels() <= 32);
            FUZZ_CHECK(qint64(peaks->numberOfPeaks()) * peaks->numberOfChannels() * 2 <= qint64(size));
            checkPeaks(*peaks);
        }
    }
    fuzzfiles::write(g_body, data, size);
    writeBytes(g_record, g_trueRecord);
    checkCachedPeaks();
    writeBytes(g_body, g_trueBody);
    fuzzfiles::write(g_record, data, size);
    checkCachedPeaks();
    return 0;
}
