#pragma once

#include <QFlags>
#include <QString>

#include <sys/types.h>

class QFile;

namespace MTools {

// A file opened for reading by path, taken only when it is a regular file.
// It is opened without blocking, so a pipe with no writer, or a device, put
// at a path where a file was listed cannot hold the caller; whether it is a
// regular file is asked of the open descriptor (fstat), so nothing can be
// swapped in between the check and the reading. The size and mode are those
// the file had when opened.
//
// The descriptor is closed with the object unless it was handed on.
class RegularFile
{
public:
    enum Option {
        NoOption = 0,
        NoLinks = 0x1,  // a link at the path is refused (O_NOFOLLOW)
        OwnOnly = 0x2,  // a file of another user (not the effective user) is refused
    };
    Q_DECLARE_FLAGS(Options, Option)

    RegularFile() = default;
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    // Closes any file held first. False with errorString() set when the path
    // cannot be opened or is not a regular file (of this user's, when asked).
    bool open(const QString& path, Options options = NoOption);
    bool isOpen() const;
    void close();

    // The open descriptor, still owned here; -1 when none.
    int handle() const;
    // The descriptor, for the caller to close; none is held here afterwards.
    int release();
    // Hands the descriptor to file, which closes it; false (the descriptor
    // closed) when there is none or file refuses it.
    bool releaseTo(QFile* file);

    // Opens path as open() does and hands it to file, open for reading;
    // false with *pError (when given) set to the reason.
    static bool openFile(const QString& path, QFile* file, Options options = NoOption,
                         QString* pError = nullptr);

    qint64 size() const;
    // The file's st_mode (type and permission bits).
    mode_t mode() const;

    // Why open() failed: the system's text for the error, or "Not a regular
    // file", or "The file belongs to another user"; empty once open.
    QString errorString() const;

private:
    // Closes what was opened and keeps the reason; false.
    bool refuse(const QString& reason);

    int m_fd = -1;
    qint64 m_nSize = 0;
    mode_t m_nMode = 0;
    QString m_strError;
};

}  // namespace MTools

Q_DECLARE_OPERATORS_FOR_FLAGS(MTools::RegularFile::Options)
