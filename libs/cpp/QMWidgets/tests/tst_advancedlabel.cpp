// The clickable picture label that brightens under the pointer.
#include "AdvancedLabel.h"

#include "QMTest.h"

#include <QSignalSpy>

using QMWidgets::AdvancedLabel;

namespace {

QPixmap solid(const QColor& color)
{
    QPixmap pixmap(10, 10);
    pixmap.fill(color);
    return pixmap;
}

// The label on a known background, so that unpainted pixels can be told.
QImage render(AdvancedLabel& label, const QColor& background = Qt::black)
{
    QImage image(label.size(), QImage::Format_ARGB32);
    image.fill(background);
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

class TestAdvancedLabel : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void pictureInsideTheMargin();
    void hoverBrightens();
    void marginTooLargeDrawsNoPicture_data();
    void marginTooLargeDrawsNoPicture();
    void captionOnlyStillClicks();
};

void TestAdvancedLabel::pictureInsideTheMargin()
{
    AdvancedLabel label;
    QCOMPARE(label.minimumSize(), QSize(16, 16));
    label.resize(40, 40);
    label.setMargin(4);
    label.setPixmap(solid(QColor(100, 50, 200)));
    const QImage image = render(label);
    // 32 x 32 from (4, 4), stretched from 10 x 10.
    QCOMPARE(QColor(image.pixel(4, 4)), QColor(100, 50, 200));
    QCOMPARE(QColor(image.pixel(35, 35)), QColor(100, 50, 200));
    QCOMPARE(QColor(image.pixel(3, 20)), QColor(Qt::black));
    QCOMPARE(QColor(image.pixel(36, 20)), QColor(Qt::black));
}

void TestAdvancedLabel::hoverBrightens()
{
    AdvancedLabel label;
    label.resize(40, 40);
    label.setMargin(4);
    label.setPixmap(solid(QColor(100, 50, 240)));
    QMTest::sendEnter(&label);
    QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(QColor(render(label).pixel(20, 20)), QColor(130, 80, 255));  // +30, held at 255
    QMTest::sendLeave(&label);
    QCOMPARE(label.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(QColor(render(label).pixel(20, 20)), QColor(100, 50, 240));
}

void TestAdvancedLabel::marginTooLargeDrawsNoPicture_data()
{
    QTest::addColumn<int>("nMargin");
    QTest::newRow("half the size") << 20;
    QTest::newRow("more than half") << 30;
}

void TestAdvancedLabel::marginTooLargeDrawsNoPicture()
{
    QFETCH(int, nMargin);

    AdvancedLabel label;
    label.resize(40, 40);
    label.setPixmap(solid(Qt::red));
    label.setMargin(nMargin);
    QMTest::sendEnter(&label);  // the brightening path too
    const QImage image = render(label);
    for (int y = 0; y < 40; y += 3) {
        for (int x = 0; x < 40; x += 3)
            QCOMPARE(QColor(image.pixel(x, y)), QColor(Qt::black));
    }
}

void TestAdvancedLabel::captionOnlyStillClicks()
{
    AdvancedLabel label;
    label.resize(120, 40);
    label.setText("Caption");
    // Only the caption, in the painter's black, at the top: on white the
    // lower half stays unpainted.
    const QImage image = render(label, Qt::white);
    bool bTopPainted = false;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 120; ++x)
            bTopPainted = bTopPainted || QColor(image.pixel(x, y)) != QColor(Qt::white);
    }
    QVERIFY(bTopPainted);
    for (int x = 0; x < 120; ++x)
        QCOMPARE(QColor(image.pixel(x, 35)), QColor(Qt::white));

    QSignalSpy spy(&label, SIGNAL(clicked()));
    QTest::mouseClick(&label, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
}

QMTEST_APP_MAIN(TestAdvancedLabel)
#include "tst_advancedlabel.moc"
