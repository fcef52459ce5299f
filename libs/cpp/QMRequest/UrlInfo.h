#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>

namespace QMRequest {

// A value record for one remote file entry. A default-constructed object
// holds no record (isValid() is false and every getter answers empty, 0 or
// false); any setter creates the record with its defaults first.
class UrlInfo
{
public:
    UrlInfo();
    UrlInfo(const UrlInfo& other);
    UrlInfo(const QString& name, int permissions, const QString& owner, const QString& group,
            qint64 size, const QDateTime& lastModified, const QDateTime& lastRead,
            bool isDir, bool isFile, bool isSymLink, bool isWritable, bool isReadable,
            bool isExecutable);
    UrlInfo(const QUrl& url, int permissions, const QString& owner, const QString& group,
            qint64 size, const QDateTime& lastModified, const QDateTime& lastRead,
            bool isDir, bool isFile, bool isSymLink, bool isWritable, bool isReadable,
            bool isExecutable);
    virtual ~UrlInfo();

    UrlInfo& operator=(const UrlInfo& other);
    bool operator==(const UrlInfo& other) const;
    bool operator!=(const UrlInfo& other) const { return !operator==(other); }

    virtual void setName(const QString& name);
    virtual void setDir(bool isDir);
    virtual void setFile(bool isFile);
    virtual void setSymLink(bool isSymLink);
    virtual void setOwner(const QString& owner);
    virtual void setGroup(const QString& group);
    virtual void setSize(qint64 size);
    virtual void setWritable(bool isWritable);
    virtual void setReadable(bool isReadable);
    virtual void setPermissions(int permissions);
    virtual void setLastModified(const QDateTime& dateTime);
    void setLastRead(const QDateTime& dateTime);

    bool isValid() const;

    QString name() const;
    int permissions() const;
    QString owner() const;
    QString group() const;
    qint64 size() const;
    QDateTime lastModified() const;
    QDateTime lastRead() const;
    bool isDir() const;
    bool isFile() const;
    bool isSymLink() const;
    bool isWritable() const;
    bool isReadable() const;
    bool isExecutable() const;

    // Sort keys: 0 name, 1 lastModified, 2 size; other keys give false.
    // greaterThan(a, b) is true when b sorts before a. lessThan is its
    // negation, so equal entries count as less: not a strict ordering, do not
    // hand it to std::sort.
    static bool greaterThan(const UrlInfo& a, const UrlInfo& b, int sortBy);
    static bool lessThan(const UrlInfo& a, const UrlInfo& b, int sortBy);
    static bool equal(const UrlInfo& a, const UrlInfo& b, int sortBy);

private:
    struct Record;
    Record* ensureRecord();

    Record* d = nullptr;
};

} // namespace QMRequest
