#include "TestFiles.h"

#include <QFile>

#include <climits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QMTest {

bool writeFile(const QString& strPath, const QByteArray& bytes)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

LongPathChain::LongPathChain(const QString& strParent, const QByteArray& fileName, const QByteArray& fileBytes)
    : m_parent(QFile::encodeName(strParent))
    , m_fileName(fileName)
{
    int fd = ::open(m_parent.constData(), O_RDONLY | O_DIRECTORY);
    qsizetype length = m_parent.size();
    // Two folders past the limit, so the one that cannot be opened holds one.
    int pastLimit = 0;
    for (int i = 0; fd >= 0 && pastLimit < 2; ++i) {
        const QByteArray name = QByteArray::number(i).rightJustified(4, '0') + QByteArray(200, 'n');
        length += 1 + name.size();
        if (length >= PATH_MAX)
            ++pastLimit;
        if (::mkdirat(fd, name.constData(), 0755) != 0) {
            ::close(fd);
            return;
        }
        m_names.append(name);
        const int next = ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    if (fd < 0)
        return;
    const int file = ::openat(fd, fileName.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::close(fd);
    if (file < 0)
        return;
    m_bValid = ::write(file, fileBytes.constData(), size_t(fileBytes.size())) == fileBytes.size();
    ::close(file);
}

LongPathChain::~LongPathChain()
{
    // Down through handles, then back up removing each folder from its parent.
    QList<int> fds{::open(m_parent.constData(), O_RDONLY | O_DIRECTORY)};
    for (const QByteArray& name : m_names) {
        if (fds.last() < 0)
            break;
        fds.append(::openat(fds.last(), name.constData(), O_RDONLY | O_DIRECTORY));
    }
    if (fds.size() == m_names.size() + 1 && fds.last() >= 0)
        ::unlinkat(fds.last(), m_fileName.constData(), 0);
    for (int i = fds.size() - 1; i >= 1; --i) {
        if (fds.at(i) >= 0)
            ::close(fds.at(i));
        if (fds.at(i - 1) >= 0)
            ::unlinkat(fds.at(i - 1), m_names.at(i - 1).constData(), AT_REMOVEDIR);
    }
    if (fds.first() >= 0)
        ::close(fds.first());
}

QString LongPathChain::top() const
{
    return m_names.isEmpty() ? QString() : QFile::decodeName(m_parent + '/' + m_names.first());
}

QString LongPathChain::firstTooLong() const
{
    QByteArray path = m_parent;
    for (const QByteArray& name : m_names) {
        path += '/' + name;
        if (path.size() >= PATH_MAX)
            return QFile::decodeName(path);
    }
    return QString();
}

}  // namespace QMTest
