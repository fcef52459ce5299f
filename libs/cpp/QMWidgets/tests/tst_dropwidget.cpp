#include "DropWidget.h"

#include "DialogLayoutCheck.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include "QMTest.h"

#include <QtTest>

#include <functional>

using QMWidgets::DropWidget;

namespace {

QPushButton *openButton(DropWidget &area) { return area.findChild<QPushButton *>(); }

// Answers the next modal file dialog once it is up; the widget's own dialog
// call then returns as if the user had chosen.
QMTest::ModalAnswerer::Action fileDialogAnswer(std::function<void(QFileDialog *)> answer)
{
    return [answer](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            QFAIL(qPrintable(QString("not a file dialog: %1").arg(modal->metaObject()->className())));
        }
        answer(dialog);
        // A failed check inside the answer must not leave the test waiting.
        if (dialog->isVisible())
            dialog->reject();
    };
}

void chooseFiles(QFileDialog *dialog, const QString &folder, const QStringList &names)
{
    dialog->setDirectory(folder);
    QString typed;
    for (const QString &name : names)
        typed += QStringLiteral("\"%1\" ").arg(name);
    QVERIFY(QMTest::typeIntoFileDialog(dialog, typed.trimmed()));
}

QMimeData *uriListData(const QByteArray &uriList)
{
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), uriList);
    return data;
}

bool sendDragEnter(DropWidget &area, const QMimeData *data)
{
    QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&area, &event);
    return event.isAccepted();
}

// A drop goes to the widget that accepted the drag's entry, as in a real
// drag, so the entry is sent first.
bool sendDrop(DropWidget &area, const QMimeData *data)
{
    sendDragEnter(area, data);
    QDropEvent event(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&area, &event);
    return event.isAccepted();
}

// Records each emission together with whether the area was visible then.
struct DropRecorder
{
    QList<QList<QUrl>> lists;
    QList<bool> visibleDuring;
    explicit DropRecorder(DropWidget &area)
    {
        QObject::connect(&area, &DropWidget::dropped, [this, &area](const QList<QUrl> &urls) {
            lists << urls;
            visibleDuring << area.isVisible();
        });
    }
};

} // namespace

class TestDropWidget : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void dragEnter_data();
    void dragEnter();
    void drop_data();
    void drop();
    void dropStillWorksAfterHideButton();
    void droppedCrossesQueuedConnections();
    void openFiles();
    void openFolder();
    void cancelledDialogEmitsNothing_data();
    void cancelledDialogEmitsNothing();
    void setters();
    void laysOutAtMinimumSize();
};

void TestDropWidget::construction()
{
    DropWidget area;
    QCOMPARE(area.objectName(), QStringLiteral("DropArea"));
    QVERIFY(area.acceptDrops());
    QCOMPARE(area.alignment(), Qt::AlignTop | Qt::AlignHCenter);
    QCOMPARE(area.text(), QStringLiteral("<H1>Drop the photos here</H1>"));
    QPushButton *button = openButton(area);
    QVERIFY(button);
    QCOMPARE(button->objectName(), QStringLiteral("PushButton"));
    QCOMPARE(button->text(), QStringLiteral("Click to open the photos"));
    QCOMPARE(button->minimumHeight(), 32);
    QCOMPARE(button->maximumHeight(), 32);

    const QMetaObject *meta = area.metaObject();
    QCOMPARE(QByteArray(meta->className()), QByteArray("QMWidgets::DropWidget"));
    QCOMPARE(meta->method(meta->methodOffset()).methodSignature(),
             QByteArray("dropped(QList<QUrl>)"));
    QCOMPARE(meta->method(meta->methodOffset() + 1).methodSignature(),
             QByteArray("slotOpenClicked()"));
}

void TestDropWidget::dragEnter_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("uri list") << "text/uri-list" << true;
    QTest::newRow("plain text") << "text/plain" << false;
    QTest::newRow("image") << "image/png" << false;
}

void TestDropWidget::dragEnter()
{
    QFETCH(QString, format);
    QFETCH(bool, accepted);
    DropWidget area;
    QSignalSpy spy(&area, &DropWidget::dropped);
    QMimeData data;
    data.setData(format, "file:///tmp/a.png\r\n");
    QCOMPARE(sendDragEnter(area, &data), accepted);
    QCOMPARE(spy.count(), 0);
}

void TestDropWidget::drop_data()
{
    QTest::addColumn<QByteArray>("uriList");
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<bool>("hideOnDrop");

    const QList<QUrl> two{ QUrl::fromLocalFile("/tmp/photos/a.png"),
                           QUrl::fromLocalFile("/tmp/photos/sub folder") };
    const QByteArray twoText = "file:///tmp/photos/a.png\r\nfile:///tmp/photos/sub%20folder\r\n";
    QTest::newRow("files and folder, hides") << twoText << two << true;
    QTest::newRow("files and folder, stays") << twoText << two << false;
    QTest::newRow("other scheme") << QByteArray("https://example.invalid/x.png\r\n")
                                  << QList<QUrl>{ QUrl("https://example.invalid/x.png") } << true;
    QTest::newRow("empty list, hides") << QByteArray() << QList<QUrl>{} << true;
}

void TestDropWidget::drop()
{
    QFETCH(QByteArray, uriList);
    QFETCH(QList<QUrl>, urls);
    QFETCH(bool, hideOnDrop);

    DropWidget area;
    area.setHideOnDrop(hideOnDrop);
    area.show();
    DropRecorder recorder(area);
    QScopedPointer<QMimeData> data(uriListData(uriList));

    // Left unaccepted: the drag source must not believe a move happened.
    QVERIFY(!sendDrop(area, data.data()));
    QCOMPARE(recorder.lists.size(), 1);
    QCOMPARE(recorder.lists.first(), urls);
    QCOMPARE(recorder.visibleDuring.first(), true);
    QCOMPARE(area.isVisible(), !hideOnDrop);
}

void TestDropWidget::dropStillWorksAfterHideButton()
{
    DropWidget area;
    area.setHideOnDrop(false);
    area.show();
    area.hideButton();
    QVERIFY(openButton(area)->isHidden());
    QScopedPointer<QMimeData> data(uriListData("file:///tmp/a.png\r\n"));
    QVERIFY(sendDragEnter(area, data.data()));
    QSignalSpy spy(&area, &DropWidget::dropped);
    sendDrop(area, data.data());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QList<QUrl>>(), QList<QUrl>{ QUrl::fromLocalFile("/tmp/a.png") });
    QVERIFY(openButton(area)->isHidden());
}

void TestDropWidget::droppedCrossesQueuedConnections()
{
    DropWidget area;
    QList<QUrl> received;
    QObject receiver;
    QVERIFY(connect(&area, &DropWidget::dropped, &receiver,
                    [&received](const QList<QUrl> &urls) { received = urls; },
                    Qt::QueuedConnection));
    QScopedPointer<QMimeData> data(uriListData("file:///tmp/a.png\r\n"));
    sendDrop(area, data.data());
    QVERIFY(received.isEmpty());
    QTRY_COMPARE(received, QList<QUrl>{ QUrl::fromLocalFile("/tmp/a.png") });
}

void TestDropWidget::openFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList names{ "c.png", "a.png", "b.png" };
    for (const QString &name : names)
        QVERIFY(QMTest::writeFile(dir.filePath(name), QByteArray()));

    DropWidget area;
    area.show();
    DropRecorder recorder(area);
    QMTest::ModalAnswerer answerer(fileDialogAnswer([&](QFileDialog *dialog) {
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Open files"));
        chooseFiles(dialog, dir.path(), names);
    }));
    openButton(area)->click();
    QVERIFY(answerer.answered());

    QCOMPARE(recorder.lists.size(), 1);
    QList<QUrl> expected;
    for (const QString &name : names)
        expected << QUrl::fromLocalFile(dir.filePath(name));
    QCOMPARE(recorder.lists.first(), expected);
    QCOMPARE(recorder.visibleDuring.first(), true);
    QVERIFY(!area.isVisible());
}

void TestDropWidget::openFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath("photos #1");
    QVERIFY(QDir().mkpath(folder));

    DropWidget area;
    area.setOpenMode(0);
    area.setHideOnDrop(false);
    area.show();
    DropRecorder recorder(area);
    QMTest::ModalAnswerer answerer(fileDialogAnswer([&](QFileDialog *dialog) {
        QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Open folder"));
        dialog->setDirectory(folder);
        QMetaObject::invokeMethod(dialog, "accept");
    }));
    openButton(area)->click();
    QVERIFY(answerer.answered());

    QCOMPARE(recorder.lists.size(), 1);
    QCOMPARE(recorder.lists.first(), QList<QUrl>{ QUrl::fromLocalFile(folder) });
    QVERIFY(area.isVisible());
}

void TestDropWidget::cancelledDialogEmitsNothing_data()
{
    QTest::addColumn<int>("openMode");
    QTest::newRow("files") << 1;
    QTest::newRow("folder") << 0;
}

void TestDropWidget::cancelledDialogEmitsNothing()
{
    QFETCH(int, openMode);
    DropWidget area;
    area.setOpenMode(openMode);
    area.show();
    QSignalSpy spy(&area, &DropWidget::dropped);
    QMTest::ModalAnswerer answerer(fileDialogAnswer([](QFileDialog *dialog) { dialog->reject(); }));
    openButton(area)->click();
    QVERIFY(answerer.answered());
    QCOMPARE(spy.count(), 0);
    QVERIFY(area.isVisible());
}

void TestDropWidget::setters()
{
    DropWidget area;
    area.setButtonText(QStringLiteral("Open a folder"));
    QCOMPARE(openButton(area)->text(), QStringLiteral("Open a folder"));
    area.setLabelText(QStringLiteral("<H2>Drop here</H2>"));
    QCOMPARE(area.text(), QStringLiteral("<H2>Drop here</H2>"));
}

void TestDropWidget::laysOutAtMinimumSize()
{
    QScopedPointer<DropWidget> area(new DropWidget);
    const QStringList problems = DialogLayoutCheck::checkAtMinimumSize(area.data());
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));

    // The heading stands at the top: a QLabel with the same text tells how
    // tall it is. The button must sit below it and inside the area.
    QLabel heading(area->text());
    heading.setFont(area->font());
    const int headingBottom = area->contentsRect().top() + heading.sizeHint().height();
    const QRect button = openButton(*area)->geometry();
    QVERIFY2(area->rect().contains(button), "button outside the area");
    QVERIFY2(button.top() >= headingBottom,
             qPrintable(QString("button top %1, heading bottom %2").arg(button.top()).arg(headingBottom)));
}

QMTEST_APP_MAIN(TestDropWidget)
#include "tst_dropwidget.moc"
