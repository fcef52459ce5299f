// The introduction slide show.
#include "DialogLayoutCheck.h"
#include "QMTest.h"

#include "App.h"
#include "HelpDialog.h"
#include "HelpDisplay.h"
#include "HelpViewArea.h"
#include "UrlOpener.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace QMWidgets;

namespace {

const QList<QColor> kSlideColours = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta};

// Five 40 x 20 pictures of distinct colours, as JPEG files like the real slides.
class SlideFiles
{
public:
    SlideFiles()
    {
        for (int i = 0; i < kSlideColours.size(); ++i) {
            QImage image(40, 20, QImage::Format_RGB32);
            image.fill(kSlideColours.at(i));
            const QString strPath = m_dir.filePath(QString("Slide%1_en.jpg").arg(i + 1));
            image.save(strPath, "JPG", 100);
            m_slPaths << strPath;
        }
    }
    QStringList paths() const { return m_slPaths; }
    QString path(int nOneBased) const { return m_slPaths.at(nOneBased - 1); }

private:
    QTemporaryDir m_dir;
    QStringList m_slPaths;
};

int checkedNumber(HelpViewArea* pArea)
{
    QAbstractButton* pChecked = pArea->buttonGroup()->checkedButton();
    return pChecked ? pChecked->text().toInt() : 0;
}

QAbstractButton* slideButton(HelpViewArea* pArea, int nOneBased)
{
    return pArea->buttonGroup()->buttons().at(nOneBased - 1);
}

bool isBlack(QRgb p) { return qRed(p) < 30 && qGreen(p) < 30 && qBlue(p) < 30; }
bool isRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60; }

} // namespace

class TestHelpDialog : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void slideButtons();
    void slideCycle();
    void userChoiceStopsTheShow();
    void oneSlide();
    void noSlides();
    void slideRect_data();
    void slideRect();
    void painting_data();
    void painting();
    void dialogForm();
    void skipForGood();
    void skipButtonKeptHidden();
    void videoButtonVisibility_data();
    void videoButtonVisibility();
    void watchVideo_data();
    void watchVideo();
    void layoutAtMinimumSize();
};

void TestHelpDialog::slideButtons()
{
    SlideFiles files;
    HelpViewArea area;
    QCOMPARE(area.objectName(), QString("HelpViewArea"));
    for (const QString& strPath : files.paths())
        area.addSlide(strPath);
    const auto buttons = area.buttonGroup()->buttons();
    QCOMPARE(buttons.size(), 5);
    QVERIFY(area.buttonGroup()->exclusive());
    for (int i = 0; i < buttons.size(); ++i) {
        auto* pButton = qobject_cast<QPushButton*>(buttons.at(i));
        QCOMPARE(pButton->text(), QString::number(i + 1));
        QCOMPARE(pButton->objectName(), QString("HelpSlideButton"));
        QVERIFY(pButton->isFlat());
        QVERIFY(pButton->isCheckable());
        QCOMPARE(pButton->minimumSize(), QSize(18, 18));
        QCOMPARE(pButton->maximumSize(), QSize(18, 18));
    }
    QCOMPARE(area.slideTimer()->interval(), 5000);
    QVERIFY(!area.slideTimer()->isSingleShot());
    QVERIFY(!area.slideTimer()->isActive());
    QCOMPARE(area.display()->minimumSize(), QSize(400, 300));
}

void TestHelpDialog::slideCycle()
{
    SlideFiles files;
    HelpViewArea area;
    for (const QString& strPath : files.paths())
        area.addSlide(strPath);

    area.slotStartSlideShow();
    QCOMPARE(checkedNumber(&area), 1);
    QCOMPARE(area.display()->imagePath(), files.path(1));
    QVERIFY(area.slideTimer()->isActive());

    for (int nExpected : {2, 3, 4, 5, 1, 2}) {
        area.slotShowNextSlide();
        QCOMPARE(checkedNumber(&area), nExpected);
        QCOMPARE(area.display()->imagePath(), files.path(nExpected));
    }
    // Advancing from code does not stop the show.
    QVERIFY(area.slideTimer()->isActive());
}

void TestHelpDialog::userChoiceStopsTheShow()
{
    SlideFiles files;
    HelpDialog dialog;
    for (const QString& strPath : files.paths())
        dialog.addSlide(strPath);
    HelpViewArea* pArea = dialog.viewArea();

    dialog.show();
    QVERIFY(pArea->slideTimer()->isActive());
    QCOMPARE(checkedNumber(pArea), 1);

    QTest::mouseClick(slideButton(pArea, 3), Qt::LeftButton);
    QCOMPARE(checkedNumber(pArea), 3);
    QCOMPARE(pArea->display()->imagePath(), files.path(3));
    QVERIFY(!pArea->slideTimer()->isActive());

    dialog.hide();
    QVERIFY(!pArea->slideTimer()->isActive());
    dialog.show();
    QVERIFY(pArea->slideTimer()->isActive());
    QCOMPARE(checkedNumber(pArea), 3);
    pArea->slotShowNextSlide();
    QCOMPARE(checkedNumber(pArea), 4);
}

void TestHelpDialog::oneSlide()
{
    SlideFiles files;
    HelpViewArea area;
    area.addSlide(files.path(2));
    area.slotStartSlideShow();
    QCOMPARE(checkedNumber(&area), 1);
    area.slotShowNextSlide();
    area.slotShowNextSlide();
    QCOMPARE(checkedNumber(&area), 1);
    QCOMPARE(area.display()->imagePath(), files.path(2));
}

void TestHelpDialog::noSlides()
{
    HelpViewArea area;
    area.slotStartSlideShow();
    QVERIFY(area.slideTimer()->isActive());
    area.slotShowNextSlide();
    QVERIFY(area.buttonGroup()->buttons().isEmpty());
    QVERIFY(area.display()->imagePath().isEmpty());
}

void TestHelpDialog::slideRect_data()
{
    QTest::addColumn<QSize>("sizeArea");
    QTest::addColumn<QSize>("sizeScaled");
    QTest::addColumn<int>("nRatio");
    QTest::addColumn<QRect>("rectExpected");

    QTest::newRow("ratio 1, wide picture") << QSize(100, 100) << QSize(100, 50) << 1 << QRect(0, 25, 100, 50);
    QTest::newRow("ratio 1, tall picture") << QSize(100, 100) << QSize(50, 100) << 1 << QRect(25, 0, 50, 100);
    QTest::newRow("ratio 2") << QSize(100, 100) << QSize(200, 100) << 2 << QRect(0, 25, 100, 50);
    // Centred at 3 as well (at 3 and above the picture used to sit off centre).
    QTest::newRow("ratio 3") << QSize(100, 100) << QSize(300, 150) << 3 << QRect(0, 25, 100, 50);
    QTest::newRow("ratio 4, tall") << QSize(400, 300) << QSize(800, 1200) << 4 << QRect(100, 0, 200, 300);
    QTest::newRow("ratio 0 counts as 1") << QSize(100, 100) << QSize(100, 50) << 0 << QRect(0, 25, 100, 50);
    QTest::newRow("odd free space") << QSize(101, 100) << QSize(100, 49) << 1 << QRect(0, 25, 100, 49);
}

void TestHelpDialog::slideRect()
{
    QFETCH(QSize, sizeArea);
    QFETCH(QSize, sizeScaled);
    QFETCH(int, nRatio);
    QFETCH(QRect, rectExpected);
    QCOMPARE(HelpDisplay::slideRect(sizeArea, sizeScaled, nRatio), rectExpected);
}

void TestHelpDialog::painting_data()
{
    QTest::addColumn<QString>("strPicture");  // "red", "missing" or "" (no path)
    QTest::addColumn<QString>("strRows");     // expected colour of rows 0, 24, 25, 74, 75, 99 (b/r/o = other)

    QTest::newRow("picture fitted and centred") << "red" << "bbrrbb";
    QTest::newRow("missing file: black only") << "missing" << "bbbbbb";
    QTest::newRow("no path: no black fill") << "" << "oooooo";
}

void TestHelpDialog::painting()
{
    QFETCH(QString, strPicture);
    QFETCH(QString, strRows);

    QTemporaryDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString strRed = dir.filePath("red.png");
    picture.save(strRed);

    HelpDisplay display;
    display.setFixedSize(100, 100);
    if (strPicture == "red")
        display.setImagePath(strRed);
    else if (strPicture == "missing")
        display.setImagePath(dir.filePath("missing.png"));
    const QImage image = display.grab().toImage();

    const int rows[] = {0, 24, 25, 74, 75, 99};
    for (int i = 0; i < 6; ++i) {
        const QRgb p = image.pixel(50, rows[i]);
        const char c = isBlack(p) ? 'b' : isRed(p) ? 'r' : 'o';
        QVERIFY2(c == strRows.at(i).toLatin1(), qPrintable(QString("row %1").arg(rows[i])));
    }
}

void TestHelpDialog::dialogForm()
{
    HelpDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Zintrop Lite Introduction"));
    QCOMPARE(dialog.objectName(), QString("Dialog"));
    dialog.setVideoLink("https://youtu.be/abc");
    dialog.show();

    QPushButton* pVideo = dialog.findChild<QPushButton*>("VideoButton");
    QPushButton* pSkip = QMTest::buttonWithText(&dialog, "&Always skip intro");
    QPushButton* pClose = QMTest::buttonWithText(&dialog, "&Close");
    QVERIFY(pVideo && pSkip && pClose);
    QCOMPARE(pVideo->text(), QString("&Watch videos"));
    QVERIFY(pVideo->isFlat());
    QCOMPARE(pSkip->objectName(), QString("PushButton"));
    QCOMPARE(pClose->objectName(), QString("PushButton"));
    // Video on the left, a stretch, then skip and close, all in one row.
    QVERIFY(pVideo->geometry().right() < pSkip->geometry().left() - 20);
    QVERIFY(pSkip->geometry().right() < pClose->geometry().left());
    QCOMPARE(pSkip->geometry().y(), pClose->geometry().y());
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(pClose));

    // Closing only hides, with the result Rejected.
    pClose->click();
    QVERIFY(dialog.isHidden());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestHelpDialog::skipForGood()
{
    QVERIFY(HelpDialog::isIntroEnabled());
    HelpDialog dialog;
    dialog.show();
    QPushButton* pSkip = QMTest::buttonWithText(&dialog, "&Always skip intro");
    QVERIFY(pSkip->isVisible());
    pSkip->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.isHidden());
    QCOMPARE(App::instance()->settingsValue("NeverShowItAgain").toBool(), true);
    QVERIFY(!HelpDialog::isIntroEnabled());
    dialog.show();
    QVERIFY(pSkip->isHidden());
}

void TestHelpDialog::skipButtonKeptHidden()
{
    HelpDialog dialog;
    dialog.hideSkipButton();
    dialog.show();
    QVERIFY(QMTest::buttonWithText(&dialog, "&Always skip intro")->isHidden());
}

void TestHelpDialog::videoButtonVisibility_data()
{
    QTest::addColumn<QString>("strLink");
    QTest::addColumn<bool>("bCommunityHidden");
    QTest::addColumn<bool>("bVisible");

    QTest::newRow("link") << "https://youtu.be/abc" << false << true;
    QTest::newRow("empty link") << "" << false << false;
    QTest::newRow("community hidden") << "https://youtu.be/abc" << true << false;
}

void TestHelpDialog::videoButtonVisibility()
{
    QFETCH(QString, strLink);
    QFETCH(bool, bCommunityHidden);
    QFETCH(bool, bVisible);

    App::instance()->setCommunityHidden(bCommunityHidden);
    HelpDialog dialog;
    dialog.setVideoLink(strLink);
    dialog.show();
    App::instance()->setCommunityHidden(false);
    QCOMPARE(dialog.findChild<QPushButton*>("VideoButton")->isVisible(), bVisible);
}

void TestHelpDialog::watchVideo_data()
{
    QTest::addColumn<QString>("strLanguage");
    QTest::addColumn<QString>("strLink");
    QTest::addColumn<QStringList>("slOpenable");  // URLs the desktop can open
    QTest::addColumn<QStringList>("slOpened");    // URLs tried, in order

    const QString orgPage = "http://zintrop.org.invalid/video.php?view=";
    QTest::newRow("link opens") << "en" << "https://youtu.be/abc" << QStringList{"https://youtu.be/abc"}
                                << QStringList{"https://youtu.be/abc"};
    QTest::newRow("short link: video page") << "en" << "https://youtu.be/abc" << QStringList{orgPage + "abc"}
                                            << QStringList{"https://youtu.be/abc", orgPage + "abc"};
    QTest::newRow("watch link: video page") << "en" << "https://youtube.com/watch?v=xyz"
                                            << QStringList{orgPage + "xyz"}
                                            << QStringList{"https://youtube.com/watch?v=xyz", orgPage + "xyz"};
    QTest::newRow("German video page") << "de" << "https://youtu.be/abc"
                                       << QStringList{"http://zintrop.de.invalid/video.php?view=abc"}
                                       << QStringList{"https://youtu.be/abc",
                                                      "http://zintrop.de.invalid/video.php?view=abc"};
    QTest::newRow("Spanish uses org") << "es" << "https://youtu.be/abc" << QStringList{orgPage + "abc"}
                                      << QStringList{"https://youtu.be/abc", orgPage + "abc"};
    QTest::newRow("sub-domain link: support page")
        << "en" << "https://www.youtube.com/watch?v=xyz" << QStringList{"http://zintrop.invalid"}
        << QStringList{"https://www.youtube.com/watch?v=xyz", "https://www.youtube.com/watch?v=xyz",
                       "http://zintrop.invalid"};
    QTest::newRow("video page fails: support page")
        << "en" << "https://youtu.be/abc" << QStringList{"http://zintrop.invalid"}
        << QStringList{"https://youtu.be/abc", orgPage + "abc", "http://zintrop.invalid"};
}

void TestHelpDialog::watchVideo()
{
    QFETCH(QString, strLanguage);
    QFETCH(QString, strLink);
    QFETCH(QStringList, slOpenable);
    QFETCH(QStringList, slOpened);

    App::language();
    App::instance()->setLanguageCode(strLanguage);
    QStringList slTried;
    Platform::setUrlOpenHook([&](const QUrl& url) {
        slTried << url.toString();
        return slOpenable.contains(url.toString());
    });

    HelpDialog dialog;
    dialog.setVideoLink(strLink);
    dialog.show();
    dialog.findChild<QPushButton*>("VideoButton")->click();

    Platform::setUrlOpenHook(Platform::UrlOpenHook());
    App::instance()->setLanguageCode("en");
    QCOMPARE(slTried, slOpened);
}

void TestHelpDialog::layoutAtMinimumSize()
{
    SlideFiles files;
    HelpDialog dialog;
    for (const QString& strPath : files.paths())
        dialog.addSlide(strPath);
    dialog.setVideoLink("https://youtu.be/abc");
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&dialog), QStringList());
}

QMTEST_APP_MAIN(TestHelpDialog)
#include "tst_helpdialog.moc"
