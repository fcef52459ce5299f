#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

// The per-file step of a batch: load one PNG, optionally scale it and turn it
// grey, reduce it to an indexed palette, encode it at the strongest PNG
// compression and write it - or keep an unchanged copy of the source when the
// result would be larger or anything fails. The batch worker and the benchmark
// both run exactly this code.
//
// Files are only ever created, never replaced: every write goes to a new name
// (the unique-name rule), and a write that fails removes what it had written.
// A finished file is moved to its name by a rename that never replaces, by a
// hard link where the file system lacks that, or, where it has neither, by a
// plain rename over an empty file of our own that claimed the name first.
// What is written from a source is never readable by more people than the
// source: it gets the source's permission bits, less those of the umask; a
// result (the reduced picture or the source kept in its place) only its read
// and write bits, so it is never executable.
// Sources are read only when they are regular files, and only whole: a file
// that can not be read to its end, or that changes while it is read, fails.
class OptimizeStep
{
public:
    struct Options
    {
        int nColors = 256;         // 1..256
        bool bDithering = true;
        bool bGray = false;
        int nResizePercent = 100;  // 1..100; 100 keeps the size
    };

    enum class Outcome
    {
        Reduced,     // the reduced PNG was written
        SourceKept,  // the result was larger; the source was copied instead
        SourceCopied,// the source could not be reduced or the write failed; copied instead
        Failed       // nothing could be written
    };

    struct Result
    {
        Outcome outcome = Outcome::Failed;
        QStringList lstWritten;   // files this step created (at most one)
        qint64 nInputSize = 0;    // bytes of the source
        qint64 nOutputSize = 0;   // bytes to count as output; equals the input unless a reduced file was written
        QString strError;         // one line for the error log; empty when all went well
        QSize sizePixels;         // size of the picture reduced (after scaling); invalid when not decoded
        // Milliseconds per stage: reading; decoding with scaling and grey;
        // reducing (rows are compressed alongside); finishing the PNG; writing.
        double dReadMs = 0, dDecodeMs = 0, dReduceMs = 0, dEncodeMs = 0, dWriteMs = 0;
    };

    using ProgressFunction = std::function<void(int)>;

    // Lets run() read and decode the next file on a helper thread while it
    // reduces and writes the current one. At most one file is prepared ahead;
    // destroying or cancelling waits for the helper.
    class Lookahead
    {
    public:
        Lookahead();
        ~Lookahead();
        Lookahead(const Lookahead&) = delete;
        Lookahead& operator=(const Lookahead&) = delete;

        // Waits for a file being prepared ahead and drops it.
        void cancel();

    private:
        friend class OptimizeStep;
        struct State;
        std::unique_ptr<State> m_pState;
    };

    // The step. outputPath is the preferred name of the reduced PNG; when it is
    // taken by the time of writing the next free name is used. The source copy
    // goes beside it under the source's own file name, made unique. progress
    // gets the reducer's percentages on the calling thread.
    //
    // With a lookahead, a file that an earlier call began to read ahead is
    // taken from it, and nextSourcePath, when given, is read and decoded
    // ahead with nextOptions while this file is reduced and written. Results,
    // progress and the order of writes are the same as without.
    static Result run(const QString& sourcePath, const QString& outputPath,
                      const Options& options, const ProgressFunction& progress,
                      Lookahead* lookahead, const QString& nextSourcePath,
                      const Options& nextOptions);
    static Result run(const QString& sourcePath, const QString& outputPath,
                      const Options& options,
                      const ProgressFunction& progress = ProgressFunction());

    // folder + baseName + extension, or with " 2", " 3"... before the
    // extension while a file, folder or link of that name exists. folder ends
    // with "/".
    static QString uniqueFilePath(const QString& folder, const QString& baseName,
                                  const QString& extension);

    // Target size for scaling by percent: each side rounded half up, never 0.
    static QSize scaledSize(const QSize& size, int percent);

    // Writes data to a new file under the unique-name rule (never over an
    // existing file, never through a link); a failed write removes the partial
    // file. The file has the permission bits given, less those of the umask.
    // Returns the path written, or an empty string with *pError set.
    static QString writeUniqueFile(const QString& folder, const QString& baseName,
                                   const QString& extension, const QByteArray& data,
                                   int permissions, QString* pError);

    // Copies a file, streaming, to a new file under the unique-name rule with
    // the same guarantees as writeUniqueFile and the source's permission bits.
    // Only a regular source read whole, to the size it had when opened, gives
    // a copy.
    static QString copyToUniqueFile(const QString& sourcePath, const QString& folder,
                                    const QString& baseName, const QString& extension,
                                    QString* pError);

    // Test hook: called before each file is written; returning true makes that
    // write fail half way as on a full disk. Pass an empty function to reset.
    static void setWriteFaultForTesting(const std::function<bool(const QString&)>& fault);

    // Test hook: while set, every file system answers as one that knows
    // neither the no-replace rename nor hard links (EINVAL, then EPERM).
    static void setWithoutNoReplaceMovesForTesting(bool without);
};
