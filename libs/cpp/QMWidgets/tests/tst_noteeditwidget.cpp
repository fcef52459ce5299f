// The text-note box of the image-note canvas.
#include "NoteEditWidget.h"

#include "App.h"
#include "QMTest.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>

using QMWidgets::App;
using QMWidgets::NoteEditWidget;

namespace {

QPushButton* button(NoteEditWidget& box, const char* szName)
{
    return box.findChild<QPushButton*>(QString::fromLatin1(szName));
}

// A note of some text at the given size, as a user would have typed it.
void typeNote(NoteEditWidget& box, qreal pointSize)
{
    box.textEdit()->setPlainText(QStringLiteral("Look here"));
    box.textEdit()->selectAll();
    box.textEdit()->setFontPointSize(pointSize);
}

}  // namespace

class TestNoteEditWidget : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void buttonsSignal();
    void newBoxMakesWorkFolderTheSaveFolder();
    void showAndHide();
    void sizeSteps_data();
    void sizeSteps();
};

void TestNoteEditWidget::construction()
{
    NoteEditWidget box;
    QCOMPARE(box.objectName(), QStringLiteral("NoteEditWidget"));
    const QList<QPair<const char*, QString>> buttons = {{"NoteEditWidgetAccept", "Accept"},
                                                        {"NoteEditWidgetReject", "Cancel"},
                                                        {"NoteEditWidgetInc", "Increase"},
                                                        {"NoteEditWidgetDec", "Decrease"}};
    for (const auto& expected : buttons) {
        QPushButton* pButton = button(box, expected.first);
        QVERIFY2(pButton, expected.first);
        QCOMPARE(pButton->toolTip(), expected.second);
        QVERIFY(pButton->isFlat());
        QVERIFY(pButton->text().isEmpty());
        QVERIFY(pButton->icon().isNull());
    }
    QVERIFY(box.textEdit()->testAttribute(Qt::WA_TranslucentBackground));
    // The text field over the button row: accept, reject, a stretch, larger, smaller.
    box.resize(300, 120);
    box.show();
    QVERIFY(box.textEdit()->geometry().bottom() < button(box, "NoteEditWidgetAccept")->y());
    QVERIFY(button(box, "NoteEditWidgetAccept")->x() < button(box, "NoteEditWidgetReject")->x());
    QVERIFY(button(box, "NoteEditWidgetReject")->x() < button(box, "NoteEditWidgetInc")->x() - 50);
    QVERIFY(button(box, "NoteEditWidgetInc")->x() < button(box, "NoteEditWidgetDec")->x());
}

void TestNoteEditWidget::buttonsSignal()
{
    NoteEditWidget box;
    QSignalSpy okSpy(&box, SIGNAL(okClicked()));
    QSignalSpy cancelSpy(&box, SIGNAL(cancelClicked()));
    button(box, "NoteEditWidgetAccept")->click();
    QCOMPARE(okSpy.count(), 1);
    QCOMPARE(cancelSpy.count(), 0);
    button(box, "NoteEditWidgetReject")->click();
    QCOMPARE(cancelSpy.count(), 1);
    QCOMPARE(okSpy.count(), 1);
}

void TestNoteEditWidget::newBoxMakesWorkFolderTheSaveFolder()
{
    App::instance()->setLastSavePath(QStringLiteral("/tmp/elsewhere/picture.png"));
    NoteEditWidget box;
    const QString strWork = QMTest::temporaryHome() + QStringLiteral("/Zintrop Lite");
    QCOMPARE(App::instance()->lastSaveDirectory(), strWork);
    QVERIFY(QFileInfo(strWork).isDir());
}

void TestNoteEditWidget::showAndHide()
{
    QWidget canvas;
    canvas.resize(400, 300);
    auto* pBox = new NoteEditWidget(&canvas);
    pBox->hideAll();
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    canvas.activateWindow();
    QVERIFY(!pBox->isVisible());
    pBox->showAll();
    QVERIFY(pBox->isVisible());
    QVERIFY(pBox->textEdit()->isVisible());
    QVERIFY(button(*pBox, "NoteEditWidgetAccept")->isVisible());
    QVERIFY(button(*pBox, "NoteEditWidgetReject")->isVisible());
    QTRY_VERIFY(pBox->textEdit()->hasFocus());
    pBox->hideAll();
    QVERIFY(pBox->isHidden());
    QVERIFY(pBox->textEdit()->isHidden());
    QVERIFY(button(*pBox, "NoteEditWidgetAccept")->isHidden());
    QVERIFY(button(*pBox, "NoteEditWidgetReject")->isHidden());
}

void TestNoteEditWidget::sizeSteps_data()
{
    QTest::addColumn<qreal>("start");
    QTest::addColumn<QStringList>("clicks");  // "inc" or "dec"
    QTest::addColumn<QList<qreal>>("sizes");  // after each click
    QTest::newRow("12 up, then down twice") << qreal(12) << QStringList{"inc", "dec", "dec"}
                                            << QList<qreal>{17, 12, 7};
    QTest::newRow("never down to 0 points") << qreal(5) << QStringList{"dec", "inc"} << QList<qreal>{5, 10};
    QTest::newRow("6 goes down to 1") << qreal(6) << QStringList{"dec", "dec"} << QList<qreal>{1, 1};
}

void TestNoteEditWidget::sizeSteps()
{
    QFETCH(qreal, start);
    QFETCH(QStringList, clicks);
    QFETCH(QList<qreal>, sizes);
    NoteEditWidget box;
    typeNote(box, start);
    for (int i = 0; i < clicks.size(); ++i) {
        button(box, clicks[i] == QLatin1String("inc") ? "NoteEditWidgetInc" : "NoteEditWidgetDec")->click();
        QCOMPARE(box.fontPointSize(), sizes[i]);
        // The whole note, not just where the cursor was, and it stays selected.
        QVERIFY(box.textEdit()->textCursor().hasSelection());
        QTextCursor first(box.textEdit()->document());
        first.setPosition(1);
        QCOMPARE(first.charFormat().fontPointSize(), sizes[i]);
    }
}

QMTEST_APP_MAIN(TestNoteEditWidget)
#include "tst_noteeditwidget.moc"
