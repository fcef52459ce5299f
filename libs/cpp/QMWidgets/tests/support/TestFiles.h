#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace QMTest {

// Writes the bytes to the file, replacing what it held; false when the file
// cannot be opened or not all bytes are written.
bool writeFile(const QString& strPath, const QByteArray& bytes);

// The whole content of the file; empty when it cannot be opened.
QByteArray readFile(const QString& strPath);

// A chain of nested folders below a folder, deep enough that the path of
// its lower folders passes the system's length limit, with one file in the
// deepest. Such paths cannot be used whole, so the chain is made and removed
// through folder handles; it is removed when the object goes.
class LongPathChain
{
public:
    LongPathChain(const QString& strParent, const QByteArray& fileName, const QByteArray& fileBytes);
    ~LongPathChain();
    LongPathChain(const LongPathChain&) = delete;
    LongPathChain& operator=(const LongPathChain&) = delete;

    bool isValid() const { return m_bValid; }
    // The top folder of the chain.
    QString top() const;
    // The first folder of the chain whose path is too long to open.
    QString firstTooLong() const;

private:
    QByteArray m_parent;
    QList<QByteArray> m_names;
    QByteArray m_fileName;
    bool m_bValid = false;
};

}  // namespace QMTest
