#include "FifoReader.h"
#include "FileMetadata.h"
#include "FileSizeLimit.h"
#include "ImmutableFolder.h"
#include "TestFiles.h"
#include "SafeSave.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
// A group and a user that no account needs to have: the kernel takes any id.
constexpr gid_t kSharedGroup = 4711;
constexpr uid_t kOtherUser = 4711;

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The whole save: open, the bytes in pieces of nPiece, commit.
bool save(const QString& path, const QByteArray& bytes, int nPiece,
          MTools::SafeSave::Target target = MTools::SafeSave::AnyFile)
{
    MTools::SafeSave file(path, target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < bytes.size(); i += nPiece) {
        const QByteArray piece = bytes.mid(i, nPiece);
        if (file.write(piece) != piece.size())
            return false;
    }
    return file.commit();
}

// A second name for the file.
bool hardLink(const QString& path, const QString& newPath)
{
    return ::link(QFile::encodeName(path).constData(), QFile::encodeName(newPath).constData()) == 0;
}

mode_t fileType(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// A listening socket bound to a path: a file that cannot be opened.
bool makeSocket(const QString& path, int* pFd)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    *pFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    return *pFd >= 0 && ::bind(*pFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

// While alive, the process acts as the ordinary user "nobody", in the given
// supplementary groups only, when it runs as root (who may create files in
// any folder), and as itself otherwise (given no groups to be in).
class OrdinaryUser
{
public:
    explicit OrdinaryUser(const std::vector<gid_t>& groups = {}) : m_bRoot(::geteuid() == 0)
    {
        if (!m_bRoot) {
            m_bOk = groups.empty();
            return;
        }
        m_oldGroups.resize(size_t(std::max(::getgroups(0, nullptr), 0)));
        m_oldGroups.resize(size_t(std::max(::getgroups(int(m_oldGroups.size()), m_oldGroups.data()), 0)));
        m_bOk = ::setgroups(groups.size(), groups.data()) == 0 && ::setegid(kNoGroup) == 0 && ::seteuid(kNobody) == 0;
    }
    ~OrdinaryUser()
    {
        if (m_bRoot && ::seteuid(0) == 0) {
            ::setegid(0);
            ::setgroups(m_oldGroups.size(), m_oldGroups.data());
        }
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

    bool isOk() const { return m_bOk; }

private:
    bool m_bRoot = false;
    bool m_bOk = false;
    std::vector<gid_t> m_oldGroups;
};

// A file "shared" of 5000 bytes in a folder where anyone may add the
// temporary file; its path, or nothing when it cannot be made.
QString makeSharedFile(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("shared"));
    if (!dir.isValid() || ::chmod(QFile::encodeName(dir.path()).constData(), 0777) != 0
        || !writeBytes(path, QByteArray(5000, 'o')))
        return {};
    return path;
}

// Saves "new content" as root, or else as an ordinary user in the given
// groups; false when either the save or the change of user fails.
bool saveNewContent(const QString& path, bool asRoot, const std::vector<gid_t>& groups = {})
{
    if (asRoot)
        return save(path, "new content", 4);
    const OrdinaryUser user(groups);
    return user.isOk() && save(path, "new content", 4);
}

}  // namespace

class TestSafeSave : public QObject
{
    Q_OBJECT

private slots:
    void regularFileIsReplaced_data();
    void regularFileIsReplaced();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void fifoReaderGetsTheBytes_data();
    void fifoReaderGetsTheBytes();
    void fifoReaderLeavingFailsTheSave();
    void specialFileStaysInPlace_data();
    void specialFileStaysInPlace();
    void folderWithoutNewFiles_data();
    void folderWithoutNewFiles();
    void seekPatchesWrittenBytes_data();
    void seekPatchesWrittenBytes();
    void saveKeepsOwnerGroupAndMode_data();
    void saveKeepsOwnerGroupAndMode();
    void saveKeepsAccessAcl_data();
    void saveKeepsAccessAcl();
    void hardLinkedFileIsWrittenInPlace_data();
    void hardLinkedFileIsWrittenInPlace();
    void sizeLimitFailsTheSave_data();
    void sizeLimitFailsTheSave();
};

void TestSafeSave::regularFileIsReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("regularOnly");
    QTest::newRow("new file") << "new" << false;
    QTest::newRow("existing file") << "existing" << false;
    // The link stays, and its target takes the new content.
    QTest::newRow("link to a file") << "link" << false;
    QTest::newRow("new file, regular files only") << "new" << true;
    QTest::newRow("link to a file, regular files only") << "link" << true;
}

void TestSafeSave::regularFileIsReplaced()
{
    QFETCH(QString, kind);
    QFETCH(bool, regularOnly);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("target"));
    QString path = target;
    if (kind != QLatin1String("new"))
        QVERIFY(writeBytes(target, QByteArray(5000, 'o')));
    if (kind == QLatin1String("link")) {
        path = dir.filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(target, path));
    }

    QVERIFY(save(path, "new content", 4, regularOnly ? MTools::SafeSave::RegularFileOnly : MTools::SafeSave::AnyFile));
    QCOMPARE(readBytes(target), QByteArray("new content"));
    QCOMPARE(QFileInfo(path).isSymLink(), kind == QLatin1String("link"));
    QCOMPARE(entries(dir.path()).size(), kind == QLatin1String("link") ? 2 : 1);
}

void TestSafeSave::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("piece");
    QTest::addColumn<QString>("place");
    // Pieces larger than the file's buffer (16 KiB) go straight to the disk.
    QTest::newRow("write fails") << "full" << 40000 << 20000 << "replaced";
    // Small pieces wait in the file's buffer: the disk fills up only when
    // commit() writes them out.
    QTest::newRow("last flush fails") << "full" << 10000 << 100 << "replaced";
    QTest::newRow("cancelled") << "cancel" << 10000 << 100 << "replaced";
    // Written in place: the target sees nothing before commit(), and a
    // commit that finds no room for the new bytes leaves it whole.
    QTest::newRow("write fails, hard link") << "full" << 40000 << 20000 << "hard link";
    QTest::newRow("cancelled, hard link") << "cancel" << 10000 << 100 << "hard link";
    QTest::newRow("write fails, immutable folder") << "full" << 40000 << 20000 << "immutable";
    QTest::newRow("last flush fails, immutable folder") << "full" << 10000 << 100 << "immutable";
    QTest::newRow("cancelled, immutable folder") << "cancel" << 10000 << 100 << "immutable";
}

void TestSafeSave::failedSaveKeepsOldFile()
{
    QFETCH(QString, kind);
    QFETCH(int, size);
    QFETCH(int, piece);
    QFETCH(QString, place);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kept"));
    QVERIFY(writeBytes(path, "old content"));
    QStringList names{"kept"};
    if (place == QLatin1String("hard link")) {
        QVERIFY(hardLink(path, dir.filePath("other")));
        names << "other";
    }
    std::optional<ImmutableFolder> immutable;
    if (place == QLatin1String("immutable")) {
        immutable.emplace(dir.path());
        if (!immutable->isSet())
            QSKIP("the file system or the user cannot mark a folder immutable");
    }
    const QByteArray bytes(size, 'n');

    bool bCommitted = false;
    {
        MTools::SafeSave file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        std::optional<FileSizeLimit> limit;
        if (kind == QLatin1String("full"))
            limit.emplace(4096);  // the disk fills up part way
        for (int i = 0; i < bytes.size(); i += piece)
            file.write(bytes.mid(i, piece));
        if (kind == QLatin1String("cancel"))
            file.cancel();
        else
            bCommitted = file.commit();
        QVERIFY(!file.isOpen());
        // The system's own words for the cause, as the file size limit
        // makes it.
        if (kind == QLatin1String("full"))
            QCOMPARE(file.errorString(), qt_error_string(EFBIG));
    }
    immutable.reset();
    QVERIFY(!bCommitted);
    for (const QString& name : qAsConst(names))
        QCOMPARE(readBytes(dir.filePath(name)), QByteArray("old content"));
    QCOMPARE(entries(dir.path()), names);
}

void TestSafeSave::fifoReaderGetsTheBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("throughLink");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("a few bytes") << QByteArray("through the pipe\n") << false << false;
    // More than a pipe holds: the writer waits on the reader meanwhile.
    QTest::newRow("more than the pipe holds") << QByteArray(1 << 20, 'p') << false << false;
    QTest::newRow("through a link") << QByteArray("linked\n") << true << false;
    // Nothing reaches the reader before commit().
    QTest::newRow("cancelled") << QByteArray("never sent\n") << false << true;
}

void TestSafeSave::fifoReaderGetsTheBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, throughLink);
    QFETCH(bool, cancelled);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    FifoReader reader(fifo);
    QVERIFY(reader.isReady());
    QString path = fifo;
    if (throughLink) {
        path = dir.filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(fifo, path));
    }

    if (cancelled) {
        MTools::SafeSave file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), qint64(bytes.size()));
        file.cancel();
        QCOMPARE(reader.received(), QByteArray());
    } else {
        QVERIFY(save(path, bytes, 5000));
        QCOMPARE(reader.received(), bytes);
    }
    QVERIFY(FifoReader::isFifo(fifo));
    QCOMPARE(QFileInfo(path).isSymLink(), throughLink);
    QCOMPARE(entries(dir.path()).size(), throughLink ? 2 : 1);
}

void TestSafeSave::fifoReaderLeavingFailsTheSave()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The shell opens the pipe for reading and closes it unread.
    QProcess reader;
    reader.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral(": < \"$0\""), fifo});
    QVERIFY(reader.waitForStarted());

    // Far more than a pipe holds, so that writing must go on after the
    // reader has gone; that ends neither the process nor in success.
    MTools::SafeSave file(fifo);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8 << 20, 'x'));
    QVERIFY(!file.commit());
    QVERIFY(!file.errorString().isEmpty());
    QVERIFY(FifoReader::isFifo(fifo));
    QVERIFY(reader.waitForFinished(10000));
}

void TestSafeSave::specialFileStaysInPlace_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("regularOnly");
    QTest::addColumn<bool>("saved");
    QTest::newRow("device") << "device" << false << true;
    QTest::newRow("link to a device") << "link" << false << true;
    // A socket cannot be opened as a file: the save fails, the socket stays.
    QTest::newRow("socket") << "socket" << false << false;
    // Refused before anything is opened: a pipe without a reader would
    // hold the save for good.
    QTest::newRow("pipe, regular files only") << "pipe" << true << false;
    QTest::newRow("device, regular files only") << "device" << true << false;
    QTest::newRow("link to a device, regular files only") << "link" << true << false;
}

void TestSafeSave::specialFileStaysInPlace()
{
    QFETCH(QString, kind);
    QFETCH(bool, regularOnly);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString node = dir.filePath(QStringLiteral("node"));
    QString path = node;
    int socketFd = -1;
    mode_t type = S_IFCHR;
    if (kind == QLatin1String("socket")) {
        type = S_IFSOCK;
        const bool bMade = makeSocket(node, &socketFd);
        if (!bMade) {
            ::close(socketFd);
            QSKIP("no socket can be bound in the temporary folder");
        }
    } else if (kind == QLatin1String("pipe")) {
        type = S_IFIFO;
        QCOMPARE(::mkfifo(QFile::encodeName(node).constData(), 0600), 0);
    } else {
        // A null device of the test's own, so that nothing outside the
        // folder is at stake.
        if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("making a device node needs root");
        if (kind == QLatin1String("link")) {
            path = dir.filePath(QStringLiteral("link"));
            QVERIFY(QFile::link(node, path));
        }
    }

    const bool bSaved =
        save(path, "to the device", 100, regularOnly ? MTools::SafeSave::RegularFileOnly : MTools::SafeSave::AnyFile);
    if (socketFd >= 0)
        ::close(socketFd);
    QCOMPARE(bSaved, saved);
    QCOMPARE(fileType(node), type);
    QCOMPARE(QFileInfo(path).isSymLink(), kind == QLatin1String("link"));
    QCOMPARE(entries(dir.path()).size(), kind == QLatin1String("link") ? 2 : 1);
}

void TestSafeSave::folderWithoutNewFiles_data()
{
    QTest::addColumn<QString>("kind");
    // Root may create files anywhere: the save runs as an ordinary user then.
    QTest::newRow("read-only folder") << "readonly";
    // Refuses new files to root as well.
    QTest::newRow("immutable folder") << "immutable";
}

// A writable file in a folder that takes no temporary file is written in
// place; a new file there cannot be made at all.
void TestSafeSave::folderWithoutNewFiles()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kept"));
    const QString added = dir.filePath(QStringLiteral("added"));
    QVERIFY(writeBytes(path, QByteArray(5000, 'o')));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                            | QFileDevice::WriteOther));

    bool bSaved = false;
    bool bAdded = true;
    if (kind == QLatin1String("readonly")) {
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                      | QFileDevice::ReadOther | QFileDevice::ExeOther));
        bool bReachable = false;
        {
            const OrdinaryUser user;
            if (user.isOk() && QFileInfo(path).isWritable()) {
                bReachable = true;
                bSaved = save(path, "new content", 4);
                bAdded = save(added, "new file", 4);
            }
        }
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (!bReachable)
            QSKIP("no ordinary user can reach a file in the temporary folder");
    } else {
        const ImmutableFolder immutable(dir.path());
        if (!immutable.isSet())
            QSKIP("the file system or the user cannot mark a folder immutable");
        bSaved = save(path, "new content", 4);
        bAdded = save(added, "new file", 4);
    }
    QVERIFY(bSaved);
    QVERIFY(!bAdded);
    QCOMPARE(readBytes(path), QByteArray("new content"));
    QCOMPARE(entries(dir.path()), QStringList{"kept"});
}

void TestSafeSave::seekPatchesWrittenBytes_data()
{
    QTest::addColumn<bool>("hardLinked");
    QTest::newRow("new file") << false;
    // Written in place: the patch lands in the bytes held for commit().
    QTest::newRow("hard-linked file") << true;
}

// Formats that fill in lengths at the end go back over what they wrote.
void TestSafeSave::seekPatchesWrittenBytes()
{
    QFETCH(bool, hardLinked);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("patched"));
    const QString other = dir.filePath(QStringLiteral("other"));
    if (hardLinked) {
        QVERIFY(writeBytes(path, QByteArray(5000, 'o')));
        QVERIFY(hardLink(path, other));
    }
    MTools::SafeSave file(path, MTools::SafeSave::RegularFileOnly);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(!file.isSequential());
    QCOMPARE(file.write("len=????;body"), qint64(13));
    QVERIFY(file.seek(4));
    QCOMPARE(file.write("0004"), qint64(4));
    QCOMPARE(file.pos(), qint64(8));
    QCOMPARE(file.size(), qint64(13));
    QVERIFY(file.commit());
    QCOMPARE(readBytes(path), QByteArray("len=0004;body"));
    if (hardLinked)
        QCOMPARE(readBytes(other), QByteArray("len=0004;body"));
}

void TestSafeSave::saveKeepsOwnerGroupAndMode_data()
{
    QTest::addColumn<uint>("owner");
    QTest::addColumn<uint>("group");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("saver");
    QTest::addColumn<bool>("inPlace");
    // Root may give the new file any owner and group.
    QTest::newRow("group-shared, saved by root") << 0u << uint(kSharedGroup) << 0640 << "root" << false;
    QTest::newRow("another's file, saved by root") << uint(kNobody) << uint(kNoGroup) << 0604 << "root" << false;
    // An ordinary user may give hers a group she is in...
    QTest::newRow("group-shared, saved by a member") << uint(kNobody) << uint(kSharedGroup) << 0640 << "member"
                                                     << false;
    // ... but no group she is not in and no other owner: in place, then.
    QTest::newRow("group-shared, saved by an outsider") << uint(kNobody) << uint(kSharedGroup) << 0640 << "outsider"
                                                        << true;
    QTest::newRow("another's file, saved by a member") << 0u << uint(kSharedGroup) << 0660 << "member" << true;
}

void TestSafeSave::saveKeepsOwnerGroupAndMode()
{
    QFETCH(uint, owner);
    QFETCH(uint, group);
    QFETCH(int, mode);
    QFETCH(QString, saver);
    QFETCH(bool, inPlace);
    if (::geteuid() != 0)
        QSKIP("giving a file to another user or group needs root");
    QTemporaryDir dir;
    const QString path = makeSharedFile(dir);
    QVERIFY(!path.isEmpty());
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(::chown(name.constData(), owner, group), 0);
    QCOMPARE(::chmod(name.constData(), mode_t(mode)), 0);
    const FileMetadata before = FileMetadata::of(path);

    const std::vector<gid_t> groups = saver == QLatin1String("member") ? std::vector<gid_t>{kSharedGroup}
                                                                       : std::vector<gid_t>{};
    QVERIFY(saveNewContent(path, saver == QLatin1String("root"), groups));
    QCOMPARE(readBytes(path), QByteArray("new content"));
    const FileMetadata after = FileMetadata::of(path);
    QCOMPARE(after.owner, before.owner);
    QCOMPARE(after.group, before.group);
    QCOMPARE(after.mode, before.mode);
    QCOMPARE(after.inode == before.inode, inPlace);
    QCOMPARE(entries(dir.path()), QStringList{"shared"});
}

void TestSafeSave::saveKeepsAccessAcl_data()
{
    QTest::addColumn<QString>("saver");
    QTest::addColumn<bool>("withAcl");
    QTest::newRow("saved by root") << "root" << true;
    QTest::newRow("saved by its owner") << "owner" << true;
    // The new file takes no ACL from its folder that the old one lacked.
    QTest::newRow("none, in a folder with a default ACL") << "root" << false;
}

void TestSafeSave::saveKeepsAccessAcl()
{
    QFETCH(QString, saver);
    QFETCH(bool, withAcl);
    if (::geteuid() != 0)
        QSKIP("giving a file to another user needs root");
    QTemporaryDir dir;
    const QString path = makeSharedFile(dir);
    QVERIFY(!path.isEmpty());
    if (saver == QLatin1String("owner"))
        QCOMPARE(::chown(QFile::encodeName(path).constData(), kNobody, kNoGroup), 0);
    if (!(withAcl ? grantReadAcl(path, kOtherUser) : grantReadAcl(dir.path(), kOtherUser, true))) {
        if (errno == ENOTSUP)
            QSKIP("the temporary folder's file system keeps no ACL");
        QFAIL(qPrintable(qt_error_string(errno)));
    }
    const QByteArray acl = accessAcl(path);
    QCOMPARE(acl.isEmpty(), !withAcl);
    const FileMetadata before = FileMetadata::of(path);

    QVERIFY(saveNewContent(path, saver == QLatin1String("root")));
    QCOMPARE(readBytes(path), QByteArray("new content"));
    QCOMPARE(accessAcl(path), acl);
    const FileMetadata after = FileMetadata::of(path);
    QCOMPARE(after.mode, before.mode);
    QCOMPARE(after.owner, before.owner);
    QVERIFY(after.inode != before.inode);  // replaced, not written in place
}

void TestSafeSave::hardLinkedFileIsWrittenInPlace_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("longer content") << QByteArray(20000, 'n');
    QTest::newRow("shorter content") << QByteArray("new");
}

// Replacing the file would split its links: the other name would keep the
// old content.
void TestSafeSave::hardLinkedFileIsWrittenInPlace()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kept"));
    const QString other = dir.filePath(QStringLiteral("other"));
    QVERIFY(writeBytes(path, QByteArray(5000, 'o')));
    QVERIFY(hardLink(path, other));
    const FileMetadata before = FileMetadata::of(path);

    QVERIFY(save(path, bytes, 4096));
    QCOMPARE(readBytes(path), bytes);
    QCOMPARE(readBytes(other), bytes);
    const FileMetadata after = FileMetadata::of(path);
    QCOMPARE(after.inode, before.inode);
    QCOMPARE(after.links, nlink_t(2));
    QCOMPARE(entries(dir.path()), (QStringList{"kept", "other"}));
}

void TestSafeSave::sizeLimitFailsTheSave_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("piece");
    QTest::addColumn<bool>("cancelled");
    // The limit is 40 KiB over an old file of 30,000 bytes. Pieces larger
    // than the file's buffer (16 KiB) meet it as they are written...
    QTest::newRow("replaced, write meets the limit") << "replaced" << 60000 << 20000 << false;
    // ... small ones only when commit() writes out the last of them...
    QTest::newRow("replaced, last flush meets the limit") << "replaced" << 41000 << 100 << false;
    // ... or when a cancelled save drops them.
    QTest::newRow("replaced, cancelled") << "replaced" << 41000 << 100 << true;
    // Written in place, the part past the old end meets it.
    QTest::newRow("in place, hard link") << "hard link" << 60000 << 20000 << false;
}

// A save that meets the file size limit fails as on a full disk, in a process
// that leaves the limit's signal as it is by default: the process goes on,
// the old bytes stay whole, no temporary file stays, and the signal is
// neither held back nor pending afterwards.
void TestSafeSave::sizeLimitFailsTheSave()
{
    QFETCH(QString, place);
    QFETCH(int, size);
    QFETCH(int, piece);
    QFETCH(bool, cancelled);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("kept"));
    const QByteArray old(30000, 'o');
    QVERIFY(writeBytes(path, old));
    QStringList names{"kept"};
    if (place == QLatin1String("hard link")) {
        QVERIFY(hardLink(path, dir.filePath("other")));
        names << "other";
    }

    const QString result = runUnderFileSizeLimit(40960, [&] {
        const QByteArray bytes(size, 'n');
        QString text;
        {
            MTools::SafeSave file(path);
            if (!file.open(QIODevice::WriteOnly))
                return QStringLiteral("not opened: %1").arg(file.errorString());
            for (int i = 0; i < bytes.size(); i += piece)
                file.write(bytes.mid(i, piece));
            if (cancelled)
                file.cancel();
            else
                text = file.commit() ? QStringLiteral("committed") : file.errorString();
        }
        sigset_t set;
        sigemptyset(&set);
        pthread_sigmask(SIG_BLOCK, nullptr, &set);
        if (sigismember(&set, SIGXFSZ) == 1)
            return QStringLiteral("the signal stays held back");
        sigpending(&set);
        if (sigismember(&set, SIGXFSZ) == 1)
            return QStringLiteral("the signal stays pending");
        return text;
    });
    QCOMPARE(result, cancelled ? QString() : qt_error_string(EFBIG));
    for (const QString& name : qAsConst(names))
        QCOMPARE(readBytes(dir.filePath(name)), old);
    QCOMPARE(entries(dir.path()), names);
}

QTEST_GUILESS_MAIN(TestSafeSave)
#include "tst_SafeSave.moc"
