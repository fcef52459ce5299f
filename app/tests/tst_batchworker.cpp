#include "BatchThread.h"
#include "BatchWorker.h"

#include "BatchFixtures.h"
#include "ExfatMount.h"
#include "FileSizeSignal.h"
#include "QMTest.h"
#include "ReadOnlyFolder.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cerrno>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace BatchFixtures;

namespace {

// Records the worker's signals on the GUI thread, in arrival order, through
// the same queued connections as the batch dialog gets.
class Recorder : public QObject
{
    Q_OBJECT
public:
    struct Event
    {
        QString name;
        QVariantList args;
    };
    QVector<Event> events;
    bool bFinished = false;

    QVector<Event> named(const QString& name) const
    {
        QVector<Event> found;
        for (const Event& e : events)
            if (e.name == name)
                found << e;
        return found;
    }
    QStringList names() const
    {
        QStringList list;
        for (const Event& e : events)
            list << e.name;
        return list;
    }

public slots:
    void finished(const QString& s) { add("finished", {s}); bFinished = true; }
    void fileProgress(int v) { add("fileProgress", {v}); }
    void totalProgress(int v) { add("totalProgress", {v}); }
    void currentFile(const QString& s) { add("currentFile", {s}); }
    void currentFilePathAndName(const QString& s) { add("currentFilePathAndName", {s}); }
    void errorsLog(const QString& s) { add("errorsLog", {s}); }
    void failed(const QString& s) { add("failed", {s}); }
    void totalProgressSizes(qint64 a, qint64 b) { add("totalProgressSizes", {a, b}); }
    void filesCountChanged(int a, int b) { add("filesCountChanged", {a, b}); }

private:
    void add(const char* name, const QVariantList& args) { events << Event{QLatin1String(name), args}; }
};

void setSetting(const char* key, const QVariant& value)
{
    QMWidgets::App::instance()->setSettingsValue(QLatin1String(key), value);
}

} // namespace

class TestBatchWorker : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void testRelativeOutputDir_data();
    void testRelativeOutputDir();
    void testFixtureTreeRun();
    void testPictureOptions_data();
    void testPictureOptions();
    void testCopyOptions_data();
    void testCopyOptions();
    void testSameNamesWithoutStructure();
    void testNoApplyingUrlGoesToBatchFolder();
    void testBatchFolderFailure_data();
    void testBatchFolderFailure();
    void testBatchFolderIsMadeNew_data();
    void testBatchFolderIsMadeNew();
    void testNothingWrittenIsAFailure();
    void testFailedBatchLeavesNoFolders_data();
    void testFailedBatchLeavesNoFolders();
    void testWithoutNoReplaceMoves_data();
    void testWithoutNoReplaceMoves();
    void testPipeSourceFailsAndBatchGoesOn();
    void testNothingToDo();
    void testStop();
    void testStopInCopyPhase();
    void testPause();
    void testStopAndPauseBeforeStart();
    void testFullDiskBatch();

private:
    BatchWorker* makeWorker();
    void run(BatchWorker* worker, int timeoutMs = 60000);
    QString batchFolderOf() const;

    QTemporaryDir* m_pDir = nullptr;
    QString m_strDest;
    BatchThread* m_pThread = nullptr;
    BatchWorker* m_pWorker = nullptr;
    Recorder* m_pRecorder = nullptr;
    QString m_strSavedCwd;
};

void TestBatchWorker::init()
{
    QMTest::clearSettings();
    m_pDir = new QTemporaryDir;
    m_strDest = m_pDir->path() + QStringLiteral("/out/");
    setSetting("DestinationPath", m_strDest);
    // The current directory must stay untouched: run from an empty one.
    m_strSavedCwd = QDir::currentPath();
    QDir().mkpath(m_pDir->path() + QStringLiteral("/cwd"));
    QDir::setCurrent(m_pDir->path() + QStringLiteral("/cwd"));
}

void TestBatchWorker::cleanup()
{
    if (m_pThread) {
        if (m_pWorker)
            m_pWorker->stop();
        m_pThread->quit();
        m_pThread->wait();
    }
    QVERIFY(treeOf(QDir::currentPath()).isEmpty());
    QDir::setCurrent(m_strSavedCwd);
    BatchWorker::setClockForTesting({});
    OptimizeStep::setWriteFaultForTesting({});
    OptimizeStep::setWithoutNoReplaceMovesForTesting(false);
    delete m_pWorker;
    delete m_pThread;
    delete m_pRecorder;
    delete m_pDir;
    m_pWorker = nullptr;
    m_pThread = nullptr;
    m_pRecorder = nullptr;
    m_pDir = nullptr;
}

// Wired as the batch launch wires it: a thread without parent, the worker
// moved to it, started() to slotDoWork(), signals queued to the GUI thread.
BatchWorker* TestBatchWorker::makeWorker()
{
    m_pThread = new BatchThread;
    m_pWorker = new BatchWorker;
    m_pThread->setWorker(m_pWorker);
    m_pWorker->moveToThread(m_pThread);
    connect(m_pThread, SIGNAL(started()), m_pWorker, SLOT(slotDoWork()));
    m_pRecorder = new Recorder;
    const char* const signalNames[] = {
        SIGNAL(finished(QString)), SIGNAL(fileProgress(int)), SIGNAL(totalProgress(int)),
        SIGNAL(currentFile(QString)), SIGNAL(currentFilePathAndName(QString)),
        SIGNAL(errorsLog(QString)), SIGNAL(totalProgressSizes(qint64,qint64)),
        SIGNAL(filesCountChanged(int,int)), SIGNAL(failed(QString))};
    const char* const slotNames[] = {
        SLOT(finished(QString)), SLOT(fileProgress(int)), SLOT(totalProgress(int)),
        SLOT(currentFile(QString)), SLOT(currentFilePathAndName(QString)),
        SLOT(errorsLog(QString)), SLOT(totalProgressSizes(qint64,qint64)),
        SLOT(filesCountChanged(int,int)), SLOT(failed(QString))};
    for (int i = 0; i < 9; ++i)
        connect(m_pWorker, signalNames[i], m_pRecorder, slotNames[i]);
    return m_pWorker;
}

void TestBatchWorker::run(BatchWorker*, int timeoutMs)
{
    m_pThread->start();
    QTRY_VERIFY_WITH_TIMEOUT(m_pRecorder->bFinished, timeoutMs);
    m_pThread->quit();
    QVERIFY(m_pThread->wait(10000));
}

QString TestBatchWorker::batchFolderOf() const
{
    const auto finished = m_pRecorder->named(QStringLiteral("finished"));
    return finished.isEmpty() ? QString() : finished.last().args.at(0).toString();
}

void TestBatchWorker::testRelativeOutputDir_data()
{
    QTest::addColumn<QStringList>("urls");      // local paths; "" is a non-local URL
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("isFolder");
    QTest::addColumn<QString>("expected");      // "B/" stands for the batch folder

    const QString d = QStringLiteral("@/d");    // "@" is replaced by the fixture root
    QTest::newRow("file two levels into a dropped folder")
        << QStringList{d + "/Holiday"} << d + "/Holiday/Day1/b.png" << false << "B/Holiday/Day1/";
    QTest::newRow("file directly in a dropped folder")
        << QStringList{d + "/Holiday"} << d + "/Holiday/a.png" << false << "B/Holiday/";
    QTest::newRow("file dropped on its own")
        << QStringList{d + "/x.png"} << d + "/x.png" << false << "B/";
    QTest::newRow("prefix is not inside")
        << QStringList{d + "/Hol"} << d + "/Holiday/a.png" << false << "";
    QTest::newRow("url ending in slash adds no component")
        << QStringList{d + "/Holiday/"} << d + "/Holiday/Day1/b.png" << false << "B/Day1/";
    QTest::newRow("non-local url ignored")
        << QStringList{"", d + "/Holiday"} << d + "/Holiday/a.png" << false << "B/Holiday/";
    QTest::newRow("last applying url wins")
        << QStringList{d, d + "/Holiday"} << d + "/Holiday/Day1/b.png" << false << "B/Holiday/Day1/";
    QTest::newRow("no url applies")
        << QStringList{d + "/Other"} << d + "/Holiday/a.png" << false << "";
    QTest::newRow("folder entry")
        << QStringList{d + "/Holiday"} << d + "/Holiday/Empty" << true << "B/Holiday/Empty/";
    QTest::newRow("the dropped folder itself")
        << QStringList{d + "/Holiday"} << d + "/Holiday" << true << "B/Holiday/";
}

void TestBatchWorker::testRelativeOutputDir()
{
    QFETCH(QStringList, urls);
    QFETCH(QString, entry);
    QFETCH(bool, isFolder);
    QFETCH(QString, expected);

    const QString root = m_pDir->path();
    const QString d = root + QStringLiteral("/d");
    QVERIFY(writeFile(d + QStringLiteral("/x.png"), "x"));
    QVERIFY(writeFile(d + QStringLiteral("/Holiday/a.png"), "a"));
    QVERIFY(writeFile(d + QStringLiteral("/Holiday/Day1/b.png"), "b"));
    QVERIFY(QDir().mkpath(d + QStringLiteral("/Holiday/Empty")));

    QList<QUrl> list;
    for (const QString& url : urls)
        list << (url.isEmpty() ? QUrl(QStringLiteral("https://example.invalid/a.png"))
                               : QUrl::fromLocalFile(QString(url).replace(QLatin1Char('@'), root)));
    BatchWorker worker;
    worker.setSourceUrls(list);
    const QString batch = root + QStringLiteral("/B/");
    const QString result = worker.relativeOutputDir(QString(entry).replace(QLatin1Char('@'), root),
                                                    batch, isFolder);
    QCOMPARE(result, expected.isEmpty() ? QString() : QString(expected).replace(0, 2, batch));
}

// The whole road over a generated tree: every kind of PNG, a corrupt one, a
// name collision, text and other files and an empty folder.
void TestBatchWorker::testFixtureTreeRun()
{
    const QString d = m_pDir->path() + QStringLiteral("/drop/");
    const QString holiday = d + QStringLiteral("Holiday/");
    struct Source { QString path; QString output; };
    const QByteArray tinyA = tinyPng(10);
    const QByteArray tinyB = tinyPng(240);
    QVERIFY(writeFile(holiday + "rgb.png", pngBytes(rgbPicture(64, 48))));
    QVERIFY(writeFile(holiday + "alpha.png", pngBytes(alphaPicture(64, 48))));
    QVERIFY(writeFile(holiday + "Day1/palette.png", pngBytes(palettePicture(120, 90, 200))));
    QVERIFY(writeFile(holiday + "Day1/grey.png", pngBytes(greyPicture(120, 90))));
    QVERIFY(writeFile(holiday + "broken.png", "\x89PNG but nothing else"));
    QVERIFY(writeFile(holiday + "notes.txt", "some notes\n"));
    QVERIFY(writeFile(holiday + "pic.jpg", "not really a jpeg"));
    QVERIFY(QDir().mkpath(holiday + "Empty"));
    QVERIFY(writeFile(d + "tiny.png", tinyA));
    QVERIFY(writeFile(m_pDir->path() + "/other/tiny.png", tinyB));

    const QVector<Source> sources{
        {holiday + "rgb.png", "Holiday/rgb.png"},
        {holiday + "alpha.png", "Holiday/alpha.png"},
        {holiday + "Day1/palette.png", "Holiday/Day1/palette.png"},
        {holiday + "Day1/grey.png", "Holiday/Day1/grey.png"},
        {holiday + "broken.png", "Holiday/broken.png"},
        {d + "tiny.png", "tiny.png"},
        {m_pDir->path() + "/other/tiny.png", "tiny 2.png"}};

    constexpr int Quality = 16;
    setSetting("KeyQuality", Quality);
    setSetting("KeyCopyTextssActive", true);
    setSetting("KeyCopyEntireContentActive", true);

    BatchWorker* worker = makeWorker();
    QVector<QString> pngs;
    for (const Source& s : sources)
        pngs << s.path;
    worker->setPngFiles(pngs);
    worker->setTextFiles({holiday + "notes.txt"});
    worker->setOtherFiles({holiday + "pic.jpg", holiday + "Empty"});
    worker->setSourceUrls({QUrl::fromLocalFile(d + "Holiday"), QUrl::fromLocalFile(d + "tiny.png"),
                           QUrl::fromLocalFile(m_pDir->path() + "/other/tiny.png")});
    run(worker);

    // The batch folder: destination + time stamp + "/".
    const QString batch = batchFolderOf();
    QVERIFY(batch.startsWith(m_strDest));
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d/$"))
                .match(batch.mid(m_strDest.size())).hasMatch());
    // Nothing else under the destination.
    QCOMPARE(QDir(m_strDest).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{batch.mid(m_strDest.size()).chopped(1)});

    QStringList expectedTree{"Holiday/", "Holiday/Day1/", "Holiday/Day1/grey.png",
                             "Holiday/Day1/palette.png", "Holiday/Empty/", "Holiday/alpha.png",
                             "Holiday/broken.png", "Holiday/notes.txt", "Holiday/pic.jpg",
                             "Holiday/rgb.png", "tiny 2.png", "tiny.png"};
    QCOMPARE(treeOf(batch), expectedTree);

    // Every output: a reduced indexed picture of the source's size with at
    // most the requested colours, or the source byte for byte.
    qint64 inputTotal = 0;
    qint64 outputTotal = 0;
    int reducedCount = 0;
    for (const Source& s : sources) {
        const QByteArray in = readFile(s.path);
        const QByteArray out = readFile(batch + s.output);
        inputTotal += in.size();
        outputTotal += out.size();
        if (out == in)
            continue;
        ++reducedCount;
        QImage reduced;
        QVERIFY2(reduced.loadFromData(out), qPrintable(s.output));
        QCOMPARE(reduced.format(), QImage::Format_Indexed8);
        QCOMPARE(reduced.size(), QImage(s.path).size());
        QVERIFY2(usedOpaqueColors(reduced) <= Quality, qPrintable(s.output));
        QVERIFY(out.size() <= in.size());
    }
    QVERIFY(reducedCount >= 3);
    QCOMPARE(readFile(batch + "Holiday/broken.png"), readFile(holiday + "broken.png"));
    QCOMPARE(readFile(batch + "tiny.png"), tinyA);
    QCOMPARE(readFile(batch + "tiny 2.png"), tinyB);
    QCOMPARE(readFile(batch + "Holiday/notes.txt"), QByteArray("some notes\n"));

    // Totals: every source counted in, what was written counted out.
    const auto sizes = m_pRecorder->named(QStringLiteral("totalProgressSizes"));
    QCOMPARE(sizes.size(), sources.size());
    QCOMPARE(sizes.last().args.at(0).toLongLong(), inputTotal);
    QCOMPARE(sizes.last().args.at(1).toLongLong(), outputTotal);

    // The broken file is in the error log, once.
    const auto errors = m_pRecorder->named(QStringLiteral("errorsLog"));
    QCOMPARE(errors.size(), 1);
    const QString log = errors.first().args.at(0).toString();
    QCOMPARE(log.count(QLatin1Char('\n')), 1);
    QVERIFY(log.startsWith(holiday + "broken.png: "));

    // Signal order. Per PNG: fileProgress(0), "COMPRESSING", the path, the
    // counter, reducer progress, the sizes, the total; then the two copy
    // phases; then the log, one 100 and finished, last.
    const QStringList names = m_pRecorder->names();
    QCOMPARE(names.last(), QStringLiteral("finished"));
    QCOMPARE(names.at(names.size() - 2), QStringLiteral("totalProgress"));
    QCOMPARE(names.at(names.size() - 3), QStringLiteral("errorsLog"));
    int fileIndex = 0;
    for (int i = 0; i < m_pRecorder->events.size(); ++i) {
        const auto& e = m_pRecorder->events.at(i);
        if (e.name != QLatin1String("currentFilePathAndName"))
            continue;
        QCOMPARE(m_pRecorder->events.at(i - 2).name, QStringLiteral("fileProgress"));
        QCOMPARE(m_pRecorder->events.at(i - 2).args.at(0).toInt(), 0);
        QCOMPARE(m_pRecorder->events.at(i - 1).args.at(0).toString(), QStringLiteral("COMPRESSING"));
        QCOMPARE(e.args.at(0).toString(), sources.at(fileIndex).path);
        QCOMPARE(m_pRecorder->events.at(i + 1).name, QStringLiteral("filesCountChanged"));
        QCOMPARE(m_pRecorder->events.at(i + 1).args,
                 (QVariantList{fileIndex + 1, int(sources.size())}));
        ++fileIndex;
    }
    QCOMPARE(fileIndex, sources.size());
    const auto status = m_pRecorder->named(QStringLiteral("currentFile"));
    QCOMPARE(status.at(status.size() - 2).args.at(0).toString(), QStringLiteral("COPYING TEXT FILES"));
    QCOMPARE(status.last().args.at(0).toString(), QStringLiteral("COPYING NON PNG CONTENT"));

    // Total progress: whole steps of 9, rising, one 100 at the very end.
    QVector<int> totals;
    for (const auto& e : m_pRecorder->named(QStringLiteral("totalProgress")))
        totals << e.args.at(0).toInt();
    QVector<int> expectedTotals;
    for (int step = 1; step < 9; ++step)
        expectedTotals << int(step * 100.0 / 9);
    expectedTotals << 100;
    QCOMPARE(totals, expectedTotals);

    // File progress is coalesced: never the same value twice in a row.
    int last = -1;
    for (const auto& e : m_pRecorder->events) {
        if (e.name == QLatin1String("fileProgress")) {
            QVERIFY(e.args.at(0).toInt() != last);
            last = e.args.at(0).toInt();
        } else if (e.name != QLatin1String("currentFile")) {
            last = -1;
        }
    }
}

void TestBatchWorker::testPictureOptions_data()
{
    QTest::addColumn<QVariant>("quality");
    QTest::addColumn<QVariant>("resize");
    QTest::addColumn<bool>("gray");
    QTest::addColumn<int>("maxColors");
    QTest::addColumn<QSize>("size");

    QTest::newRow("defaults") << QVariant() << QVariant() << false << 256 << QSize(101, 51);
    QTest::newRow("half, grey") << QVariant(64) << QVariant(50) << true << 64 << QSize(51, 26);
    QTest::newRow("stored out of range") << QVariant(300) << QVariant(0) << false << 256 << QSize(1, 1);
    QTest::newRow("quality 0 means 1") << QVariant(0) << QVariant(100) << false << 1 << QSize(101, 51);
    // 100 and above keep the size; 99 scales: 101 x 0.99 = 99.99 and
    // 51 x 0.99 = 50.49 round to 100 x 50, and the 101 : 51 shape fitted
    // into that is 99 x 50.
    QTest::newRow("resize 99 scales") << QVariant() << QVariant(99) << false << 256 << QSize(99, 50);
    QTest::newRow("resize 100 keeps") << QVariant() << QVariant(100) << false << 256 << QSize(101, 51);
    QTest::newRow("resize 150 keeps") << QVariant() << QVariant(150) << false << 256 << QSize(101, 51);
}

// The options are read from the store for the file, clamped to what the
// reducer and the scaling accept.
void TestBatchWorker::testPictureOptions()
{
    QFETCH(QVariant, quality);
    QFETCH(QVariant, resize);
    QFETCH(bool, gray);
    QFETCH(int, maxColors);
    QFETCH(QSize, size);

    if (quality.isValid())
        setSetting("KeyQuality", quality);
    if (resize.isValid())
        setSetting("KeyResize", resize);
    setSetting("KeyDoGray", gray);
    const QString path = m_pDir->path() + QStringLiteral("/in/photo.png");
    QVERIFY(writeFile(path, pngBytes(rgbPicture(101, 51, 11))));
    BatchWorker* worker = makeWorker();
    worker->setPngFiles({path});
    run(worker);

    QCOMPARE(m_pRecorder->named(QStringLiteral("errorsLog")).size(), 0);
    const QString batch = batchFolderOf();
    QCOMPARE(treeOf(batch), QStringList{"photo.png"});
    const QByteArray out = readFile(batch + QStringLiteral("photo.png"));
    // The noisy true-colour fixture always shrinks when reduced; the source
    // kept in its place would mean the reduction was lost.
    QVERIFY2(out != readFile(path), "the source was kept instead of the reduced picture");
    QImage reduced;
    QVERIFY(reduced.loadFromData(out));
    QCOMPARE(reduced.format(), QImage::Format_Indexed8);
    QCOMPARE(reduced.size(), size);
    QVERIFY(usedOpaqueColors(reduced) <= maxColors);
    if (gray) {
        for (QRgb c : reduced.colorTable())
            QVERIFY(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
    }
}

void TestBatchWorker::testCopyOptions_data()
{
    QTest::addColumn<bool>("texts");
    QTest::addColumn<bool>("entire");
    QTest::addColumn<bool>("structure");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing copied") << false << false << true << QStringList{"F/", "F/a.png"};
    QTest::newRow("texts") << true << false << true << QStringList{"F/", "F/a.png", "F/notes.txt"};
    QTest::newRow("entire") << false << true << true
                            << QStringList{"F/", "F/Empty/", "F/Sub/", "F/Sub/pic.jpg", "F/a.png"};
    QTest::newRow("both, flat") << true << true << false
                                << QStringList{"a.png", "notes.txt", "pic.jpg"};
}

void TestBatchWorker::testCopyOptions()
{
    QFETCH(bool, texts);
    QFETCH(bool, entire);
    QFETCH(bool, structure);
    QFETCH(QStringList, expected);

    const QString f = m_pDir->path() + QStringLiteral("/src/F/");
    QVERIFY(writeFile(f + "a.png", pngBytes(rgbPicture(30, 30))));
    QVERIFY(writeFile(f + "notes.txt", "n"));
    QVERIFY(writeFile(f + "Sub/pic.jpg", "j"));
    QVERIFY(QDir().mkpath(f + "Empty"));
    setSetting("KeyCopyTextssActive", texts);
    setSetting("KeyCopyEntireContentActive", entire);
    setSetting("KeyFolderStructureActive", structure);

    BatchWorker* worker = makeWorker();
    worker->setPngFiles({f + "a.png"});
    worker->setTextFiles({f + "notes.txt"});
    worker->setOtherFiles({f + "Sub/pic.jpg", f + "Empty"});
    worker->setSourceUrls({QUrl::fromLocalFile(m_pDir->path() + "/src/F")});
    run(worker);

    QCOMPARE(treeOf(batchFolderOf()), expected);
    QCOMPARE(m_pRecorder->named(QStringLiteral("errorsLog")).size(), 0);
    const int steps = 1 + (texts ? 1 : 0) + (entire ? 1 : 0);
    QCOMPARE(m_pRecorder->named(QStringLiteral("totalProgress")).size(), steps);
}

// Two sources of the same name land side by side; neither is lost.
void TestBatchWorker::testSameNamesWithoutStructure()
{
    setSetting("KeyFolderStructureActive", false);
    QVector<QString> files;
    for (const char* folder : {"x", "y", "z"}) {
        const QString path = m_pDir->path() + "/" + folder + "/a.png";
        QVERIFY(writeFile(path, pngBytes(rgbPicture(40, 40, quint32(folder[0])))));
        files << path;
    }
    BatchWorker* worker = makeWorker();
    worker->setPngFiles(files);
    run(worker);
    QCOMPARE(treeOf(batchFolderOf()), (QStringList{"a 2.png", "a 3.png", "a.png"}));
}

// Relative or unrelated URLs give no target folder: the file goes to the
// batch folder, never to the current directory.
void TestBatchWorker::testNoApplyingUrlGoesToBatchFolder()
{
    const QString path = m_pDir->path() + QStringLiteral("/lost/a.png");
    QVERIFY(writeFile(path, pngBytes(rgbPicture(20, 20))));
    BatchWorker* worker = makeWorker();
    worker->setPngFiles({path});
    worker->setSourceUrls({QUrl(QStringLiteral("file:.")), QUrl::fromLocalFile(QStringLiteral("/nowhere"))});
    run(worker);
    QCOMPARE(treeOf(batchFolderOf()), QStringList{"a.png"});
}

void TestBatchWorker::testBatchFolderFailure_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("destination below a file") << "below a file";
    QTest::newRow("read-only destination") << "read-only";
    QTest::newRow("empty destination") << "empty";
    QTest::newRow("relative destination") << "relative";
}

// A batch folder that can not be made ends the batch as a failure that
// names the destination and the reason: no total progress of 100, no folder
// to show, nothing written anywhere.
void TestBatchWorker::testBatchFolderFailure()
{
    QFETCH(QString, kind);
    const QString path = m_pDir->path() + QStringLiteral("/in/a.png");
    QVERIFY(writeFile(path, pngBytes(rgbPicture(20, 20))));

    QString destination;
    QString reason;
    std::unique_ptr<ReadOnlyFolder> readOnly;
    if (kind == QLatin1String("below a file")) {
        const QString blocker = m_pDir->path() + QStringLiteral("/blocker");
        QVERIFY(writeFile(blocker, "a file, not a folder"));
        destination = blocker + QStringLiteral("/out/");
        reason = qt_error_string(ENOTDIR);
    } else if (kind == QLatin1String("read-only")) {
        destination = m_strDest;
        QVERIFY(QDir().mkpath(destination));
        readOnly.reset(new ReadOnlyFolder(destination));
        if (!readOnly->isSet())
            QSKIP("the folder can not be made read-only here (no immutable flag, or no right to set it)");
        reason = qt_error_string(readOnly->errorCode());
    } else {
        destination = kind == QLatin1String("empty") ? QString() : QStringLiteral("out/");
        reason = QStringLiteral("The destination folder is not a valid folder");
    }
    setSetting("DestinationPath", destination);

    BatchWorker* worker = makeWorker();
    worker->setPngFiles({path});
    run(worker);
    readOnly.reset();

    QCOMPARE(m_pRecorder->names(), (QStringList{"errorsLog", "failed", "finished"}));
    const QString failure = m_pRecorder->events.at(1).args.at(0).toString();
    QVERIFY2(failure.contains(destination.isEmpty() ? QStringLiteral("\"\"") : destination), qPrintable(failure));
    QVERIFY2(failure.contains(reason), qPrintable(failure));
    QVERIFY(m_pRecorder->events.first().args.at(0).toString().contains(failure));
    QCOMPARE(batchFolderOf(), QString());
    QCOMPARE(treeOf(m_pDir->path() + QStringLiteral("/in")), QStringList{"a.png"});
    if (QFileInfo(m_strDest).isDir())
        QCOMPARE(treeOf(m_strDest), QStringList());
}

void TestBatchWorker::testBatchFolderIsMadeNew_data()
{
    QTest::addColumn<QStringList>("taken");     // batch folders made before the run
    QTest::addColumn<bool>("byNobody");         // made by another user
    QTest::addColumn<QString>("expected");      // the folder the run takes

    const QString stamp = QStringLiteral("2031-05-06_07-08-09");
    QTest::newRow("free name") << QStringList() << false << stamp;
    QTest::newRow("made by an earlier batch") << QStringList{stamp} << false << stamp + " 2";
    QTest::newRow("made twice") << QStringList{stamp, stamp + " 2"} << false << stamp + " 3";
    QTest::newRow("planted by another user") << QStringList{stamp} << true << stamp + " 2";
}

// The batch folder is always made new. A folder that already has its name,
// whoever made it, is left alone with what it holds (here a link that leads
// out of it at the name of the batch's output), and the next name is taken.
void TestBatchWorker::testBatchFolderIsMadeNew()
{
    QFETCH(QStringList, taken);
    QFETCH(bool, byNobody);
    QFETCH(QString, expected);
    if (byNobody && ::geteuid() != 0)
        QSKIP("only root can make a folder that belongs to another user");

    BatchWorker::setClockForTesting([] { return QDateTime(QDate(2031, 5, 6), QTime(7, 8, 9)); });
    const QString elsewhere = m_pDir->path() + QStringLiteral("/elsewhere/");
    QVERIFY(QDir().mkpath(elsewhere));
    for (const QString& name : taken) {
        const QString folder = m_strDest + name + QLatin1Char('/');
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(elsewhere + name, folder + QStringLiteral("a.png")));
        if (byNobody) {
            QCOMPARE(::lchown(QFile::encodeName(folder + QStringLiteral("a.png")).constData(), 65534, 65534), 0);
            QCOMPARE(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        }
    }
    const QString path = m_pDir->path() + QStringLiteral("/in/a.png");
    const QByteArray bytes = pngBytes(rgbPicture(30, 20));
    QVERIFY(writeFile(path, bytes));

    BatchWorker* worker = makeWorker();
    worker->setPngFiles({path});
    run(worker);

    QCOMPARE(m_pRecorder->named(QStringLiteral("errorsLog")).size(), 0);
    QCOMPARE(batchFolderOf(), m_strDest + expected + QLatin1Char('/'));
    QCOMPARE(treeOf(batchFolderOf()), QStringList{"a.png"});
    QVERIFY(QImage(batchFolderOf() + QStringLiteral("a.png")).format() == QImage::Format_Indexed8);
    // Nothing went where the planted links lead; they are as they were.
    QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), QStringList());
    for (const QString& name : taken) {
        const QString folder = m_strDest + name + QLatin1Char('/');
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"a.png"});
        QCOMPARE(QFileInfo(folder + QStringLiteral("a.png")).symLinkTarget(), elsewhere + name);
    }
}

// Every file failed: the batch wrote nothing, so it is not done but failed,
// and it has no folder to show.
void TestBatchWorker::testNothingWrittenIsAFailure()
{
    BatchWorker* worker = makeWorker();
    worker->setPngFiles({m_pDir->path() + QStringLiteral("/gone/a.png"),
                         m_pDir->path() + QStringLiteral("/gone/b.png")});
    run(worker);

    const QStringList names = m_pRecorder->names();
    QCOMPARE(names.mid(names.size() - 3), (QStringList{"errorsLog", "failed", "finished"}));
    for (const auto& e : m_pRecorder->named(QStringLiteral("totalProgress")))
        QVERIFY(e.args.at(0).toInt() < 100);
    const QString failure = m_pRecorder->named(QStringLiteral("failed")).first().args.at(0).toString();
    QVERIFY2(failure.startsWith(m_strDest), qPrintable(failure));
    QCOMPARE(batchFolderOf(), QString());
}

void TestBatchWorker::testFailedBatchLeavesNoFolders_data()
{
    QTest::addColumn<QString>("sources");     // "missing" files, or pictures whose "writes fail"
    QTest::addColumn<bool>("structure");
    QTest::addColumn<bool>("foreignFile");    // someone puts a file into the batch folder meanwhile
    QTest::addColumn<QStringList>("expected");// what the destination holds afterwards

    const QString stamp = QStringLiteral("2031-05-06_07-08-09/");
    QTest::newRow("missing sources") << "missing" << false << false << QStringList();
    QTest::newRow("missing sources, folder structure") << "missing" << true << false << QStringList();
    QTest::newRow("writes fail, folder structure") << "writes fail" << true << false << QStringList();
    QTest::newRow("a file of someone else's stays")
        << "writes fail" << true << true << QStringList{stamp, stamp + "foreign.txt"};
}

// A batch that ends failed after it made its folder takes away the folders
// it made (the batch folder and those of the rebuilt structure) where they
// stayed empty, and nothing else.
void TestBatchWorker::testFailedBatchLeavesNoFolders()
{
    QFETCH(QString, sources);
    QFETCH(bool, structure);
    QFETCH(bool, foreignFile);
    QFETCH(QStringList, expected);

    BatchWorker::setClockForTesting([] { return QDateTime(QDate(2031, 5, 6), QTime(7, 8, 9)); });
    setSetting("KeyFolderStructureActive", structure);
    const QString drop = m_pDir->path() + QStringLiteral("/in/Holiday");
    QVector<QString> files{drop + QStringLiteral("/a.png"), drop + QStringLiteral("/Day1/Night/b.png")};
    if (sources == QLatin1String("missing")) {
        QVERIFY(QDir().mkpath(drop));
        files.replace(0, drop + QStringLiteral("/gone.png"));
        files.replace(1, drop + QStringLiteral("/Day1/Night/gone.png"));
    } else {
        for (const QString& file : files)
            QVERIFY(writeFile(file, pngBytes(rgbPicture(30, 20))));
    }
    const QString batch = m_strDest + QStringLiteral("2031-05-06_07-08-09/");
    OptimizeStep::setWriteFaultForTesting([&](const QString&) {
        if (foreignFile)
            writeFile(batch + QStringLiteral("foreign.txt"), "not the batch's");
        return true;
    });

    BatchWorker* worker = makeWorker();
    worker->setPngFiles(files);
    worker->setSourceUrls({QUrl::fromLocalFile(drop)});
    run(worker);

    QCOMPARE(m_pRecorder->named(QStringLiteral("failed")).size(), 1);
    QCOMPARE(batchFolderOf(), QString());
    QCOMPARE(treeOf(m_strDest), expected);
}

void TestBatchWorker::testWithoutNoReplaceMoves_data()
{
    QTest::addColumn<bool>("realMount");
    QTest::newRow("local folder answering as such a file system") << false;
    QTest::newRow("exFAT through FUSE") << true;
}

// A destination on a file system without the no-replace rename and without
// hard links (a stick or share mounted through FUSE): the batch writes every
// result and copy, and a name taken while a file is written still sends that
// file to the next free name, leaving what took it alone.
void TestBatchWorker::testWithoutNoReplaceMoves()
{
    QFETCH(bool, realMount);

    std::unique_ptr<ExfatMount> mount;
    if (realMount) {
        mount.reset(new ExfatMount(m_pDir->path()));
        if (!mount->isMounted())
            QSKIP(qPrintable(mount->skipReason()));
        m_strDest = mount->root() + QStringLiteral("out/");
        setSetting("DestinationPath", m_strDest);
    } else {
        OptimizeStep::setWithoutNoReplaceMovesForTesting(true);
    }
    setSetting("KeyCopyTextssActive", true);
    setSetting("KeyCopyEntireContentActive", true);

    const QString holiday = m_pDir->path() + QStringLiteral("/drop/Holiday/");
    const QByteArray tiny = tinyPng(30);
    QVERIFY(writeFile(holiday + "a.png", pngBytes(rgbPicture(64, 48))));
    QVERIFY(writeFile(holiday + "tiny.png", tiny));
    QVERIFY(writeFile(holiday + "Day1/b.png", pngBytes(rgbPicture(40, 30, 3))));
    QVERIFY(writeFile(holiday + "notes.txt", "notes\n"));
    QVERIFY(writeFile(holiday + "Day1/data.bin", "\x01\x02"));
    const QByteArray theirs = "taken in between";
    OptimizeStep::setWriteFaultForTesting([&](const QString& path) {
        if (path.endsWith(QStringLiteral("/Holiday/a.png")))
            writeFile(path, theirs);
        return false;
    });

    BatchWorker* worker = makeWorker();
    worker->setPngFiles({holiday + "a.png", holiday + "tiny.png", holiday + "Day1/b.png"});
    worker->setTextFiles({holiday + "notes.txt"});
    worker->setOtherFiles({holiday + "Day1/data.bin"});
    worker->setSourceUrls({QUrl::fromLocalFile(m_pDir->path() + QStringLiteral("/drop/Holiday"))});
    run(worker);

    QCOMPARE(m_pRecorder->named(QStringLiteral("errorsLog")).size(), 0);
    QCOMPARE(m_pRecorder->named(QStringLiteral("failed")).size(), 0);
    const QString batch = batchFolderOf();
    QVERIFY(batch.startsWith(m_strDest));
    QCOMPARE(treeOf(batch), (QStringList{"Holiday/", "Holiday/Day1/", "Holiday/Day1/b.png",
                                         "Holiday/Day1/data.bin", "Holiday/a 2.png", "Holiday/a.png",
                                         "Holiday/notes.txt", "Holiday/tiny.png"}));
    QCOMPARE(readFile(batch + "Holiday/a.png"), theirs);
    QVERIFY(QImage(batch + "Holiday/a 2.png").format() == QImage::Format_Indexed8);
    QVERIFY(QImage(batch + "Holiday/Day1/b.png").format() == QImage::Format_Indexed8);
    QCOMPARE(readFile(batch + "Holiday/tiny.png"), tiny);
    QCOMPARE(readFile(batch + "Holiday/notes.txt"), QByteArray("notes\n"));
    QCOMPARE(readFile(batch + "Holiday/Day1/data.bin"), QByteArray("\x01\x02"));
}

// A pipe put where the list has a PNG file fails that file at once, with its
// reason, and the batch goes on to the next one.
void TestBatchWorker::testPipeSourceFailsAndBatchGoesOn()
{
    const QString pipe = m_pDir->path() + QStringLiteral("/in/pipe.png");
    const QString path = m_pDir->path() + QStringLiteral("/in/a.png");
    QVERIFY(writeFile(path, pngBytes(rgbPicture(30, 20))));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    BatchWorker* worker = makeWorker();
    worker->setPngFiles({pipe, path});
    run(worker);

    const auto errors = m_pRecorder->named(QStringLiteral("errorsLog"));
    QCOMPARE(errors.size(), 1);
    QCOMPARE(errors.first().args.at(0).toString(), pipe + QStringLiteral(": Not a regular file\n"));
    QCOMPARE(m_pRecorder->named(QStringLiteral("filesCountChanged")).size(), 2);
    QCOMPARE(treeOf(batchFolderOf()), QStringList{"a.png"});
    QCOMPARE(m_pRecorder->named(QStringLiteral("totalProgress")).last().args.at(0).toInt(), 100);
}

void TestBatchWorker::testNothingToDo()
{
    BatchWorker* worker = makeWorker();
    run(worker);
    QCOMPARE(m_pRecorder->names(), (QStringList{"totalProgress", "finished"}));
    QCOMPARE(m_pRecorder->events.first().args.at(0).toInt(), 100);
}

// Stop during the third of five files: the third is finished and then
// removed, four and five are not touched, no copy phase runs, and the run
// still ends with 100 and finished.
void TestBatchWorker::testStop()
{
    setSetting("KeyCopyTextssActive", true);
    QVector<QString> files;
    for (int i = 1; i <= 5; ++i) {
        files << m_pDir->path() + QStringLiteral("/in/f%1.png").arg(i);
        QVERIFY(writeFile(files.last(), pngBytes(rgbPicture(40, 30, quint32(i)))));
    }
    QVERIFY(writeFile(m_pDir->path() + "/in/notes.txt", "n"));
    BatchWorker* worker = makeWorker();
    worker->setPngFiles(files);
    worker->setTextFiles({m_pDir->path() + "/in/notes.txt"});
    worker->setSourceUrls({QUrl::fromLocalFile(m_pDir->path() + "/in")});
    connect(worker, &BatchWorker::filesCountChanged, worker,
            [worker](int n, int) { if (n == 3) worker->stop(); }, Qt::DirectConnection);
    run(worker);

    QCOMPARE(treeOf(batchFolderOf()), (QStringList{"in/", "in/f1.png", "in/f2.png"}));
    QCOMPARE(m_pRecorder->named(QStringLiteral("filesCountChanged")).size(), 3);
    QVERIFY(!m_pRecorder->named(QStringLiteral("currentFile")).last().args.at(0).toString()
                 .startsWith(QStringLiteral("COPYING")));
    const QStringList names = m_pRecorder->names();
    QCOMPARE(names.mid(names.size() - 2), (QStringList{"totalProgress", "finished"}));
    QCOMPARE(m_pRecorder->named(QStringLiteral("totalProgress")).last().args.at(0).toInt(), 100);
}

// Stop given while the first copied text file is reported: the second file,
// already under way, is finished, and the phase ends there; the next phase
// does not run; the run still ends with 100 and finished.
void TestBatchWorker::testStopInCopyPhase()
{
    setSetting("KeyCopyTextssActive", true);
    setSetting("KeyCopyEntireContentActive", true);
    const QString in = m_pDir->path() + QStringLiteral("/in/");
    QVERIFY(writeFile(in + "a.txt", "a"));
    QVERIFY(writeFile(in + "b.txt", "b"));
    QVERIFY(writeFile(in + "c.txt", "c"));
    QVERIFY(writeFile(in + "pic.jpg", "j"));
    BatchWorker* worker = makeWorker();
    worker->setTextFiles({in + "a.txt", in + "b.txt", in + "c.txt"});
    worker->setOtherFiles({in + "pic.jpg"});
    worker->setSourceUrls({QUrl::fromLocalFile(m_pDir->path() + "/in")});
    connect(worker, &BatchWorker::fileProgress, worker,
            [worker](int percent) { if (percent > 0) worker->stop(); }, Qt::DirectConnection);
    run(worker);

    QCOMPARE(treeOf(batchFolderOf()), (QStringList{"in/", "in/a.txt", "in/b.txt"}));
    const auto status = m_pRecorder->named(QStringLiteral("currentFile"));
    QCOMPARE(status.size(), 1);
    QCOMPARE(status.first().args.at(0).toString(), QStringLiteral("COPYING TEXT FILES"));
    const QStringList names = m_pRecorder->names();
    QCOMPARE(names.mid(names.size() - 2), (QStringList{"totalProgress", "finished"}));
    QCOMPARE(m_pRecorder->named(QStringLiteral("totalProgress")).last().args.at(0).toInt(), 100);
}

// Pause holds the run before the next file until Resume.
void TestBatchWorker::testPause()
{
    QVector<QString> files;
    for (int i = 1; i <= 3; ++i) {
        files << m_pDir->path() + QStringLiteral("/in/p%1.png").arg(i);
        QVERIFY(writeFile(files.last(), pngBytes(rgbPicture(30, 20, quint32(i)))));
    }
    BatchWorker* worker = makeWorker();
    worker->setPngFiles(files);
    connect(worker, &BatchWorker::filesCountChanged, worker,
            [worker](int n, int) { if (n == 2) worker->setPaused(true); }, Qt::DirectConnection);
    m_pThread->start();
    QTRY_COMPARE(m_pRecorder->named(QStringLiteral("totalProgressSizes")).size(), 2);
    QTest::qWait(1200);
    QCOMPARE(m_pRecorder->named(QStringLiteral("filesCountChanged")).size(), 2);
    QVERIFY(!m_pRecorder->bFinished);
    worker->setPaused(false);
    QTRY_VERIFY_WITH_TIMEOUT(m_pRecorder->bFinished, 30000);
    QCOMPARE(m_pRecorder->named(QStringLiteral("filesCountChanged")).size(), 3);
    QCOMPARE(treeOf(batchFolderOf()).size(), 3);
}

// Stop or Pause given while the thread is still starting are kept.
void TestBatchWorker::testStopAndPauseBeforeStart()
{
    const QString path = m_pDir->path() + QStringLiteral("/in/a.png");
    QVERIFY(writeFile(path, pngBytes(rgbPicture(20, 20))));
    {
        BatchWorker* worker = makeWorker();
        worker->setPngFiles({path});
        worker->stop();
        run(worker);
        QCOMPARE(m_pRecorder->names(), (QStringList{"totalProgress", "finished"}));
        QVERIFY(!QFileInfo::exists(m_strDest) || treeOf(m_strDest).isEmpty());
        cleanup();
        init();
    }
    QVERIFY(writeFile(path, pngBytes(rgbPicture(20, 20))));
    BatchWorker* worker = makeWorker();
    worker->setPngFiles({path});
    worker->setPaused(true);
    m_pThread->start();
    QTest::qWait(800);
    QVERIFY(m_pRecorder->named(QStringLiteral("filesCountChanged")).isEmpty());
    worker->stop();
    QTRY_VERIFY_WITH_TIMEOUT(m_pRecorder->bFinished, 10000);
    QVERIFY(m_pRecorder->named(QStringLiteral("filesCountChanged")).isEmpty());
    // Stopped with nothing written: no folder to show.
    QCOMPARE(batchFolderOf(), QString());
}

// A disk that fills up during the batch: the file that does not fit leaves
// nothing behind and is in the log; the batch goes on and no saving is
// claimed for it.
void TestBatchWorker::testFullDiskBatch()
{
    const QString big = m_pDir->path() + QStringLiteral("/in/big.png");
    const QString small = m_pDir->path() + QStringLiteral("/in/small.png");
    QVERIFY(writeFile(big, pngBytes(rgbPicture(160, 120, 9))));
    const QByteArray tiny = tinyPng(77);
    QVERIFY(writeFile(small, tiny));
    BatchWorker* worker = makeWorker();
    worker->setPngFiles({big, small});

    // As the program does at its start.
    MTools::ignoreFileSizeSignal();
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    m_pThread->start();
    QTRY_VERIFY_WITH_TIMEOUT(m_pRecorder->bFinished, 60000);
    setrlimit(RLIMIT_FSIZE, &saved);

    const QString batch = batchFolderOf();
    QCOMPARE(treeOf(batch), QStringList{"small.png"});
    QCOMPARE(readFile(batch + "small.png"), tiny);
    const auto errors = m_pRecorder->named(QStringLiteral("errorsLog"));
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().args.at(0).toString().contains(batch + QStringLiteral("big.png: ")));
    const auto sizes = m_pRecorder->named(QStringLiteral("totalProgressSizes")).last().args;
    QCOMPARE(sizes.at(0), sizes.at(1));
}

QMTEST_APP_MAIN(TestBatchWorker)

#include "tst_batchworker.moc"
