#include "PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using MTools::PrivateFolder;

namespace {

constexpr uid_t kNobody = 65534;

// What lies at a name before the folder is asked for.
enum class Found {
    Nothing,
    Own0700,
    Own0777,
    LinkToOwn0777,  // a link to an own folder of mode 0777
    Others0755,     // nobody's
    Others0777,
    RegularFile,
};

bool needsRoot(Found found)
{
    return found == Found::Others0755 || found == Found::Others0777;
}

struct Status
{
    bool exists = false;
    mode_t type = 0;
    mode_t mode = 0;
    uid_t owner = 0;
};

Status statusOf(const QString& path, bool followLink = false)
{
    struct stat info {};
    const QByteArray name = QFile::encodeName(path);
    if ((followLink ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info)) != 0)
        return {};
    return {true, info.st_mode & S_IFMT, info.st_mode & 0777, info.st_uid};
}

// Made with the mode given, whatever the umask; given to nobody (and
// nogroup) when asked.
bool makeFolder(const QString& path, mode_t mode, bool nobodys = false)
{
    const QByteArray name = QFile::encodeName(path);
    return ::mkdir(name.constData(), mode) == 0 && ::chmod(name.constData(), mode) == 0
        && (!nobodys || ::chown(name.constData(), kNobody, kNobody) == 0);
}

// Puts what the row says at path; the link's target lies in spare.
bool plant(Found found, const QString& path, const QString& spare)
{
    switch (found) {
    case Found::Nothing:
        return true;
    case Found::Own0700:
        return makeFolder(path, 0700);
    case Found::Own0777:
        return makeFolder(path, 0777);
    case Found::LinkToOwn0777:
        return makeFolder(spare, 0777)
            && ::symlink(QFile::encodeName(spare).constData(), QFile::encodeName(path).constData()) == 0;
    case Found::Others0755:
        return makeFolder(path, 0755, true);
    case Found::Others0777:
        return makeFolder(path, 0777, true);
    case Found::RegularFile: {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
    }
    }
    return false;
}

// What was found at a name the helper did not take is still as it was.
void checkUntouched(Found found, const QString& path, const QString& spare)
{
    const Status now = statusOf(path);
    switch (found) {
    case Found::Nothing:
        QVERIFY2(!now.exists, qPrintable(path));
        break;
    case Found::LinkToOwn0777:
        QCOMPARE(now.type, mode_t(S_IFLNK));
        QCOMPARE(statusOf(spare).mode, mode_t(0777));
        break;
    case Found::Others0755:
    case Found::Others0777:
        QCOMPARE(now.type, mode_t(S_IFDIR));
        QCOMPARE(now.owner, kNobody);
        QCOMPARE(now.mode, mode_t(found == Found::Others0755 ? 0755 : 0777));
        break;
    case Found::RegularFile:
        QCOMPARE(now.type, mode_t(S_IFREG));
        break;
    case Found::Own0700:
    case Found::Own0777:
        QFAIL("an own folder is always taken");
    }
}

}  // namespace

Q_DECLARE_METATYPE(Found)

class TestPrivateFolder : public QObject
{
    Q_OBJECT

private slots:
    void takesOrMakesAPrivateFolder_data();
    void takesOrMakesAPrivateFolder();
    void missingBaseIsMade();
};

void TestPrivateFolder::takesOrMakesAPrivateFolder_data()
{
    QTest::addColumn<Found>("atName");
    QTest::addColumn<Found>("atUserName");  // at name-<uid>
    QTest::addColumn<int>("taken");          // 0 the name, 1 name-<uid>, -1 none

    QTest::newRow("missing: made") << Found::Nothing << Found::Nothing << 0;
    QTest::newRow("own 0700") << Found::Own0700 << Found::Nothing << 0;
    QTest::newRow("own but 0777: narrowed") << Found::Own0777 << Found::Nothing << 0;
    QTest::newRow("link to an own folder") << Found::LinkToOwn0777 << Found::Nothing << 1;
    QTest::newRow("another user's folder 0755") << Found::Others0755 << Found::Nothing << 1;
    QTest::newRow("another user's folder 0777") << Found::Others0777 << Found::Nothing << 1;
    QTest::newRow("regular file") << Found::RegularFile << Found::Nothing << 1;
    QTest::newRow("taken; own 0777 at the user's name") << Found::Others0777 << Found::Own0777 << 1;
    QTest::newRow("taken; link at the user's name") << Found::Others0777 << Found::LinkToOwn0777 << -1;
    QTest::newRow("file; another's at the user's name") << Found::RegularFile << Found::Others0755 << -1;
}

void TestPrivateFolder::takesOrMakesAPrivateFolder()
{
    QFETCH(Found, atName);
    QFETCH(Found, atUserName);
    QFETCH(int, taken);
    if ((needsRoot(atName) || needsRoot(atUserName)) && ::geteuid() != 0)
        QSKIP("another user's folder is made as root and given to nobody");

    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QStringList names{base.filePath("Cache"),
                            base.filePath("Cache-" + QString::number(::geteuid()))};
    const QStringList spares{base.filePath("target0"), base.filePath("target1")};
    QVERIFY(plant(atName, names[0], spares[0]));
    QVERIFY(plant(atUserName, names[1], spares[1]));
    // Asking changes nothing.
    QCOMPARE(PrivateFolder::isPrivate(names[0]), atName == Found::Own0700);
    QCOMPARE(PrivateFolder::isPrivate(names[0] + "/"), atName == Found::Own0700);

    const PrivateFolder folder(base.path() + "/", "Cache");
    if (taken < 0) {
        QVERIFY(!folder.isValid());
        QVERIFY(folder.path().isEmpty());
        QVERIFY2(folder.errorString().contains(names[0]) && folder.errorString().contains(names[1]),
                 qPrintable(folder.errorString()));
    } else {
        QVERIFY2(folder.isValid(), qPrintable(folder.errorString()));
        QCOMPARE(folder.path(), names[taken]);
        QVERIFY(folder.errorString().isEmpty());
        const Status status = statusOf(folder.path());
        QCOMPARE(status.type, mode_t(S_IFDIR));
        QCOMPARE(status.owner, ::geteuid());
        QCOMPARE(status.mode, mode_t(0700));
        QVERIFY(PrivateFolder::isPrivate(folder.path()));
    }
    for (int i = 0; i < 2; ++i) {
        if (i != taken)
            checkUntouched(i == 0 ? atName : atUserName, names[i], spares[i]);
    }
}

void TestPrivateFolder::missingBaseIsMade()
{
    QTemporaryDir top;
    const QString base = top.filePath("a/b");
    const PrivateFolder folder(base, "Cache");
    QVERIFY2(folder.isValid(), qPrintable(folder.errorString()));
    QCOMPARE(folder.path(), base + "/Cache");
    QVERIFY(PrivateFolder::isPrivate(folder.path()));
    QVERIFY(!PrivateFolder(base, QString()).isValid());
    QVERIFY(!PrivateFolder(base, "a/b").isValid());
}

QTEST_GUILESS_MAIN(TestPrivateFolder)
#include "tst_PrivateFolder.moc"
