#include "MediaFixtures.h"
#include "MediaSearchDialog.h"
#include "TestFiles.h"

#include <QtTest>
#include <QLabel>
#include <QLayout>
#include <QPushButton>

#include <cerrno>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace QMMultiMedia;

namespace {

// A dialog whose playability answers come from the test; it also counts the
// probes and can cancel from inside one, as a user's click would.
class ScriptedSearchDialog : public MediaSearchDialog
{
public:
    QSet<QString> playable;
    QStringList probed;
    bool cancelInFirstProbe = false;
    // URLs handed to the dialog from inside the first probe, as a drop that
    // reaches the program while a walk runs would.
    QList<QUrl> urlsGivenInFirstProbe;

    bool isPlayable(const QString &path) override
    {
        probed.append(path);
        if (cancelInFirstProbe && probed.size() == 1)
            QMetaObject::invokeMethod(this, "slotCancel");
        if (!urlsGivenInFirstProbe.isEmpty() && probed.size() == 1)
            setUrls(urlsGivenInFirstProbe);
        return playable.contains(QFileInfo(path).fileName());
    }
};

// Runs one search the way the main page does and never waits unbounded.
int runSearch(MediaSearchDialog &dialog, const QList<QUrl> &urls, int startDelayMs = 0)
{
    dialog.setUrls(urls);
    QTimer::singleShot(startDelayMs, &dialog, SLOT(slotStart()));
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] { dialog.done(-1); });
    guard.start(30000);
    return dialog.exec();
}

QList<QUrl> urlsOf(const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls.append(QUrl::fromLocalFile(p));
    return urls;
}

// The URLs of paths relative to the folder.
QList<QUrl> urlsUnder(const QString &folder, const QStringList &relativePaths)
{
    QList<QUrl> urls;
    for (const QString &p : relativePaths)
        urls.append(QUrl::fromLocalFile(folder + QLatin1Char('/') + p));
    return urls;
}

// Paths relative to root, sorted: the walk keeps the file system's order.
QStringList relative(const QVector<QString> &paths, const QString &root)
{
    QStringList out;
    const QDir dir(root);
    for (const QString &p : paths)
        out.append(dir.relativeFilePath(p));
    out.sort();
    return out;
}

QLabel *labelAt(MediaSearchDialog &dialog, int index)
{
    return qobject_cast<QLabel *>(dialog.layout()->itemAt(index)->widget());
}

void makeFiles(const QString &root, const QStringList &relativePaths)
{
    for (const QString &rel : relativePaths) {
        const QString path = root + QLatin1Char('/') + rel;
        if (rel.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir().mkpath(path));
            continue;
        }
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(QMTest::writeFile(path, QByteArray("x")));
    }
}

// Root may read any folder; to see a folder it cannot read, the test drops
// the two capabilities that override read permission for this thread.
class DacOverrideDropped
{
public:
    DacOverrideDropped()
    {
        if (::geteuid() != 0) {
            m_bActive = true;
            return;
        }
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0;
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_bActive = ::syscall(SYS_capset, &m_header, reduced) == 0;
        m_bRestore = m_bActive;
    }
    ~DacOverrideDropped()
    {
        if (m_bRestore)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    bool active() const { return m_bActive; }

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_bActive = false;
    bool m_bRestore = false;
};

} // namespace

class tst_MediaSearchDialog : public QObject
{
    Q_OBJECT

public:
    tst_MediaSearchDialog() { MediaFixtures::useSilentAudioSink(); }

private slots:
    void init();

    void hasItsNamesAndTexts();
    void emptyUrlListIsAccepted();
    void sortsATreeByType();
    void probesOnlyWhatTheNameCannotDecide();
    void emptyFolders();
    void pathsKeepTheDroppedForm_data();
    void pathsKeepTheDroppedForm();
    void droppedFilesAreNotCounted();
    void countsLabelShowsTheLastUpdate_data();
    void countsLabelShowsTheLastUpdate();

    void linkBackToAParentEndsTheWalk();
    void folderReachedTwiceIsListedOnce();
    void folderWhoseSubfolderWasWalkedAlreadyIsNotEmpty();
    void newUrlsDuringAWalkWaitForTheNextSearch();
    void unreadableFolderIsNotEmpty();
    void leavesOutTheFoldersItIsGiven_data();
    void leavesOutTheFoldersItIsGiven();
    void takesEachNameOnce_data();
    void takesEachNameOnce();
    void namesThatDoNotSurviveAsTextAreSkipped();
    void foldersThatCannotBeOpenedAreNamed_data();
    void foldersThatCannotBeOpenedAreNamed();

    void cancelInsideAProbeEndsEverything();
    void cancelButtonEndsAWaitingProbe();
    void closingBeforeTheStartRunsNoSearch();

private:
    QScopedPointer<QTemporaryDir> m_pDir;
    QString m_strRoot;
};

void tst_MediaSearchDialog::init()
{
    m_pDir.reset(new QTemporaryDir);
    QVERIFY(m_pDir->isValid());
    m_strRoot = QDir(m_pDir->path()).canonicalPath();
}

void tst_MediaSearchDialog::hasItsNamesAndTexts()
{
    MediaSearchDialog dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("MediaSearchDialog"));
    QPushButton *button = dialog.findChild<QPushButton *>(QStringLiteral("SearchStopButton"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("&Cancel"));
    QCOMPARE(labelAt(dialog, 0)->text(),
             QStringLiteral("<CENTER><H2>Searching for the media files.<br>Please, wait...</H2></CENTER>"));
    QVERIFY(labelAt(dialog, 1)->text().isEmpty());
    QVERIFY(labelAt(dialog, 2)->text().isEmpty());
}

void tst_MediaSearchDialog::emptyUrlListIsAccepted()
{
    ScriptedSearchDialog dialog;
    QCOMPARE(runSearch(dialog, {}, 300), int(QDialog::Accepted));
    QVERIFY(dialog.audioFiles().isEmpty());
    QVERIFY(dialog.videoFiles().isEmpty());
    QVERIFY(dialog.imageFiles().isEmpty());
    QVERIFY(dialog.textFiles().isEmpty());
    QVERIFY(dialog.otherFiles().isEmpty());
    QVERIFY(dialog.folders().isEmpty());
    QVERIFY(dialog.emptyFolders().isEmpty());
}

void tst_MediaSearchDialog::sortsATreeByType()
{
    makeFiles(m_strRoot, {"a.png", ".h.png", "b.TXT", "song.mp3", ".x.mp3", "clip.mkv", "notes.zip",
                          "sub1/", "sub2/c.png", ".hid/d.PNG", ".hid/e.wav"});
    ScriptedSearchDialog dialog;
    dialog.playable = {"song.mp3", "clip.mkv"};
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot})), int(QDialog::Accepted));

    QCOMPARE(relative(dialog.imageFiles(), m_strRoot),
             QStringList({".h.png", ".hid/d.PNG", "a.png", "sub2/c.png"}));
    QCOMPARE(relative(dialog.textFiles(), m_strRoot), QStringList({"b.TXT"}));
    QCOMPARE(relative(dialog.audioFiles(), m_strRoot), QStringList({"song.mp3"}));
    QCOMPARE(relative(dialog.videoFiles(), m_strRoot), QStringList({"clip.mkv"}));
    QCOMPARE(relative(dialog.otherFiles(), m_strRoot), QStringList({".hid/e.wav", ".x.mp3", "notes.zip"}));
    QCOMPARE(relative(dialog.folders(), m_strRoot), QStringList({".hid", "sub1", "sub2"}));
    QCOMPARE(dialog.emptyFolders(), QVector<QString>({m_strRoot + "/sub1"}));
    for (const QString &p : dialog.imageFiles())
        QVERIFY2(QFileInfo(p).isAbsolute(), qPrintable(p));
}

// The real probe: trusted endings are judged by name and hidden state alone,
// everything else is loaded by the platform player.
void tst_MediaSearchDialog::probesOnlyWhatTheNameCannotDecide()
{
    if (!MediaFixtures::canPlayWav())
        QSKIP("Qt Multimedia cannot play WAV files here (plugins missing)");
    makeFiles(m_strRoot, {"song.mp3", ".hidden.mp3", "fake.MP3", "noise.avi"});
    QVERIFY(MediaFixtures::writeWav(m_strRoot + "/tone.WAV", 200));
    QVERIFY(MediaFixtures::writeWav(m_strRoot + "/silent.wav", 0));

    MediaSearchDialog dialog;
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot})), int(QDialog::Accepted));
    QCOMPARE(relative(dialog.audioFiles(), m_strRoot), QStringList({"song.mp3", "tone.WAV"}));
    QCOMPARE(relative(dialog.otherFiles(), m_strRoot),
             QStringList({".hidden.mp3", "fake.MP3", "noise.avi", "silent.wav"}));
    QVERIFY(dialog.videoFiles().isEmpty());
}

void tst_MediaSearchDialog::emptyFolders()
{
    makeFiles(m_strRoot, {"nothing/", "holder/e1/", "holder/e2/"});
    ScriptedSearchDialog dialog;

    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot + "/nothing"})), int(QDialog::Accepted));
    QCOMPARE(dialog.emptyFolders(), QVector<QString>({m_strRoot + "/nothing"}));
    QVERIFY(dialog.folders().isEmpty());

    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot + "/holder/"})), int(QDialog::Accepted));
    QCOMPARE(relative(dialog.folders(), m_strRoot), QStringList({"holder/e1", "holder/e2"}));
    QCOMPARE(relative(dialog.emptyFolders(), m_strRoot), QStringList({"holder/e1", "holder/e2"}));
}

void tst_MediaSearchDialog::pathsKeepTheDroppedForm_data()
{
    QTest::addColumn<QString>("dropped");  // relative to the root
    QTest::newRow("folder") << "real";
    QTest::newRow("link to the folder") << "link";
    QTest::newRow("folder inside a linked folder") << "linkedParent/real";
}

// Files and empty folders carry the path the user dropped, links and all,
// so that the batch finds both below the same dropped folder.
void tst_MediaSearchDialog::pathsKeepTheDroppedForm()
{
    QFETCH(QString, dropped);
    makeFiles(m_strRoot, {"real/a.png", "real/Empty/", "real/sub/Deeper/"});
    QVERIFY(QFile::link(m_strRoot + "/real", m_strRoot + "/link"));
    QVERIFY(QFile::link(m_strRoot, m_strRoot + "/linkedParent"));
    const QString root = m_strRoot + QLatin1Char('/') + dropped;

    ScriptedSearchDialog dialog;
    QCOMPARE(runSearch(dialog, urlsOf({root})), int(QDialog::Accepted));
    QCOMPARE(dialog.imageFiles(), QVector<QString>({root + "/a.png"}));
    QStringList empty;
    for (const QString &path : dialog.emptyFolders())
        empty << path;
    empty.sort();
    QCOMPARE(empty, QStringList({root + "/Empty", root + "/sub/Deeper"}));
}

void tst_MediaSearchDialog::droppedFilesAreNotCounted()
{
    makeFiles(m_strRoot, {"one.png", "two.txt"});
    ScriptedSearchDialog dialog;
    const QList<QUrl> urls = urlsOf({m_strRoot + "/one.png", m_strRoot + "/gone.png", m_strRoot + "/two.txt"});
    QCOMPARE(runSearch(dialog, urls), int(QDialog::Accepted));
    QCOMPARE(dialog.imageFiles(), QVector<QString>({m_strRoot + "/one.png"}));
    QCOMPARE(dialog.textFiles(), QVector<QString>({m_strRoot + "/two.txt"}));
    QVERIFY(labelAt(dialog, 1)->text().isEmpty());
    QVERIFY(labelAt(dialog, 2)->text().isEmpty());
}

void tst_MediaSearchDialog::countsLabelShowsTheLastUpdate_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("shown");

    QTest::newRow("3 files") << 3 << 3;
    QTest::newRow("4 files") << 4 << 4;
    QTest::newRow("5 files: no update after the fourth") << 5 << 4;
    QTest::newRow("9 files") << 9 << 4;
    QTest::newRow("10 files") << 10 << 10;
    QTest::newRow("25 files: every tenth") << 25 << 20;
}

void tst_MediaSearchDialog::countsLabelShowsTheLastUpdate()
{
    QFETCH(int, files);
    QFETCH(int, shown);
    QStringList names;
    for (int i = 0; i < files; ++i)
        names.append(QStringLiteral("pic%1.png").arg(i));
    makeFiles(m_strRoot, names);

    ScriptedSearchDialog dialog;
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot})), int(QDialog::Accepted));
    QCOMPARE(labelAt(dialog, 2)->text(),
             QStringLiteral("<H3>Video Files: 0<BR>Audio Files: 0<BR>Image Files: %1<BR>Text Files: 0<BR>Other Files: 0<BR></H3>")
                 .arg(shown));
    QVERIFY(names.contains(labelAt(dialog, 1)->text()));
}

void tst_MediaSearchDialog::linkBackToAParentEndsTheWalk()
{
    makeFiles(m_strRoot, {"a.png", "sub/b.png"});
    QVERIFY(QFile::link(m_strRoot, m_strRoot + "/sub/loop"));
    QVERIFY(QFile::link(".", m_strRoot + "/self"));

    ScriptedSearchDialog dialog;
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot})), int(QDialog::Accepted));
    QCOMPARE(relative(dialog.imageFiles(), m_strRoot), QStringList({"a.png", "sub/b.png"}));
    QCOMPARE(relative(dialog.folders(), m_strRoot), QStringList({"sub"}));
    QVERIFY(dialog.emptyFolders().isEmpty());
}

void tst_MediaSearchDialog::folderReachedTwiceIsListedOnce()
{
    makeFiles(m_strRoot, {"x/c.png", "y/"});
    QVERIFY(QFile::link(m_strRoot + "/x", m_strRoot + "/y/toX"));

    ScriptedSearchDialog dialog;
    // The folder is reached through a link and dropped a second time itself.
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot, m_strRoot + "/x"})), int(QDialog::Accepted));
    QCOMPARE(dialog.imageFiles().size(), 1);
    QCOMPARE(QFileInfo(dialog.imageFiles().first()).fileName(), QStringLiteral("c.png"));
}

// The subfolder is searched as a drop of its own first; meeting it again
// below its parent must not make the parent look empty.
void tst_MediaSearchDialog::folderWhoseSubfolderWasWalkedAlreadyIsNotEmpty()
{
    makeFiles(m_strRoot, {"outer/inner/c.png"});

    ScriptedSearchDialog dialog;
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot + "/outer/inner", m_strRoot + "/outer"})),
             int(QDialog::Accepted));
    QCOMPARE(dialog.imageFiles(), QVector<QString>({m_strRoot + "/outer/inner/c.png"}));
    QVERIFY(dialog.emptyFolders().isEmpty());
}

void tst_MediaSearchDialog::newUrlsDuringAWalkWaitForTheNextSearch()
{
    makeFiles(m_strRoot, {"a/song.ogg", "b/b.png", "c/c.png", "d/d.png"});
    ScriptedSearchDialog dialog;
    dialog.urlsGivenInFirstProbe = urlsOf({m_strRoot + "/d"});
    const QStringList first = {m_strRoot + "/a", m_strRoot + "/b", m_strRoot + "/c"};
    // The dialog holds the only copy of the list it searches.
    dialog.setUrls(urlsOf(first));
    QCOMPARE(runSearch(dialog, urlsOf(first)), int(QDialog::Accepted));
    QCOMPARE(relative(dialog.imageFiles(), m_strRoot), QStringList({"b/b.png", "c/c.png"}));

    dialog.urlsGivenInFirstProbe.clear();
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot + "/d"})), int(QDialog::Accepted));
    QCOMPARE(relative(dialog.imageFiles(), m_strRoot), QStringList({"d/d.png"}));
}

void tst_MediaSearchDialog::unreadableFolderIsNotEmpty()
{
    makeFiles(m_strRoot, {"locked/z.png", "open/"});
    QVERIFY(QFile::setPermissions(m_strRoot + "/locked", QFileDevice::Permissions()));

    ScriptedSearchDialog dialog;
    int result = 0;
    {
        DacOverrideDropped asPlainUser;
        if (!asPlainUser.active()) {
            QFile::setPermissions(m_strRoot + "/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("cannot take away the right to read every folder");
        }
        result = runSearch(dialog, urlsOf({m_strRoot}));
    }
    QFile::setPermissions(m_strRoot + "/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(dialog.emptyFolders(), QVector<QString>({m_strRoot + "/open"}));
    QVERIFY(dialog.imageFiles().isEmpty());
}

// pics/a.png, pics/sub/b.png, pics/out/old/a.png (an earlier result),
// elsewhere/old/c.png, and links pics/toElsewhere -> elsewhere and
// outLink -> pics/out.
void tst_MediaSearchDialog::leavesOutTheFoldersItIsGiven_data()
{
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QString>("leaveOut");
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<QStringList>("leftOut");

    const QStringList pictures = {"pics/a.png", "pics/sub/b.png", "pics/toElsewhere/old/c.png"};
    QTest::newRow("below a dropped folder")
        << QStringList{"pics"} << "pics/out" << pictures << QStringList{"pics/out"};
    QTest::newRow("named another way") << QStringList{"pics"} << "pics/sub/.././/out/" << pictures
                                       << QStringList{"pics/out"};
    QTest::newRow("named through a link") << QStringList{"pics"} << "outLink" << pictures << QStringList{"pics/out"};
    QTest::newRow("reached through a link")
        << QStringList{"pics"} << "elsewhere"
        << QStringList{"pics/a.png", "pics/out/old/a.png", "pics/sub/b.png"} << QStringList{"pics/toElsewhere"};
    QTest::newRow("dropped itself") << QStringList{"pics/out"} << "pics/out" << QStringList{"pics/out/old/a.png"}
                                    << QStringList{};
    QTest::newRow("dropped from inside it")
        << QStringList{"pics/out/old"} << "pics/out" << QStringList{"pics/out/old/a.png"} << QStringList{};
    QTest::newRow("dropped with its parent")
        << QStringList{"pics", "pics/out"} << "pics/out"
        << QStringList{"pics/a.png", "pics/out/old/a.png", "pics/sub/b.png", "pics/toElsewhere/old/c.png"}
        << QStringList{};
    QTest::newRow("not there") << QStringList{"pics"} << "gone"
                               << QStringList{"pics/a.png", "pics/out/old/a.png", "pics/sub/b.png",
                                              "pics/toElsewhere/old/c.png"}
                               << QStringList{};
}

void tst_MediaSearchDialog::leavesOutTheFoldersItIsGiven()
{
    QFETCH(QStringList, dropped);
    QFETCH(QString, leaveOut);
    QFETCH(QStringList, images);
    QFETCH(QStringList, leftOut);
    makeFiles(m_strRoot, {"pics/a.png", "pics/sub/b.png", "pics/out/old/a.png", "elsewhere/old/c.png"});
    QVERIFY(QFile::link(m_strRoot + "/elsewhere", m_strRoot + "/pics/toElsewhere"));
    QVERIFY(QFile::link(m_strRoot + "/pics/out", m_strRoot + "/outLink"));

    ScriptedSearchDialog dialog;
    dialog.setFoldersToLeaveOut({m_strRoot + QLatin1Char('/') + leaveOut});
    QCOMPARE(runSearch(dialog, urlsUnder(m_strRoot, dropped)), int(QDialog::Accepted));
    QCOMPARE(relative(dialog.imageFiles(), m_strRoot), images);
    QCOMPARE(relative(dialog.leftOutFolders(), m_strRoot), leftOut);
    // A folder left out is not empty content to copy.
    QVERIFY(dialog.emptyFolders().isEmpty());

    // The next search without it takes everything again.
    dialog.setFoldersToLeaveOut({});
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot + "/pics"})), int(QDialog::Accepted));
    QCOMPARE(dialog.imageFiles().size(), 4);
    QVERIFY(dialog.leftOutFolders().isEmpty());
}

// tree/a.png, tree/notes.txt, tree/sub/b.png, tree/sub/a-hard.png (a second
// hard link to tree/a.png), tree/latest.png -> a.png, and treeLink -> tree.
void tst_MediaSearchDialog::takesEachNameOnce_data()
{
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("images");
    QTest::addColumn<QStringList>("texts");

    const QStringList walked = {"tree/a.png", "tree/latest.png", "tree/sub/a-hard.png", "tree/sub/b.png"};
    const QStringList notes = {"tree/notes.txt"};
    QTest::newRow("the folder alone") << QStringList{"tree"} << walked << notes;
    QTest::newRow("the folder, then a.png") << QStringList{"tree", "tree/a.png"} << walked << notes;
    QTest::newRow("a.png, then the folder") << QStringList{"tree/a.png", "tree"} << walked << notes;
    QTest::newRow("a.png twice, and notes through the link")
        << QStringList{"tree/a.png", "tree/notes.txt", "tree/a.png", "treeLink/notes.txt"}
        << QStringList{"tree/a.png"} << notes;
    QTest::newRow("a.png through a link to the folder, then the folder")
        << QStringList{"treeLink/a.png", "tree"}
        << QStringList{"tree/latest.png", "tree/sub/a-hard.png", "tree/sub/b.png", "treeLink/a.png"} << notes;
    QTest::newRow("the folder, then a.png through a link to it")
        << QStringList{"tree", "treeLink/a.png", "tree/notes.txt"} << walked << notes;
    QTest::newRow("the other names on their own, then the folder")
        << QStringList{"treeLink/sub/a-hard.png", "treeLink/latest.png", "tree"}
        << QStringList{"tree/a.png", "tree/sub/b.png", "treeLink/latest.png", "treeLink/sub/a-hard.png"} << notes;
}

void tst_MediaSearchDialog::takesEachNameOnce()
{
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, images);
    QFETCH(QStringList, texts);
    makeFiles(m_strRoot, {"tree/a.png", "tree/notes.txt", "tree/sub/b.png"});
    QVERIFY(::link(QFile::encodeName(m_strRoot + "/tree/a.png").constData(),
                   QFile::encodeName(m_strRoot + "/tree/sub/a-hard.png").constData()) == 0);
    QVERIFY(QFile::link("a.png", m_strRoot + "/tree/latest.png"));
    QVERIFY(QFile::link(m_strRoot + "/tree", m_strRoot + "/treeLink"));

    ScriptedSearchDialog dialog;
    QCOMPARE(runSearch(dialog, urlsUnder(m_strRoot, dropped)), int(QDialog::Accepted));
    // The path of each entry tells the place it was taken at.
    QCOMPARE(relative(dialog.imageFiles(), m_strRoot), images);
    QCOMPARE(relative(dialog.textFiles(), m_strRoot), texts);
    QVERIFY(dialog.emptyFolders().isEmpty());
}

// The test makes the names from bytes itself; under any locale Qt reads
// file names as UTF-8 or Latin-1, and in UTF-8 the byte E9 alone is no
// character.
void tst_MediaSearchDialog::namesThatDoNotSurviveAsTextAreSkipped()
{
    makeFiles(m_strRoot, {"ok.png", "only/"});
    QVERIFY(QMTest::writeFile(m_strRoot + QString::fromUtf8("/caf\xc3\xa9.png"), "x"));
    const QByteArray root = QFile::encodeName(m_strRoot);
    // The temporary folder's own removal cannot find these by their text.
    const auto removeRaw = qScopeGuard([root] {
        for (const char *name : {"/dir-\xe9/inside.png", "/latin1-\xe9.png", "/only/bad-\xe9.txt"})
            ::unlink(QByteArray(root + name).constData());
        ::rmdir(QByteArray(root + "/dir-\xe9").constData());
    });
    const auto makeRaw = [](const QByteArray &path, bool folder) {
        if (folder)
            return ::mkdir(path.constData(), 0755) == 0;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        return fd >= 0 && ::close(fd) == 0;
    };
    QVERIFY(makeRaw(root + "/latin1-\xe9.png", false));
    QVERIFY(makeRaw(root + "/dir-\xe9", true));
    QVERIFY(makeRaw(root + "/dir-\xe9/inside.png", false));
    QVERIFY(makeRaw(root + "/only/bad-\xe9.txt", false));

    // What the name's text gives; nothing can find the file by it.
    const QString latin1 = QFile::decodeName(root + "/latin1-\xe9.png");
    if (QFile::encodeName(latin1) == root + "/latin1-\xe9.png")
        QSKIP("this locale reads file names in a codec where any byte is a character");
    QVERIFY(!QFileInfo::exists(latin1));

    ScriptedSearchDialog dialog;
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot})), int(QDialog::Accepted));
    QCOMPARE(relative(dialog.imageFiles(), m_strRoot), QStringList({QString::fromUtf8("caf\xc3\xa9.png"), "ok.png"}));
    QVERIFY(dialog.textFiles().isEmpty());
    QStringList skipped;
    for (const MediaSearchDialog::SkippedSource &source : dialog.skippedSources()) {
        QCOMPARE(source.reason, QStringLiteral("name is not valid UTF-8"));
        skipped << (source.isFolder ? "folder " : "file ") + source.path;
    }
    skipped.sort();
    QCOMPARE(skipped, QStringList({"file " + latin1, "file " + QFile::decodeName(root + "/only/bad-\xe9.txt"),
                                   "folder " + QFile::decodeName(root + "/dir-\xe9")}));
    // The folder that holds only such a file is not empty either.
    QVERIFY(dialog.emptyFolders().isEmpty());
}

void tst_MediaSearchDialog::foldersThatCannotBeOpenedAreNamed_data()
{
    QTest::addColumn<bool>("tooLong");
    QTest::newRow("no permission") << false;
    QTest::newRow("path past the length limit") << true;
}

void tst_MediaSearchDialog::foldersThatCannotBeOpenedAreNamed()
{
    QFETCH(bool, tooLong);
    makeFiles(m_strRoot, {"a.png"});
    ScriptedSearchDialog dialog;
    QString unopened;
    int error = 0;
    int result = 0;
    if (tooLong) {
        QMTest::LongPathChain chain(m_strRoot, "deep.png", "x");
        QVERIFY(chain.isValid());
        unopened = chain.firstTooLong();
        error = ENAMETOOLONG;
        result = runSearch(dialog, urlsOf({m_strRoot}));
    } else {
        unopened = m_strRoot + "/locked";
        makeFiles(m_strRoot, {"locked/z.png"});
        error = EACCES;
        QVERIFY(QFile::setPermissions(unopened, QFileDevice::Permissions()));
        {
            DacOverrideDropped asPlainUser;
            if (asPlainUser.active())
                result = runSearch(dialog, urlsOf({m_strRoot}));
        }
        QFile::setPermissions(unopened, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (result == 0)
            QSKIP("cannot take away the right to read every folder");
    }

    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(relative(dialog.imageFiles(), m_strRoot), QStringList({"a.png"}));
    QCOMPARE(dialog.skippedSources().size(), 1);
    const MediaSearchDialog::SkippedSource source = dialog.skippedSources().first();
    QCOMPARE(source.path, unopened);
    QVERIFY(source.isFolder);
    QCOMPARE(source.reason, QStringLiteral("folder cannot be opened: ") + qt_error_string(error));
}

void tst_MediaSearchDialog::cancelInsideAProbeEndsEverything()
{
    QStringList names = {"first.wav", "late/second.wav", "late/deeper/third.ogg"};
    for (int i = 0; i < 30; ++i)
        names.append(QStringLiteral("pic%1.png").arg(i));
    makeFiles(m_strRoot, names);

    ScriptedSearchDialog dialog;
    dialog.cancelInFirstProbe = true;
    dialog.playable = {"first.wav", "second.wav", "third.ogg"};
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot, m_strRoot + "/late/second.wav"})), int(QDialog::Rejected));

    QCOMPARE(dialog.probed.size(), 1);
    QVERIFY(dialog.audioFiles().isEmpty());
    QVERIFY(dialog.imageFiles().isEmpty());
    QVERIFY(dialog.otherFiles().isEmpty());
    QVERIFY(dialog.folders().isEmpty());
    QVERIFY(dialog.emptyFolders().isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void tst_MediaSearchDialog::cancelButtonEndsAWaitingProbe()
{
    if (!MediaFixtures::canPlayWav())
        QSKIP("Qt Multimedia cannot play WAV files here (plugins missing)");
    // A WAV without samples never tells its length: the probe waits.
    QVERIFY(MediaFixtures::writeWav(m_strRoot + "/silent.wav", 0));
    makeFiles(m_strRoot, {"after/a.png"});

    MediaSearchDialog dialog;
    QPushButton *button = dialog.findChild<QPushButton *>(QStringLiteral("SearchStopButton"));
    QTimer::singleShot(400, button, &QPushButton::click);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot})), int(QDialog::Rejected));
    // Well before the probe would have given up by itself.
    QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(dialog.imageFiles().isEmpty());
    QVERIFY(dialog.otherFiles().isEmpty());
    QVERIFY(dialog.folders().isEmpty());
}

void tst_MediaSearchDialog::closingBeforeTheStartRunsNoSearch()
{
    makeFiles(m_strRoot, {"a.png"});
    ScriptedSearchDialog dialog;
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot})), int(QDialog::Accepted));
    QCOMPARE(dialog.imageFiles().size(), 1);

    // Escape before the 300 ms start: rejected, and the late start finds
    // a hidden, cancelled dialog and leaves everything empty.
    QTimer::singleShot(50, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot}), 300), int(QDialog::Rejected));
    QTest::qWait(500);
    QVERIFY(dialog.imageFiles().isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    // The same drop again searches as usual.
    QCOMPARE(runSearch(dialog, urlsOf({m_strRoot}), 300), int(QDialog::Accepted));
    QCOMPARE(dialog.imageFiles(), QVector<QString>({m_strRoot + "/a.png"}));
}

QTEST_MAIN(tst_MediaSearchDialog)
#include "tst_MediaSearchDialog.moc"
