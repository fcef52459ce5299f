#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

class QFileDevice;

namespace MTools {

// Saves a file so that a failed save leaves the old one as it was, wherever
// the file system allows it. A regular file (or a new one) is written to a
// temporary file beside it that takes its place on commit(); cancel(), a
// failed write, or destruction without commit() leave the target untouched.
// Two targets are written in place instead, as a plain save would:
// - one that exists and is not a regular file (a pipe, a device, a socket;
//   a link is followed): replacing it would take it from its reader. Opening
//   a pipe waits for its reader, as any writer does;
// - an existing regular file in a folder that allows no new file: there is
//   nowhere to put the temporary one. A failed save can then leave it cut.
// commit() returns true only when every byte was handed to the target; a
// reader that leaves a pipe early makes the save fail, not the process end.
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
    // Closes and drops what was written; a target written in place keeps
    // what it already received.
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

    QString m_strFileName;
    Target m_target;
    std::unique_ptr<QFileDevice> m_pFile;  // a QSaveFile, or a QFile written in place
    bool m_bWriteFailed = false;
};

}  // namespace MTools
