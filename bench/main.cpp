// zintrop-bench [--colors N] [--no-dither] [--gray] [--resize P] IN_DIR OUT_DIR
//
// Runs the per-file optimiser step on every PNG file directly in IN_DIR and
// writes OUT_DIR/<same name>. One line per file, then a summary line.

#include "FilePipeline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <future>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zintrop-bench"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Colour-reduces every PNG file of IN_DIR into OUT_DIR and times each step."));
    parser.addHelpOption();
    const QCommandLineOption colorsOption(QStringLiteral("colors"), QStringLiteral("Number of colours, 1 to 256 (default 256)."), QStringLiteral("N"), QStringLiteral("256"));
    const QCommandLineOption noDitherOption(QStringLiteral("no-dither"), QStringLiteral("Map to the nearest palette colour without dithering."));
    const QCommandLineOption grayOption(QStringLiteral("gray"), QStringLiteral("Turn the pictures grey first."));
    const QCommandLineOption resizeOption(QStringLiteral("resize"), QStringLiteral("Scale to P percent first, 1 to 100 (default 100)."), QStringLiteral("P"), QStringLiteral("100"));
    parser.addOptions({colorsOption, noDitherOption, grayOption, resizeOption});
    parser.addPositionalArgument(QStringLiteral("IN_DIR"), QStringLiteral("Folder of PNG files."));
    parser.addPositionalArgument(QStringLiteral("OUT_DIR"), QStringLiteral("Folder for the results (created when missing)."));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    bool bColorsOk = false, bResizeOk = false;
    PipelineOptions options;
    options.nColors = parser.value(colorsOption).toInt(&bColorsOk);
    options.nResizePercent = parser.value(resizeOption).toInt(&bResizeOk);
    options.bDithering = !parser.isSet(noDitherOption);
    options.bGray = parser.isSet(grayOption);
    if (args.size() != 2 || !bColorsOk || options.nColors < 1 || options.nColors > 256
        || !bResizeOk || options.nResizePercent < 1 || options.nResizePercent > 100) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        return 2;
    }

    const QDir inDir(args[0]);
    if (!inDir.exists()) {
        std::fprintf(stderr, "zintrop-bench: no such folder: %s\n", qPrintable(args[0]));
        return 2;
    }
    if (!QDir().mkpath(args[1])) {
        std::fprintf(stderr, "zintrop-bench: cannot create %s\n", qPrintable(args[1]));
        return 2;
    }
    const QDir outDir(args[1]);
    const QStringList files = inDir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name | QDir::IgnoreCase);

    std::printf("%-48s %9s %8s %8s %8s %11s %11s\n", "file", "MP", "dec ms", "red ms", "enc ms", "bytes in", "bytes out");
    std::fflush(stdout);
    qint64 nPixels = 0, nBytesIn = 0, nBytesOut = 0;
    int nFiles = 0, nFailures = 0;
    auto report = [&](const QString& strName, const PipelineResult& r) {
        ++nFiles;
        if (!r.bOk) {
            ++nFailures;
            std::printf("%-48s FAILED: %s\n", qPrintable(strName), qPrintable(r.strError));
        } else {
            nPixels += r.nPixels;
            nBytesIn += r.nBytesIn;
            nBytesOut += r.nBytesOut;
            std::printf("%-48s %9.3f %8lld %8lld %8lld %11lld %11lld%s\n", qPrintable(strName), r.nPixels / 1e6,
                        r.nDecodeMs, r.nReduceMs, r.nEncodeMs, r.nBytesIn, r.nBytesOut,
                        r.bKeptSource ? " (source kept)" : "");
        }
        std::fflush(stdout);
    };

    QElapsedTimer total;
    total.start();
    // Files are reduced one after the other, as the batch does; the next file
    // is read and decoded meanwhile (at most one waits), which hides the
    // decoding behind the compression. ZINTROP_BENCH_SERIAL=1 turns that off.
    const bool bSerial = qEnvironmentVariableIntValue("ZINTROP_BENCH_SERIAL") != 0;
    std::future<LoadedFile> next;
    for (int i = 0; i < files.size(); ++i) {
        LoadedFile file = next.valid() ? next.get()
                                       : loadFile(inDir.filePath(files[i]), outDir.filePath(files[i]), options);
        if (!bSerial && i + 1 < files.size()) {
            next = std::async(std::launch::async, loadFile, inDir.filePath(files[i + 1]),
                              outDir.filePath(files[i + 1]), options);
        }
        report(files[i], finishFile(std::move(file), options));
    }
    const double fSeconds = total.nsecsElapsed() / 1e9;
    std::printf("summary: files %d, megapixels %.3f, seconds %.3f, megapixels/s %.3f, bytes in %lld, bytes out %lld, failures %d\n",
                nFiles, nPixels / 1e6, fSeconds, fSeconds > 0 ? nPixels / 1e6 / fSeconds : 0.0, nBytesIn, nBytesOut, nFailures);
    return nFailures > 0 ? 1 : 0;
}
