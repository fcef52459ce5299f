// Opens an audio file that has no peak envelope and builds its waveform
// peaks, as a waveform view does the first time it shows a file: the
// general input finds the reader, one pass over the samples gives the peaks
// of every channel, and the envelope cache is written.
//
//   audiofile-read-bench FILE
//
// The cache goes to a fresh temporary folder, so every run scans. Prints the
// time from construction to the peaks, and how many bytes the process read
// (from /proc/self/io) against the file's size.
#include "GeneralFileInput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The bytes this process has read so far (read, pread and friends).
qint64 bytesRead()
{
    QFile io("/proc/self/io");
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    QTemporaryDir cacheFolder;
    QMMultiMedia::FileInput::setBaseFolder(cacheFolder.path());

    const qint64 before = bytesRead();
    QElapsedTimer timer;
    timer.start();
    QMMultiMedia::GeneralFileInput input;
    if (!input.openChecked(argv[1], true)) {
        std::fprintf(stderr, "%s: not a WAV or AIFF file this library reads\n", argv[1]);
        return 1;
    }
    const QMMultiMedia::Peak first = *input.peak({0, 0, 512.0f});
    const qint64 ms = timer.elapsed();
    const qint64 read = bytesRead() - before;

    const qint64 size = QFileInfo(QFile::decodeName(argv[1])).size();
    const MTools::Handle<QMMultiMedia::PeakVector> peaks = input.peakVector();
    std::printf("%s: %d channels, %d bits, %d Hz; %d peaks per channel in %lld ms; read %lld of %lld bytes "
                "(%.3f times the file); first peak (%.4f, %.4f)\n",
                argv[1], input.channels(), input.bitsPerSample(), input.sampleRate(), peaks->numberOfPeaks(),
                static_cast<long long>(ms), static_cast<long long>(read), static_cast<long long>(size),
                size > 0 ? double(read) / double(size) : 0.0, double(first.first), double(first.second));
    return 0;
}
