// What a drop puts into the list: the destination is left out of dropped
// folders (so earlier results are not compressed again), each name is taken
// once while other names of the same file are names of their own, and every
// file or folder the search cannot take is named.

#include "BatchFixtures.h"
#include "PageTestSupport.h"

#include "App.h"
#include "BatchDialog.h"
#include "ErrorsDialog.h"
#include "ImagesListModel.h"
#include "ListView.h"
#include "MainPage.h"

#include <QDirIterator>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

using BatchFixtures::pngBytes;
using BatchFixtures::rgbPicture;
using BatchFixtures::treeOf;
using BatchFixtures::writeFile;

namespace {

const QString kLeftOutNote = QStringLiteral("destination folder left out");
// The names of the pictures makePictures() writes.
const QStringList kPictureNames = {"p0.png", "p1.png", "p2.png"};

QList<QUrl> urlsOf(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    return urls;
}

QStringList fileNames(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    names.sort();
    return names;
}

// Counts the boxes a drop shows and closes them, so none can hold a test.
class BoxCounter
{
public:
    BoxCounter()
        : m_driver("QMessageBox", [this](QWidget* w) {
            m_lstTexts << static_cast<QMessageBox*>(w)->text();
            static_cast<QDialog*>(w)->accept();
            return false;
        })
    {
    }
    QStringList texts() const { return m_lstTexts; }

private:
    QStringList m_lstTexts;
    PageTest::ModalDriver m_driver;
};

// The open list of sources the last drop left out, or null.
ErrorsDialog* skippedList(MainPage& page)
{
    for (ErrorsDialog* dialog : page.findChildren<ErrorsDialog*>()) {
        if (dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Drops the folder on the page: its three pictures are listed, and no box
// comes up for anything left out.
void dropListsThePictures(MainPage& page, const BoxCounter& boxes, const QString& folder)
{
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urlsOf({folder})));
    QCOMPARE(fileNames(page.model()->files()), kPictureNames);
    QVERIFY(boxes.texts().isEmpty());
}

} // namespace

class tst_droppedsources : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void destinationBelowADroppedFolderIsLeftOut_data();
    void destinationBelowADroppedFolderIsLeftOut();
    void secondBatchOfThePicturesFolderTakesOnlyThePictures();
    void folderDroppedFromTheDestinationIsTakenAsGiven_data();
    void folderDroppedFromTheDestinationIsTakenAsGiven();
    void eachFileIsListedOnce_data();
    void eachFileIsListedOnce();
    void everyNameOfADroppedTreeIsListedAndRebuilt();
    void nameThatIsNotUtf8IsNamedAndNotListed();
    void folderThatCannotBeOpenedIsNamed();

private:
    // Three pictures p0.png, p1.png, p2.png in the folder.
    void makePictures(const QString& folder);
    QString tmp(const QString& relative) const { return m_pDir->path() + QLatin1Char('/') + relative; }

    std::unique_ptr<QTemporaryDir> m_pDir;
};

void tst_droppedsources::init()
{
    m_pDir.reset(new QTemporaryDir);
    QVERIFY(m_pDir->isValid());
    PageTest::prepareQuietBatch(tmp(QStringLiteral("out/")));
}

void tst_droppedsources::cleanup()
{
    m_pDir.reset();
}

void tst_droppedsources::makePictures(const QString& folder)
{
    for (int i = 0; i < 3; ++i)
        QVERIFY(writeFile(folder + QStringLiteral("/p%1.png").arg(i), pngBytes(rgbPicture(6, 5, quint32(i)))));
}

void tst_droppedsources::destinationBelowADroppedFolderIsLeftOut_data()
{
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("linkFrom");
    QTest::addColumn<QString>("linkTo");

    QTest::newRow("inside the dropped folder") << "Pictures/out/" << QString() << QString();
    QTest::newRow("reached through a link") << "out/" << "Pictures/results" << "out";
    QTest::newRow("named through a link") << "PicturesLink/out/" << "PicturesLink" << "Pictures";
}

void tst_droppedsources::destinationBelowADroppedFolderIsLeftOut()
{
    QFETCH(QString, destination);
    QFETCH(QString, linkFrom);
    QFETCH(QString, linkTo);
    const QString pictures = tmp(QStringLiteral("Pictures"));
    makePictures(pictures);
    if (!linkFrom.isEmpty()) {
        QVERIFY(QDir().mkpath(tmp(linkTo)));
        QVERIFY(QFile::link(tmp(linkTo), tmp(linkFrom)));
    }
    // An earlier run's results in the destination.
    makePictures(tmp(destination) + QStringLiteral("2026-01-01_10-00-00"));
    MainPage page;
    page.setDestinationPath(tmp(destination));

    BoxCounter boxes;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urlsOf({pictures})));
    QCOMPARE(fileNames(page.model()->files()), kPictureNames);
    for (const QString& path : page.model()->files())
        QCOMPARE(QFileInfo(path).absolutePath(), pictures);
    // Said once, beside the count, and no box to dismiss.
    QCOMPARE(page.infoLabel()->text().count(kLeftOutNote), 1);
    QVERIFY(page.infoLabel()->text().contains(QStringLiteral("3 png files")));
    QVERIFY(boxes.texts().isEmpty());
    QVERIFY(!skippedList(page));

    // The next drop without the destination in it says nothing of it.
    const QString other = tmp(QStringLiteral("other"));
    makePictures(other);
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urlsOf({other})));
    QCOMPARE(page.model()->rowCount(), 3);
    QCOMPARE(page.infoLabel()->text(), MainPage::infoText(3));
}

// The default destination lies inside the pictures folder: a user who drops
// that folder after a batch gets the pictures, not the results as well.
void tst_droppedsources::secondBatchOfThePicturesFolderTakesOnlyThePictures()
{
    QMWidgets::App::instance()->settings()->remove(QStringLiteral("Zintrop Lite/DestinationPath"));
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString destination = QMWidgets::App::picturesDirectory(true);
    QVERIFY(destination.startsWith(pictures + QLatin1Char('/')));
    makePictures(pictures);
    const auto cleanPictures = qScopeGuard([&] { QDir(pictures).removeRecursively(); });

    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urlsOf({pictures})));
    QCOMPARE(page.model()->rowCount(), 3);

    PageTest::ModalDriver driver("BatchDialog", PageTest::closeBatchWhenDone);
    QTest::mouseClick(page.compressButton(), Qt::LeftButton);
    QVERIFY(driver.done());
    QTRY_VERIFY(!page.batchThread());
    QStringList results;
    QDirIterator it(destination, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        results << it.next();
    QCOMPARE(results.size(), 3);

    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urlsOf({pictures})));
    QCOMPARE(fileNames(page.model()->files()), kPictureNames);
    for (const QString& path : page.model()->files())
        QCOMPARE(QFileInfo(path).absolutePath(), pictures);
    QCOMPARE(page.infoLabel()->text().count(kLeftOutNote), 1);
}

// Pictures/p0-p2.png and two earlier results of them in the destination
// Pictures/out/: 2026-01-01_10-00-00/ and 2026-01-02_10-00-00/.
void tst_droppedsources::folderDroppedFromTheDestinationIsTakenAsGiven_data()
{
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<bool>("leftOut");

    const QStringList pictures = {"Pictures/p0.png", "Pictures/p1.png", "Pictures/p2.png"};
    const QStringList first = {"Pictures/out/2026-01-01_10-00-00/p0.png", "Pictures/out/2026-01-01_10-00-00/p1.png",
                               "Pictures/out/2026-01-01_10-00-00/p2.png"};
    const QStringList second = {"Pictures/out/2026-01-02_10-00-00/p0.png", "Pictures/out/2026-01-02_10-00-00/p1.png",
                                "Pictures/out/2026-01-02_10-00-00/p2.png"};
    QTest::newRow("a folder inside it, after the folder that holds it")
        << QStringList{"Pictures", "Pictures/out/2026-01-01_10-00-00"} << pictures + first << true;
    QTest::newRow("a folder inside it, before the folder that holds it")
        << QStringList{"Pictures/out/2026-01-01_10-00-00", "Pictures"} << first + pictures << true;
    QTest::newRow("the destination itself, with the folder that holds it")
        << QStringList{"Pictures", "Pictures/out"} << pictures + first + second << false;
}

void tst_droppedsources::folderDroppedFromTheDestinationIsTakenAsGiven()
{
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, listed);
    QFETCH(bool, leftOut);
    makePictures(tmp(QStringLiteral("Pictures")));
    makePictures(tmp(QStringLiteral("Pictures/out/2026-01-01_10-00-00")));
    makePictures(tmp(QStringLiteral("Pictures/out/2026-01-02_10-00-00")));
    QStringList paths;
    for (const QString& rel : dropped)
        paths << tmp(rel);
    MainPage page;
    page.setDestinationPath(tmp(QStringLiteral("Pictures/out")));
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urlsOf(paths)));
    QStringList found;
    for (const QString& path : page.model()->files())
        found << QDir(m_pDir->path()).relativeFilePath(path);
    found.sort();
    listed.sort();
    QCOMPARE(found, listed);
    QCOMPARE(page.infoLabel()->text().contains(kLeftOutNote), leftOut);
}

void tst_droppedsources::eachFileIsListedOnce_data()
{
    QTest::addColumn<QStringList>("dropped"); // relative to the temporary folder
    QTest::addColumn<bool>("asFileOpenRequests");
    QTest::addColumn<QString>("firstPlace");  // where p0.png is listed

    QTest::newRow("file with its folder") << QStringList{"set", "set/p0.png"} << false << "set/p0.png";
    QTest::newRow("file before its folder, through a link")
        << QStringList{"setLink/p0.png", "set"} << false << "setLink/p0.png";
    QTest::newRow("the same file twice") << QStringList{"set/p0.png", "set", "set/p0.png"} << false << "set/p0.png";
    QTest::newRow("file-open requests") << QStringList{"set/p0.png", "set", "setLink/p0.png"} << true
                                        << "set/p0.png";
}

void tst_droppedsources::eachFileIsListedOnce()
{
    QFETCH(QStringList, dropped);
    QFETCH(bool, asFileOpenRequests);
    QFETCH(QString, firstPlace);
    makePictures(tmp(QStringLiteral("set")));
    QVERIFY(writeFile(tmp(QStringLiteral("set/notes.txt")), "notes\n"));
    QVERIFY(QFile::link(tmp(QStringLiteral("set")), tmp(QStringLiteral("setLink"))));
    QStringList paths;
    for (const QString& rel : dropped)
        paths << tmp(rel);

    MainPage page;
    if (asFileOpenRequests) {
        for (const QString& path : paths)
            emit QMWidgets::App::instance()->fileOpenRequest(path);
        QTRY_VERIFY(page.model()->rowCount() > 0 && !page.isSearching() && page.pendingUrls().isEmpty());
    } else {
        QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urlsOf(paths)));
    }
    const QStringList files = page.model()->files();
    QCOMPARE(fileNames(files), kPictureNames);
    QVERIFY2(files.contains(tmp(firstPlace)), qPrintable(files.join(QLatin1Char('\n'))));
    QCOMPARE(page.textFiles(), QVector<QString>{tmp(QStringLiteral("set/notes.txt"))});
}

// tree/a.png, tree/sub/b.png, tree/sub/a-hard.png (a second hard link to
// a.png) and tree/latest.png -> a.png, dropped with a.png itself: a.png is
// listed once, and the other names of its file are files of their own, in
// the list and in the tree the batch rebuilds.
void tst_droppedsources::everyNameOfADroppedTreeIsListedAndRebuilt()
{
    const QString tree = tmp(QStringLiteral("tree"));
    QVERIFY(writeFile(tree + QStringLiteral("/a.png"), pngBytes(rgbPicture(6, 5, 1))));
    QVERIFY(writeFile(tree + QStringLiteral("/sub/b.png"), pngBytes(rgbPicture(6, 5, 2))));
    QCOMPARE(::link(QFile::encodeName(tree + QStringLiteral("/a.png")).constData(),
                    QFile::encodeName(tree + QStringLiteral("/sub/a-hard.png")).constData()),
             0);
    QVERIFY(QFile::link(QStringLiteral("a.png"), tree + QStringLiteral("/latest.png")));
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyFolderStructureActive"), true);
    QVERIFY(QDir().mkpath(tmp(QStringLiteral("out"))));

    const QStringList names = {"tree/a.png", "tree/latest.png", "tree/sub/a-hard.png", "tree/sub/b.png"};

    MainPage page;
    BoxCounter boxes;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urlsOf({tree + QStringLiteral("/a.png"), tree})));
    QStringList listed;
    for (const QString& path : page.model()->files())
        listed << QDir(m_pDir->path()).relativeFilePath(path);
    listed.sort();
    QCOMPARE(listed, names);

    PageTest::ModalDriver driver("BatchDialog", PageTest::closeBatchWhenDone);
    QTest::mouseClick(page.compressButton(), Qt::LeftButton);
    QVERIFY(driver.done());
    QTRY_VERIFY(!page.batchThread());
    QVERIFY2(boxes.texts().isEmpty(), qPrintable(boxes.texts().join(QLatin1Char('\n'))));
    const QStringList batches = QDir(tmp(QStringLiteral("out"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(batches.size(), 1);
    const QString batch = tmp(QStringLiteral("out/")) + batches.first() + QLatin1Char('/');
    QCOMPARE(treeOf(batch), (QStringList{"tree/", "tree/a.png", "tree/latest.png", "tree/sub/", "tree/sub/a-hard.png",
                                         "tree/sub/b.png"}));
    for (const QString& name : names)
        QVERIFY2(!QImage(batch + name).isNull(), qPrintable(name));
}

// The name is made from bytes by the test; in UTF-8 the byte E9 alone is no
// character, and the tests read file names as UTF-8 whatever the locale.
void tst_droppedsources::nameThatIsNotUtf8IsNamedAndNotListed()
{
    const QString folder = tmp(QStringLiteral("set"));
    makePictures(folder);
    const QByteArray raw = QFile::encodeName(folder) + "/latin1-\xe9.png";
    const QByteArray png = pngBytes(rgbPicture(6, 5));
    // The temporary folder's own removal cannot find it by its text.
    const auto removeRaw = qScopeGuard([raw] { ::unlink(raw.constData()); });
    const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, png.constData(), size_t(png.size())), ssize_t(png.size()));
    ::close(fd);
    const QString shown = QFile::decodeName(raw);
    QVERIFY(QFile::encodeName(shown) != raw);

    MainPage page;
    BoxCounter boxes;
    dropListsThePictures(page, boxes, folder);
    ErrorsDialog* list = skippedList(page);
    QVERIFY(list);
    QVERIFY(!list->isModal());
    QVERIFY(!QApplication::activeModalWidget());
    const QString text = list->textEdit()->toPlainText();
    QVERIFY2(text.startsWith(QStringLiteral("Left out of the list: 1 file.")), qPrintable(text));
    QVERIFY2(text.contains(shown + QStringLiteral(": name is not valid UTF-8")), qPrintable(text));

    // A drop that leaves nothing out takes the list away with its search.
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urlsOf({folder + QStringLiteral("/p1.png")})));
    QCOMPARE(page.model()->rowCount(), 1);
    QTRY_VERIFY(!skippedList(page));
}

// A path past the system's length limit cannot be opened, as root too.
void tst_droppedsources::folderThatCannotBeOpenedIsNamed()
{
    const QString folder = tmp(QStringLiteral("set"));
    makePictures(folder);
    QMTest::LongPathChain chain(folder, "deep.png", pngBytes(rgbPicture(6, 5)));
    QVERIFY(chain.isValid());

    MainPage page;
    BoxCounter boxes;
    dropListsThePictures(page, boxes, folder);
    ErrorsDialog* list = skippedList(page);
    QVERIFY(list);
    const QString text = list->textEdit()->toPlainText();
    QVERIFY2(text.startsWith(QStringLiteral("Left out of the list: 1 folder.")), qPrintable(text));
    QVERIFY2(text.contains(chain.firstTooLong() + QStringLiteral(": folder cannot be opened: ")
                           + qt_error_string(ENAMETOOLONG)),
             qPrintable(text));
}

PAGETEST_MAIN(tst_droppedsources)
#include "tst_droppedsources.moc"
