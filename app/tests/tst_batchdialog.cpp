#include "BatchDialog.h"
#include "CompressProgress.h"
#include "ErrorsDialog.h"

#include "BatchFixtures.h"
#include "Label.h"
#include "ProgressBarLook.h"
#include "QMTest.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextEdit>

using namespace BatchFixtures;

namespace {

QImage barOf(BatchDialog& dialog)
{
    return paintedBar(dialog.progressBar());
}

} // namespace

class TestBatchDialog : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void testFormatSize_data();
    void testFormatSize();
    void testRingTexts_data();
    void testRingTexts();
    void testRingPaintsAtAnySize_data();
    void testRingPaintsAtAnySize();

    void testConstruction();
    void testPauseResume();
    void testStopAcceptsThenStops();
    void testCloseControlStops();
    void testFinishedLook();
    void testCounter();
    void testNotEnoughFreeSpace();
    void testShowResets();
    void testErrors();
    void testPreviewShowsNewest();
    void testLayoutWithoutOverlaps_data();
    void testLayoutWithoutOverlaps();
};

void TestBatchDialog::testFormatSize_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("unit");

    QTest::newRow("0") << qint64(0) << "0.00" << "B";
    QTest::newRow("9") << qint64(9) << "9.00" << "B";
    QTest::newRow("10") << qint64(10) << "10.0" << "B";
    QTest::newRow("1023") << qint64(1023) << "1023" << "B";
    QTest::newRow("1024") << qint64(1024) << "1.00" << "KB";
    QTest::newRow("1500") << qint64(1500) << "1.46" << "KB";
    QTest::newRow("200000") << qint64(200000) << "195" << "KB";
    QTest::newRow("2000000") << qint64(2000000) << "1.91" << "MB";
    QTest::newRow("half rounds up") << qint64(100 * 1024 + 512) << "101" << "KB";
    QTest::newRow("5 TB stays TB") << qint64(5) * 1024 * 1024 * 1024 * 1024 * 1024 << "5120" << "TB";
}

void TestBatchDialog::testFormatSize()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, number);
    QFETCH(QString, unit);
    QCOMPARE(CompressProgress::formatSize(bytes), (QStringList{number, unit}));
}

void TestBatchDialog::testRingTexts_data()
{
    QTest::addColumn<qint64>("input");
    QTest::addColumn<qint64>("output");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("nothing yet") << qint64(0) << qint64(0) << QStringList{"0.00", "B SAVED"};
    QTest::newRow("3 MB to 1 MB") << qint64(3000000) << qint64(1000000)
                                  << QStringList{"1.91", "MB SAVED", "REDUCED: 67%"};
    QTest::newRow("no saving") << qint64(1000) << qint64(1000)
                               << QStringList{"0.00", "B SAVED", "REDUCED: 0%"};
    QTest::newRow("half away from zero") << qint64(8) << qint64(1)
                                         << QStringList{"7.00", "B SAVED", "REDUCED: 88%"};
    QTest::newRow("3 to 2 rounds in floating point") << qint64(3) << qint64(2)
                                                     << QStringList{"1.00", "B SAVED", "REDUCED: 33%"};
    QTest::newRow("output unknown") << qint64(500) << qint64(0) << QStringList{"500", "B SAVED"};
}

void TestBatchDialog::testRingTexts()
{
    QFETCH(qint64, input);
    QFETCH(qint64, output);
    QFETCH(QStringList, texts);
    QCOMPARE(CompressProgress::ringTexts(input, output), texts);
}

// Point sizes are fractions of the ring's side; a tiny ring must still paint.
void TestBatchDialog::testRingPaintsAtAnySize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("tiny") << QSize(10, 10);
    QTest::newRow("flat") << QSize(300, 20);
    QTest::newRow("tall") << QSize(120, 400);
    QTest::newRow("empty") << QSize(0, 0);
}

void TestBatchDialog::testRingPaintsAtAnySize()
{
    QFETCH(QSize, size);
    CompressProgress ring;
    ring.setPercent(40);
    ring.setSizes(3000000, 1000000);
    ring.resize(size);
    QCOMPARE(ring.side(), qMin(size.width(), size.height()));
    const QImage image = ring.grab().toImage();
    QCOMPARE(image.size(), size);
}

void TestBatchDialog::testConstruction()
{
    BatchDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Zintrop Lite Batch Process"));
    QCOMPARE(dialog.minimumWidth(), 500);
    QCOMPARE(dialog.pauseButton()->text(), QStringLiteral("Pause"));
    QCOMPARE(dialog.stopButton()->text(), QStringLiteral("Stop"));
    QCOMPARE(dialog.closeButton()->text(), QStringLiteral("Close"));
    QCOMPARE(dialog.errorButton()->text(), QStringLiteral("One or more errors have occured!"));
    QCOMPARE(dialog.pauseButton()->objectName(), QStringLiteral("BatchPauseButton"));
    QCOMPARE(dialog.closeButton()->objectName(), QStringLiteral("BatchPauseButton"));
    QCOMPARE(dialog.stopButton()->objectName(), QStringLiteral("BatchStopButton"));
    QCOMPARE(dialog.errorButton()->objectName(), QStringLiteral("BatchStopButton"));
    QCOMPARE(dialog.preview()->objectName(), QStringLiteral("PreviewLabel"));
    QCOMPARE(dialog.preview()->size(), QSize(250, 150));
    QVERIFY(dialog.pauseButton()->isCheckable());
    QVERIFY(dialog.closeButton()->isHidden());
    QVERIFY(dialog.errorButton()->isHidden());
    QVERIFY(!dialog.pauseButton()->isHidden());
    QVERIFY(!dialog.stopButton()->isHidden());
    QCOMPARE(dialog.errorText(), QString());
}

void TestBatchDialog::testPauseResume()
{
    BatchDialog dialog;
    QSignalSpy spy(&dialog, SIGNAL(paused(bool)));
    dialog.pauseButton()->click();
    QCOMPARE(dialog.pauseButton()->text(), QStringLiteral("Resume"));
    dialog.pauseButton()->click();
    QCOMPARE(dialog.pauseButton()->text(), QStringLiteral("Pause"));
    QCOMPARE(spy.size(), 2);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QCOMPARE(spy.at(1).at(0).toBool(), false);
}

void TestBatchDialog::testStopAcceptsThenStops()
{
    BatchDialog dialog;
    QStringList order;
    connect(&dialog, &QDialog::accepted, [&] { order << "accepted"; });
    connect(&dialog, &BatchDialog::stop, [&] { order << "stop"; });
    connect(&dialog, &QDialog::rejected, [&] { order << "rejected"; });
    dialog.show();
    dialog.stopButton()->click();
    QCOMPARE(order, (QStringList{"accepted", "stop"}));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

// The close control and Escape reject, and a rejected dialog stops the batch.
void TestBatchDialog::testCloseControlStops()
{
    BatchDialog dialog;
    QSignalSpy spy(&dialog, SIGNAL(stop()));
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestBatchDialog::testFinishedLook()
{
    BatchDialog dialog;
    dialog.show();
    dialog.slotProgressChanged(55);
    QCOMPARE(dialog.progressBar()->value(), 55);
    QCOMPARE(dialog.ring()->percent(), 55);
    QVERIFY(dialog.pauseButton()->isVisible());
    QVERIFY(!dialog.closeButton()->isVisible());

    dialog.slotFileProgressChanged(12);
    QCOMPARE(dialog.progressBar()->value(), 12);

    // Also after a Stop the worker sends 100: the finished look.
    dialog.slotProgressChanged(100);
    QVERIFY(dialog.closeButton()->isVisible());
    QVERIFY(!dialog.pauseButton()->isVisible());
    QVERIFY(!dialog.stopButton()->isVisible());
    QCOMPARE(barOf(dialog), barLike(dialog.progressBar(), 100, "DONE"));
    QVERIFY(barOf(dialog)
            != barLike(dialog.progressBar(), 100, "COMPRESSING"));

    QSignalSpy stopSpy(&dialog, SIGNAL(stop()));
    dialog.closeButton()->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(stopSpy.size(), 0);
}

void TestBatchDialog::testCounter()
{
    BatchDialog dialog;
    dialog.show();
    dialog.slotFilesCountChanged(1, 12);
    QLabel* counter = dialog.counterLabel();
    QCOMPARE(counter->text(), QStringLiteral("<FONT COLOR=#00DF00>1 / 12</FONT>"));
    const int width = counter->fontMetrics().horizontalAdvance(QStringLiteral("12 / 12")) + 10;
    QCOMPARE(counter->minimumWidth(), width);
    QCOMPARE(counter->maximumWidth(), width);
    QCOMPARE(counter->alignment() & Qt::AlignRight, Qt::AlignRight);

    dialog.slotFilesCountChanged(10, 1000);
    QCOMPARE(counter->text(), QStringLiteral("<FONT COLOR=#00DF00>10 / 1000</FONT>"));
    QCOMPARE(counter->maximumWidth(),
             counter->fontMetrics().horizontalAdvance(QStringLiteral("1000 / 1000")) + 10);
}

// Never sent by the worker, but complete: the bar says so, Pause turns into
// Resume without telling the worker, and a warning explains what to do.
void TestBatchDialog::testNotEnoughFreeSpace()
{
    BatchDialog dialog;
    dialog.show();
    dialog.slotFileProgressChanged(40);
    QSignalSpy pausedSpy(&dialog, SIGNAL(paused(bool)));
    QString title;
    QString text;
    QMTest::ModalAnswerer answer([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    dialog.slotNotEnoughtFreeSpace();
    QVERIFY(answer.answered());
    QCOMPARE(title, QStringLiteral("Not enough free space"));
    QCOMPARE(text, QStringLiteral("<H3>Not enough free space</H3>Conversion paused.<br>Free up space and "
                                  "click \"Resume\".<br>To stop conversion, click \"Stop\"."));
    QVERIFY(dialog.pauseButton()->isChecked());
    QCOMPARE(dialog.pauseButton()->text(), QStringLiteral("Resume"));
    QCOMPARE(pausedSpy.size(), 0);
    QCOMPARE(barOf(dialog),
             barLike(dialog.progressBar(), 40, "NOT ENOUGH FREE SPACE"));

    // Resume from there tells the worker.
    dialog.pauseButton()->click();
    QCOMPARE(pausedSpy.size(), 1);
    QCOMPARE(pausedSpy.at(0).at(0).toBool(), false);
}

void TestBatchDialog::testShowResets()
{
    BatchDialog dialog;
    dialog.pauseButton()->click();
    dialog.slotFileProgressChanged(70);
    QVERIFY(dialog.pauseButton()->isChecked());
    dialog.show();
    QVERIFY(!dialog.pauseButton()->isChecked());
    QCOMPARE(dialog.pauseButton()->text(), QStringLiteral("Pause"));
    QCOMPARE(dialog.progressBar()->value(), 0);
}

void TestBatchDialog::testErrors()
{
    BatchDialog dialog;
    dialog.resize(600, 600);
    dialog.show();
    const QString log = QStringLiteral("/a/b.png: The file is empty.\n/a/c.png: No space left on device\n");
    dialog.slotSetErrors(log);
    QVERIFY(dialog.errorButton()->isVisible());
    QCOMPARE(dialog.errorText(), log);

    QString shown;
    QSize size;
    QString title;
    bool readOnly = false;
    QMTest::ModalAnswerer answer([&](QWidget* widget) {
        auto* errors = qobject_cast<ErrorsDialog*>(widget);
        if (!errors)
            return;
        shown = errors->textEdit()->toPlainText();
        readOnly = errors->textEdit()->isReadOnly();
        size = errors->size();
        title = errors->windowTitle();
        QCOMPARE(errors->textEdit()->objectName(), QStringLiteral("ErrorsText"));
        errors->findChild<QPushButton*>(QStringLiteral("PushButton"))->click();
    });
    dialog.errorButton()->click();
    QVERIFY(answer.answered());
    QCOMPARE(shown, log);
    QVERIFY(readOnly);
    QCOMPARE(title, QStringLiteral("ERRORS LOG"));
    QCOMPARE(size, QSize(dialog.width(), dialog.height() / 3));
}

// Paths arrive faster than pictures can be decoded: the preview shows the
// newest one.
void TestBatchDialog::testPreviewShowsNewest()
{
    QTemporaryDir dir;
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    QStringList paths;
    for (const QColor& colour : colours) {
        paths << dir.filePath(colour.name().mid(1) + QStringLiteral(".png"));
        QVERIFY(writeFile(paths.last(), pngBytes(filledPicture(250, 150, colour))));
    }
    BatchDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const QString& path : paths)
        dialog.slotShowCurrentFileImage(path);
    QTRY_COMPARE(dialog.preview()->grab().toImage().pixelColor(125, 75), QColor(Qt::blue));

    // A file that cannot be loaded empties the preview.
    dialog.slotShowCurrentFileImage(dir.filePath(QStringLiteral("missing.png")));
    QTRY_VERIFY(dialog.preview()->grab().toImage().pixelColor(125, 75) != QColor(Qt::blue));
}

void TestBatchDialog::testLayoutWithoutOverlaps_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("finished");
    // The launcher gives the dialog the main page's size; the page is never
    // narrower than 420, also with its stored default width of 370.
    QTest::newRow("narrowest page, running") << QSize(420, 600) << false;
    QTest::newRow("narrowest page, finished with errors") << QSize(420, 600) << true;
    QTest::newRow("minimum width, running") << QSize(500, 420) << false;
    QTest::newRow("minimum width, finished with errors") << QSize(500, 420) << true;
}

// Grabbed headless at the sizes the launcher gives it: every visible part
// lies inside the dialog and no two overlap.
void TestBatchDialog::testLayoutWithoutOverlaps()
{
    QFETCH(QSize, size);
    QFETCH(bool, finished);

    // The program's own style sheet sets the buttons' font and padding.
    QFile styleSheet(QStringLiteral(":/style.qss"));
    QVERIFY(styleSheet.open(QIODevice::ReadOnly));
    qApp->setStyleSheet(QString::fromUtf8(styleSheet.readAll()));
    const auto plainAgain = qScopeGuard([] { qApp->setStyleSheet(QString()); });
    BatchDialog dialog;
    dialog.setFixedSize(size);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.slotFilesCountChanged(120, 1200);
    dialog.slotTotalProgressSizesChanged(3000000, 1000000);
    dialog.slotShowCurrentFile(QStringLiteral("COMPRESSING"));
    if (finished) {
        dialog.slotSetErrors(QStringLiteral("x: y\n"));
        dialog.slotProgressChanged(100);
    } else {
        dialog.slotProgressChanged(40);
    }
    QCoreApplication::processEvents();

    const QImage image = dialog.grab().toImage();
    QCOMPARE(image.size(), size);
    // To look at the grabs: BATCH_DIALOG_GRABS=<folder>.
    const QString grabs = qEnvironmentVariable("BATCH_DIALOG_GRABS");
    if (!grabs.isEmpty())
        image.save(grabs + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag()) + ".png");

    const QList<QWidget*> parts{dialog.ring(), dialog.preview(), dialog.progressBar(),
                                dialog.counterLabel(), dialog.pauseButton(), dialog.stopButton(),
                                dialog.errorButton(), dialog.closeButton()};
    QList<QWidget*> visible;
    for (QWidget* part : parts)
        if (part->isVisible())
            visible << part;
    QCOMPARE(visible.size(), 6);
    for (QWidget* part : visible) {
        QVERIFY2(dialog.rect().contains(part->geometry()), part->metaObject()->className());
        QVERIFY2(part->width() > 0 && part->height() > 0, part->metaObject()->className());
        for (QWidget* other : visible) {
            if (other != part)
                QVERIFY2(!part->geometry().intersects(other->geometry()),
                         qPrintable(QStringLiteral("%1 overlaps %2")
                                        .arg(part->metaObject()->className(),
                                             other->metaObject()->className())));
        }
    }
    // Every button shows its whole text, "One or more errors have occured!"
    // beside Close too.
    for (QWidget* part : {dialog.pauseButton(), dialog.stopButton(), dialog.errorButton(),
                          dialog.closeButton()})
        if (part->isVisible())
            QVERIFY2(part->width() >= part->sizeHint().width(),
                     qPrintable(static_cast<QPushButton*>(part)->text()));
    QVERIFY(dialog.ring()->side() >= 100);
}

QMTEST_APP_MAIN(TestBatchDialog)

#include "tst_batchdialog.moc"
