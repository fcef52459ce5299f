// The screen cropper on a synthetic desktop: what it shows, what it cuts out
// in every show mode, where it saves, and the cursors it leaves behind.
#include "ScreenCropper.h"

#include "QMTest.h"

#include <QAction>
#include <QDir>
#include <QImageReader>
#include <QScreen>
#include <QStandardPaths>

using QMWidgets::ScreenCropper;

namespace {

QSize screenSize()
{
    return QGuiApplication::primaryScreen()->geometry().size();
}

// The signals of one cropper, in the order they came.
struct SignalLog {
    QStringList names;
    QList<QPixmap> pictures;
    explicit SignalLog(ScreenCropper& cropper)
    {
        QObject::connect(&cropper, &ScreenCropper::closed, [this] { names << QStringLiteral("closed"); });
        QObject::connect(&cropper, &ScreenCropper::escaped, [this] { names << QStringLiteral("escaped"); });
        QObject::connect(&cropper, &ScreenCropper::saved, [this] { names << QStringLiteral("saved"); });
        QObject::connect(&cropper, QOverload<QPixmap>::of(&ScreenCropper::done), [this](const QPixmap& p) {
            names << QStringLiteral("done(QPixmap)");
            pictures << p;
        });
        QObject::connect(&cropper, QOverload<>::of(&ScreenCropper::done), [this] { names << QStringLiteral("done()"); });
    }
};

QString savedFile(const QString& strFolder)
{
    const QStringList files = QDir(strFolder).entryList({QStringLiteral("ScreenShot_*.png")}, QDir::Files);
    return files.size() == 1 ? strFolder + QLatin1Char('/') + files.first() : QString();
}

}  // namespace

class TestScreenCropper : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void init();
    void construction();
    void saveFolder_data();
    void saveFolder();
    void grabShowsByMode_data();
    void grabShowsByMode();
    void cropsWhatWasSelected_data();
    void cropsWhatWasSelected();
    void escapeClosesWithoutPicture();
    void closeOnlyHides();
    void saveWritesTheCut();
    void saveWithoutCutReportsNothing();
    void openLocationAfterSave_data();
    void openLocationAfterSave();
    void aboutOnA();
    void painting();
    void cursorsAreBalanced();

private:
    QMTest::SyntheticDesktop* m_pDesktop = nullptr;
};

void TestScreenCropper::init()
{
    QMTest::clearSettings();
    QDir(QMTest::temporaryHome() + QStringLiteral("/Desktop")).removeRecursively();
    for (const QString& file : QDir(QMTest::temporaryHome()).entryList({QStringLiteral("ScreenShot_*")}))
        QFile::remove(QMTest::temporaryHome() + QLatin1Char('/') + file);
    delete m_pDesktop;
    m_pDesktop = new QMTest::SyntheticDesktop(QMTest::SyntheticDesktop::coordinatePicture(screenSize()));
}

void TestScreenCropper::construction()
{
    ScreenCropper cropper;
    QCOMPARE(cropper.windowFlags(), QWidget().windowFlags());  // the owner decides
    QCOMPARE(cropper.actions().size(), 1);
    QAction* pClose = cropper.actions().first();
    QCOMPARE(pClose->text(), QStringLiteral("Close"));
    QCOMPARE(pClose->shortcut(), QKeySequence(Qt::Key_Escape));
    QVERIFY(cropper.croppedPixmap().isNull());
    QCOMPARE(cropper.shortHelpText(),
             QStringLiteral("Select the area you want to crop. \n(to cancel this operation press ESC button)"));
}

void TestScreenCropper::saveFolder_data()
{
    QTest::addColumn<bool>("desktopExists");
    QTest::addColumn<QString>("folder");  // relative to HOME
    QTest::addColumn<QString>("location");
    QTest::newRow("no desktop folder") << false << "" << "in Home Location";
    QTest::newRow("desktop folder") << true << "/Desktop" << "on Desktop";
}

void TestScreenCropper::saveFolder()
{
    // Chosen at construction already; a language change chooses again.
    QFETCH(bool, desktopExists);
    QFETCH(QString, folder);
    QFETCH(QString, location);
    ScreenCropper cropper;
    QCOMPARE(cropper.saveFolder(), QMTest::temporaryHome());
    if (desktopExists) {
        QVERIFY(QDir().mkpath(QMTest::temporaryHome() + QStringLiteral("/Desktop")));
        QEvent languageChange(QEvent::LanguageChange);
        QApplication::sendEvent(&cropper, &languageChange);
        ScreenCropper fresh;
        QCOMPARE(fresh.saveFolder(), QMTest::temporaryHome() + folder);
    }
    QCOMPARE(cropper.saveFolder(), QMTest::temporaryHome() + folder);
    QCOMPARE(cropper.helpText(), QStringLiteral("Select the area you want to crop.\nThe image file will be saved ")
                                     + location
                                     + QStringLiteral("\nHold [ALT] to go, after screenshot is done, to its location\n"
                                                      "Press [A] to see about dialog\nPress [ESC] to cancel this "
                                                      "operation"));
}

void TestScreenCropper::grabShowsByMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<Qt::WindowState>("state");
    QTest::newRow("full screen") << 0 << Qt::WindowFullScreen;
    QTest::newRow("maximised") << 1 << Qt::WindowMaximized;
    QTest::newRow("normal") << 7 << Qt::WindowNoState;
}

void TestScreenCropper::grabShowsByMode()
{
    QFETCH(int, mode);
    QFETCH(Qt::WindowState, state);
    ScreenCropper cropper;
    cropper.setShowMode(mode);
    cropper.resize(400, 300);
    cropper.grabScreen();
    QVERIFY(cropper.isVisible());
    QCOMPARE(cropper.windowState(), state);
    QCOMPARE(m_pDesktop->grabs(), QList<QRect>{QRect(QPoint(0, 0), screenSize())});
    QCOMPARE(cropper.cursor().shape(), Qt::CrossCursor);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QVERIFY(cropper.hasFocus() || !cropper.isActiveWindow());
}

void TestScreenCropper::cropsWhatWasSelected_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<QPoint>>("gesture");  // press, moves, release
    QTest::addColumn<QRect>("cut");              // in desktop pixels
    QTest::newRow("click: one pixel") << 0 << QList<QPoint>{{30, 40}} << QRect(30, 40, 1, 1);
    QTest::newRow("dragged down and right") << 0 << QList<QPoint>{{10, 20}, {50, 60}, {110, 70}}
                                            << QRect(QPoint(10, 20), QPoint(110, 70));
    QTest::newRow("dragged up and left") << 0 << QList<QPoint>{{300, 200}, {250, 150}, {250, 150}}
                                         << QRect(QPoint(250, 150), QPoint(300, 200));
    // The window is half the screen: its pixels stand for 2 x 2 of the picture.
    QTest::newRow("half-size window, click") << 2 << QList<QPoint>{{10, 15}} << QRect(20, 30, 2, 2);
    QTest::newRow("half-size window, drag") << 2 << QList<QPoint>{{100, 50}, {50, 20}} << QRect(100, 40, 102, 62);
}

void TestScreenCropper::cropsWhatWasSelected()
{
    QFETCH(int, mode);
    QFETCH(QList<QPoint>, gesture);
    QFETCH(QRect, cut);
    ScreenCropper cropper;
    cropper.setShowMode(mode);
    cropper.resize(screenSize() / 2);
    SignalLog log(cropper);
    cropper.grabScreen();
    QTRY_COMPARE(cropper.size(), mode == 0 ? screenSize() : screenSize() / 2);
    QMTest::pressAt(&cropper, gesture.first());
    for (int i = 1; i < gesture.size(); ++i)
        QMTest::moveHeldTo(&cropper, gesture.at(i));
    // Where the button comes up does not count: the last move does.
    QMTest::releaseAt(&cropper, QPoint(3, 3));

    QCOMPARE(log.names, (QStringList{"closed", "done(QPixmap)", "done()"}));
    const QImage expected = QMTest::SyntheticDesktop::coordinatePicture(screenSize()).toImage().copy(cut);
    QCOMPARE(log.pictures.first().toImage(), expected);
    QCOMPARE(cropper.croppedPixmap().toImage(), expected);
    QVERIFY(!cropper.isVisible());
    QVERIFY(!QApplication::overrideCursor());
}

void TestScreenCropper::escapeClosesWithoutPicture()
{
    ScreenCropper cropper;
    SignalLog log(cropper);
    cropper.grabScreen();
    QApplication::setActiveWindow(&cropper);
    QTRY_VERIFY(cropper.isActiveWindow());
    QTest::keyClick(&cropper, Qt::Key_Escape);
    QCOMPARE(log.names, (QStringList{"closed", "escaped"}));
    QVERIFY(!cropper.isVisible());
    QVERIFY(cropper.croppedPixmap().isNull());
    QVERIFY(!QApplication::overrideCursor());
}

void TestScreenCropper::closeOnlyHides()
{
    QPointer<ScreenCropper> pCropper = new ScreenCropper;
    pCropper->setAttribute(Qt::WA_DeleteOnClose);
    pCropper->grabScreen();
    QVERIFY(!pCropper->close());
    QVERIFY(!pCropper->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(pCropper);
    delete pCropper;
    QVERIFY(!QApplication::overrideCursor());
}

void TestScreenCropper::saveWritesTheCut()
{
    ScreenCropper cropper;
    SignalLog log(cropper);
    cropper.grabScreen();
    QTRY_COMPARE(cropper.size(), screenSize());
    QMTest::dragFromTo(&cropper, QPoint(5, 6), QPoint(44, 25));
    log.names.clear();
    QVERIFY(QMetaObject::invokeMethod(&cropper, "slotSave"));
    QCOMPARE(log.names, QStringList{"saved"});
    const QString strFile = savedFile(cropper.saveFolder());
    QVERIFY2(QRegularExpression(QStringLiteral("/ScreenShot_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.png$"))
                 .match(strFile).hasMatch(),
             qPrintable(strFile));
    QImageReader reader(strFile);
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32),
             QMTest::SyntheticDesktop::coordinatePicture(screenSize()).toImage().copy(5, 6, 40, 20));
}

void TestScreenCropper::saveWithoutCutReportsNothing()
{
    // Nothing cut yet: nothing to write, so no saved() and no file.
    ScreenCropper cropper;
    SignalLog log(cropper);
    QVERIFY(QMetaObject::invokeMethod(&cropper, "slotSave"));
    QCOMPARE(log.names, QStringList());
    QVERIFY(QDir(cropper.saveFolder()).entryList({QStringLiteral("ScreenShot_*")}).isEmpty());
}

void TestScreenCropper::openLocationAfterSave_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("opens");
    QTest::newRow("plain release") << "" << false;
    QTest::newRow("alt held at release") << "alt" << true;
    QTest::newRow("return pressed") << "return" << true;
}

void TestScreenCropper::openLocationAfterSave()
{
    QFETCH(QString, how);
    QFETCH(bool, opens);
    QMTest::UrlRecorder urls;
    ScreenCropper cropper;
    cropper.grabScreen();
    if (how == QLatin1String("return"))
        QTest::keyClick(&cropper, Qt::Key_Return);
    QMTest::dragThrough(&cropper, {QPoint(5, 5), QPoint(20, 20)},
                        how == QLatin1String("alt") ? Qt::AltModifier : Qt::NoModifier);
    QVERIFY(QMetaObject::invokeMethod(&cropper, "slotSave"));
    QVERIFY(!savedFile(cropper.saveFolder()).isEmpty());
    QCOMPARE(urls.count(), opens ? 1 : 0);
    if (opens)
        QCOMPARE(urls.last(), QUrl::fromLocalFile(cropper.saveFolder()));
}

void TestScreenCropper::aboutOnA()
{
    ScreenCropper cropper;
    cropper.grabScreen();
    QMTest::ModalAnswerer answer(QMTest::ModalAnswerer::reject());
    QTest::keyClick(&cropper, Qt::Key_A);
    QVERIFY(answer.answered());
    QCOMPARE(answer.answeredClassName(), QStringLiteral("QMWidgets::AboutDialog"));
    QVERIFY(cropper.isVisible());
}

void TestScreenCropper::painting()
{
    // The grab stretched over the widget under a translucent white frame;
    // the selection tinted blue-grey with a light outline.
    ScreenCropper cropper;
    cropper.setShowMode(2);
    cropper.resize(400, 300);
    cropper.grabScreen();
    QImage image = cropper.grab().toImage();
    const QImage desktop = QMTest::SyntheticDesktop::coordinatePicture(screenSize()).toImage();
    QCOMPARE(image.pixelColor(100, 10), desktop.pixelColor(200, 20));
    const QColor frame = image.pixelColor(1, 150);
    QVERIFY2(frame.red() > 100 && frame.blue() > 100, qPrintable(frame.name()));
    QMTest::pressAt(&cropper, QPoint(120, 60));
    QMTest::moveHeldTo(&cropper, QPoint(60, 30));
    image = cropper.grab().toImage();
    QCOMPARE(image.pixelColor(60, 45), QColor(210, 210, 210));
    QCOMPARE(image.pixelColor(90, 30), QColor(210, 210, 210));
    const QColor inside = image.pixelColor(90, 45);
    const QColor under = desktop.pixelColor(180, 90);
    QVERIFY2(inside.blue() > under.blue() && inside.red() < under.red(), qPrintable(inside.name()));
}

void TestScreenCropper::cursorsAreBalanced()
{
    ScreenCropper cropper;
    for (int i = 0; i < 5; ++i)
        cropper.grabScreen();
    QVERIFY(QApplication::overrideCursor());
    QTest::keyClick(&cropper, Qt::Key_Escape);
    QMetaObject::invokeMethod(&cropper, "slotClose");
    QVERIFY(!QApplication::overrideCursor());
}

QMTEST_APP_MAIN(TestScreenCropper)
#include "tst_screencropper.moc"
