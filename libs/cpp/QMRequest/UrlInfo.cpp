#include "UrlInfo.h"

#include <QFileInfo>

namespace QMRequest {

struct UrlInfo::Record
{
    QString name;
    int permissions = 0;
    QString owner;
    QString group;
    qint64 size = 0;
    QDateTime lastModified;
    QDateTime lastRead;
    bool isDir = false;
    bool isFile = true;
    bool isSymLink = false;
    bool isWritable = true;
    bool isReadable = true;
    bool isExecutable = false;

    bool operator==(const Record& o) const
    {
        return name == o.name && permissions == o.permissions && owner == o.owner
            && group == o.group && size == o.size && lastModified == o.lastModified
            && lastRead == o.lastRead && isDir == o.isDir && isFile == o.isFile
            && isSymLink == o.isSymLink && isWritable == o.isWritable
            && isReadable == o.isReadable && isExecutable == o.isExecutable;
    }
};

UrlInfo::UrlInfo() = default;

UrlInfo::UrlInfo(const UrlInfo& other)
    : d(other.d ? new Record(*other.d) : nullptr)
{
}

UrlInfo::UrlInfo(const QString& name, int permissions, const QString& owner, const QString& group,
                 qint64 size, const QDateTime& lastModified, const QDateTime& lastRead,
                 bool isDir, bool isFile, bool isSymLink, bool isWritable, bool isReadable,
                 bool isExecutable)
    : d(new Record)
{
    d->name = name;
    d->permissions = permissions;
    d->owner = owner;
    d->group = group;
    d->size = size;
    d->lastModified = lastModified;
    d->lastRead = lastRead;
    d->isDir = isDir;
    d->isFile = isFile;
    d->isSymLink = isSymLink;
    d->isWritable = isWritable;
    d->isReadable = isReadable;
    d->isExecutable = isExecutable;
}

UrlInfo::UrlInfo(const QUrl& url, int permissions, const QString& owner, const QString& group,
                 qint64 size, const QDateTime& lastModified, const QDateTime& lastRead,
                 bool isDir, bool isFile, bool isSymLink, bool isWritable, bool isReadable,
                 bool isExecutable)
    : UrlInfo(QFileInfo(url.path(QUrl::FullyDecoded)).fileName(), permissions, owner, group,
              size, lastModified, lastRead, isDir, isFile, isSymLink, isWritable, isReadable,
              isExecutable)
{
}

UrlInfo::~UrlInfo()
{
    delete d;
}

UrlInfo& UrlInfo::operator=(const UrlInfo& other)
{
    if (this == &other)
        return *this;
    if (!other.d) {
        delete d;
        d = nullptr;
    } else if (d) {
        *d = *other.d;
    } else {
        d = new Record(*other.d);
    }
    return *this;
}

bool UrlInfo::operator==(const UrlInfo& other) const
{
    if (!d || !other.d)
        return !d && !other.d;
    return *d == *other.d;
}

UrlInfo::Record* UrlInfo::ensureRecord()
{
    if (!d)
        d = new Record;
    return d;
}

void UrlInfo::setName(const QString& name) { ensureRecord()->name = name; }
void UrlInfo::setDir(bool isDir) { ensureRecord()->isDir = isDir; }
void UrlInfo::setFile(bool isFile) { ensureRecord()->isFile = isFile; }
void UrlInfo::setSymLink(bool isSymLink) { ensureRecord()->isSymLink = isSymLink; }
void UrlInfo::setOwner(const QString& owner) { ensureRecord()->owner = owner; }
void UrlInfo::setGroup(const QString& group) { ensureRecord()->group = group; }
void UrlInfo::setSize(qint64 size) { ensureRecord()->size = size; }
void UrlInfo::setWritable(bool isWritable) { ensureRecord()->isWritable = isWritable; }
void UrlInfo::setReadable(bool isReadable) { ensureRecord()->isReadable = isReadable; }
void UrlInfo::setPermissions(int permissions) { ensureRecord()->permissions = permissions; }
void UrlInfo::setLastModified(const QDateTime& dateTime) { ensureRecord()->lastModified = dateTime; }
void UrlInfo::setLastRead(const QDateTime& dateTime) { ensureRecord()->lastRead = dateTime; }

bool UrlInfo::isValid() const { return d != nullptr; }

QString UrlInfo::name() const { return d ? d->name : QString(); }
int UrlInfo::permissions() const { return d ? d->permissions : 0; }
QString UrlInfo::owner() const { return d ? d->owner : QString(); }
QString UrlInfo::group() const { return d ? d->group : QString(); }
qint64 UrlInfo::size() const { return d ? d->size : 0; }
QDateTime UrlInfo::lastModified() const { return d ? d->lastModified : QDateTime(); }
QDateTime UrlInfo::lastRead() const { return d ? d->lastRead : QDateTime(); }
bool UrlInfo::isDir() const { return d && d->isDir; }
bool UrlInfo::isFile() const { return d && d->isFile; }
bool UrlInfo::isSymLink() const { return d && d->isSymLink; }
bool UrlInfo::isWritable() const { return d && d->isWritable; }
bool UrlInfo::isReadable() const { return d && d->isReadable; }
bool UrlInfo::isExecutable() const { return d && d->isExecutable; }

bool UrlInfo::greaterThan(const UrlInfo& a, const UrlInfo& b, int sortBy)
{
    switch (sortBy) {
    case 0: return b.name() < a.name();
    case 1: return b.lastModified() < a.lastModified();
    case 2: return b.size() < a.size();
    default: return false;
    }
}

bool UrlInfo::lessThan(const UrlInfo& a, const UrlInfo& b, int sortBy)
{
    return !greaterThan(a, b, sortBy);
}

bool UrlInfo::equal(const UrlInfo& a, const UrlInfo& b, int sortBy)
{
    switch (sortBy) {
    case 0: return a.name() == b.name();
    case 1: return a.lastModified() == b.lastModified();
    case 2: return a.size() == b.size();
    default: return false;
    }
}

} // namespace QMRequest
