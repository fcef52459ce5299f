#include "FileSizeLimit.h"
#include "FileSizeSignal.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace {

// Writes 8 KiB at a time to path until a write fails; the system's text for
// the failure.
QString writeUntilFailure(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return qt_error_string(errno);
    const QByteArray piece(8192, 'x');
    while (::write(fd, piece.constData(), size_t(piece.size())) > 0) {
    }
    const int error = errno;
    ::close(fd);
    return qt_error_string(error);
}

}  // namespace

class TestFileSizeSignal : public QObject
{
    Q_OBJECT

private slots:
    void writesPastTheLimitFail_data();
    void writesPastTheLimitFail();
};

void TestFileSizeSignal::writesPastTheLimitFail_data()
{
    QTest::addColumn<bool>("otherThread");
    QTest::newRow("the calling thread") << false;
    // It holds for the whole process, not only for the thread that asked.
    QTest::newRow("another thread") << true;
}

// After the program's first step, a write past the file size limit fails as
// on a full disk, where by default the signal would end the process.
void TestFileSizeSignal::writesPastTheLimitFail()
{
    QFETCH(bool, otherThread);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("grown"));

    const QString result = runUnderFileSizeLimit(20000, [&] {
        MTools::ignoreFileSizeSignal();
        if (!otherThread)
            return writeUntilFailure(path);
        QString text;
        std::thread writer([&] { text = writeUntilFailure(path); });
        writer.join();
        return text;
    });
    QCOMPARE(result, qt_error_string(EFBIG));
    QCOMPARE(QFileInfo(path).size(), qint64(20000));
}

QTEST_GUILESS_MAIN(TestFileSizeSignal)
#include "tst_FileSizeSignal.moc"
