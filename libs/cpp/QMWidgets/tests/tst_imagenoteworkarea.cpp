// The annotation canvas driven as a user drives it: synthetic mouse gestures
// on a shown canvas, its pixels read back through resultPixmap(). On a fully
// transparent picture the result is exactly the annotation layer.
#include "ImageNoteWorkArea.h"

#include "App.h"
#include "ImageFilters.h"
#include "NoteEditWidget.h"
#include "QMTest.h"

#include <QImageReader>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>

using QMWidgets::App;
using QMWidgets::ImageNoteWorkArea;
using QMWidgets::NoteEditWidget;

Q_DECLARE_METATYPE(ImageNoteWorkArea::Mode)

namespace {

const QColor kInk(200, 30, 40);

QPixmap filledPicture(const QSize& size, const QColor& color)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return QPixmap::fromImage(image);
}

QPixmap transparentPicture(const QSize& size = QSize(200, 120))
{
    return filledPicture(size, Qt::transparent);
}

QImage result(ImageNoteWorkArea& area)
{
    return area.resultPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

bool isClear(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
        }
    }
    return true;
}

// A shown canvas on a picture, ready for gestures.
struct Canvas {
    ImageNoteWorkArea area;
    explicit Canvas(const QPixmap& picture = transparentPicture())
    {
        area.slotSetPixmap(picture);
        area.slotSetColor(kInk);
        area.show();
        if (!QTest::qWaitForWindowExposed(&area))
            qWarning("the canvas was not exposed");
    }
    // The gesture, then the paint that commits it.
    void drag(const QList<QPoint>& points)
    {
        QMTest::dragThrough(&area, points);
        area.repaint();
    }
    void drag(const QPoint& from, const QPoint& to) { drag(QList<QPoint>{from, to}); }
    void click(const QPoint& at) { drag(QList<QPoint>{at}); }
    NoteEditWidget* note() const { return area.findChild<NoteEditWidget*>(); }
};

}  // namespace

class TestImageNoteWorkArea : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void init();
    void construction();
    void setPixmapStartsAfresh();

    void freehandStrokeHasNoGaps_data();
    void freehandStrokeHasNoGaps();
    void strokeShowsWhileHeld();
    void highlighterIsWideAndFaint();
    void eraserRestoresPicture();
    void shapesLandWhereDragged_data();
    void shapesLandWhereDragged();
    void dashedOutlines();
    void arrowHasHeadButNoneWithoutLength();
    void blurStaysInsidePicture();

    void everyLeftReleaseIsOneUndoStep_data();
    void everyLeftReleaseIsOneUndoStep();
    void undoRedoRestoreExactLayers();
    void historyMemoryIsCapped();
    void resultStartsFromPicture();

    void noteBoxPlacement_data();
    void noteBoxPlacement();
    void acceptedNoteIsDrawnInColour();
    void cancelledNoteKeepsItsStep();
    void pickedToolSurvivesTextStates();
    void noteSlotsIgnoreDirectCalls();
    void newPictureDropsOpenNote();

    void saveWritesCanvas();
    void saveCancelledOrFailing_data();
    void saveCancelledOrFailing();

    void cursorsNeverPileUp();
};

void TestImageNoteWorkArea::init()
{
    QMTest::clearSettings();
    App::instance()->setLastSavePath(QMTest::temporaryHome() + QStringLiteral("/x.png"));
}

void TestImageNoteWorkArea::construction()
{
    ImageNoteWorkArea area;
    QCOMPARE(area.mode(), ImageNoteWorkArea::PenTool);
    QCOMPARE(area.color(), QColor(Qt::yellow));
    QCOMPARE(area.thickness(), 1);
    QVERIFY(!area.isDashLine());
    QVERIFY(area.isModified());
    NoteEditWidget* pNote = area.findChild<NoteEditWidget*>();
    QVERIFY(pNote);
    QVERIFY(pNote->isHidden());
    QVERIFY(pNote->autoFillBackground());
    QCOMPARE(pNote->textEdit()->styleSheet(),
             QStringLiteral("QTextEdit{color: #ffff00; background: rgba(10, 10, 10, 5);}"));
    area.slotSetColor(QColor(1, 2, 250));
    QCOMPARE(pNote->textEdit()->styleSheet(),
             QStringLiteral("QTextEdit{color: #0102fa; background: rgba(10, 10, 10, 5);}"));
    // Tool values are the editor menus' data.
    QCOMPARE(int(ImageNoteWorkArea::BlurRectangleTool), 5);
    QCOMPARE(int(ImageNoteWorkArea::TextAccepted), 12);
}

void TestImageNoteWorkArea::setPixmapStartsAfresh()
{
    ImageNoteWorkArea area;
    QStringList signalOrder;
    connect(&area, &ImageNoteWorkArea::redoAvailable, [&](bool b) { signalOrder << QStringLiteral("redo %1").arg(b); });
    connect(&area, &ImageNoteWorkArea::undoAvailable, [&](bool b) { signalOrder << QStringLiteral("undo %1").arg(b); });
    const QPixmap picture = filledPicture(QSize(123, 45), QColor(20, 40, 60));
    area.slotSetPixmap(picture);
    QCOMPARE(area.size(), QSize(123, 45));
    QCOMPARE(area.minimumSize(), QSize(123, 45));
    QCOMPARE(area.maximumSize(), QSize(123, 45));
    QCOMPARE(signalOrder, (QStringList{"redo 0", "undo 0"}));
    QVERIFY(area.isModified());
    QCOMPARE(result(area), picture.toImage().convertToFormat(QImage::Format_ARGB32));

    // A second picture drops the first one's drawing and history.
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QMTest::dragFromTo(&area, QPoint(5, 5), QPoint(100, 30));
    area.repaint();
    QVERIFY(result(area) != picture.toImage().convertToFormat(QImage::Format_ARGB32));
    signalOrder.clear();
    area.slotSetPixmap(transparentPicture(QSize(50, 60)));
    QCOMPARE(signalOrder, (QStringList{"redo 0", "undo 0"}));
    QVERIFY(isClear(result(area)));
    QCOMPARE(area.size(), QSize(50, 60));
}

void TestImageNoteWorkArea::freehandStrokeHasNoGaps_data()
{
    QTest::addColumn<int>("step");
    QTest::newRow("slow, a pixel per move") << 1;
    QTest::newRow("fast, 20 pixels per move") << 20;
}

void TestImageNoteWorkArea::freehandStrokeHasNoGaps()
{
    // Several moves arrive before the canvas repaints once; every one of
    // them must leave its piece of the stroke.
    QFETCH(int, step);
    Canvas canvas;
    canvas.area.slotSetThikness(3);
    QList<QPoint> points;
    for (int x = 10; x <= 190; x += step)
        points << QPoint(x, 60 + (x / step) % 2);
    canvas.drag(points);
    const QImage image = result(canvas.area);
    for (int x = 10; x <= 190; ++x)
        QVERIFY2(qAlpha(image.pixel(x, 60)) == 255, qPrintable(QStringLiteral("gap at x = %1").arg(x)));
    QCOMPARE(image.pixelColor(100, 60).rgb(), kInk.rgb());
    QCOMPARE(qAlpha(image.pixel(100, 55)), 0);
    QCOMPARE(qAlpha(image.pixel(100, 66)), 0);
}

void TestImageNoteWorkArea::strokeShowsWhileHeld()
{
    // While the button is held the stroke is on the screen only; the layer
    // takes it at the paint after the release.
    Canvas canvas(filledPicture(QSize(200, 120), Qt::white));
    canvas.area.slotSetThikness(4);
    QMTest::pressAt(&canvas.area, QPoint(20, 50));
    QMTest::moveHeldTo(&canvas.area, QPoint(100, 50));
    QMTest::moveHeldTo(&canvas.area, QPoint(180, 50));
    canvas.area.repaint();
    QCOMPARE(canvas.area.grab().toImage().pixelColor(60, 50).rgb(), kInk.rgb());
    QCOMPARE(canvas.area.grab().toImage().pixelColor(140, 50).rgb(), kInk.rgb());
    QCOMPARE(result(canvas.area).pixelColor(60, 50), QColor(Qt::white));
    QMTest::releaseAt(&canvas.area, QPoint(180, 50));
    canvas.area.repaint();
    QCOMPARE(result(canvas.area).pixelColor(60, 50).rgb(), kInk.rgb());
}

void TestImageNoteWorkArea::highlighterIsWideAndFaint()
{
    // Thickness 5: a marker 40 pixels wide at a tenth of full strength.
    Canvas canvas;
    canvas.area.slotSetMode(ImageNoteWorkArea::HighlighterTool);
    canvas.area.slotSetThikness(5);
    canvas.drag(QPoint(20, 60), QPoint(180, 60));
    const QImage image = result(canvas.area);
    for (int y : {41, 60, 78}) {
        const QColor c = image.pixelColor(100, y);
        QVERIFY2(qAbs(c.alpha() - 26) <= 1, qPrintable(QStringLiteral("y %1 alpha %2").arg(y).arg(c.alpha())));
        QVERIFY2(qAbs(c.red() - kInk.red()) <= 12 && qAbs(c.green() - kInk.green()) <= 12,
                 qPrintable(c.name()));
    }
    QCOMPARE(image.pixelColor(100, 38).alpha(), 0);
    QCOMPARE(image.pixelColor(100, 82).alpha(), 0);
}

void TestImageNoteWorkArea::eraserRestoresPicture()
{
    const QPixmap picture = filledPicture(QSize(200, 120), QColor(0, 90, 0));
    Canvas canvas(picture);
    canvas.area.slotSetMode(ImageNoteWorkArea::FilledRectangleTool);
    canvas.drag(QPoint(10, 10), QPoint(190, 110));
    const QColor covered = result(canvas.area).pixelColor(100, 60);
    QVERIFY(covered != QColor(0, 90, 0));

    // Eraser width 10 x thickness 2 = 20 pixels along y = 60.
    canvas.area.slotSetMode(ImageNoteWorkArea::EraserTool);
    canvas.area.slotSetThikness(2);
    canvas.drag(QPoint(40, 60), QPoint(160, 60));
    const QImage image = result(canvas.area);
    for (int y : {52, 60, 68})
        QCOMPARE(image.pixelColor(100, y), QColor(0, 90, 0));
    QCOMPARE(image.pixelColor(100, 45), covered);  // outside the eraser's width
    QCOMPARE(image.pixelColor(20, 60), covered);   // before the stroke's start
}

void TestImageNoteWorkArea::shapesLandWhereDragged_data()
{
    QTest::addColumn<ImageNoteWorkArea::Mode>("mode");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<QPoint>>("inked");   // full ink, opaque
    QTest::addColumn<QList<QPoint>>("filled");  // ink at alpha 200
    QTest::addColumn<QList<QPoint>>("clear");

    const QList<QPoint> none;
    QTest::newRow("rectangle") << ImageNoteWorkArea::RectangleTool << QPoint(40, 30) << QPoint(160, 90)
                               << QList<QPoint>{{40, 60}, {160, 60}, {100, 30}, {100, 90}} << none
                               << QList<QPoint>{{100, 60}, {37, 60}, {163, 60}, {100, 27}};
    QTest::newRow("rectangle dragged up and left")
        << ImageNoteWorkArea::RectangleTool << QPoint(160, 90) << QPoint(40, 30)
        << QList<QPoint>{{40, 60}, {160, 60}, {100, 30}, {100, 90}} << none << QList<QPoint>{{100, 60}, {37, 60}};
    QTest::newRow("filled rectangle") << ImageNoteWorkArea::FilledRectangleTool << QPoint(40, 30) << QPoint(160, 90)
                                      << QList<QPoint>{{40, 60}} << QList<QPoint>{{100, 60}, {45, 35}}
                                      << QList<QPoint>{{37, 60}, {100, 94}};
    QTest::newRow("oval") << ImageNoteWorkArea::OvalTool << QPoint(40, 30) << QPoint(160, 90)
                          << QList<QPoint>{{40, 60}, {160, 60}, {100, 30}, {100, 90}} << none
                          << QList<QPoint>{{100, 60}, {42, 32}, {158, 88}};
    QTest::newRow("filled oval") << ImageNoteWorkArea::FilledOvalTool << QPoint(160, 90) << QPoint(40, 30)
                                 << QList<QPoint>{{100, 30}} << QList<QPoint>{{100, 60}, {60, 60}}
                                 << QList<QPoint>{{42, 32}, {158, 88}};
    QTest::newRow("line") << ImageNoteWorkArea::LineTool << QPoint(20, 20) << QPoint(180, 100)
                          << QList<QPoint>{{20, 20}, {100, 60}, {180, 100}} << none
                          << QList<QPoint>{{100, 50}, {100, 70}, {20, 100}};
}

void TestImageNoteWorkArea::shapesLandWhereDragged()
{
    QFETCH(ImageNoteWorkArea::Mode, mode);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<QPoint>, inked);
    QFETCH(QList<QPoint>, filled);
    QFETCH(QList<QPoint>, clear);
    Canvas canvas;
    canvas.area.slotSetMode(mode);
    canvas.area.slotSetThikness(3);
    // The moves before the last do not count: only where the drag ends.
    canvas.drag({from, QPoint(5, 115), QPoint(195, 5), to});
    const QImage image = result(canvas.area);
    for (const QPoint& p : inked)
        QVERIFY2(image.pixelColor(p).rgba() == kInk.rgba(), qPrintable(QStringLiteral("not inked at %1,%2: %3")
                                                                             .arg(p.x()).arg(p.y())
                                                                             .arg(image.pixelColor(p).name(QColor::HexArgb))));
    for (const QPoint& p : filled) {
        const QColor c = image.pixelColor(p);
        QVERIFY2(c.alpha() == 200 && qAbs(c.red() - kInk.red()) <= 1 && qAbs(c.blue() - kInk.blue()) <= 1,
                 qPrintable(QStringLiteral("not filled at %1,%2: %3").arg(p.x()).arg(p.y()).arg(c.name(QColor::HexArgb))));
    }
    for (const QPoint& p : clear)
        QVERIFY2(image.pixelColor(p).alpha() == 0, qPrintable(QStringLiteral("drawn at %1,%2").arg(p.x()).arg(p.y())));
}

void TestImageNoteWorkArea::dashedOutlines()
{
    // A dashed line at thickness 2 has gaps along its length; a solid one has
    // none. A tiny filled oval is outlined solid even when dashes are on.
    Canvas canvas;
    canvas.area.slotSetMode(ImageNoteWorkArea::LineTool);
    canvas.area.slotSetThikness(2);
    canvas.area.slotSetDashLine(true);
    canvas.drag(QPoint(10, 20), QPoint(190, 20));
    QImage image = result(canvas.area);
    int nGaps = 0;
    for (int x = 10; x <= 190; ++x)
        nGaps += image.pixelColor(x, 20).alpha() == 0;
    QVERIFY2(nGaps > 30, qPrintable(QString::number(nGaps)));

    canvas.area.slotSetMode(ImageNoteWorkArea::FilledOvalTool);
    canvas.area.slotSetThikness(1);
    Canvas solid;
    solid.area.slotSetMode(ImageNoteWorkArea::FilledOvalTool);
    for (Canvas* pCanvas : {&canvas, &solid}) {
        pCanvas->area.slotSetPixmap(transparentPicture());
        pCanvas->drag(QPoint(50, 50), QPoint(55, 80));  // 6 wide: dashed
        pCanvas->drag(QPoint(100, 50), QPoint(104, 80));  // 5 wide: solid
    }
    image = result(canvas.area);
    const QImage solidImage = result(solid.area);
    QCOMPARE(image.copy(90, 40, 30, 50), solidImage.copy(90, 40, 30, 50));
    QVERIFY(image.copy(40, 40, 30, 50) != solidImage.copy(40, 40, 30, 50));
}

void TestImageNoteWorkArea::arrowHasHeadButNoneWithoutLength()
{
    // Tip at (150, 60), shaft from the left: barbs reach 30 back and 12 to
    // either side, to about (120, 48) and (120, 72).
    Canvas canvas;
    canvas.area.slotSetMode(ImageNoteWorkArea::ArrowTool);
    canvas.area.slotSetThikness(2);
    canvas.area.slotSetDashLine(true);
    canvas.drag(QPoint(30, 60), QPoint(150, 60));
    QImage image = result(canvas.area);
    for (const QPoint& p : {QPoint(135, 54), QPoint(135, 66), QPoint(122, 49), QPoint(122, 71)})
        QVERIFY2(image.pixelColor(p).alpha() > 100, qPrintable(QStringLiteral("no barb at %1,%2").arg(p.x()).arg(p.y())));
    // The same head pointing up, the other branch of the angle.
    canvas.area.slotSetPixmap(transparentPicture());
    canvas.drag(QPoint(100, 110), QPoint(100, 40));
    image = result(canvas.area);
    for (const QPoint& p : {QPoint(94, 55), QPoint(106, 55)})
        QVERIFY2(image.pixelColor(p).alpha() > 100, qPrintable(QStringLiteral("no barb at %1,%2").arg(p.x()).arg(p.y())));

    // A click has no direction: no head, and no harm.
    canvas.area.slotSetPixmap(transparentPicture());
    canvas.click(QPoint(100, 60));
    image = result(canvas.area);
    for (const QPoint& p : {QPoint(85, 54), QPoint(115, 66), QPoint(94, 30), QPoint(106, 90)})
        QCOMPARE(image.pixelColor(p).alpha(), 0);
}

void TestImageNoteWorkArea::blurStaysInsidePicture()
{
    // Black left half, white right half: the blur greys the edge inside the
    // rectangle only, and a rectangle past the edge of the picture works on
    // the part inside.
    QImage picture(200, 120, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter(&picture).fillRect(0, 0, 100, 120, Qt::black);
    Canvas canvas(QPixmap::fromImage(picture));
    canvas.area.slotSetMode(ImageNoteWorkArea::BlurRectangleTool);
    canvas.drag(QPoint(80, 20), QPoint(260, 60));
    const QImage image = result(canvas.area);
    const int nNearEdge = qGray(image.pixel(99, 40));
    QVERIFY2(nNearEdge > 20 && nNearEdge < 235, qPrintable(QString::number(nNearEdge)));
    QCOMPARE(image.pixelColor(99, 80), QColor(Qt::black));  // below the rectangle
    QCOMPARE(image.pixelColor(79, 40), QColor(Qt::black));  // left of it
    QCOMPARE(image.pixelColor(199, 80), QColor(Qt::white));
    QCOMPARE(image.size(), QSize(200, 120));
    // The patch is the image engine's blur of that part of the picture,
    // pixel for pixel.
    const QRect inside(QPoint(80, 20), QPoint(199, 60));
    const QImage blurred = MGraphX::blurRect(picture, inside, 10, false).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.copy(inside), blurred.copy(inside));
}

void TestImageNoteWorkArea::everyLeftReleaseIsOneUndoStep_data()
{
    QTest::addColumn<ImageNoteWorkArea::Mode>("mode");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("steps");
    QTest::newRow("blur click, nothing visible") << ImageNoteWorkArea::BlurRectangleTool << int(Qt::LeftButton) << 1;
    QTest::newRow("pen click") << ImageNoteWorkArea::PenTool << int(Qt::LeftButton) << 1;
    QTest::newRow("right click draws nothing") << ImageNoteWorkArea::RectangleTool << int(Qt::RightButton) << 0;
    QTest::newRow("middle click draws nothing") << ImageNoteWorkArea::LineTool << int(Qt::MiddleButton) << 0;
}

void TestImageNoteWorkArea::everyLeftReleaseIsOneUndoStep()
{
    QFETCH(ImageNoteWorkArea::Mode, mode);
    QFETCH(int, button);
    QFETCH(int, steps);
    Canvas canvas(filledPicture(QSize(200, 120), Qt::gray));
    canvas.area.slotSetMode(mode);
    // An earlier gesture leaves a press point behind.
    canvas.drag(QPoint(10, 10), QPoint(150, 100));
    const QImage before = result(canvas.area);
    QSignalSpy undoSpy(&canvas.area, SIGNAL(undoAvailable(bool)));
    QSignalSpy changedSpy(&canvas.area, SIGNAL(changed()));
    QMTest::pressAt(&canvas.area, QPoint(60, 60), Qt::MouseButton(button));
    QMTest::releaseAt(&canvas.area, QPoint(60, 60), Qt::MouseButton(button));
    canvas.area.repaint();
    QCOMPARE(undoSpy.count(), steps);
    if (steps)
        QCOMPARE(undoSpy.first().first().toBool(), true);
    if (button != Qt::LeftButton) {
        QCOMPARE(result(canvas.area), before);
        QCOMPARE(changedSpy.count(), 0);
    }
    // Undo goes back over exactly this many steps to the earlier drawing.
    for (int i = 0; i < steps; ++i)
        canvas.area.slotUndo();
    QCOMPARE(result(canvas.area), before);
}

void TestImageNoteWorkArea::undoRedoRestoreExactLayers()
{
    Canvas canvas;
    canvas.area.slotSetThikness(3);
    const QImage empty = result(canvas.area);
    canvas.drag(QPoint(10, 20), QPoint(190, 20));
    const QImage one = result(canvas.area);
    canvas.area.slotSetMode(ImageNoteWorkArea::OvalTool);
    canvas.drag(QPoint(20, 40), QPoint(120, 110));
    const QImage two = result(canvas.area);

    QSignalSpy undoSpy(&canvas.area, SIGNAL(undoAvailable(bool)));
    QSignalSpy redoSpy(&canvas.area, SIGNAL(redoAvailable(bool)));
    QSignalSpy changedSpy(&canvas.area, SIGNAL(changed()));
    canvas.area.slotUndo();
    QCOMPARE(result(canvas.area), one);
    QCOMPARE(changedSpy.count(), 1);
    QCOMPARE(undoSpy.takeLast().first().toBool(), true);
    QCOMPARE(redoSpy.takeLast().first().toBool(), true);

    // Drawing after an undo keeps the redo step: redo brings back the two
    // strokes and puts the third drawing on the undo stack.
    canvas.area.slotSetMode(ImageNoteWorkArea::LineTool);
    canvas.drag(QPoint(10, 110), QPoint(190, 50));
    const QImage three = result(canvas.area);
    canvas.area.slotRedo();
    QCOMPARE(result(canvas.area), two);
    QCOMPARE(redoSpy.takeLast().first().toBool(), false);

    // The undo stack holds three entries: the third drawing, one, empty.
    for (const QImage& expected : {three, one, empty}) {
        canvas.area.slotUndo();
        QCOMPARE(result(canvas.area), expected);
    }
    QCOMPARE(undoSpy.takeLast().first().toBool(), false);
    changedSpy.clear();
    canvas.area.slotUndo();  // nothing left: no change, both signals again
    QCOMPARE(result(canvas.area), empty);
    QCOMPARE(changedSpy.count(), 0);
    QCOMPARE(undoSpy.takeLast().first().toBool(), false);
    QCOMPARE(redoSpy.takeLast().first().toBool(), true);
}

void TestImageNoteWorkArea::historyMemoryIsCapped()
{
    // 2048 x 1024 layers of 8 MiB: the history keeps 32 of them.
    Canvas canvas(transparentPicture(QSize(2048, 1024)));
    QSignalSpy undoSpy(&canvas.area, SIGNAL(undoAvailable(bool)));
    for (int i = 0; i < 36; ++i)
        canvas.click(QPoint(10 + 50 * i, 500));
    QCOMPARE(undoSpy.count(), 36);
    int nUndone = 0;
    do {
        canvas.area.slotUndo();
        ++nUndone;
    } while (undoSpy.last().first().toBool() && nUndone < 100);
    QCOMPARE(nUndone, int(ImageNoteWorkArea::kHistoryBytes / (2048 * 1024 * 4)));
    QCOMPARE(nUndone, 32);
    // The oldest steps went: four dots are still there.
    const QImage image = result(canvas.area);
    QCOMPARE(image.pixelColor(10 + 50 * 3, 500).alpha(), 255);
    QCOMPARE(image.pixelColor(10 + 50 * 4, 500).alpha(), 0);
}

void TestImageNoteWorkArea::resultStartsFromPicture()
{
    // Where the picture is see-through, a stroke that is undone or erased
    // must not linger in the result.
    Canvas canvas;
    canvas.area.slotSetThikness(5);
    canvas.drag(QPoint(10, 60), QPoint(190, 60));
    QCOMPARE(result(canvas.area).pixelColor(100, 60).alpha(), 255);
    canvas.area.slotUndo();
    QVERIFY(isClear(result(canvas.area)));
    canvas.area.slotRedo();
    canvas.area.slotSetMode(ImageNoteWorkArea::EraserTool);
    canvas.drag(QPoint(5, 60), QPoint(195, 60));
    QVERIFY(isClear(result(canvas.area)));
}

void TestImageNoteWorkArea::noteBoxPlacement_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("box");
    QTest::newRow("click") << QPoint(30, 40) << QPoint(30, 40) << QRect(30, 40, 220, 90);
    QTest::newRow("drag of exactly 100") << QPoint(30, 40) << QPoint(90, 80) << QRect(30, 40, 220, 90);
    QTest::newRow("101 towards the top left") << QPoint(200, 150) << QPoint(140, 109) << QRect(140, 109, 61, 42);
    QTest::newRow("long drag") << QPoint(10, 10) << QPoint(310, 210) << QRect(10, 10, 301, 201);
}

void TestImageNoteWorkArea::noteBoxPlacement()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QRect, box);
    Canvas canvas(transparentPicture(QSize(400, 300)));
    canvas.area.slotSetMode(ImageNoteWorkArea::TextTool);
    canvas.drag(from, to);
    QVERIFY(canvas.note()->isVisible());
    QCOMPARE(canvas.note()->geometry(), box);
    QTRY_VERIFY(canvas.note()->textEdit()->hasFocus() || !canvas.area.isActiveWindow());
    // The box is not drawn into the layer.
    QVERIFY(isClear(result(canvas.area)));
}

void TestImageNoteWorkArea::acceptedNoteIsDrawnInColour()
{
    Canvas canvas(transparentPicture(QSize(400, 300)));
    canvas.area.slotSetMode(ImageNoteWorkArea::TextTool);
    QSignalSpy changedSpy(&canvas.area, SIGNAL(changed()));
    canvas.drag(QPoint(50, 60), QPoint(200, 200));
    canvas.note()->textEdit()->setPlainText(QStringLiteral("WWWW WWWW WWWW WWWW WWWW WWWW WWWW WWWW"));
    canvas.note()->findChild<QPushButton*>(QStringLiteral("NoteEditWidgetAccept"))->click();
    QVERIFY(canvas.note()->isHidden());
    QCOMPARE(canvas.area.mode(), ImageNoteWorkArea::TextAccepted);
    QVERIFY(canvas.note()->textEdit()->toPlainText().isEmpty());
    QVERIFY(changedSpy.count() >= 2);

    // Inked pixels only inside the box, from 3 pixels in; the line is longer
    // than the box is wide, so it wraps onto further rows.
    const QImage image = result(canvas.area);
    QRect inked;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() > 0)
                inked |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!inked.isEmpty());
    QVERIFY2(QRect(QPoint(53, 63), QPoint(200, 200)).contains(inked), qPrintable(QStringLiteral("%1,%2 %3x%4")
        .arg(inked.x()).arg(inked.y()).arg(inked.width()).arg(inked.height())));
    QVERIFY(inked.left() <= 56 && inked.top() <= 68);
    QVERIFY(inked.height() > 2 * QFontMetrics(canvas.note()->textEdit()->currentFont()).height());
    int nInk = 0;
    for (int y = inked.top(); y <= inked.bottom(); ++y) {
        for (int x = inked.left(); x <= inked.right(); ++x)
            nInk += image.pixelColor(x, y).rgba() == kInk.rgba();
    }
    QVERIFY(nInk > 20);
    QTRY_COMPARE(canvas.area.mode(), ImageNoteWorkArea::TextTool);
}

void TestImageNoteWorkArea::cancelledNoteKeepsItsStep()
{
    Canvas canvas;
    canvas.area.slotSetMode(ImageNoteWorkArea::TextTool);
    QSignalSpy undoSpy(&canvas.area, SIGNAL(undoAvailable(bool)));
    canvas.click(QPoint(20, 20));
    QCOMPARE(undoSpy.count(), 1);  // taken when the box opened
    canvas.note()->textEdit()->setPlainText(QStringLiteral("never mind"));
    canvas.note()->findChild<QPushButton*>(QStringLiteral("NoteEditWidgetReject"))->click();
    QVERIFY(canvas.note()->isHidden());
    QVERIFY(canvas.note()->textEdit()->toPlainText().isEmpty());
    QCOMPARE(canvas.area.mode(), ImageNoteWorkArea::TextCanceled);
    QVERIFY(isClear(result(canvas.area)));
    QCOMPARE(undoSpy.count(), 1);
    QTRY_COMPARE(canvas.area.mode(), ImageNoteWorkArea::TextTool);
}

void TestImageNoteWorkArea::pickedToolSurvivesTextStates()
{
    // Choosing another tool right after closing a note keeps that tool.
    Canvas canvas;
    canvas.area.slotSetMode(ImageNoteWorkArea::TextTool);
    canvas.click(QPoint(20, 20));
    canvas.note()->findChild<QPushButton*>(QStringLiteral("NoteEditWidgetReject"))->click();
    canvas.area.slotSetMode(ImageNoteWorkArea::OvalTool);
    QTest::qWait(200);
    QCOMPARE(canvas.area.mode(), ImageNoteWorkArea::OvalTool);
}

void TestImageNoteWorkArea::noteSlotsIgnoreDirectCalls()
{
    Canvas canvas;
    canvas.area.slotSetMode(ImageNoteWorkArea::TextTool);
    canvas.click(QPoint(20, 20));
    canvas.area.slotEditAccepted();
    canvas.area.slotEditCanceled();
    QVERIFY(canvas.note()->isVisible());
    QCOMPARE(canvas.area.mode(), ImageNoteWorkArea::TextTool);
}

void TestImageNoteWorkArea::newPictureDropsOpenNote()
{
    // A new screenshot arrives while a note is being typed: the note belongs
    // to the old picture and must not reappear on the new one.
    Canvas canvas;
    canvas.area.slotSetMode(ImageNoteWorkArea::TextTool);
    canvas.drag(QPoint(20, 20), QPoint(180, 100));
    canvas.note()->textEdit()->setPlainText(QStringLiteral("about the old picture"));
    QSignalSpy undoSpy(&canvas.area, SIGNAL(undoAvailable(bool)));
    canvas.area.slotSetPixmap(transparentPicture());
    canvas.area.repaint();
    QVERIFY(canvas.note()->isHidden());
    QVERIFY(canvas.note()->textEdit()->toPlainText().isEmpty());
    QCOMPARE(undoSpy.count(), 1);
    QCOMPARE(undoSpy.first().first().toBool(), false);
    // The next box opens empty where it is dragged, with its own undo step.
    canvas.click(QPoint(100, 10));
    QVERIFY(canvas.note()->isVisible());
    QCOMPARE(canvas.note()->geometry(), QRect(100, 10, 220, 90));
    QVERIFY(canvas.note()->textEdit()->toPlainText().isEmpty());
    QCOMPARE(undoSpy.last().first().toBool(), true);
}

void TestImageNoteWorkArea::saveWritesCanvas()
{
    Canvas canvas(filledPicture(QSize(160, 90), QColor(30, 60, 90)));
    canvas.area.slotSetMode(ImageNoteWorkArea::FilledRectangleTool);
    canvas.drag(QPoint(20, 20), QPoint(100, 70));
    QVERIFY(canvas.area.isModified());
    const QString strFile = QMTest::temporaryHome() + QStringLiteral("/saved/shot.png");
    QVERIFY(QDir().mkpath(QFileInfo(strFile).path()));
    QMTest::ScriptedFileDialogs dialogs({{strFile}});
    const QString strStart = App::instance()->lastSaveDirectory();
    canvas.area.slotSave();

    QCOMPARE(dialogs.requests().size(), 1);
    const Os::FileDialogRequest request = dialogs.requests().first();
    QCOMPARE(request.kind, Os::FileDialogRequest::SaveFile);
    QCOMPARE(request.pParent, &canvas.area);
    QCOMPARE(request.caption, QStringLiteral("Save Picture"));
    QCOMPARE(request.filter, QStringLiteral("*.png"));
    QVERIFY2(QRegularExpression(QRegularExpression::escape(strStart)
                                + QStringLiteral("/EditedScreenShot_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.png"))
                 .match(request.dir).hasMatch(),
             qPrintable(request.dir));

    QImageReader reader(strFile);
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.read().convertToFormat(QImage::Format_ARGB32), result(canvas.area));
    QVERIFY(!canvas.area.isModified());
    QCOMPARE(App::instance()->lastSaveDirectory(), QFileInfo(strFile).path());

    // Any later drawing, or an undo, makes it unsaved again.
    canvas.area.slotUndo();
    QVERIFY(canvas.area.isModified());
}

void TestImageNoteWorkArea::saveCancelledOrFailing_data()
{
    QTest::addColumn<QString>("answer");  // relative to HOME; empty cancels
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<bool>("warned");
    QTest::newRow("cancelled") << "" << "" << false;
    QTest::newRow("folder missing") << "/no/such/folder/shot.png" << "/no/such/folder" << true;
}

void TestImageNoteWorkArea::saveCancelledOrFailing()
{
    QFETCH(QString, answer);
    QFETCH(QString, remembered);
    QFETCH(bool, warned);
    Canvas canvas;
    canvas.click(QPoint(5, 5));
    const QString strHome = QMTest::temporaryHome();
    const QString strBefore = App::instance()->lastSaveDirectory();
    QMTest::ScriptedFileDialogs dialogs;
    dialogs.answer(answer.isEmpty() ? QString() : strHome + answer);
    // A save that fails tells the user so, naming the file; a cancelled one
    // says nothing.
    QString strMessage;
    QMTest::ModalAnswerer answerer(
        [&strMessage](QWidget* pDialog) {
            strMessage = QMTest::labelTextContaining(pDialog, QStringLiteral("could not be saved"));
            QMTest::ModalAnswerer::clickButton(QStringLiteral("Ok"))(pDialog);
        },
        warned ? 5000 : 300);
    canvas.area.slotSave();
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(answerer.answered(), warned);
    if (warned)
        QCOMPARE(strMessage, QStringLiteral("The picture could not be saved as\n") + strHome + answer);
    QVERIFY(canvas.area.isModified());
    QCOMPARE(App::instance()->lastSaveDirectory(), remembered.isEmpty() ? strBefore : strHome + remembered);
    if (!answer.isEmpty())
        QVERIFY(!QFileInfo::exists(strHome + answer));
}

void TestImageNoteWorkArea::cursorsNeverPileUp()
{
    Canvas canvas;
    QVERIFY(!QApplication::overrideCursor());
    for (int i = 0; i < 100; ++i) {
        canvas.area.slotSetMode(ImageNoteWorkArea::Mode(i % 11));
        QMTest::sendEnter(&canvas.area);
        QVERIFY(QApplication::overrideCursor());
        const Qt::CursorShape expected =
            i % 11 == ImageNoteWorkArea::FilledOvalTool ? Qt::ArrowCursor : Qt::BitmapCursor;
        QCOMPARE(QApplication::overrideCursor()->shape(), expected);
        if (i % 3)
            QMTest::sendEnter(&canvas.area);  // entered twice: still one cursor
        QMTest::sendLeave(&canvas.area);
        QVERIFY(!QApplication::overrideCursor());
    }
    // The pen's picture takes the drawing colour where it is blue.
    canvas.area.slotSetMode(ImageNoteWorkArea::PenTool);
    canvas.area.slotSetColor(QColor(255, 0, 0));
    QMTest::sendEnter(&canvas.area);
    const QImage cursor = QApplication::overrideCursor()->pixmap().toImage();
    QMTest::sendLeave(&canvas.area);
    int nRed = 0;
    int nBlue = 0;
    for (int y = 0; y < cursor.height(); ++y) {
        for (int x = 0; x < cursor.width(); ++x) {
            const QColor c = cursor.pixelColor(x, y);
            nRed += c.alpha() == 255 && c.red() > 200 && c.blue() < 50;
            nBlue += c.alpha() == 255 && c.blue() > 200 && c.red() < 50;
        }
    }
    QVERIFY(nRed > 20);
    QCOMPARE(nBlue, 0);
}

QMTEST_APP_MAIN(TestImageNoteWorkArea)
#include "tst_imagenoteworkarea.moc"
