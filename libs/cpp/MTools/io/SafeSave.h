#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

class QBuffer;
class QFileDevice;

namespace MTools {

// Saves a file so that a failed save leaves the old one as it was, wherever
// the file system allows it. A regular file (or a new one) is written to a
// temporary file beside it that takes its place on commit(), with what a
// careful editor keeps of the old file: its owner and group, its permission
// bits and its access ACL. cancel(), a failed write, or destruction without
// commit() leave the target untouched.
// Some targets are written in place instead, as a plain save would:
// - one that exists and is not a regular file (a pipe, a device, a socket;
//   a link is followed): replacing it would take it from its reader. Opening
//   a pipe waits for its reader, as any writer does;
// - an existing regular file in a folder that allows no new file: there is
//   nowhere to put the temporary one;
// - a regular file with more than one hard link (a new file would split
//   them, the other names keeping the old content), or whose owner, group or
//   ACL the saver may not give to a new file (an ordinary user saving
//   another's file, or one of a group she is not in).
// A save in place holds its bytes in memory (up to 1 GiB) until commit()
// writes them, so cancel() and a failed write leave the target as it was too. A regular file
// takes the part beyond its old end first: a full disk or a size limit then
// leaves it whole; only a later failure (an I/O error) can leave it cut.
// commit() returns true only when every byte was handed to the target; a
// reader that leaves a pipe early, or the file size limit, makes the save
// fail ("File too large" for the limit), not the process end: the signals
// are held back from the writing thread while the save writes.
// Write-only: open() refuses reading and appending.
class SafeSave : public QIODevice
{
    Q_OBJECT

public:
    // What the save may write to.
    enum Target {
        AnyFile,
        // For a writer that must be able to seek or read the file back: an
        // existing target that is not a regular file is refused by open(),
        // before it is opened (a pipe would wait there for a reader).
        RegularFileOnly,
    };

    explicit SafeSave(const QString& strFileName, Target target = AnyFile, QObject* parent = nullptr);
    ~SafeSave() override;

    QString fileName() const;

    bool open(OpenMode mode) override;
    // Puts what was written in place and closes; false (with errorString())
    // when anything failed since open(), which then counts as cancel().
    bool commit();
    // Closes and drops what was written; the target stays as it was.
    void cancel();

    bool isSequential() const override;
    bool seek(qint64 nPos) override;
    qint64 size() const override;

protected:
    qint64 readData(char* pData, qint64 nMaxSize) override;
    qint64 writeData(const char* pData, qint64 nSize) override;

private:
    // A save ends with commit() or cancel().
    void close() override;
    void finish();
    bool openReplacement(OpenMode fileMode);
    bool openInPlace();
    bool commitReplacement();
    bool commitInPlace();

    QString m_strFileName;
    Target m_target;
    std::unique_ptr<QFileDevice> m_pFile;  // a QSaveFile, or the target opened in place
    std::unique_ptr<QBuffer> m_pHeld;      // in place: the bytes for commit()
    bool m_bWriteFailed = false;
};

}  // namespace MTools
