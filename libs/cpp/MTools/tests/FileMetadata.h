#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>
#include <sys/xattr.h>

#include <cerrno>

// What a save may lose of a file besides its bytes: the file itself
// (inode), its links, owner, group and mode; through stat, so that links are
// followed as a save follows them.
struct FileMetadata
{
    ino_t inode = 0;
    nlink_t links = 0;
    uid_t owner = 0;
    gid_t group = 0;
    mode_t mode = 0;  // the permission bits with set-id and sticky bits

    static FileMetadata of(const QString& path)
    {
        struct stat info {};
        FileMetadata metadata;
        if (::stat(QFile::encodeName(path).constData(), &info) != 0)
            return metadata;
        metadata.inode = info.st_ino;
        metadata.links = info.st_nlink;
        metadata.owner = info.st_uid;
        metadata.group = info.st_gid;
        metadata.mode = info.st_mode & 07777;
        return metadata;
    }
};

// The access ACL as the kernel keeps it in the "system.posix_acl_access"
// attribute; empty when the file has none.
inline QByteArray accessAcl(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    QByteArray value(1024, '\0');
    const ssize_t nSize = ::getxattr(name.constData(), "system.posix_acl_access", value.data(), size_t(value.size()));
    return nSize > 0 ? value.left(int(nSize)) : QByteArray();
}

// Gives the file the access ACL "user::rw-, user:<reader>:r--, group::r--,
// mask::r--, other::---" (its mode becomes 0640), or a folder that default
// ACL for the files made in it, written straight as the attribute's binary
// form: a version word, then per entry a tag, the permission bits and an id,
// little-endian, entries in tag order. False with errno ENOTSUP where the
// file system keeps no ACL.
inline bool grantReadAcl(const QString& path, uid_t reader, bool bDefault = false)
{
    QByteArray acl;
    const auto put = [&acl](quint32 nValue, int nBytes) {
        for (int i = 0; i < nBytes; ++i)
            acl.append(char((nValue >> (8 * i)) & 0xff));
    };
    const auto entry = [&put](quint16 nTag, quint16 nPermissions, quint32 nId) {
        put(nTag, 2);
        put(nPermissions, 2);
        put(nId, 4);
    };
    constexpr quint32 kNoId = 0xffffffff;
    put(2, 4);                // the attribute's version
    entry(0x01, 6, kNoId);    // the owner
    entry(0x02, 4, reader);   // a named user
    entry(0x04, 4, kNoId);    // the owning group
    entry(0x10, 4, kNoId);    // the mask
    entry(0x20, 0, kNoId);    // others
    const char* pName = bDefault ? "system.posix_acl_default" : "system.posix_acl_access";
    return ::setxattr(QFile::encodeName(path).constData(), pName, acl.constData(), size_t(acl.size()), 0) == 0;
}
