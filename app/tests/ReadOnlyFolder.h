#pragma once

// A folder in which no entry can be made while the guard lives (Linux).

#include "../../libs/cpp/MTools/tests/ImmutableFolder.h"

#include <QFile>
#include <QString>

#include <cerrno>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

// Root may make entries in any folder whatever its mode, so for root the
// folder is marked immutable (which needs a file system that knows the flag);
// for anyone else its write permission is taken away. isSet() tells whether
// either worked; errorCode() is the errno a new entry then gets.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& path)
        : m_path(QFile::encodeName(path))
    {
        if (::geteuid() == 0)
            m_immutable.emplace(path);
        else
            m_bModeSet = ::chmod(m_path.constData(), 0555) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_bModeSet)
            ::chmod(m_path.constData(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool isSet() const { return m_immutable ? m_immutable->isSet() : m_bModeSet; }
    int errorCode() const { return m_immutable ? EPERM : EACCES; }

private:
    QByteArray m_path;
    std::optional<ImmutableFolder> m_immutable;
    bool m_bModeSet = false;
};
