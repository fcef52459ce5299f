#include "ImageNoteEditor.h"

#include "AppButton.h"
#include "ColorWidget.h"
#include "ImageNoteWorkArea.h"
#include "MMessageBox.h"
#include "MoreAppsButton.h"
#include "NoteEditDragPreview.h"
#include "NoteResources.h"
#include "Os.h"
#include "WidgetFunctions.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace QMWidgets {

namespace {

constexpr int kExtraWidth = 100;   // room for the tool column
constexpr int kExtraHeight = 90;   // room for the top row
constexpr double kDesktopShare = 1.5;
constexpr int kToolButtonSide = 32;
constexpr int kNewScreenShotSide = 64;
constexpr int kSwatchSide = 22;

struct ToolButton {
    const char* szName;
    const char* szToolTip;
    const char* szSlot;
};

// In the order of the tool column (oval before blur, unlike the modes).
const ToolButton kToolButtons[] = {
    {"ImageNoteEditorPen", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Pen"), SLOT(slotSetPenTool())},
    {"ImageNoteEditorEraser", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Eraser"), SLOT(slotSetEraserTool())},
    {"ImageNoteEditorHighlighter", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Highlighter"),
     SLOT(slotSetHighlighterTool())},
    {"ImageNoteEditorRectangle", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Rectangle"),
     SLOT(slotSetRectangleTool())},
    {"ImageNoteEditorFilledRectangle", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Filled Rectangle"),
     SLOT(slotSetFilledRectangleTool())},
    {"ImageNoteEditorOval", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Oval"), SLOT(slotSetOvalTool())},
    {"ImageNoteEditorBlur", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Blur"),
     SLOT(slotSetBlurRectangleTool())},
    {"ImageNoteEditorFilledOval", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Filled Oval"),
     SLOT(slotSetFilledOvalTool())},
    {"ImageNoteEditorLine", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Line"), SLOT(slotSetLineTool())},
    {"ImageNoteEditorArrow", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Arrow"), SLOT(slotSetArrowTool())},
    {"ImageNoteEditorText", QT_TRANSLATE_NOOP("QMWidgets::ImageNoteEditor", "Text"), SLOT(slotSetTextTool())},
};

// The hidden tool menu's entries, with the mode each sets.
const QPair<const char*, int> kDrawTools[] = {
    {"Pen", ImageNoteWorkArea::PenTool},
    {"Eraser", ImageNoteWorkArea::EraserTool},
    {"Highlighter", ImageNoteWorkArea::HighlighterTool},
    {"Line", ImageNoteWorkArea::LineTool},
    {"Rectangle", ImageNoteWorkArea::RectangleTool},
    {"Filled Rectangle", ImageNoteWorkArea::FilledRectangleTool},
    {"Blur", ImageNoteWorkArea::BlurRectangleTool},
    {"Oval", ImageNoteWorkArea::OvalTool},
    {"Filled Oval", ImageNoteWorkArea::FilledOvalTool},
    {"Text", ImageNoteWorkArea::TextTool},
    {"Arrow", ImageNoteWorkArea::ArrowTool},
};

const int kThicknesses[] = {1, 2, 3, 4, 5, 10, 15};

QHBoxLayout* newRow(int nMargin, int nSpacing)
{
    auto* pLayout = new QHBoxLayout;
    pLayout->setMargin(nMargin);
    pLayout->setSpacing(nSpacing);
    return pLayout;
}

}  // namespace

ImageNoteEditor::ImageNoteEditor(QWidget* pParent)
    : QFrame(pParent)
{
    initNoteResources();
    m_pWorkArea = new ImageNoteWorkArea;
    m_pScrollArea = new QScrollArea;
    m_pDragPreview = new NoteEditDragPreview;

    m_pNewScreenShotButton = new QPushButton(QStringLiteral("New\nScreen\nShot"));
    m_pNewScreenShotButton->setObjectName(QStringLiteral("NewScreenShowButton"));
    m_pNewScreenShotButton->setFixedSize(kNewScreenShotSide, kNewScreenShotSide);
    connect(m_pNewScreenShotButton, SIGNAL(clicked()), this, SLOT(slotNewScreenShot()));

    m_pScrollArea->setWidget(m_pWorkArea);
    m_pDragPreview->setToolTip(tr("Drag&Drop this into Skype, Mail, GoogleDrive-Folder etc."));
    connect(m_pWorkArea, SIGNAL(changed()), this, SLOT(slotChanged()));
    connect(m_pWorkArea, SIGNAL(changed()), this, SIGNAL(changed()));

    createTopButtons();

    m_pColorWidget = new ColorWidget;
    m_pColorWidget->setFixedSize(kSwatchSide, kSwatchSide);
    m_pColorWidget->setColor(Qt::yellow);
    connect(m_pColorWidget, SIGNAL(colorChanged(const QColor&)), m_pWorkArea, SLOT(slotSetColor(const QColor&)));

    createDrawToolMenu();
    createThicknessMenu();
    createToolColumn();
    layOut();
}

ImageNoteWorkArea* ImageNoteEditor::workArea() const
{
    return m_pWorkArea;
}

void ImageNoteEditor::createTopButtons()
{
    // Tool button of the hidden tool menu; it is never laid out.
    m_pDrawToolButton = new QPushButton(QStringLiteral("DRA"), this);
    m_pDrawToolButton->hide();
    m_pThicknessButton = new QPushButton;
    m_pUndoButton = new QPushButton;
    m_pRedoButton = new QPushButton;
    m_pSaveButton = new QPushButton;
    m_pQuitButton = new QPushButton;
    auto* pAppButton = new AppButton;
    m_pAppButton = pAppButton;
    m_pMoreAppsButton = new MoreAppsButton;
    m_pMoreAppsButton->hide();
    pAppButton->hideSupportPage();
    pAppButton->hideIntro();

    setObjectNameAndToolTip(m_pThicknessButton, QStringLiteral("ImageNoteEditorThikness"), QString());
    setObjectNameAndToolTip(m_pUndoButton, QStringLiteral("ImageNoteEditorUndo"), tr("Undo"));
    setObjectNameAndToolTip(m_pRedoButton, QStringLiteral("ImageNoteEditorRedo"), tr("Redo"));
    setObjectNameAndToolTip(m_pSaveButton, QStringLiteral("ImageNoteEditorSave"), tr("Save"));
    setObjectNameAndToolTip(m_pMoreAppsButton, QStringLiteral("ImageNoteEditorMoreApps"), tr("MoreApps"));
    setObjectNameAndToolTip(m_pAppButton, QStringLiteral("ImageNoteEditorApp"), tr("App"));
    setObjectNameAndToolTip(m_pQuitButton, QStringLiteral("ImageNoteEditorQuit"), tr("Quit"));
    for (QPushButton* pButton : {m_pDrawToolButton, m_pThicknessButton, m_pUndoButton, m_pRedoButton,
                                 m_pSaveButton, m_pMoreAppsButton, m_pAppButton, m_pQuitButton})
        pButton->setFlat(true);

    connect(m_pQuitButton, SIGNAL(clicked()), this, SLOT(slotQuitClicked()));
    connect(pAppButton, SIGNAL(quitPressed()), this, SLOT(slotQuitClicked()));
    connect(m_pSaveButton, SIGNAL(clicked()), m_pWorkArea, SLOT(slotSave()));
    connect(m_pUndoButton, SIGNAL(clicked()), m_pWorkArea, SLOT(slotUndo()));
    connect(m_pRedoButton, SIGNAL(clicked()), m_pWorkArea, SLOT(slotRedo()));
    connect(m_pWorkArea, SIGNAL(undoAvailable(bool)), m_pUndoButton, SLOT(setEnabled(bool)));
    connect(m_pWorkArea, SIGNAL(redoAvailable(bool)), m_pRedoButton, SLOT(setEnabled(bool)));
}

void ImageNoteEditor::createDrawToolMenu()
{
    auto* pMenu = new QMenu(m_pDrawToolButton);
    auto* pGroup = new QActionGroup(this);
    pGroup->setExclusive(true);
    for (const auto& tool : kDrawTools) {
        QAction* pAction = pMenu->addAction(QString::fromLatin1(tool.first));
        pAction->setCheckable(true);
        pAction->setData(tool.second);
        pGroup->addAction(pAction);
        if (tool.second == ImageNoteWorkArea::PenTool)
            pAction->setChecked(true);
    }
    connect(pGroup, SIGNAL(triggered(QAction*)), this, SLOT(slotSetDrawTool(QAction*)));
    m_pDrawToolButton->setMenu(pMenu);
}

void ImageNoteEditor::createThicknessMenu()
{
    auto* pMenu = new QMenu(m_pThicknessButton);
    auto* pGroup = new QActionGroup(this);
    pGroup->setExclusive(true);
    for (int nWidth : kThicknesses) {
        const QString strText = QStringLiteral("%1px").arg(nWidth);
        QAction* pAction = pMenu->addAction(QIcon(QStringLiteral(":/%1.png").arg(strText)), strText);
        pAction->setCheckable(true);
        pAction->setData(nWidth);
        pGroup->addAction(pAction);
        if (nWidth == 1)
            pAction->setChecked(true);
    }
    connect(pGroup, SIGNAL(triggered(QAction*)), this, SLOT(slotSetThikness(QAction*)));
    pMenu->addSeparator();
    QAction* pDash = pMenu->addAction(QIcon(QStringLiteral(":/dash.png")), QStringLiteral("Dash"));
    pDash->setCheckable(true);
    connect(pDash, SIGNAL(triggered(bool)), this, SLOT(slotSetDashLine(bool)));
    m_pThicknessButton->setMenu(pMenu);
}

void ImageNoteEditor::createToolColumn()
{
    m_pToolColumn = new QFrame;
    m_pToolGroup = new QButtonGroup(this);
    m_pToolGroup->setExclusive(true);
    auto* pLayout = new QVBoxLayout;
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pDragPreview);
    pLayout->addStretch(1);
    for (const ToolButton& tool : kToolButtons) {
        auto* pButton = new QPushButton;
        pButton->setCheckable(true);
        pButton->setFixedSize(kToolButtonSide, kToolButtonSide);
        pButton->setFlat(true);
        const QString strName = QString::fromLatin1(tool.szName);
        setObjectNameAndToolTip(pButton, strName, tr(tool.szToolTip));
        if (strName == QLatin1String("ImageNoteEditorPen"))
            pButton->setChecked(true);
        else if (strName == QLatin1String("ImageNoteEditorFilledOval"))
            pButton->hide();
        m_pToolGroup->addButton(pButton);
        connect(pButton, SIGNAL(clicked()), this, tool.szSlot);
        pLayout->addWidget(pButton);
    }
    pLayout->addStretch(1);
    pLayout->addWidget(m_pNewScreenShotButton);
    m_pToolColumn->setLayout(pLayout);
}

void ImageNoteEditor::layOut()
{
    auto* pDecor = new QWidget;
    pDecor->setObjectName(QStringLiteral("ImageNoteEditorColorDecor"));
    QHBoxLayout* pDecorLayout = newRow(5, -1);
    pDecorLayout->addWidget(m_pColorWidget);
    pDecor->setLayout(pDecorLayout);

    QHBoxLayout* pColorGroup = newRow(0, 0);
    pColorGroup->addWidget(pDecor);
    pColorGroup->addWidget(m_pThicknessButton);
    QHBoxLayout* pHistoryGroup = newRow(0, 0);
    pHistoryGroup->addWidget(m_pUndoButton);
    pHistoryGroup->addWidget(m_pRedoButton);
    QHBoxLayout* pFileGroup = newRow(0, 0);
    pFileGroup->addWidget(m_pSaveButton);
    pFileGroup->addWidget(m_pMoreAppsButton);
    pFileGroup->addWidget(m_pAppButton);
    pFileGroup->addWidget(m_pQuitButton);

    QHBoxLayout* pTopRow = newRow(12, 5);
    pTopRow->addLayout(pColorGroup);
    pTopRow->addStretch(1);
    pTopRow->addLayout(pHistoryGroup);
    pTopRow->addStretch(1);
    pTopRow->addLayout(pFileGroup);

    auto* pRightColumn = new QVBoxLayout;
    pRightColumn->addLayout(pTopRow);
    pRightColumn->addWidget(m_pScrollArea);

    QHBoxLayout* pLayout = newRow(0, 0);
    pLayout->addWidget(m_pToolColumn);
    pLayout->addLayout(pRightColumn);
    setLayout(pLayout);
}

QSize ImageNoteEditor::windowSizeFor(const QSize& picture, const QSize& desktop)
{
    const QSize largest(int(desktop.width() / kDesktopShare), int(desktop.height() / kDesktopShare));
    const QSize wanted = picture + QSize(kExtraWidth, kExtraHeight);
    if (wanted.width() > largest.width() || wanted.height() > largest.height())
        return largest;
    return wanted;
}

void ImageNoteEditor::slotSetPixmap(const QPixmap& pixmap)
{
    const double ratio = Os::devicePixelRatio();
    const QSize size(qRound(pixmap.width() / ratio), qRound(pixmap.height() / ratio));
    const QPixmap scaled = pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QSize desktop;
    if (QScreen* pScreen = QGuiApplication::primaryScreen())
        desktop = pScreen->geometry().size();
    resize(windowSizeFor(scaled.size(), desktop));
    m_pWorkArea->slotSetPixmap(scaled);
    m_pDragPreview->slotSetPixmap(scaled);
}

void ImageNoteEditor::slotAbout()
{
    QMessageBox::about(this, QStringLiteral("About"), QStringLiteral("Note Editor"));
}

void ImageNoteEditor::slotSetThikness(QAction* pAction)
{
    if (pAction)
        m_pWorkArea->slotSetThikness(pAction->data().toInt());
}

void ImageNoteEditor::slotSetDashLine(bool bDash)
{
    m_pWorkArea->slotSetDashLine(bDash);
}

void ImageNoteEditor::slotSetDrawTool(QAction* pAction)
{
    if (pAction)
        setMode(pAction->data().toInt());
}

void ImageNoteEditor::slotSetFont()
{
    bool bOk = false;
    const QFont font = QFontDialog::getFont(&bOk);
    if (bOk)
        m_pWorkArea->slotSetFont(font);
}

void ImageNoteEditor::setMode(int nMode)
{
    m_pWorkArea->slotSetMode(static_cast<ImageNoteWorkArea::Mode>(nMode));
}

void ImageNoteEditor::slotSetPenTool() { setMode(ImageNoteWorkArea::PenTool); }
void ImageNoteEditor::slotSetEraserTool() { setMode(ImageNoteWorkArea::EraserTool); }
void ImageNoteEditor::slotSetHighlighterTool() { setMode(ImageNoteWorkArea::HighlighterTool); }
void ImageNoteEditor::slotSetRectangleTool() { setMode(ImageNoteWorkArea::RectangleTool); }
void ImageNoteEditor::slotSetFilledRectangleTool() { setMode(ImageNoteWorkArea::FilledRectangleTool); }
void ImageNoteEditor::slotSetBlurRectangleTool() { setMode(ImageNoteWorkArea::BlurRectangleTool); }
void ImageNoteEditor::slotSetOvalTool() { setMode(ImageNoteWorkArea::OvalTool); }
void ImageNoteEditor::slotSetFilledOvalTool() { setMode(ImageNoteWorkArea::FilledOvalTool); }
void ImageNoteEditor::slotSetLineTool() { setMode(ImageNoteWorkArea::LineTool); }
void ImageNoteEditor::slotSetArrowTool() { setMode(ImageNoteWorkArea::ArrowTool); }
void ImageNoteEditor::slotSetTextTool() { setMode(ImageNoteWorkArea::TextTool); }

void ImageNoteEditor::slotChanged()
{
    // The canvas announces changes from inside its own paint, where an
    // immediate repaint of the window is refused: the preview is repainted
    // right after.
    m_pDragPreview->slotSetPixmap(m_pWorkArea->resultPixmap());
    m_pDragPreview->update();
}

void ImageNoteEditor::slotNewScreenShot()
{
    if (m_pWorkArea->isModified()) {
        MMessageBox box(1, QString(),
                        tr("The changes of the curent image are not saved.\nAfter creation of the new screen shot "
                           "these changes will be lost.\nContinue?"),
                        QMessageBox::Yes | QMessageBox::No, this);
        // Only No keeps the picture; closing the question goes on.
        if (box.exec() == QMessageBox::No)
            return;
    }
    hide();
    emit doNewScreenShot();
}

void ImageNoteEditor::slotQuitClicked()
{
    if (m_pWorkArea->isModified()) {
        MMessageBox box(1, QString(), tr("The changes of the curent image are not saved.\nQuit anyway?"),
                        QMessageBox::Yes | QMessageBox::No, this);
        if (box.exec() != QMessageBox::Yes)
            return;
    }
    QCoreApplication::quit();
}

void ImageNoteEditor::showEvent(QShowEvent* pEvent)
{
    QFrame::showEvent(pEvent);
    emit shown();
}

void ImageNoteEditor::closeEvent(QCloseEvent* pEvent)
{
    if (!m_pWorkArea->isModified())
        return;
    MMessageBox box(1, QString(), tr("Do you want to save the current changes to the file?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    const int nAnswer = box.exec();
    if (nAnswer == QMessageBox::No) {
        pEvent->accept();
        return;
    }
    if (nAnswer == QMessageBox::Yes)
        m_pWorkArea->slotSave();
    // Saved or kept: the window stays open either way.
    pEvent->ignore();
    show();
}

}  // namespace QMWidgets
