#include "Label.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include "QMTest.h"

#include <QtTest>

using QMWidgets::Label;

namespace {

QPixmap solid(const QSize &size, const QColor &color)
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

// Top half red, bottom half blue: shows which part of a picture survives.
QPixmap redOverBlue(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::blue);
    QPainter painter(&pixmap);
    painter.fillRect(0, 0, side, side / 2, Qt::red);
    return pixmap;
}

bool isRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 40 && qBlue(p) < 40; }

QImage render(QWidget &widget) { return widget.grab().toImage(); }

} // namespace

class TestLabel : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void geometry_data();
    void geometry();
    void fitDrawsCentred();
    void fillCoversFromTopLeft();
    void opacityAppliesToPictureOnly_data();
    void opacityAppliesToPictureOnly();
    void withoutPicturePaintsLikeQLabel();
};

void TestLabel::construction()
{
    Label label;
    QCOMPARE(QByteArray(label.metaObject()->className()), QByteArray("QMWidgets::Label"));
    label.setPixmap(solid(QSize(10, 10), Qt::red));
    // The picture is the label's own; QLabel's pixmap property stays empty.
    QVERIFY(label.QLabel::pixmap(Qt::ReturnByValue).isNull());
}

void TestLabel::geometry_data()
{
    QTest::addColumn<QSize>("widget");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("fillMode");
    QTest::addColumn<QSize>("scaled");
    QTest::addColumn<QRect>("rect");

    const QSize square(100, 100);
    QTest::newRow("fit ratio 1") << QSize(200, 100) << 1.0 << square << 0
                                 << QSize(100, 100) << QRect(50, 0, 100, 100);
    QTest::newRow("fill ratio 1") << QSize(200, 100) << 1.0 << square << 1
                                  << QSize(200, 200) << QRect(0, 0, 200, 200);
    QTest::newRow("fit ratio 2") << QSize(200, 100) << 2.0 << square << 0
                                 << QSize(200, 200) << QRect(50, 0, 100, 100);
    QTest::newRow("fill ratio 2") << QSize(200, 100) << 2.0 << square << 7
                                  << QSize(400, 400) << QRect(0, 0, 200, 200);
    QTest::newRow("odd width truncates x") << QSize(201, 100) << 1.0 << square << 0
                                           << QSize(100, 100) << QRect(50, 0, 100, 100);
    QTest::newRow("fractional ratio") << QSize(200, 100) << 1.5 << square << 0
                                      << QSize(150, 150) << QRect(50, 0, 100, 100);
    QTest::newRow("wide picture fit") << QSize(200, 100) << 1.0 << QSize(400, 100) << 0
                                      << QSize(200, 50) << QRect(0, 25, 200, 50);
    QTest::newRow("wide picture fill") << QSize(200, 100) << 1.0 << QSize(400, 100) << 1
                                       << QSize(400, 100) << QRect(0, 0, 400, 100);
    QTest::newRow("empty widget") << QSize(0, 100) << 1.0 << square << 0
                                  << QSize() << QRect();
}

void TestLabel::geometry()
{
    QFETCH(QSize, widget);
    QFETCH(double, ratio);
    QFETCH(QSize, picture);
    QFETCH(int, fillMode);
    QFETCH(QSize, scaled);
    QFETCH(QRect, rect);
    const QSize gotScaled = Label::scaledPictureSize(widget, ratio, picture, fillMode);
    QCOMPARE(gotScaled, scaled);
    if (!scaled.isEmpty())
        QCOMPARE(Label::pictureRect(widget, ratio, gotScaled, fillMode), rect);
    // The prediction matches what QPixmap::scaled gives.
    if (!scaled.isEmpty()) {
        const QSize target(int(widget.width() * ratio), int(widget.height() * ratio));
        const QPixmap real = QPixmap(picture).scaled(
            target, fillMode == 0 ? Qt::KeepAspectRatio : Qt::KeepAspectRatioByExpanding);
        QCOMPARE(real.size(), scaled);
    }
}

void TestLabel::fitDrawsCentred()
{
    Label label;
    label.resize(200, 100);
    label.setPixmap(solid(QSize(100, 100), Qt::red));
    const QImage image = render(label);
    QVERIFY(!isRed(image.pixel(49, 50)));
    QVERIFY(isRed(image.pixel(50, 50)));
    QVERIFY(isRed(image.pixel(149, 0)));
    QVERIFY(isRed(image.pixel(149, 99)));
    QVERIFY(!isRed(image.pixel(150, 50)));
}

void TestLabel::fillCoversFromTopLeft()
{
    Label label;
    label.resize(200, 100);
    label.setFillMode(1);
    label.setPixmap(redOverBlue(100));
    const QImage image = render(label);
    // Scaled to 200 x 200 from the top-left: only the red upper half shows.
    for (const QPoint &p : { QPoint(0, 0), QPoint(199, 0), QPoint(0, 95), QPoint(199, 95) })
        QVERIFY2(isRed(image.pixel(p)), qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
}

void TestLabel::opacityAppliesToPictureOnly_data()
{
    QTest::addColumn<double>("opacity");
    QTest::addColumn<bool>("opaque");
    QTest::newRow("half") << 0.5 << false;
    QTest::newRow("one") << 1.0 << true;
    QTest::newRow("above one") << 1.5 << true;
}

void TestLabel::opacityAppliesToPictureOnly()
{
    QFETCH(double, opacity);
    QFETCH(bool, opaque);

    // Text at the left, picture fitted into the middle: they do not meet.
    auto makeLabel = [](double alpha) {
        auto *label = new Label;
        label->resize(300, 100);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setText(QStringLiteral("Text"));
        label->setPixmap(solid(QSize(100, 100), Qt::red));
        label->setOpacity(alpha);
        return label;
    };
    QScopedPointer<Label> reference(makeLabel(1.0));
    QScopedPointer<Label> label(makeLabel(opacity));
    const QImage full = render(*reference);
    const QImage image = render(*label);

    const QRgb middle = image.pixel(150, 50);
    if (opaque) {
        QCOMPARE(middle, full.pixel(150, 50));
    } else {
        QVERIFY(!isRed(middle));
        QVERIFY(qRed(middle) > qGreen(middle) + 60);   // a pale red
    }
    QCOMPARE(image.copy(0, 0, 90, 100), full.copy(0, 0, 90, 100));
}

void TestLabel::withoutPicturePaintsLikeQLabel()
{
    Label label;
    QLabel plain;
    for (QLabel *l : { static_cast<QLabel *>(&label), &plain }) {
        l->resize(160, 60);
        l->setText(QStringLiteral("<b>Hello</b>"));
    }
    QCOMPARE(render(label), render(plain));
    label.setPixmap(QPixmap());
    QCOMPARE(render(label), render(plain));
}

QMTEST_APP_MAIN(TestLabel)
#include "tst_label.moc"
