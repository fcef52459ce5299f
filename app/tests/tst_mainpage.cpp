// The main page: its widgets, drops and file-open requests, the
// information line, the destination, the row menu and its stored size.

#include "BatchFixtures.h"
#include "PageTestSupport.h"

#include "App.h"
#include "AppSettingsDialog.h"
#include "DropWidget.h"
#include "ImagesListModel.h"
#include "Label.h"
#include "ListView.h"
#include "MainPage.h"
#include "PromoAdsBar.h"

#include <QAction>
#include <QComboBox>
#include <QLayout>
#include <QMenu>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>

#include <memory>

namespace {

// Records what reaches the drop handling from the file-open timer.
class RecordingPage : public MainPage
{
public:
    void filesDropped(const QList<QUrl>& lst) override
    {
        m_lstCalls << lst;
        m_lstTimes << m_clock.elapsed();
        ++m_nDepth;
        m_nMaxDepth = std::max(m_nMaxDepth, m_nDepth);
        MainPage::filesDropped(lst);
        --m_nDepth;
    }
    int m_nDepth = 0;
    int m_nMaxDepth = 0;
    QList<QList<QUrl>> m_lstCalls;
    QList<qint64> m_lstTimes;
    QElapsedTimer m_clock;
};

} // namespace

class tst_mainpage : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void widgetsAndNames();
    void bannerOnlyWithPromotedApp();
    void infoLine_data();
    void infoLine();
    void dropSortsTheContent();
    void otherContentKeepsItsOrder();
    void dropWithoutPngEmptiesTheList();
    void secondDropReplacesTheList();
    void cancelledSearchKeepsTheList();
    void displayPath_data();
    void displayPath();
    void destinationChoice();
    void folderButtonShowsTheDestination();
    void sizeIsRestoredAndStored();
    void fileOpenRequestsAreGathered();
    void requestDuringSearchWaitsForIt();
    void rowMenuRemovesAndPreviews();
    void removedMenuRowIsNeverRead();
    void rowMenuOpensBesideTheButton();
    void previewSlidesInAndOut();
    void settingsButtonRunsTheDialog();

private:
    QString makeFolder();

    std::unique_ptr<QTemporaryDir> m_pDir;
};

void tst_mainpage::init()
{
    QMTest::clearSettings();
    m_pDir.reset(new QTemporaryDir);
}

// a.PNG, b.png, c.jpg, d.txt
QString tst_mainpage::makeFolder()
{
    const QString folder = m_pDir->path() + QStringLiteral("/set");
    const QByteArray png = BatchFixtures::pngBytes(BatchFixtures::rgbPicture(8, 8));
    BatchFixtures::writeFile(folder + QStringLiteral("/a.PNG"), png);
    BatchFixtures::writeFile(folder + QStringLiteral("/b.png"), png);
    BatchFixtures::rgbPicture(8, 8).save(folder + QStringLiteral("/c.jpg"), "JPG");
    BatchFixtures::writeFile(folder + QStringLiteral("/d.txt"), "text");
    return folder;
}

void tst_mainpage::widgetsAndNames()
{
    MainPage page;
    QCOMPARE(page.objectName(), QStringLiteral("MainPage"));
    QCOMPARE(page.minimumWidth(), 420);
    QCOMPARE(page.dropWidget()->objectName(), QStringLiteral("DropArea"));
    QCOMPARE(page.dropWidget()->height(), 160);
    QCOMPARE(page.compressButton()->objectName(), QStringLiteral("RunBatchButton"));
    QCOMPARE(page.compressButton()->text(), QStringLiteral("Compress"));
    QCOMPARE(page.settingsButton()->objectName(), QStringLiteral("ExportSettingsButton"));
    QCOMPARE(page.infoLabel()->objectName(), QStringLiteral("InfoLabel"));
    QVERIFY(page.findChild<QPushButton*>(QStringLiteral("BrowseButton")));
    QVERIFY(page.findChild<QLabel*>(QStringLiteral("SimpleLabel")));
    QCOMPARE(page.findChild<QStackedWidget*>(QStringLiteral("m_pstkModes"))->currentWidget(),
             static_cast<QWidget*>(page.dropWidget()));
    QVERIFY(page.preview()->isHidden());
    QCOMPARE(page.preview()->parentWidget(), static_cast<QWidget*>(page.dropWidget()));
    QComboBox* box = page.destinationBox();
    QCOMPARE(box->count(), 3);
    QCOMPARE(box->itemText(0), MainPage::displayPath(QMWidgets::App::picturesDirectory(false)));
    QCOMPARE(box->itemText(1), QStringLiteral("Change destination folder..."));
    QCOMPARE(box->itemText(2), QStringLiteral("Reset"));
    QCOMPARE(box->itemData(2).toInt(), 2);
    const QList<QAction*> actions = page.rowMenu()->actions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("Show Image"));
    QCOMPARE(actions.at(1)->text(), QStringLiteral("Remove from list"));
    QCOMPARE(page.openTimer()->interval(), 100);
    QVERIFY(!page.openTimer()->isSingleShot());
}

void tst_mainpage::bannerOnlyWithPromotedApp()
{
    auto* app = static_cast<QMTest::TestApp*>(QMWidgets::App::instance());
    {
        MainPage page;
        QVERIFY(!page.findChild<QMWidgets::PromoAdsBar*>());
    }
    app->setPromotedLink(QStringLiteral("http://127.0.0.1:1/promoted"));
    {
        MainPage page;
        page.show();
        auto* banner = page.findChild<QMWidgets::PromoAdsBar*>();
        QVERIFY(banner);
        QVERIFY(banner->isVisible());
        QCOMPARE(page.layout()->indexOf(banner), page.layout()->count() - 1);
    }
    app->setPromotedLink(QString());
}

void tst_mainpage::infoLine_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0 << QStringLiteral("<H2><CENTER>0 png files</CENTER></H2>");
    QTest::newRow("one") << 1 << QStringLiteral("<H2><CENTER>1 png file</CENTER></H2>");
    QTest::newRow("two") << 2 << QStringLiteral("<H2><CENTER>2 png files</CENTER></H2>");
}

void tst_mainpage::infoLine()
{
    QFETCH(int, count);
    QFETCH(QString, text);
    MainPage page;
    QStringList files;
    for (int i = 0; i < count; ++i)
        files << QStringLiteral("/x/%1.png").arg(i);
    page.model()->setFiles(files);
    QCOMPARE(page.infoLabel()->text(), text);
    QCOMPARE(page.compressButton()->isEnabled(), count != 0);
}

void tst_mainpage::dropSortsTheContent()
{
    const QString folder = makeFolder();
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(folder)}));
    QStringList names;
    for (const QString& path : page.model()->files())
        names << QFileInfo(path).fileName();
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("a.PNG"), QStringLiteral("b.png")}));
    QVERIFY(page.otherFiles().contains(folder + QStringLiteral("/c.jpg")));
    QCOMPARE(page.textFiles(), QVector<QString>{folder + QStringLiteral("/d.txt")});
    QCOMPARE(page.rootUrls(), QList<QUrl>{QUrl::fromLocalFile(folder)});
}

// The other content goes to the batch in this order: other pictures, sound,
// video, other files, empty folders. The copy phase takes the entries in
// that order, so it decides which of two same names gets the " 2".
void tst_mainpage::otherContentKeepsItsOrder()
{
    const QString folder = m_pDir->path() + QStringLiteral("/mixed");
    BatchFixtures::writeFile(folder + QStringLiteral("/a.png"), BatchFixtures::pngBytes(BatchFixtures::rgbPicture(8, 8)));
    BatchFixtures::writeFile(folder + QStringLiteral("/e.bin"), "other");
    BatchFixtures::writeFile(folder + QStringLiteral("/d.mp4"), "video");
    BatchFixtures::writeFile(folder + QStringLiteral("/c.mp3"), "sound");
    BatchFixtures::rgbPicture(8, 8).save(folder + QStringLiteral("/b.jpg"), "JPG");
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/f")));
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(folder)}));
    QCOMPARE(page.otherFiles(), (QVector<QString>{folder + QStringLiteral("/b.jpg"), folder + QStringLiteral("/c.mp3"),
                                                  folder + QStringLiteral("/d.mp4"), folder + QStringLiteral("/e.bin"),
                                                  folder + QStringLiteral("/f")}));
}

void tst_mainpage::dropWithoutPngEmptiesTheList()
{
    const QString folder = makeFolder();
    MainPage page;
    page.model()->setFiles({QStringLiteral("/x/old.png")});
    QString title;
    QString text;
    PageTest::ModalDriver answer("QMessageBox", [&](QWidget* w) {
        auto* box = static_cast<QMessageBox*>(w);
        title = box->windowTitle();
        text = box->text();
        box->accept();
        return true;
    });
    page.dropWidget()->setFocus();
    QVERIFY(PageTest::dropUrls(page.dropWidget(), {QUrl::fromLocalFile(folder + QStringLiteral("/c.jpg"))}));
    QVERIFY(answer.done());
    QCOMPARE(title, QStringLiteral("No PNG files"));
    QCOMPARE(text, QStringLiteral("No PNG-files found"));
    QCOMPARE(page.model()->rowCount(), 0);
    QVERIFY(!page.compressButton()->isEnabled());
}

void tst_mainpage::secondDropReplacesTheList()
{
    const QString folder = makeFolder();
    const QString other = m_pDir->path() + QStringLiteral("/other.png");
    BatchFixtures::writeFile(other, BatchFixtures::pngBytes(BatchFixtures::rgbPicture(4, 4)));
    MainPage page;
    page.slotFilesDropped({QUrl::fromLocalFile(folder)});
    QCOMPARE(page.model()->rowCount(), 2);
    page.slotFilesDropped({QUrl::fromLocalFile(other)});
    QCOMPARE(page.model()->files(), QStringList{other});
    QVERIFY(page.textFiles().isEmpty());
    QCOMPARE(page.rootUrls(), QList<QUrl>{QUrl::fromLocalFile(other)});
}

void tst_mainpage::cancelledSearchKeepsTheList()
{
    const QString folder = makeFolder();
    const QString other = m_pDir->path() + QStringLiteral("/other.png");
    BatchFixtures::writeFile(other, BatchFixtures::pngBytes(BatchFixtures::rgbPicture(4, 4)));
    MainPage page;
    page.slotFilesDropped({QUrl::fromLocalFile(folder)});
    const QStringList before = page.model()->files();
    QCOMPARE(before.size(), 2);

    // Cancel the second search before it starts walking: no box, nothing replaced.
    int boxes = 0;
    PageTest::ModalDriver cancel("QMMultiMedia::MediaSearchDialog", [](QWidget* w) {
        static_cast<QDialog*>(w)->reject();
        return true;
    });
    PageTest::ModalDriver box("QMessageBox", [&](QWidget* w) {
        ++boxes;
        static_cast<QDialog*>(w)->accept();
        return true;
    });
    page.slotFilesDropped({QUrl::fromLocalFile(other)});
    QVERIFY(cancel.done());
    QCOMPARE(boxes, 0);
    QCOMPARE(page.model()->files(), before);
    QCOMPARE(page.rootUrls(), QList<QUrl>{QUrl::fromLocalFile(folder)});
    QVERIFY(page.compressButton()->isEnabled());
}

void tst_mainpage::displayPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("shown");
    QTest::newRow("drive letter") << QStringLiteral("D:/Users/user/Pictures/Corvane/Zintrop Lite/")
                                  << QStringLiteral("/D:/Users/user/Pictures/Corvane/Zintrop Lite/");
    QTest::newRow("sandbox parts") << QStringLiteral("/Users/u/Library/Containers/com.corvane.x/Data/Pictures/")
                                   << QStringLiteral("/Users/u/Pictures/");
    QTest::newRow("doubled slashes") << QStringLiteral("/home//me/out") << QStringLiteral("/home/me/out/");
    QTest::newRow("case matters") << QStringLiteral("/data/library/") << QStringLiteral("/data/library/");
    QTest::newRow("relative, as given") << QStringLiteral("pictures//out") << QStringLiteral("pictures/out/");
    QTest::newRow("empty stays empty") << QString() << QString();
    QTest::newRow("root") << QStringLiteral("/") << QStringLiteral("/");
}

void tst_mainpage::displayPath()
{
    QFETCH(QString, path);
    QFETCH(QString, shown);
    QCOMPARE(MainPage::displayPath(path), shown);
}

void tst_mainpage::destinationChoice()
{
    MainPage page;
    page.setDestinationPath(QStringLiteral("D:/out"));
    QCOMPARE(QMWidgets::App::instance()->settingsValue(QStringLiteral("DestinationPath")).toString(),
             QStringLiteral("D:/out/"));
    QCOMPARE(page.destinationPath(), QStringLiteral("D:/out/"));

    // "Change destination folder..." cancelled: nothing changes.
    QMTest::ModalAnswerer cancel(QMTest::ModalAnswerer::reject());
    page.destinationBox()->setCurrentIndex(1);
    QMetaObject::invokeMethod(&page, "slotDestinationActivated", Q_ARG(int, 1));
    QVERIFY(cancel.answered());
    QCOMPARE(page.destinationPath(), QStringLiteral("D:/out/"));
    QCOMPARE(page.destinationBox()->currentIndex(), 0);

    // A folder chosen in the dialog.
    const QString chosen = m_pDir->path() + QStringLiteral("/dest");
    QDir().mkpath(chosen);
    QMTest::ModalAnswerer choose([&](QWidget* w) {
        auto* dialog = static_cast<QFileDialog*>(w);
        dialog->setDirectory(chosen);
        static_cast<QDialog*>(dialog)->accept();
    });
    QMetaObject::invokeMethod(&page, "slotDestinationActivated", Q_ARG(int, 1));
    QVERIFY(choose.answered());
    QCOMPARE(page.destinationPath(), chosen + QLatin1Char('/'));
    QCOMPARE(page.destinationBox()->itemText(0), MainPage::displayPath(chosen + QLatin1Char('/')));

    // "Reset": the pictures folder again.
    QMetaObject::invokeMethod(&page, "slotDestinationActivated", Q_ARG(int, 2));
    QCOMPARE(page.destinationPath(), QMWidgets::App::picturesDirectory(false));
    QCOMPARE(page.destinationBox()->itemText(0), MainPage::displayPath(QMWidgets::App::picturesDirectory(false)));
    QCOMPARE(page.destinationBox()->currentIndex(), 0);
}

void tst_mainpage::folderButtonShowsTheDestination()
{
    QMTest::UrlRecorder urls;
    MainPage page;
    page.setDestinationPath(m_pDir->path());
    page.findChild<QPushButton*>(QStringLiteral("BrowseButton"))->click();
    QCOMPARE(urls.count(), 1);
    QCOMPARE(urls.last().toLocalFile(), m_pDir->path());
}

void tst_mainpage::sizeIsRestoredAndStored()
{
    QMWidgets::App* app = QMWidgets::App::instance();
    {
        MainPage page;
        QCOMPARE(page.size(), QSize(420, 600));
    }
    app->setSettingsValue(QStringLiteral("Width"), 300);
    app->setSettingsValue(QStringLiteral("Height"), 500);
    {
        MainPage page;
        QCOMPARE(page.size(), QSize(420, 500));
        page.resize(500, 640);
    }
    QCOMPARE(app->settingsValue(QStringLiteral("Width")).toInt(), 500);
    QCOMPARE(app->settingsValue(QStringLiteral("Height")).toInt(), 640);
}

void tst_mainpage::fileOpenRequestsAreGathered()
{
    QStringList paths;
    for (int i = 0; i < 3; ++i) {
        paths << m_pDir->path() + QStringLiteral("/r%1.png").arg(i);
        BatchFixtures::writeFile(paths.last(), BatchFixtures::pngBytes(BatchFixtures::rgbPicture(4, 4)));
    }
    RecordingPage page;
    page.m_clock.start();
    // Each request restarts the 100 ms gathering (no event loop runs between
    // them here, so the test does not depend on the machine's speed).
    qint64 lastRequest = 0;
    for (const QString& path : paths) {
        emit QMWidgets::App::instance()->fileOpenRequest(path);
        lastRequest = page.m_clock.elapsed();
        QVERIFY(page.openTimer()->isActive());
        QVERIFY(page.openTimer()->remainingTime() > 90);
    }
    QTRY_COMPARE(page.model()->rowCount(), 3);
    QCOMPARE(page.m_lstCalls.size(), 1);
    QCOMPARE(page.m_lstCalls.first().size(), 3);
    QVERIFY(page.m_lstTimes.first() >= lastRequest + 90);
    QVERIFY(page.pendingUrls().isEmpty());
    QVERIFY(!page.openTimer()->isActive());
}

void tst_mainpage::requestDuringSearchWaitsForIt()
{
    const QString first = m_pDir->path() + QStringLiteral("/first.png");
    const QString second = m_pDir->path() + QStringLiteral("/second.png");
    for (const QString& path : {first, second})
        BatchFixtures::writeFile(path, BatchFixtures::pngBytes(BatchFixtures::rgbPicture(4, 4)));
    RecordingPage page;
    page.m_clock.start();
    // The second request comes while the first search's dialog runs (its walk
    // starts 300 ms after it opens), and the open timer fires inside it.
    bool searchingAtSecond = false;
    QTimer::singleShot(150, &page, [&] {
        searchingAtSecond = page.isSearching();
        emit QMWidgets::App::instance()->fileOpenRequest(second);
    });
    emit QMWidgets::App::instance()->fileOpenRequest(first);
    QTRY_COMPARE(page.m_lstCalls.size(), 2);
    QVERIFY(searchingAtSecond);
    // One search after the other, never one inside the other.
    QCOMPARE(page.m_nMaxDepth, 1);
    QCOMPARE(page.m_lstCalls.at(0), QList<QUrl>{QUrl::fromLocalFile(first)});
    QCOMPARE(page.m_lstCalls.at(1), QList<QUrl>{QUrl::fromLocalFile(second)});
    QTRY_COMPARE(page.model()->files(), QStringList{second});
    QTest::qWait(250);
    QCOMPARE(page.m_lstCalls.size(), 2);
    QVERIFY(page.pendingUrls().isEmpty());
}

void tst_mainpage::rowMenuRemovesAndPreviews()
{
    const QString folder = makeFolder();
    MainPage page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.slotFilesDropped({QUrl::fromLocalFile(folder)});
    QCOMPARE(page.model()->rowCount(), 2);

    page.setMenuIndex(page.model()->index(0));
    QVERIFY(QMetaObject::invokeMethod(&page, "slotPlay"));
    QVERIFY(page.preview()->isVisible());
    QCOMPARE(page.preview()->size(), page.dropWidget()->size());
    QTRY_COMPARE(page.preview()->pos(), QPoint(0, 0));

    QVERIFY(QMetaObject::invokeMethod(&page, "slotRemove"));
    QCOMPARE(page.model()->rowCount(), 1);
    QCOMPARE(page.infoLabel()->text(), MainPage::infoText(1));
    page.setMenuIndex(page.model()->index(0));
    QVERIFY(QMetaObject::invokeMethod(&page, "slotRemove"));
    QCOMPARE(page.model()->rowCount(), 0);
    QVERIFY(!page.compressButton()->isEnabled());
}

void tst_mainpage::removedMenuRowIsNeverRead()
{
    MainPage page;
    page.model()->setFiles({QStringLiteral("/x/a.png"), QStringLiteral("/x/b.png")});
    page.setMenuIndex(page.model()->index(1));
    page.model()->removeRows(1, 1);
    QVERIFY(!page.menuIndex().isValid());
    QVERIFY(QMetaObject::invokeMethod(&page, "slotPlay"));
    QVERIFY(QMetaObject::invokeMethod(&page, "slotRemove"));
    QCOMPARE(page.model()->files(), QStringList{QStringLiteral("/x/a.png")});
    QVERIFY(page.preview()->isHidden());
    // A row index from before a new drop previews nothing either.
    const QModelIndex stale = page.model()->index(0);
    page.model()->setFiles({});
    QVERIFY(QMetaObject::invokeMethod(&page, "slotPlay", Q_ARG(QModelIndex, stale)));
    QVERIFY(page.preview()->isHidden());
}

void tst_mainpage::rowMenuOpensBesideTheButton()
{
    MainPage page;
    page.model()->setFiles({QStringLiteral("/x/a.png"), QStringLiteral("/x/b.png")});
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QPoint shownAt;
    QTimer closer;
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shownAt = menu->pos();
            menu->close();
        }
    });
    closer.start();
    const QModelIndex row = page.model()->index(1);
    const QPoint pt(100, 68);
    QVERIFY(QMetaObject::invokeMethod(&page, "slotButtonClicked", Q_ARG(QModelIndex, row), Q_ARG(QPoint, pt)));
    QCOMPARE(shownAt, page.listView()->mapToGlobal(QPoint(-20, 28) + pt));
    QCOMPARE(page.menuIndex(), row);
}

void tst_mainpage::previewSlidesInAndOut()
{
    const QString folder = makeFolder();
    MainPage page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.slotFilesDropped({QUrl::fromLocalFile(folder)});
    QElapsedTimer clock;
    clock.start();
    QVERIFY(QMetaObject::invokeMethod(&page, "slotPlay", Q_ARG(QModelIndex, page.model()->index(0))));
    auto* slide = page.findChild<QPropertyAnimation*>();
    QVERIFY(slide);
    QCOMPARE(slide->targetObject(), static_cast<QObject*>(page.preview()));
    QCOMPARE(slide->propertyName(), QByteArray("pos"));
    QCOMPARE(slide->startValue().toPoint(), QPoint(0, 160));
    QCOMPARE(slide->endValue().toPoint(), QPoint(0, 0));
    QCOMPARE(slide->duration(), 1000);
    QCOMPARE(slide->easingCurve().type(), QEasingCurve::OutBounce);
    QCOMPARE(slide->loopCount(), 1);
    QTRY_COMPARE(page.preview()->pos(), QPoint(0, 0));
    // 4000 ms after it was asked for, it slides out below the drop area,
    // where the area clips it; it stays shown.
    QTRY_VERIFY_WITH_TIMEOUT(!page.findChild<QPropertyAnimation*>() && page.preview()->pos() == QPoint(0, 160), 8000);
    QVERIFY2(clock.elapsed() >= 4000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(page.preview()->isVisible());
}

void tst_mainpage::settingsButtonRunsTheDialog()
{
    MainPage page;
    QWidget* parent = nullptr;
    QMTest::ModalAnswerer answer([&](QWidget* w) {
        parent = w->parentWidget();
        static_cast<QDialog*>(w)->reject();
    });
    page.settingsButton()->click();
    QVERIFY(answer.answered());
    QCOMPARE(answer.answeredClassName(), QStringLiteral("AppSettingsDialog"));
    QCOMPARE(parent, static_cast<QWidget*>(page.settingsButton()));
    QVERIFY(!page.findChild<AppSettingsDialog*>());
}

PAGETEST_MAIN(tst_mainpage)
#include "tst_mainpage.moc"
