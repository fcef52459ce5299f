// The batch dialog's preview is decoded off the GUI thread: a picture of a
// hundred megapixels takes seconds to decode, and the dialog's Pause and
// Stop must answer meanwhile.
#include "BatchDialog.h"
#include "BatchFixtures.h"
#include "PreviewLoader.h"

#include "Label.h"
#include "ProcessLimits.h"
#include "QMTest.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSemaphore>
#include <QThread>
#include <QTimer>

#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QColor previewCentre(BatchDialog& dialog)
{
    return dialog.preview()->grab().toImage().pixelColor(125, 75);
}

// A picture of the preview's own size.
QImage filled(const QColor& colour)
{
    return BatchFixtures::filledPicture(250, 150, colour);
}

} // namespace

class TestBatchPreview : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void previewIsDecodedOffTheGuiThread();
    void slowDecodeShowsTheNewestAfterwards();
    void loaderDropsWaitingPathsForTheNewest();
    void loaderGoesWithoutWaitingForADecode();
    void noThreadToSpareMeansNoPreview();
    void pipeIsNeverWaitedFor();
};

void TestBatchPreview::previewIsDecodedOffTheGuiThread()
{
    std::atomic<QThread*> decodeThread{nullptr};
    BatchDialog::setPreviewDecodeForTesting([&](const QString&) {
        decodeThread = QThread::currentThread();
        return filled(Qt::blue);
    });
    const auto reset = qScopeGuard([] { BatchDialog::setPreviewDecodeForTesting({}); });

    BatchDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.slotShowCurrentFileImage(QStringLiteral("/any/picture.png"));
    QTRY_COMPARE(previewCentre(dialog), QColor(Qt::blue));
    QVERIFY(decodeThread.load() != nullptr);
    QVERIFY(decodeThread.load() != QThread::currentThread());
}

// While one picture decodes, more files go by; the window keeps answering
// and, once the slow decode ends, shows the newest of them.
void TestBatchPreview::slowDecodeShowsTheNewestAfterwards()
{
    std::atomic<bool> started{false};
    QSemaphore release;
    BatchDialog::setPreviewDecodeForTesting([&](const QString& path) {
        if (path == QLatin1String("slow")) {
            started = true;
            release.tryAcquire(1, 10000);
        }
        return filled(path == QLatin1String("slow") ? Qt::red : Qt::green);
    });
    const auto reset = qScopeGuard([] { BatchDialog::setPreviewDecodeForTesting({}); });

    BatchDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.slotShowCurrentFileImage(QStringLiteral("slow"));
    QTRY_VERIFY(started.load());
    dialog.slotShowCurrentFileImage(QStringLiteral("one"));
    dialog.slotShowCurrentFileImage(QStringLiteral("two"));
    // The event loop turns while the slow picture is still being decoded.
    bool turned = false;
    QTimer::singleShot(0, [&] { turned = true; });
    QTRY_VERIFY_WITH_TIMEOUT(turned, 2000);
    release.release();
    QTRY_COMPARE(previewCentre(dialog), QColor(Qt::green));
}

void TestBatchPreview::loaderDropsWaitingPathsForTheNewest()
{
    QSemaphore started, release;
    QStringList decoded;
    std::mutex decodedMutex;
    PreviewLoader loader([&](const QString& path) {
        if (path == QLatin1String("first")) {
            started.release();
            release.tryAcquire(1, 10000);
        }
        std::lock_guard<std::mutex> lock(decodedMutex);
        decoded << path;
        return QImage();
    });
    QStringList delivered;
    connect(&loader, &PreviewLoader::loaded, this,
            [&](const QString& path, const QImage&) { delivered << path; });
    loader.request(QStringLiteral("first"));
    QVERIFY(started.tryAcquire(1, 10000));
    loader.request(QStringLiteral("second"));
    loader.request(QStringLiteral("third"));
    release.release();
    QTRY_COMPARE(delivered, QStringList({QStringLiteral("first"), QStringLiteral("third")}));
    std::lock_guard<std::mutex> lock(decodedMutex);
    QCOMPARE(decoded, QStringList({QStringLiteral("first"), QStringLiteral("third")}));
}

// Stop closes the dialog while its preview may still be decoding: the
// window must not wait for it, and nothing arrives afterwards.
void TestBatchPreview::loaderGoesWithoutWaitingForADecode()
{
    std::atomic<bool> decoding{false};
    auto release = std::make_shared<QSemaphore>();
    bool delivered = false;
    {
        PreviewLoader loader([&decoding, release](const QString&) {
            decoding = true;
            release->tryAcquire(1, 5000);
            decoding = false;
            return filled(Qt::red);
        });
        connect(&loader, &PreviewLoader::loaded, this, [&] { delivered = true; });
        loader.request(QStringLiteral("large"));
        QTRY_VERIFY(decoding.load());
    }
    QVERIFY(decoding.load());
    release->release();
    QTRY_VERIFY(!decoding.load());
    QTest::qWait(50);
    QVERIFY(!delivered);
}

namespace {

const char kNoThreadChild[] = "BATCHPREVIEW_NO_THREAD_CHILD";

// A loader made while the system refuses new threads (too little address
// space left for a thread's stack): the program goes on, without previews.
int runNoThreadChild(int argc, char* argv[])
{
    QMTest::TestApp app(argc, argv);
    ProcessLimits::setThreadStackSize(16 * 1024 * 1024);
    if (!ProcessLimits::capAddressSpace(4 * 1024 * 1024))
        return 3;
    int nDecoded = 0;
    int nDelivered = 0;
    {
        PreviewLoader loader([&nDecoded](const QString&) {
            ++nDecoded;
            return filled(Qt::red);
        });
        QObject::connect(&loader, &PreviewLoader::loaded, [&nDelivered] { ++nDelivered; });
        loader.request(QStringLiteral("photo.png"));
        QTest::qWait(300);
    }
    std::printf("alive %d %d\n", nDecoded, nDelivered);
    return 0;
}

} // namespace

void TestBatchPreview::noThreadToSpareMeansNoPreview()
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kNoThreadChild), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(child.readAllStandardOutput().trimmed(), QByteArray("alive 0 0"));
}

// A pipe put at a source's path after the folder walk: the preview of it is
// simply empty, and the loader's thread is not held there for good (it
// would be joined when the program ends).
void TestBatchPreview::pipeIsNeverWaitedFor()
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe.png"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    auto decoded = std::async(std::launch::async, [&] {
        return PreviewLoader::decodeFitted(pipe, QSize(500, 300));
    });
    const bool ended = decoded.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    // A reader waiting in the pipe goes on once a writer has come and gone.
    const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        ::close(fd);
    QVERIFY2(ended, "the preview waits for a writer of the pipe");
    QVERIFY(decoded.get().isNull());
}

int main(int argc, char* argv[])
{
    QMTest::prepareEnvironment();
    if (qEnvironmentVariableIsSet(kNoThreadChild))
        return runNoThreadChild(argc, argv);
    QMTest::TestApp app(argc, argv);
    TestBatchPreview tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_batchpreview.moc"
