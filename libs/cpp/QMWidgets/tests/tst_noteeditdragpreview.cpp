// The drag-out preview of the note editor: painting, the drag distance, the
// file it writes and the link it drags.
#include "NoteEditDragPreview.h"

#include "App.h"
#include "QMTest.h"

#include <QDir>
#include <QDrag>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QStyleHints>

using QMWidgets::App;
using QMWidgets::NoteEditDragPreview;

namespace {

// Records the drags that would run, with the links they carry.
struct DragRecorder {
    QList<QList<QUrl>> urls;
    QList<QSize> pictureSizes;
    NoteEditDragPreview::DragRunner previous;
    DragRecorder()
    {
        previous = NoteEditDragPreview::setDragRunner([this](QDrag* pDrag) {
            urls << pDrag->mimeData()->urls();
            pictureSizes << pDrag->pixmap().size();
        });
    }
    ~DragRecorder() { NoteEditDragPreview::setDragRunner(previous); }
};

QPixmap picture(int nWidth, int nHeight, const QColor& color)
{
    QPixmap pixmap(nWidth, nHeight);
    pixmap.fill(color);
    return pixmap;
}

QString dragFile(int n)
{
    return App::workDirectory(false) + NoteEditDragPreview::dragFileBaseName() + (n ? QString::number(n) : QString())
           + QStringLiteral(".png");
}

}  // namespace

class TestNoteEditDragPreview : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void init();
    void construction();
    void painting();
    void dragDistance_data();
    void dragDistance();
    void dragWritesPictureAndLinksIt();
    void takenNamesAreSkipped();
    void noDragWhenNothingCanBeWritten_data();
    void noDragWhenNothingCanBeWritten();

private:
    void dragFarEnough(NoteEditDragPreview& preview);
};

void TestNoteEditDragPreview::init()
{
    QMTest::clearSettings();
    QDir(App::workDirectory(false)).removeRecursively();
}

void TestNoteEditDragPreview::dragFarEnough(NoteEditDragPreview& preview)
{
    QMTest::pressAt(&preview, QPoint(10, 10));
    QMTest::moveHeldTo(&preview, QPoint(10 + QApplication::startDragDistance() + 1, 10));
}

void TestNoteEditDragPreview::construction()
{
    NoteEditDragPreview preview;
    QCOMPARE(preview.minimumSize(), QSize(60, 50));
}

void TestNoteEditDragPreview::painting()
{
    // The picture squeezed into the whole area, a dark band along the top
    // with "Drag" in white, and the glass over everything.
    NoteEditDragPreview preview;
    preview.resize(60, 50);
    QPixmap wide(400, 100);
    wide.fill(Qt::red);
    QPainter(&wide).fillRect(200, 0, 200, 100, Qt::blue);
    preview.slotSetPixmap(wide);
    const QImage image = preview.grab().toImage();
    const QColor left = image.pixelColor(10, 40);
    const QColor right = image.pixelColor(50, 40);
    QVERIFY2(left.red() > 200 && left.blue() < 60, qPrintable(left.name()));
    QVERIFY2(right.blue() > 200 && right.red() < 60, qPrintable(right.name()));
    const QColor band = image.pixelColor(2, 7);
    QVERIFY2(band.red() < 180 && band.red() > 80, qPrintable(band.name()));  // red under half black
    int nWhite = 0;
    for (int x = 0; x < 60; ++x) {
        for (int y = 0; y < 15; ++y)
            nWhite += image.pixelColor(x, y).lightness() > 200;
    }
    QVERIFY2(nWhite > 10, "no text in the band");
}

void TestNoteEditDragPreview::dragDistance_data()
{
    QTest::addColumn<int>("extra");  // pixels beyond the start-drag distance
    QTest::addColumn<int>("drags");
    QTest::newRow("exactly the distance") << 0 << 0;
    QTest::newRow("one pixel more") << 1 << 1;
}

void TestNoteEditDragPreview::dragDistance()
{
    QFETCH(int, extra);
    QFETCH(int, drags);
    DragRecorder recorder;
    NoteEditDragPreview preview;
    preview.resize(80, 60);
    preview.slotSetPixmap(picture(30, 20, Qt::green));
    const int nDistance = QApplication::startDragDistance();
    // Split between both directions: the distance is a Manhattan length.
    const int dx = nDistance / 2;
    QMTest::pressAt(&preview, QPoint(20, 20));
    QMTest::moveHeldTo(&preview, QPoint(20 + dx, 20 + nDistance - dx + extra));
    QCOMPARE(recorder.urls.size(), drags);
    // A move without the left button never drags.
    QMTest::moveHeldTo(&preview, QPoint(70, 50), Qt::RightButton);
    QCOMPARE(recorder.urls.size(), drags);
}

void TestNoteEditDragPreview::dragWritesPictureAndLinksIt()
{
    DragRecorder recorder;
    NoteEditDragPreview preview;
    preview.resize(70, 55);
    const QPixmap shot = picture(33, 21, QColor(10, 200, 30));
    preview.slotSetPixmap(shot);
    dragFarEnough(preview);
    QCOMPARE(recorder.urls.size(), 1);
    QCOMPARE(recorder.urls.first(), QList<QUrl>{QUrl::fromLocalFile(dragFile(0))});
    QCOMPARE(recorder.pictureSizes.first(), QSize(70, 55));
    QImageReader reader(dragFile(0));
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32), shot.toImage().convertToFormat(QImage::Format_RGB32));

    // The next drag writes the same file again.
    preview.slotSetPixmap(picture(5, 5, Qt::black));
    dragFarEnough(preview);
    QCOMPARE(recorder.urls.size(), 2);
    QCOMPARE(recorder.urls.last(), QList<QUrl>{QUrl::fromLocalFile(dragFile(0))});
    QCOMPARE(QImage(dragFile(0)).size(), QSize(5, 5));
}

void TestNoteEditDragPreview::takenNamesAreSkipped()
{
    // A folder in the way stands for a file another program holds open.
    QVERIFY(QDir().mkpath(dragFile(0)));
    DragRecorder recorder;
    NoteEditDragPreview preview;
    preview.resize(60, 50);
    preview.slotSetPixmap(picture(8, 8, Qt::red));
    dragFarEnough(preview);
    QCOMPARE(recorder.urls.size(), 1);
    QCOMPARE(recorder.urls.first(), QList<QUrl>{QUrl::fromLocalFile(dragFile(1))});
    QCOMPARE(QImage(dragFile(1)).size(), QSize(8, 8));
}

void TestNoteEditDragPreview::noDragWhenNothingCanBeWritten_data()
{
    QTest::addColumn<bool>("allNamesTaken");
    QTest::newRow("all 32 names taken") << true;
    QTest::newRow("no picture to write") << false;
}

void TestNoteEditDragPreview::noDragWhenNothingCanBeWritten()
{
    QFETCH(bool, allNamesTaken);
    if (allNamesTaken) {
        for (int n = 0; n < 32; ++n)
            QVERIFY(QDir().mkpath(dragFile(n)));
    }
    DragRecorder recorder;
    NoteEditDragPreview preview;
    preview.resize(60, 50);
    if (allNamesTaken)
        preview.slotSetPixmap(picture(8, 8, Qt::red));
    dragFarEnough(preview);
    QCOMPARE(recorder.urls.size(), 0);
    // The 33rd name is never tried, and a failed write leaves no empty file.
    QVERIFY(!QFileInfo::exists(dragFile(32)));
    if (!allNamesTaken)
        QVERIFY(!QFileInfo::exists(dragFile(0)));
}

QMTEST_APP_MAIN(TestNoteEditDragPreview)
#include "tst_noteeditdragpreview.moc"
