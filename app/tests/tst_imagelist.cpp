// The image list: the model over the dropped paths, its thumbnails, the
// painted rows and their menu button, and the view's drop handling.

#include "BatchFixtures.h"
#include "PageTestSupport.h"

#include "AddButtonAction.h"
#include "ImagesListDelegate.h"
#include "ImagesListModel.h"
#include "ListView.h"

#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>

#include <limits>
#include <memory>

namespace {

// A PNG that is only a header: it declares a size but holds no pixels.
QByteArray headerOnlyPng(quint32 width, quint32 height)
{
    QByteArray ihdr("IHDR");
    char numbers[8];
    qToBigEndian(width, numbers);
    qToBigEndian(height, numbers + 4);
    ihdr.append(numbers, 8);
    ihdr.append("\x08\x06\x00\x00\x00", 5);
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    char length[4];
    qToBigEndian(quint32(13), length);
    png.append(length, 4);
    png.append(ihdr);
    char crc[4];
    qToBigEndian(BatchFixtures::crc32(ihdr), crc);
    png.append(crc, 4);
    qToBigEndian(quint32(0), length);
    png.append(length, 4);
    png.append("IEND");
    qToBigEndian(BatchFixtures::crc32("IEND"), crc);
    png.append(crc, 4);
    return png;
}

QStyleOptionViewItem rowOption(int width, int top = 0)
{
    QStyleOptionViewItem option;
    option.rect = QRect(0, top, width, 55);
    return option;
}

// The row as the list's delegate paints it on a black canvas 300 pixels wide.
QImage paintedRow(const QModelIndex& index)
{
    ImagesListDelegate delegate;
    QImage canvas(300, 55, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        delegate.paint(&painter, rowOption(300), index);
    }
    return canvas;
}

} // namespace

class tst_imagelist : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void removeRows_data();
    void removeRows();
    void setFilesReplacesAndResets();
    void rolesOfARow();
    void rowPastTheEndReadsNothing();
    void headersAndFlags();

    void thumbnail_data();
    void thumbnail();

    void thumbnailFollowsTheFile();

    void rowHeightIsFixed();
    void buttonSquareCoversTheRightEnd();
    void pressOnTheRowAsksForPreview_data();
    void pressOnTheRowAsksForPreview();
    void rowRemovedByItsMenuIsNotPreviewed();
    void todayBadge_data();
    void todayBadge();

    void viewTakesUrlDragsOnly();

private:
    QString file(const QString& name, const QByteArray& bytes);

    std::unique_ptr<QTemporaryDir> m_pDir;
};

void tst_imagelist::init()
{
    m_pDir.reset(new QTemporaryDir);
}

QString tst_imagelist::file(const QString& name, const QByteArray& bytes)
{
    const QString path = m_pDir->path() + QLatin1Char('/') + name;
    BatchFixtures::writeFile(path, bytes);
    return path;
}

void tst_imagelist::removeRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("announcedFirst");   // -1: nothing announced
    QTest::addColumn<int>("announcedLast");

    QTest::newRow("the only row") << 1 << 0 << 1 << QStringList() << 0 << 0;
    QTest::newRow("two in the middle") << 4 << 1 << 2 << QStringList{"f0", "f3"} << 1 << 2;
    QTest::newRow("running past the end") << 3 << 2 << 5 << QStringList{"f0", "f1"} << 2 << 2;
    QTest::newRow("past the end") << 2 << 5 << 1 << QStringList{"f0", "f1"} << -1 << -1;
    QTest::newRow("count at the int limit") << 3 << 1 << std::numeric_limits<int>::max() << QStringList{"f0"} << 1
                                            << 2;
}

void tst_imagelist::removeRows()
{
    QFETCH(int, rows);
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(QStringList, left);
    QFETCH(int, announcedFirst);
    QFETCH(int, announcedLast);

    ImagesListModel model;
    QStringList files;
    for (int i = 0; i < rows; ++i)
        files << QStringLiteral("f%1").arg(i);
    model.setFiles(files);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QVERIFY(model.removeRows(row, count));
    QCOMPARE(model.files(), left);
    if (announcedFirst < 0) {
        QCOMPARE(removed.count(), 0);
    } else {
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.first().at(1).toInt(), announcedFirst);
        QCOMPARE(removed.first().at(2).toInt(), announcedLast);
    }
}

void tst_imagelist::setFilesReplacesAndResets()
{
    ImagesListModel model;
    model.setFiles({QStringLiteral("/a/x.png"), QStringLiteral("/a/y.png")});
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setFiles({QStringLiteral("/b/z.png")});
    QCOMPARE(model.files(), QStringList{QStringLiteral("/b/z.png")});
    model.setFiles({});
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(reset.count(), 2);
}

void tst_imagelist::rolesOfARow()
{
    const QString path = file(QStringLiteral("photo.png"), BatchFixtures::pngBytes(BatchFixtures::rgbPicture(20, 10)));
    ImagesListModel model;
    model.setFiles({path});
    const QModelIndex index = model.index(0);
    QCOMPARE(index.data(Qt::DisplayRole).toString(), QStringLiteral("photo.png"));
    QCOMPARE(index.data(Qt::EditRole).toString(), QStringLiteral("photo.png"));
    QCOMPARE(index.data(ImagesListModel::FullPathRole).toString(), path);
    QCOMPARE(index.data(ImagesListModel::ModifiedRole).toDateTime(), QFileInfo(path).lastModified());
    QCOMPARE(index.data(Qt::DecorationRole).value<QImage>().size(), QSize(48, 48));
    QVERIFY(!index.data(Qt::ToolTipRole).isValid());

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(index, QStringLiteral("/elsewhere/other.png")));
    QCOMPARE(model.files().first(), QStringLiteral("/elsewhere/other.png"));
    QCOMPARE(changed.count(), 1);
    QVERIFY(!model.setData(index, QStringLiteral("x"), Qt::DisplayRole));
}

void tst_imagelist::rowPastTheEndReadsNothing()
{
    ImagesListModel model;
    model.setFiles({QStringLiteral("/a/x.png"), QStringLiteral("/a/y.png")});
    const QModelIndex last = model.index(1);
    model.removeRows(1, 1);
    // The view may still ask with the old index.
    QVERIFY(!model.data(last, ImagesListModel::FullPathRole).isValid());
    QVERIFY(!model.data(last, Qt::DecorationRole).isValid());
    QVERIFY(!model.setData(last, QStringLiteral("z")));
}

void tst_imagelist::headersAndFlags()
{
    ImagesListModel model;
    QCOMPARE(model.headerData(3, Qt::Vertical).toString(), QStringLiteral("3"));
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Number"));
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).isValid());
    QVERIFY(model.flags(QModelIndex()) & Qt::ItemIsDropEnabled);
    QCOMPARE(model.mimeTypes(), QStringList{QStringLiteral("text/uri-list")});
}

void tst_imagelist::thumbnail_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("hasThumbnail");

    QTest::newRow("one pixel") << BatchFixtures::pngBytes(BatchFixtures::rgbPicture(1, 1)) << true;
    // The short side would round to 0 at 130 pixels on the long side.
    QTest::newRow("long thin") << BatchFixtures::pngBytes(BatchFixtures::rgbPicture(2000, 3)) << true;
    // The reader goes by the content, not by the name.
    QTest::newRow("jpeg named png") << BatchFixtures::imageBytes(BatchFixtures::rgbPicture(30, 20), "JPG") << true;
    QTest::newRow("not a picture") << QByteArray("just text") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("zero width header") << headerOnlyPng(0, 100) << false;
    QTest::newRow("enormous header") << headerOnlyPng(20000, 20000) << false;
}

void tst_imagelist::thumbnail()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, hasThumbnail);
    const QString path = file(QStringLiteral("t.png"), bytes);
    const QImage image = ImagesListModel::thumbnail(path);
    QCOMPARE(!image.isNull(), hasThumbnail);
    if (hasThumbnail)
        QCOMPARE(image.size(), QSize(48, 48));

    // The painted row: its name in white right of the thumbnail square, and
    // in the square (below the "today" badge) the picture's colours, or only
    // the row's grey when there is no picture.
    ImagesListModel model;
    model.setFiles({path});
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("t.png"));
    const QImage canvas = paintedRow(model.index(0));
    int coloured = 0;
    for (int y = 13 + 32 / 3 + 1; y < 13 + 32; ++y)
        for (int x = 13; x < 13 + 32; ++x) {
            const QColor c = canvas.pixelColor(x, y);
            if (qAbs(c.red() - c.green()) > 20 || qAbs(c.green() - c.blue()) > 20 || qAbs(c.red() - c.blue()) > 20)
                ++coloured;
        }
    QVERIFY2((coloured > 0) == hasThumbnail, qPrintable(QString::number(coloured)));
    int bright = 0;
    for (int y = 13; y < 13 + 20; ++y)
        for (int x = 13 + 32 + 12; x < 300 - 43; ++x)
            if (qGray(canvas.pixel(x, y)) > 200)
                ++bright;
    QVERIFY2(bright > 20, qPrintable(QString::number(bright)));
}

void tst_imagelist::thumbnailFollowsTheFile()
{
    const QString path =
        file(QStringLiteral("c.png"), BatchFixtures::pngBytes(BatchFixtures::filledPicture(40, 40, Qt::red)));
    ImagesListModel model;
    model.setFiles({path});
    QCOMPARE(model.index(0).data(Qt::DecorationRole).value<QImage>().pixelColor(24, 24), QColor(Qt::red));

    // The file is replaced under the same name: the row shows the new picture.
    BatchFixtures::writeFile(path, BatchFixtures::pngBytes(BatchFixtures::filledPicture(60, 40, Qt::blue)));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    f.close();
    QCOMPARE(model.index(0).data(Qt::DecorationRole).value<QImage>().pixelColor(24, 24), QColor(Qt::blue));
    // Gone: no picture.
    QVERIFY(QFile::remove(path));
    QVERIFY(model.index(0).data(Qt::DecorationRole).value<QImage>().isNull());
}

void tst_imagelist::rowHeightIsFixed()
{
    ImagesListDelegate delegate;
    QStyleOptionViewItem option = rowOption(321);
    option.font.setPixelSize(40);
    QCOMPARE(delegate.sizeHint(option, QModelIndex()), QSize(321, 55));
}

void tst_imagelist::buttonSquareCoversTheRightEnd()
{
    const int width = 300;
    const QRect button = ImagesListDelegate::buttonRect(QRect(0, 55, width, 55));
    QCOMPARE(button.left(), width - 33);
    QCOMPARE(button.right(), width - 2);
    QCOMPARE(button.top(), 55 + 13);
    QCOMPARE(button.height(), 32);
}

void tst_imagelist::pressOnTheRowAsksForPreview_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("menu");
    QTest::addColumn<bool>("preview");

    QTest::newRow("thumbnail") << QPoint(20, 20) << false << true;
    QTest::newRow("left margin") << QPoint(5, 20) << false << false;
    QTest::newRow("menu button") << QPoint(300 - 25, 25) << true << true;
    QTest::newRow("menu button right edge") << QPoint(300 - 4, 25) << true << false;
}

void tst_imagelist::pressOnTheRowAsksForPreview()
{
    QFETCH(QPoint, pos);
    QFETCH(bool, menu);
    QFETCH(bool, preview);
    ImagesListModel model;
    model.setFiles({QStringLiteral("/a/x.png")});
    ImagesListDelegate delegate;
    auto* button = new AddButtonAction;
    delegate.addButton(button);
    QCOMPARE(button->parent(), &delegate);
    QSignalSpy play(&delegate, &ImagesListDelegate::play);
    QSignalSpy triggered(button, &AddButtonAction::triggered);

    QMouseEvent press(QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    delegate.editorEvent(&press, &model, rowOption(300), model.index(0));
    QCOMPARE(triggered.count(), menu ? 1 : 0);
    QCOMPARE(play.count(), preview ? 1 : 0);
    if (menu)
        QCOMPARE(triggered.first().at(1).toPoint(), QPoint(300 - 33, 13));
}

void tst_imagelist::rowRemovedByItsMenuIsNotPreviewed()
{
    ImagesListModel model;
    model.setFiles({QStringLiteral("/a/x.png"), QStringLiteral("/a/y.png")});
    ImagesListDelegate delegate;
    auto* button = new AddButtonAction;
    delegate.addButton(button);
    // The row menu runs while the press is handled; "Remove from list".
    connect(button, &AddButtonAction::triggered, &model,
            [&model](const QModelIndex& index) { model.removeRows(index.row(), 1); });
    QSignalSpy play(&delegate, &ImagesListDelegate::play);

    QMouseEvent press(QEvent::MouseButtonPress, QPoint(300 - 25, 55 + 25), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    delegate.editorEvent(&press, &model, rowOption(300, 55), model.index(1));
    QCOMPARE(model.files(), QStringList{QStringLiteral("/a/x.png")});
    QCOMPARE(play.count(), 0);

    // The first row removed from its menu: the second does not take its place.
    model.setFiles({QStringLiteral("/a/x.png"), QStringLiteral("/a/y.png")});
    QMouseEvent pressFirst(QEvent::MouseButtonPress, QPoint(300 - 25, 25), Qt::LeftButton, Qt::LeftButton,
                           Qt::NoModifier);
    delegate.editorEvent(&pressFirst, &model, rowOption(300), model.index(0));
    QCOMPARE(play.count(), 0);
}

void tst_imagelist::todayBadge_data()
{
    QTest::addColumn<int>("daysAgo");
    QTest::addColumn<bool>("badge");
    QTest::newRow("today") << 0 << true;
    QTest::newRow("yesterday") << 1 << false;
}

void tst_imagelist::todayBadge()
{
    QFETCH(int, daysAgo);
    QFETCH(bool, badge);
    const QString path = file(QStringLiteral("b.png"), BatchFixtures::pngBytes(BatchFixtures::rgbPicture(4, 4)));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-daysAgo), QFileDevice::FileModificationTime));
    f.close();
    ImagesListModel model;
    model.setFiles({path});
    const QImage canvas = paintedRow(model.index(0));
    // Inside the badge strip, left of the text: green over the thumbnail.
    const QColor pixel = canvas.pixelColor(14, 14);
    QCOMPARE(pixel.green() > pixel.red() + 40, badge);
}

void tst_imagelist::viewTakesUrlDragsOnly()
{
    ListView view;
    view.resize(200, 200);
    QSignalSpy dropped(&view, &ListView::dropped);
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent textEnter(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &textEnter);
    QVERIFY(!textEnter.isAccepted());

    const QList<QUrl> urls = {QUrl::fromLocalFile(QStringLiteral("/a/x.png"))};
    QVERIFY(PageTest::dropUrls(view.viewport(), urls));
    QCOMPARE(dropped.count(), 1);
    QCOMPARE(dropped.first().first().value<QList<QUrl>>(), urls);

    // A source that proposes a move is told that the files were copied, so
    // it never deletes them.
    QMimeData files;
    files.setUrls(urls);
    QDragEnterEvent enterMove(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton,
                              Qt::ShiftModifier);
    QApplication::sendEvent(view.viewport(), &enterMove);
    QDropEvent move(QPointF(10, 10), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(move.proposedAction(), Qt::MoveAction);
    QApplication::sendEvent(view.viewport(), &move);
    QCOMPARE(dropped.count(), 2);
    QVERIFY(move.isAccepted());
    QCOMPARE(move.dropAction(), Qt::CopyAction);
}

PAGETEST_MAIN(tst_imagelist)
#include "tst_imagelist.moc"
