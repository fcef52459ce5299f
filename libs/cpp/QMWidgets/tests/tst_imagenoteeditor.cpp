// The annotation editor window: its controls and what they reach on the
// canvas, its size for a picture, and the questions about unsaved changes.
#include "ImageNoteEditor.h"

#include "AppButton.h"
#include "ColorWidget.h"
#include "ColorWidgetPopup.h"
#include "ImageNoteWorkArea.h"
#include "MoreAppsButton.h"
#include "NoteEditDragPreview.h"
#include "QMTest.h"

#include <QAction>
#include <QActionGroup>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QGridLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>

using QMWidgets::ImageNoteEditor;
using QMWidgets::ImageNoteWorkArea;

Q_DECLARE_METATYPE(ImageNoteWorkArea::Mode)

namespace {

QPixmap picture(int nWidth, int nHeight)
{
    QPixmap pixmap(nWidth, nHeight);
    pixmap.fill(QColor(40, 80, 120));
    return pixmap;
}

QPushButton* buttonNamed(ImageNoteEditor& editor, const QString& strName)
{
    return editor.findChild<QPushButton*>(strName);
}

// Saves the canvas into a file of the test's home, so it holds no unsaved
// changes any more.
void saveCanvas(ImageNoteEditor& editor)
{
    QMTest::ScriptedFileDialogs dialogs({{QMTest::temporaryHome() + QStringLiteral("/saved.png")}});
    editor.workArea()->slotSave();
    QVERIFY(!editor.workArea()->isModified());
}

// Shows the editor with a picture; unless bModified, the canvas is saved
// first, so that it holds no unsaved changes. False when no window came up.
bool showWithPicture(ImageNoteEditor& editor, bool bModified)
{
    editor.slotSetPixmap(picture(100, 80));
    if (!bModified)
        saveCanvas(editor);
    editor.show();
    return QTest::qWaitForWindowExposed(&editor);
}

// Answers the question about unsaved changes as a table row names the answer
// ("escape" or a button's text), keeping the question's text.
QMTest::ModalAnswerer::Action answerChangesQuestion(const QString& strAnswer, QString* pText)
{
    return [strAnswer, pText](QWidget* pDialog) {
        *pText = QMTest::labelTextContaining(pDialog, QStringLiteral("changes"));
        QMTest::ModalAnswerer::clickButtonOrEscape(strAnswer)(pDialog);
    };
}

// Runs the action inside the application's own event loop; true when the
// action made the application quit (the loop then ends with 0).
bool quitsApplication(const std::function<void()>& action)
{
    QTimer::singleShot(0, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(1000);
    const int nCode = QCoreApplication::exec();
    guard.stop();
    return nCode == 0;
}

}  // namespace

class TestImageNoteEditor : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void topRow();
    void toolColumn();
    void thicknessMenu();
    void hiddenToolMenu();
    void toolButtonsSetMode_data();
    void toolButtonsSetMode();
    void menusReachCanvas();
    void colourReachesCanvas();
    void windowSize_data();
    void windowSize();
    void setPixmapSizesWindowOnThisScreen_data();
    void setPixmapSizesWindowOnThisScreen();
    void historyButtonsFollowCanvas();
    void changesReachPreviewAndHost();
    void shownOnEveryShow();
    void closeQuestion_data();
    void closeQuestion();
    void newScreenShotQuestion_data();
    void newScreenShotQuestion();
    void quit_data();
    void quit();
};

void TestImageNoteEditor::topRow()
{
    ImageNoteEditor editor;
    const QList<QPair<QString, QString>> buttons = {{"ImageNoteEditorThikness", ""},
                                                    {"ImageNoteEditorUndo", "Undo"},
                                                    {"ImageNoteEditorRedo", "Redo"},
                                                    {"ImageNoteEditorSave", "Save"},
                                                    {"ImageNoteEditorMoreApps", "MoreApps"},
                                                    {"ImageNoteEditorApp", "App"},
                                                    {"ImageNoteEditorQuit", "Quit"}};
    editor.resize(800, 500);
    editor.show();
    int nLastX = -1;
    for (const auto& expected : buttons) {
        QPushButton* pButton = buttonNamed(editor, expected.first);
        QVERIFY2(pButton, qPrintable(expected.first));
        QCOMPARE(pButton->toolTip(), expected.second);
        QVERIFY(pButton->isFlat());
        if (pButton->isVisible()) {
            QVERIFY2(pButton->mapTo(&editor, QPoint()).x() > nLastX, qPrintable(expected.first));
            nLastX = pButton->mapTo(&editor, QPoint()).x();
        }
    }
    QVERIFY(qobject_cast<QMWidgets::MoreAppsButton*>(buttonNamed(editor, "ImageNoteEditorMoreApps")));
    QVERIFY(buttonNamed(editor, "ImageNoteEditorMoreApps")->isHidden());
    auto* pApp = qobject_cast<QMWidgets::AppButton*>(buttonNamed(editor, "ImageNoteEditorApp"));
    QVERIFY(pApp);
    for (const char* szHidden : {"Support Page", "Intro"}) {
        QAction* pAction = QMTest::actionWithText(pApp->menu(), QString::fromLatin1(szHidden));
        QVERIFY(!pAction || !pAction->isVisible());
    }
    QVERIFY(buttonNamed(editor, "ImageNoteEditorUndo")->isEnabled());
    QVERIFY(buttonNamed(editor, "ImageNoteEditorRedo")->isEnabled());

    auto* pSwatch = editor.findChild<QMWidgets::ColorWidget*>();
    QCOMPARE(pSwatch->size(), QSize(22, 22));
    QCOMPARE(pSwatch->color(), QColor(Qt::yellow));
    QCOMPARE(pSwatch->parentWidget()->objectName(), QStringLiteral("ImageNoteEditorColorDecor"));
    QVERIFY(pSwatch->mapTo(&editor, QPoint()).x() < buttonNamed(editor, "ImageNoteEditorThikness")->mapTo(&editor, QPoint()).x());
    // The canvas scrolls inside the window.
    QCOMPARE(editor.findChild<QScrollArea*>()->widget(), editor.workArea());
}

void TestImageNoteEditor::toolColumn()
{
    ImageNoteEditor editor;
    editor.resize(800, 700);
    editor.show();
    const QList<QPair<QString, QString>> tools = {
        {"ImageNoteEditorPen", "Pen"},
        {"ImageNoteEditorEraser", "Eraser"},
        {"ImageNoteEditorHighlighter", "Highlighter"},
        {"ImageNoteEditorRectangle", "Rectangle"},
        {"ImageNoteEditorFilledRectangle", "Filled Rectangle"},
        {"ImageNoteEditorOval", "Oval"},
        {"ImageNoteEditorBlur", "Blur"},
        {"ImageNoteEditorFilledOval", "Filled Oval"},
        {"ImageNoteEditorLine", "Line"},
        {"ImageNoteEditorArrow", "Arrow"},
        {"ImageNoteEditorText", "Text"},
    };
    auto* pPreview = editor.findChild<QMWidgets::NoteEditDragPreview*>();
    QCOMPARE(pPreview->toolTip(), QStringLiteral("Drag&Drop this into Skype, Mail, GoogleDrive-Folder etc."));
    int nLastY = pPreview->mapTo(&editor, QPoint()).y();
    for (const auto& expected : tools) {
        QPushButton* pButton = buttonNamed(editor, expected.first);
        QVERIFY2(pButton, qPrintable(expected.first));
        QCOMPARE(pButton->toolTip(), expected.second);
        QCOMPARE(pButton->size(), QSize(32, 32));
        QVERIFY(pButton->isCheckable());
        QVERIFY(pButton->isFlat());
        QCOMPARE(pButton->isChecked(), expected.first == QLatin1String("ImageNoteEditorPen"));
        QCOMPARE(pButton->isHidden(), expected.first == QLatin1String("ImageNoteEditorFilledOval"));
        if (!pButton->isHidden()) {
            QVERIFY2(pButton->mapTo(&editor, QPoint()).y() > nLastY, qPrintable(expected.first));
            nLastY = pButton->mapTo(&editor, QPoint()).y();
        }
    }
    QPushButton* pNew = buttonNamed(editor, "NewScreenShowButton");
    QCOMPARE(pNew->text(), QStringLiteral("New\nScreen\nShot"));
    QCOMPARE(pNew->size(), QSize(64, 64));
    QVERIFY(pNew->mapTo(&editor, QPoint()).y() > nLastY);
    // One exclusive choice: clicking another tool unchecks the pen.
    buttonNamed(editor, "ImageNoteEditorLine")->click();
    QVERIFY(!buttonNamed(editor, "ImageNoteEditorPen")->isChecked());
}

void TestImageNoteEditor::thicknessMenu()
{
    ImageNoteEditor editor;
    QMenu* pMenu = buttonNamed(editor, "ImageNoteEditorThikness")->menu();
    QVERIFY(pMenu);
    QStringList texts;
    QList<int> data;
    for (QAction* pAction : pMenu->actions()) {
        texts << (pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
        if (!pAction->isSeparator()) {
            QVERIFY(pAction->isCheckable());
            QVERIFY2(!pAction->icon().isNull(), qPrintable(pAction->text()));
            QCOMPARE(pAction->isChecked(), pAction->text() == QLatin1String("1px"));
        }
        if (pAction->data().isValid())
            data << pAction->data().toInt();
    }
    QCOMPARE(texts, (QStringList{"1px", "2px", "3px", "4px", "5px", "10px", "15px", "-", "Dash"}));
    QCOMPARE(data, (QList<int>{1, 2, 3, 4, 5, 10, 15}));
    QVERIFY(pMenu->actions().first()->actionGroup()->isExclusive());
    QVERIFY(!pMenu->actions().last()->actionGroup());
}

void TestImageNoteEditor::hiddenToolMenu()
{
    ImageNoteEditor editor;
    editor.show();
    QPushButton* pDra = QMTest::buttonWithText(&editor, QStringLiteral("DRA"));
    QVERIFY(pDra);
    QVERIFY(pDra->isHidden());
    QVERIFY(pDra->isFlat());
    QStringList texts;
    QList<int> modes;
    for (QAction* pAction : pDra->menu()->actions()) {
        texts << pAction->text();
        modes << pAction->data().toInt();
        QCOMPARE(pAction->isChecked(), pAction->text() == QLatin1String("Pen"));
    }
    QCOMPARE(texts, (QStringList{"Pen", "Eraser", "Highlighter", "Line", "Rectangle", "Filled Rectangle", "Blur",
                                 "Oval", "Filled Oval", "Text", "Arrow"}));
    QCOMPARE(modes, (QList<int>{0, 1, 2, 8, 3, 4, 5, 6, 7, 10, 9}));
    QMTest::actionWithText(pDra->menu(), QStringLiteral("Filled Oval"))->trigger();
    QCOMPARE(editor.workArea()->mode(), ImageNoteWorkArea::FilledOvalTool);
    editor.slotSetDrawTool(nullptr);
    QCOMPARE(editor.workArea()->mode(), ImageNoteWorkArea::FilledOvalTool);
}

void TestImageNoteEditor::toolButtonsSetMode_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<ImageNoteWorkArea::Mode>("mode");
    QTest::newRow("eraser") << "ImageNoteEditorEraser" << ImageNoteWorkArea::EraserTool;
    QTest::newRow("highlighter") << "ImageNoteEditorHighlighter" << ImageNoteWorkArea::HighlighterTool;
    QTest::newRow("rectangle") << "ImageNoteEditorRectangle" << ImageNoteWorkArea::RectangleTool;
    QTest::newRow("filled rectangle") << "ImageNoteEditorFilledRectangle" << ImageNoteWorkArea::FilledRectangleTool;
    QTest::newRow("oval") << "ImageNoteEditorOval" << ImageNoteWorkArea::OvalTool;
    QTest::newRow("blur") << "ImageNoteEditorBlur" << ImageNoteWorkArea::BlurRectangleTool;
    QTest::newRow("filled oval") << "ImageNoteEditorFilledOval" << ImageNoteWorkArea::FilledOvalTool;
    QTest::newRow("line") << "ImageNoteEditorLine" << ImageNoteWorkArea::LineTool;
    QTest::newRow("arrow") << "ImageNoteEditorArrow" << ImageNoteWorkArea::ArrowTool;
    QTest::newRow("text") << "ImageNoteEditorText" << ImageNoteWorkArea::TextTool;
    QTest::newRow("pen again") << "ImageNoteEditorPen" << ImageNoteWorkArea::PenTool;
}

void TestImageNoteEditor::toolButtonsSetMode()
{
    QFETCH(QString, button);
    QFETCH(ImageNoteWorkArea::Mode, mode);
    ImageNoteEditor editor;
    editor.workArea()->slotSetMode(ImageNoteWorkArea::TextCanceled);
    buttonNamed(editor, button)->click();
    QCOMPARE(editor.workArea()->mode(), mode);
}

void TestImageNoteEditor::menusReachCanvas()
{
    ImageNoteEditor editor;
    QMenu* pMenu = buttonNamed(editor, "ImageNoteEditorThikness")->menu();
    for (int nWidth : {1, 2, 3, 4, 5, 10, 15}) {
        QMTest::actionWithText(pMenu, QStringLiteral("%1px").arg(nWidth))->trigger();
        QCOMPARE(editor.workArea()->thickness(), nWidth);
    }
    QVERIFY(QMTest::actionWithText(pMenu, QStringLiteral("15px"))->isChecked());
    QVERIFY(!QMTest::actionWithText(pMenu, QStringLiteral("1px"))->isChecked());
    QAction* pDash = QMTest::actionWithText(pMenu, QStringLiteral("Dash"));
    pDash->trigger();
    QVERIFY(editor.workArea()->isDashLine());
    pDash->trigger();
    QVERIFY(!editor.workArea()->isDashLine());
    editor.slotSetThikness(nullptr);
    QCOMPARE(editor.workArea()->thickness(), 15);
}

void TestImageNoteEditor::colourReachesCanvas()
{
    ImageNoteEditor editor;
    QCOMPARE(editor.workArea()->color(), QColor(Qt::yellow));
    auto* pPopup = editor.findChild<QMWidgets::ColorWidgetPopup*>();
    auto* pGrid = qobject_cast<QGridLayout*>(pPopup->layout());
    qobject_cast<QPushButton*>(pGrid->itemAtPosition(2, 6)->widget())->click();
    QCOMPARE(editor.workArea()->color(), QColor(0, 0, 255));
}

void TestImageNoteEditor::windowSize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("desktop");
    QTest::addColumn<QSize>("window");
    const QSize fullHd(1920, 1080);
    QTest::newRow("small picture") << QSize(400, 300) << fullHd << QSize(500, 390);
    QTest::newRow("too high: both sides at most") << QSize(1000, 700) << fullHd << QSize(1280, 720);
    QTest::newRow("too wide: both sides at most") << QSize(1200, 100) << fullHd << QSize(1280, 720);
    QTest::newRow("exactly fits") << QSize(1180, 630) << fullHd << QSize(1280, 720);
    QTest::newRow("odd desktop cut to whole pixels") << QSize(2000, 2000) << QSize(1366, 768) << QSize(910, 512);
}

void TestImageNoteEditor::windowSize()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, desktop);
    QFETCH(QSize, window);
    QCOMPARE(ImageNoteEditor::windowSizeFor(picture, desktop), window);
}

void TestImageNoteEditor::setPixmapSizesWindowOnThisScreen_data()
{
    // The offscreen platform's one screen is 800 x 600: at most 533 x 400.
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("window");
    QTest::newRow("fits") << QSize(300, 200) << QSize(400, 290);
    QTest::newRow("too large") << QSize(700, 300) << QSize(533, 400);
}

void TestImageNoteEditor::setPixmapSizesWindowOnThisScreen()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, window);
    QCOMPARE(QGuiApplication::primaryScreen()->geometry().size(), QSize(800, 600));
    ImageNoteEditor editor;
    const QPixmap shot = ::picture(picture.width(), picture.height());
    editor.slotSetPixmap(shot);
    QCOMPARE(editor.size(), window);
    QCOMPARE(editor.workArea()->size(), picture);
    QVERIFY(editor.workArea()->isModified());
    QCOMPARE(editor.workArea()->resultPixmap().toImage(), shot.toImage());
}

void TestImageNoteEditor::historyButtonsFollowCanvas()
{
    ImageNoteEditor editor;
    QPushButton* pUndo = buttonNamed(editor, "ImageNoteEditorUndo");
    QPushButton* pRedo = buttonNamed(editor, "ImageNoteEditorRedo");
    editor.slotSetPixmap(picture(200, 100));
    QVERIFY(!pUndo->isEnabled());
    QVERIFY(!pRedo->isEnabled());
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QMTest::dragFromTo(editor.workArea(), QPoint(10, 10), QPoint(150, 80));
    editor.workArea()->repaint();
    QVERIFY(pUndo->isEnabled());
    QVERIFY(!pRedo->isEnabled());
    pUndo->click();
    QVERIFY(!pUndo->isEnabled());
    QVERIFY(pRedo->isEnabled());
    pRedo->click();
    QVERIFY(pUndo->isEnabled());
    QVERIFY(!pRedo->isEnabled());
}

void TestImageNoteEditor::changesReachPreviewAndHost()
{
    ImageNoteEditor editor;
    editor.slotSetPixmap(picture(200, 100));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QSignalSpy changedSpy(&editor, SIGNAL(changed()));
    editor.workArea()->slotSetColor(Qt::white);
    editor.workArea()->slotSetMode(ImageNoteWorkArea::FilledRectangleTool);
    QMTest::dragFromTo(editor.workArea(), QPoint(0, 0), QPoint(199, 99));
    editor.workArea()->repaint();
    QVERIFY(changedSpy.count() >= 1);
    // The preview shows the result: the whole picture under the white fill.
    auto* pPreview = editor.findChild<QMWidgets::NoteEditDragPreview*>();
    const QColor shown = pPreview->grab().toImage().pixelColor(pPreview->width() / 2, pPreview->height() - 5);
    QVERIFY2(shown.red() > 150, qPrintable(shown.name()));
}

void TestImageNoteEditor::shownOnEveryShow()
{
    ImageNoteEditor editor;
    QSignalSpy spy(&editor, SIGNAL(shown()));
    editor.show();
    QCOMPARE(spy.count(), 1);
    editor.hide();
    editor.show();
    QCOMPARE(spy.count(), 2);
}

void TestImageNoteEditor::closeQuestion_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("saveDialogs");
    QTest::newRow("saved: no question") << false << "" << false << true << 0;
    QTest::newRow("yes saves and stays open") << true << "Yes" << true << false << 1;
    QTest::newRow("no drops the changes") << true << "No" << true << true << 0;
    QTest::newRow("cancel stays open") << true << "Cancel" << true << false << 0;
    QTest::newRow("escape stays open") << true << "escape" << true << false << 0;
}

void TestImageNoteEditor::closeQuestion()
{
    QFETCH(bool, modified);
    QFETCH(QString, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closes);
    QFETCH(int, saveDialogs);
    ImageNoteEditor editor;
    QVERIFY(showWithPicture(editor, modified));
    QString strText;
    QMTest::ModalAnswerer answerer(answerChangesQuestion(answer, &strText), asked ? 5000 : 300);
    QMTest::ScriptedFileDialogs dialogs;  // the save dialog is cancelled
    const bool bClosed = editor.close();
    QCOMPARE(answerer.answered(), asked);
    if (asked)
        QCOMPARE(strText, QStringLiteral("Do you want to save the current changes to the file?"));
    QCOMPARE(bClosed, closes);
    QCOMPARE(editor.isVisible(), !closes);
    QCOMPARE(dialogs.requests().size(), saveDialogs);
}

void TestImageNoteEditor::newScreenShotQuestion_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("requested");
    QTest::newRow("saved: no question") << false << "" << true;
    QTest::newRow("yes") << true << "Yes" << true;
    QTest::newRow("no keeps the picture") << true << "No" << false;
    QTest::newRow("escape goes on") << true << "escape" << true;
}

void TestImageNoteEditor::newScreenShotQuestion()
{
    QFETCH(bool, modified);
    QFETCH(QString, answer);
    QFETCH(bool, requested);
    ImageNoteEditor editor;
    QVERIFY(showWithPicture(editor, modified));
    QSignalSpy spy(&editor, SIGNAL(doNewScreenShot()));
    QString strText;
    QMTest::ModalAnswerer answerer(answerChangesQuestion(answer, &strText), modified ? 5000 : 300);
    buttonNamed(editor, "NewScreenShowButton")->click();
    QCOMPARE(answerer.answered(), modified);
    if (modified)
        QCOMPARE(strText, QStringLiteral("The changes of the curent image are not saved.\nAfter creation of the new "
                                         "screen shot these changes will be lost.\nContinue?"));
    QCOMPARE(spy.count(), requested ? 1 : 0);
    QCOMPARE(editor.isVisible(), !requested);
}

void TestImageNoteEditor::quit_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("fromAppMenu");
    QTest::addColumn<bool>("quits");
    QTest::newRow("saved: at once") << false << "" << false << true;
    QTest::newRow("unsaved, no") << true << "No" << false << false;
    QTest::newRow("unsaved, escape") << true << "escape" << false << false;
    QTest::newRow("unsaved, yes") << true << "Yes" << false << true;
    QTest::newRow("menu, unsaved, no") << true << "No" << true << false;
    QTest::newRow("menu, saved") << false << "" << true << true;
}

void TestImageNoteEditor::quit()
{
    QFETCH(bool, modified);
    QFETCH(QString, answer);
    QFETCH(bool, fromAppMenu);
    QFETCH(bool, quits);
    ImageNoteEditor editor;
    QVERIFY(showWithPicture(editor, modified));
    QString strText;
    QMTest::ModalAnswerer answerer(answerChangesQuestion(answer, &strText), modified ? 5000 : 300);
    auto* pAppButton = qobject_cast<QMWidgets::AppButton*>(buttonNamed(editor, "ImageNoteEditorApp"));
    QCOMPARE(quitsApplication([&] {
                 if (fromAppMenu)
                     QMTest::actionWithText(pAppButton->menu(), QStringLiteral("Quit"))->trigger();
                 else
                     buttonNamed(editor, "ImageNoteEditorQuit")->click();
             }),
             quits);
    QCOMPARE(answerer.answered(), modified);
    if (modified)
        QCOMPARE(strText, QStringLiteral("The changes of the curent image are not saved.\nQuit anyway?"));
    // The application runs its loops again afterwards (dialogs included).
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&loop] { loop.exit(5); });
    QCOMPARE(loop.exec(), 5);
}

QMTEST_APP_MAIN(TestImageNoteEditor)
#include "tst_imagenoteeditor.moc"
