#pragma once

#include <QFrame>
#include <QPixmap>
#include <QSize>

class QAction;
class QButtonGroup;
class QPushButton;
class QScrollArea;

namespace QMWidgets {

class ColorWidget;
class ImageNoteWorkArea;
class NoteEditDragPreview;

// The window of the screenshot annotation editor: the canvas in a scroll
// area, a column of tool buttons with the drag-out preview above them and a
// new-screenshot button below, and a top row with colour, thickness, undo,
// redo, save, the application menu and quit. The host hands it screenshots
// through slotSetPixmap and answers doNewScreenShot() with the next one.
// Unsaved changes are guarded on close, on a new screenshot and on quit.
class ImageNoteEditor : public QFrame
{
    Q_OBJECT

public:
    explicit ImageNoteEditor(QWidget* pParent = nullptr);

    ImageNoteWorkArea* workArea() const;

    // The window size for a picture on a desktop: the picture with 100 pixels
    // more width and 90 more height, or, when either exceeds two thirds of
    // the desktop's side, two thirds of the desktop in both.
    static QSize windowSizeFor(const QSize& picture, const QSize& desktop);

signals:
    void changed();
    void shown();
    void doNewScreenShot();

public slots:
    void slotSetPixmap(const QPixmap& pixmap);
    void slotAbout();
    void slotSetThikness(QAction* pAction);
    void slotSetDashLine(bool bDash);
    void slotSetDrawTool(QAction* pAction);
    void slotSetFont();
    void slotSetPenTool();
    void slotSetEraserTool();
    void slotSetHighlighterTool();
    void slotSetRectangleTool();
    void slotSetFilledRectangleTool();
    void slotSetBlurRectangleTool();
    void slotSetOvalTool();
    void slotSetFilledOvalTool();
    void slotSetLineTool();
    void slotSetArrowTool();
    void slotSetTextTool();
    void slotChanged();
    void slotNewScreenShot();
    void slotQuitClicked();

protected:
    void showEvent(QShowEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void createTopButtons();
    void createDrawToolMenu();
    void createThicknessMenu();
    void createToolColumn();
    void layOut();
    void setMode(int nMode);

    ImageNoteWorkArea* m_pWorkArea = nullptr;
    QScrollArea* m_pScrollArea = nullptr;
    QFrame* m_pToolColumn = nullptr;
    NoteEditDragPreview* m_pDragPreview = nullptr;

    // Owned through the layouts; kept to build them.
    QPushButton* m_pNewScreenShotButton = nullptr;
    QPushButton* m_pDrawToolButton = nullptr;
    QPushButton* m_pThicknessButton = nullptr;
    QPushButton* m_pUndoButton = nullptr;
    QPushButton* m_pRedoButton = nullptr;
    QPushButton* m_pSaveButton = nullptr;
    QPushButton* m_pMoreAppsButton = nullptr;
    QPushButton* m_pAppButton = nullptr;
    QPushButton* m_pQuitButton = nullptr;
    ColorWidget* m_pColorWidget = nullptr;
    QButtonGroup* m_pToolGroup = nullptr;
};

}  // namespace QMWidgets
