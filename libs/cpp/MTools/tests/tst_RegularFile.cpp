#include "RegularFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using MTools::RegularFile;

Q_DECLARE_METATYPE(RegularFile::Options)

namespace {

constexpr uid_t kNobody = 65534;

// What lies at the path that is opened.
enum class Found {
    Nothing,
    Own,          // a regular file of the user's, 0600
    Nobodys,      // a regular file given to nobody
    LinkToOwn,    // a link to the user's own regular file
    Fifo,         // a named pipe that no one writes
    LinkToZero,   // a link to /dev/zero
    Folder,
};

const QByteArray kContent("picture bytes");

bool plant(Found found, const QString& path, const QString& spare)
{
    const QByteArray name = QFile::encodeName(path);
    switch (found) {
    case Found::Nothing:
        return true;
    case Found::Own:
        return writeBytes(path, kContent) && ::chmod(name.constData(), 0600) == 0;
    case Found::Nobodys:
        return plant(Found::Own, path, spare) && ::chown(name.constData(), kNobody, kNobody) == 0;
    case Found::LinkToOwn:
        return plant(Found::Own, spare, QString()) && QFile::link(spare, path);
    case Found::Fifo:
        return ::mkfifo(name.constData(), 0600) == 0;
    case Found::LinkToZero:
        return QFile::link(QStringLiteral("/dev/zero"), path);
    case Found::Folder:
        return QDir().mkdir(path);
    }
    return false;
}

struct Opened
{
    bool ok = false;
    QString error;
    qint64 size = -1;
    mode_t mode = 0;
    QByteArray content;  // read through the descriptor handed to a QFile
};

Opened openAt(const QString& path, RegularFile::Options options)
{
    RegularFile file;
    Opened opened;
    opened.ok = file.open(path, options);
    opened.error = file.errorString();
    opened.size = file.size();
    opened.mode = file.mode();
    QFile reader;
    if (file.releaseTo(&reader))
        opened.content = reader.readAll();
    return opened;
}

}  // namespace

Q_DECLARE_METATYPE(Found)

class TestRegularFile : public QObject
{
    Q_OBJECT

private slots:
    void open_data();
    void open();
    void handleIsHandedOn();
};

void TestRegularFile::open_data()
{
    QTest::addColumn<Found>("found");
    QTest::addColumn<RegularFile::Options>("options");
    QTest::addColumn<QString>("error");  // empty: the file is taken

    const RegularFile::Options none = RegularFile::NoOption;
    const RegularFile::Options both = RegularFile::NoLinks | RegularFile::OwnOnly;
    const QString notRegular = QStringLiteral("Not a regular file");
    QTest::newRow("regular file") << Found::Own << none << QString();
    QTest::newRow("own file, links and others refused") << Found::Own << both << QString();
    QTest::newRow("link followed") << Found::LinkToOwn << none << QString();
    QTest::newRow("link refused") << Found::LinkToOwn << RegularFile::Options(RegularFile::NoLinks)
                                  << qt_error_string(ELOOP);
    QTest::newRow("other owner taken") << Found::Nobodys << none << QString();
    QTest::newRow("other owner refused") << Found::Nobodys << RegularFile::Options(RegularFile::OwnOnly)
                                         << QStringLiteral("The file belongs to another user");
    QTest::newRow("pipe without a writer") << Found::Fifo << none << notRegular;
    QTest::newRow("pipe, links refused") << Found::Fifo << both << notRegular;
    QTest::newRow("link to /dev/zero") << Found::LinkToZero << none << notRegular;
    QTest::newRow("folder") << Found::Folder << none << notRegular;
    QTest::newRow("missing file") << Found::Nothing << both << qt_error_string(ENOENT);
}

// Each case answers at once, a pipe too (opened in a thread of its own,
// so that a wait on it fails the row instead of holding the test).
void TestRegularFile::open()
{
    QFETCH(Found, found);
    QFETCH(RegularFile::Options, options);
    QFETCH(QString, error);

    if (found == Found::Nobodys && ::geteuid() != 0)
        QSKIP("giving a file to another user needs root");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    QVERIFY(plant(found, path, dir.filePath(QStringLiteral("target.png"))));

    auto opening = std::async(std::launch::async, [&] { return openAt(path, options); });
    const bool answered = opening.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    // An open waiting in the pipe goes on once a writer has come and gone.
    if (!answered && found == Found::Fifo) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    QVERIFY2(answered, "the open waits");
    const Opened opened = opening.get();
    QCOMPARE(opened.error, error);
    QCOMPARE(opened.ok, error.isEmpty());
    if (opened.ok) {
        QCOMPARE(opened.size, qint64(kContent.size()));
        QCOMPARE(opened.mode, mode_t(S_IFREG | 0600));
        QCOMPARE(opened.content, kContent);
    } else {
        QCOMPARE(opened.size, qint64(0));
        QVERIFY(opened.content.isNull());
    }
}

// The descriptor goes to whoever takes it and is no longer closed here;
// opening again closes the file held before.
void TestRegularFile::handleIsHandedOn()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.png"));
    QVERIFY(writeBytes(path, kContent));
    int fd = -1;
    {
        RegularFile file;
        QVERIFY(file.open(path));
        QVERIFY(file.isOpen());
        fd = file.release();
        QVERIFY(fd >= 0);
        QVERIFY(!file.isOpen());
        QCOMPARE(file.handle(), -1);
    }
    char first = 0;
    QCOMPARE(::read(fd, &first, 1), ssize_t(1));
    QCOMPARE(first, kContent.at(0));
    ::close(fd);

    RegularFile file;
    QVERIFY(file.open(path));
    const int held = file.handle();
    QVERIFY(!file.open(dir.filePath(QStringLiteral("missing.png"))));
    QVERIFY(!file.isOpen());
    QCOMPARE(::fcntl(held, F_GETFD), -1);
    QFile none;
    QVERIFY(!file.releaseTo(&none));
}

QTEST_GUILESS_MAIN(TestRegularFile)
#include "tst_RegularFile.moc"
