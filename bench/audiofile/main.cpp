// Writes a broadcast-wave file from float samples the way a recorder would:
// blocks of 0.1 s handed to WaveOutput, which converts them to the stored
// width, gathers the peak envelope and appends it on close.
//
//   audiofile-bench OUT.wav [SECONDS] [BITS] [CHANNELS] [RATE]
//
// Defaults: 600 s, 24 bits, 2 channels, 48000 Hz. Prints the time spent in
// the writer (construction to close) and the size written.
#include "EBUInfo.h"
#include "WaveOutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("audiofile-bench");
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.wav [SECONDS] [BITS] [CHANNELS] [RATE]\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 600;
    const int bits = argc > 3 ? std::atoi(argv[3]) : 24;
    const int channels = argc > 4 ? std::atoi(argv[4]) : 2;
    const int rate = argc > 5 ? std::atoi(argv[5]) : 48000;
    if (seconds <= 0 || channels <= 0 || rate <= 0) {
        std::fprintf(stderr, "bad arguments\n");
        return 2;
    }

    // One second of a swept tone with some noise, prepared before timing;
    // written again and again in blocks of a tenth of a second.
    const int frames = rate;
    std::vector<float> second(size_t(frames) * channels);
    unsigned noise = 12345;
    for (int f = 0; f < frames; ++f) {
        const double t = double(f) / rate;
        for (int c = 0; c < channels; ++c) {
            noise = noise * 1103515245u + 12345u;
            const double n = double((noise >> 9) & 0xFFFF) / 65536.0 - 0.5;
            second[size_t(f) * channels + c] =
                float(0.7 * std::sin(2 * M_PI * (220.0 + 110.0 * c) * t * (1.0 + t)) + 0.05 * n);
        }
    }
    const int block = rate / 10;

    QElapsedTimer timer;
    timer.start();
    bool ok;
    {
        QMMultiMedia::WaveOutput out(QFile::encodeName(path).constData(),
                                     QMMultiMedia::Settings(rate, channels, QMMultiMedia::LittleEndianSigned, bits),
                                     QString(), MTools::Handle<QMMultiMedia::EBUInfo>(), true);
        ok = true;
        for (int s = 0; s < seconds && ok; ++s)
            for (int b = 0; b + block <= frames && ok; b += block)
                ok = out.write(second.data() + size_t(b) * channels, block * channels);
        ok = out.close() && ok;
    }
    const qint64 ms = timer.elapsed();
    std::printf("wrote %s: %d s, %d channels, %d bits, %d Hz, %lld bytes in %lld ms%s\n", argv[1], seconds,
                channels, bits, rate, static_cast<long long>(QFileInfo(path).size()), static_cast<long long>(ms),
                ok ? "" : " (FAILED)");
    return ok ? 0 : 1;
}
