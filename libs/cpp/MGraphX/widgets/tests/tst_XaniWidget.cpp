#include "XaniWidget.h"

#include <QtTest>

using namespace MGraphX;

namespace {

XaniFrame frameOf(QRgb rgb, int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(rgb);
    XaniFrame frame;
    frame.setImage(image);
    return frame;
}

class PaintCounter : public QObject
{
public:
    int nPaints = 0;
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint)
            ++nPaints;
        return false;
    }
};

} // namespace

class TestXaniWidget : public QObject
{
    Q_OBJECT

private slots:
    void stretchesCurrentFrame();
    void repaintsOnFrameChange();
};

void TestXaniWidget::stretchesCurrentFrame()
{
    Xani animation;
    animation.setLoop(2);
    animation.setFrameDuration(40);
    animation.addFrame(frameOf(0xFFFF0000, 2, 1));
    animation.addFrame(frameOf(0xFF0000FF, 1, 2));

    XaniWidget widget;
    widget.resize(40, 30);
    widget.setAnimation(animation);
    QCOMPARE(widget.animation().frameCount(), 2);
    QCOMPARE(widget.animation().loop(), 2);
    QCOMPARE(widget.animation().frameDuration(), 40);

    for (int i = 0; i < 2; ++i) {
        widget.animation().setCurrentIndex(i);
        const QImage shot = widget.grab().toImage();
        const QRgb expected = i == 0 ? 0xFFFF0000 : 0xFF0000FF;
        // The frame covers the whole widget, corners included, whatever its
        // own proportions.
        for (const QPoint& p : {QPoint(0, 0), QPoint(39, 0), QPoint(0, 29), QPoint(39, 29), QPoint(20, 15)})
            QCOMPARE(shot.pixel(p), expected);
    }
}

void TestXaniWidget::repaintsOnFrameChange()
{
    XaniWidget widget;
    Xani animation;
    animation.addFrame(frameOf(0xFF00FF00, 4, 4));
    widget.setAnimation(animation);
    widget.resize(20, 20);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    PaintCounter counter;
    widget.installEventFilter(&counter);
    widget.animation().nextFrame();
    QVERIFY(counter.nPaints >= 1); // painted at once, not at the next event loop pass

    widget.play();
    QVERIFY(widget.animation().isPlaying());
    widget.stop();
    QVERIFY(!widget.animation().isPlaying());
}

QTEST_MAIN(TestXaniWidget)
#include "tst_XaniWidget.moc"
