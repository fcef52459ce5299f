// zintrop-bench [--colors N] [--no-dither] [--gray] [--resize P] IN_DIR OUT_DIR
//
// Runs the batch worker's own per-file step (OptimizeStep) on every PNG file
// directly in IN_DIR and writes OUT_DIR/<same name>. One line per file, then a
// summary line.

#include "OptimizeStep.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

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
    OptimizeStep::Options options;
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
    // The step never replaces a file, so earlier results are removed first;
    // in the input folder that would remove the sources.
    if (QFileInfo(args[0]).canonicalFilePath() == QFileInfo(args[1]).canonicalFilePath()) {
        std::fprintf(stderr, "zintrop-bench: OUT_DIR must differ from IN_DIR\n");
        return 2;
    }
    const QDir outDir(args[1]);
    const QStringList files = inDir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name | QDir::IgnoreCase);

    std::printf("%-48s %9s %8s %8s %8s %11s %11s\n", "file", "MP", "dec ms", "red ms", "enc ms", "bytes in", "bytes out");
    std::fflush(stdout);
    qint64 nPixels = 0, nBytesIn = 0, nBytesOut = 0;
    int nFiles = 0, nFailures = 0;
    auto report = [&](const QString& strName, const OptimizeStep::Result& r) {
        ++nFiles;
        // An unreadable file is copied unchanged by the step; here it counts as failed.
        if (r.outcome == OptimizeStep::Outcome::Failed || !r.strError.isEmpty()) {
            ++nFailures;
            std::printf("%-48s FAILED: %s\n", qPrintable(strName), qPrintable(r.strError));
        } else {
            const qint64 nFilePixels = qint64(r.sizePixels.width()) * r.sizePixels.height();
            nPixels += nFilePixels;
            nBytesIn += r.nInputSize;
            nBytesOut += r.nOutputSize;
            std::printf("%-48s %9.3f %8lld %8lld %8lld %11lld %11lld%s\n", qPrintable(strName), nFilePixels / 1e6,
                        qint64(r.dReadMs + r.dDecodeMs), qint64(r.dReduceMs), qint64(r.dEncodeMs + r.dWriteMs),
                        r.nInputSize, r.nOutputSize,
                        r.outcome == OptimizeStep::Outcome::SourceKept ? " (source kept)" : "");
        }
        std::fflush(stdout);
    };

    QElapsedTimer total;
    total.start();
    // Files are reduced one after the other, as the batch does, through the
    // worker's step and its lookahead: the next file is read and decoded
    // meanwhile. ZINTROP_BENCH_SERIAL=1 turns the lookahead off.
    const bool bSerial = qEnvironmentVariableIntValue("ZINTROP_BENCH_SERIAL") != 0;
    OptimizeStep::Lookahead lookahead;
    for (int i = 0; i < files.size(); ++i) {
        const QString strOutPath = outDir.filePath(files[i]);
        QFile::remove(strOutPath);
        const QString strNext = !bSerial && i + 1 < files.size() ? inDir.filePath(files[i + 1]) : QString();
        report(files[i], OptimizeStep::run(inDir.filePath(files[i]), strOutPath, options,
                                           OptimizeStep::ProgressFunction(), &lookahead, strNext, options));
    }
    const double fSeconds = total.nsecsElapsed() / 1e9;
    std::printf("summary: files %d, megapixels %.3f, seconds %.3f, megapixels/s %.3f, bytes in %lld, bytes out %lld, failures %d\n",
                nFiles, nPixels / 1e6, fSeconds, fSeconds > 0 ? nPixels / 1e6 / fSeconds : 0.0, nBytesIn, nBytesOut, nFailures);
    return nFailures > 0 ? 1 : 0;
}
