// The colour-reduction bench and its two small companions: what the bench
// shows, the error for a missing picture, and the posterised file it writes.

#include "PageTestSupport.h"

#include "App.h"
#include "ComboBox.h"
#include "ComboSlider.h"
#include "DropWidget.h"
#include "PngOptimizerStyle.h"
#include "PngTestWidget.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

QMWidgets::ComboSlider* slider(QWidget& widget, const QString& strTitle)
{
    for (auto* pSlider : widget.findChildren<QMWidgets::ComboSlider*>())
        for (auto* pLabel : pSlider->findChildren<QLabel*>())
            if (pLabel->text() == strTitle)
                return pSlider;
    return nullptr;
}

QString outputPath()
{
    return QMWidgets::App::picturesDirectory(false) + QStringLiteral("imageMC.png");
}

QString writePicture(const QTemporaryDir& dir, const QString& strName, const QVector<QRgb>& pixels)
{
    QImage image(pixels.size(), 1, QImage::Format_ARGB32);
    for (int x = 0; x < pixels.size(); ++x)
        image.setPixel(x, 0, pixels[x]);
    const QString strPath = dir.filePath(strName);
    return image.save(strPath) ? strPath : QString();
}

// Drops the files on the bench's drop area, presses "Optimize" and reads the
// file it wrote (null when there is none).
QImage optimize(PngTestWidget& bench, const QStringList& files)
{
    QFile::remove(outputPath());
    QList<QUrl> urls;
    for (const QString& strFile : files)
        urls << QUrl::fromLocalFile(strFile);
    auto* pDrop = bench.findChild<QMWidgets::DropWidget*>();
    if (!urls.isEmpty() && !PageTest::dropUrls(pDrop, urls))
        return QImage();
    QMTest::childWithText<QPushButton>(&bench, "Optimize")->click();
    return QImage(outputPath());
}

} // namespace

class tst_pngtestwidget : public QObject
{
    Q_OBJECT

private slots:
    void showsItsControls();
    void missingPictureIsAnError();
    void writesPosterisedPicture_data();
    void writesPosterisedPicture();
    void dropTakesFirstFile();
    void unreadableFileWritesNothing();
    void showsCounts();
    void comboBoxReportsPress();
    void styleObject();
};

void tst_pngtestwidget::showsItsControls()
{
    PngTestWidget bench;
    auto* pCubes = slider(bench, "Cubes");
    auto* pStretch = slider(bench, "Stretch");
    auto* pMedian = slider(bench, "Median");
    QVERIFY(pCubes && pStretch && pMedian);
    QCOMPARE(pCubes->value(), 256);
    pCubes->setValue(0);
    QCOMPARE(pCubes->value(), 1);
    QVERIFY(pStretch->isHidden());
    pStretch->setValue(500);
    QCOMPARE(pStretch->value(), 123);
    pMedian->setValue(9);
    QCOMPARE(pMedian->value(), 5);

    auto* pButton = QMTest::childWithText<QPushButton>(&bench, "Optimize");
    QVERIFY(pButton);
    QVERIFY(pButton->isCheckable());
    QVERIFY(!pButton->isChecked());
    QVERIFY(QMTest::childWithText<QCheckBox>(&bench, "Dither")->isChecked());
    QVERIFY(QMTest::childWithText<QCheckBox>(&bench, "GrayAlg")->isChecked());

    auto* pDrop = bench.findChild<QMWidgets::DropWidget*>();
    QCOMPARE(pDrop->text(), QStringLiteral("<H1>Drop image file here</H1>"));
    QVERIFY(pDrop->wordWrap());
    QCOMPARE(pDrop->maximumHeight(), 100);
    for (auto* pOpen : pDrop->findChildren<QPushButton*>())
        QVERIFY(pOpen->isHidden());

    bench.resize(600, 300);
    bench.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bench));
    // The status line sits between the button and the drop area, 20 high.
    QLabel* pStatus = nullptr;
    for (auto* pLabel : bench.findChildren<QLabel*>())
        if (pLabel->parentWidget() == &bench && pLabel != pDrop)
            pStatus = pLabel;
    QVERIFY(pStatus);
    QCOMPARE(pStatus->height(), 20);
    QVERIFY(pButton->geometry().bottom() < pStatus->geometry().top());
    QVERIFY(pStatus->geometry().bottom() < pDrop->geometry().top());
    QVERIFY(pCubes->geometry().bottom() < pButton->geometry().top());
}

void tst_pngtestwidget::missingPictureIsAnError()
{
    PngTestWidget bench;
    QString strTitle, strText;
    bool bParentless = false, bCritical = false;
    QMTest::ModalAnswerer answer([&](QWidget* pWidget) {
        auto* pBox = qobject_cast<QMessageBox*>(pWidget);
        if (!pBox)
            return;
        strTitle = pBox->windowTitle();
        strText = pBox->text();
        bParentless = !pBox->parentWidget();
        bCritical = pBox->icon() == QMessageBox::Critical;
        pBox->button(QMessageBox::Ok)->click();
    });
    QVERIFY(optimize(bench, {}).isNull()); // nothing dropped yet
    QVERIFY(answer.answered());
    QCOMPARE(strTitle, QStringLiteral("Error"));
    QCOMPARE(strText, QStringLiteral("Can not open file to read"));
    QVERIFY(bParentless);
    QVERIFY(bCritical);
    QVERIFY(!QFile::exists(outputPath()));
}

void tst_pngtestwidget::writesPosterisedPicture_data()
{
    QTest::addColumn<int>("cubes");
    QTest::addColumn<bool>("dither");
    QTest::addColumn<QVector<QRgb>>("input");
    QTest::addColumn<QVector<QRgb>>("output");
    // One level step: only a full channel stays lit.
    QTest::newRow("1 level") << 1 << true << QVector<QRgb>{qRgb(255, 128, 0), qRgba(255, 255, 255, 128)}
                             << QVector<QRgb>{qRgb(255, 0, 0), qRgb(255, 255, 255)};
    // Two steps: 0, 127 and 255; 128 is the first value that reaches 127.
    QTest::newRow("2 levels") << 2 << true << QVector<QRgb>{qRgb(128, 127, 255)}
                              << QVector<QRgb>{qRgb(127, 0, 255)};
    QTest::newRow("2 levels, no dithering") << 2 << false << QVector<QRgb>{qRgb(128, 127, 255)}
                                            << QVector<QRgb>{qRgb(127, 0, 255)};
    // The slider's top, 256, keeps every colour (and turns it opaque).
    QTest::newRow("256 keeps colours") << 256 << true << QVector<QRgb>{qRgba(10, 200, 77, 30)}
                                       << QVector<QRgb>{qRgb(10, 200, 77)};
}

void tst_pngtestwidget::writesPosterisedPicture()
{
    QFETCH(int, cubes);
    QFETCH(bool, dither);
    QFETCH(QVector<QRgb>, input);
    QFETCH(QVector<QRgb>, output);
    QTemporaryDir dir;
    const QString strPicture = writePicture(dir, "in.png", input);
    QVERIFY(!strPicture.isEmpty());
    PngTestWidget bench;
    slider(bench, "Cubes")->setValue(cubes);
    QMTest::childWithText<QCheckBox>(&bench, "Dither")->setChecked(dither);
    const QImage result = optimize(bench, {strPicture});
    QCOMPARE(result.size(), QSize(output.size(), 1));
    for (int x = 0; x < output.size(); ++x)
        QCOMPARE(QString::number(result.pixel(x, 0), 16), QString::number(output[x], 16));
}

void tst_pngtestwidget::dropTakesFirstFile()
{
    QTemporaryDir dir;
    const QString strRed = writePicture(dir, "red.png", {qRgb(255, 0, 0)});
    const QString strBlue = writePicture(dir, "blue.png", {qRgb(0, 0, 255)});
    PngTestWidget bench;
    QCOMPARE(optimize(bench, {strRed, strBlue}).pixel(0, 0), qRgb(255, 0, 0));
    // An empty drop keeps the picture.
    QVERIFY(QMetaObject::invokeMethod(&bench, "slotDroppedDone", Q_ARG(QList<QUrl>, QList<QUrl>())));
    QCOMPARE(optimize(bench, {}).pixel(0, 0), qRgb(255, 0, 0));
}

void tst_pngtestwidget::unreadableFileWritesNothing()
{
    QTemporaryDir dir;
    const QString strBroken = dir.filePath("broken.png");
    QFile file(strBroken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG\r\n\x1a\n not a picture after all");
    file.close();
    PngTestWidget bench;
    QMTest::ModalAnswerer answer(QMTest::ModalAnswerer::reject(), 300);
    QVERIFY(optimize(bench, {strBroken}).isNull());
    QVERIFY(!QFile::exists(outputPath()));
    QTest::qWait(350);
    QVERIFY(!answer.answered()); // no message either
}

void tst_pngtestwidget::showsCounts()
{
    PngTestWidget bench;
    bench.showCounts(12, 3000000000LL);
    QVERIFY(QMTest::childWithText<QLabel>(&bench, "Found:12, from:3000000000"));
}

void tst_pngtestwidget::comboBoxReportsPress()
{
    ComboBox combo;
    combo.addItems({"one", "two"});
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));
    QSignalSpy spy(&combo, SIGNAL(clicked()));
    QTest::mouseClick(&combo, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QVERIFY(!combo.view()->isVisible()); // the list did not open
    QCOMPARE(combo.currentIndex(), 0);
}

void tst_pngtestwidget::styleObject()
{
    QObject parent;
    auto* pStyle = new PngOptimizerStyle(&parent);
    QCOMPARE(pStyle->metaObject()->className(), "PngOptimizerStyle");
    QCOMPARE(pStyle->metaObject()->superClass(), &QObject::staticMetaObject);
    QCOMPARE(pStyle->metaObject()->methodCount(), QObject::staticMetaObject.methodCount());
}

PAGETEST_MAIN(tst_pngtestwidget)
#include "tst_pngtestwidget.moc"
