#pragma once

#include "BalancedOverrideCursor.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLine>
#include <QList>
#include <QPixmap>
#include <QVector>
#include <QWidget>

class QPainter;

namespace QMWidgets {

class NoteEditWidget;

// The canvas of the screenshot annotation editor. The picture itself is never
// drawn on: every tool draws into a transparent layer of the same size, shown
// on top of it, and the result is the two composed. Drawing happens in the
// paint routine; the mouse handlers record points and flags. Each gesture
// ends in one undo step, a copy of the layer as it was before.
class ImageNoteWorkArea : public QWidget
{
    Q_OBJECT

public:
    // The tools, and two passing states after a text note is closed. The
    // values are what the editor's menus carry as their data.
    enum Mode {
        PenTool = 0,
        EraserTool = 1,
        HighlighterTool = 2,
        RectangleTool = 3,
        FilledRectangleTool = 4,
        BlurRectangleTool = 5,
        OvalTool = 6,
        FilledOvalTool = 7,
        LineTool = 8,
        ArrowTool = 9,
        TextTool = 10,
        TextCanceled = 11,
        TextAccepted = 12
    };
    Q_ENUM(Mode)

    // The undo and redo history together hold at most this many bytes of
    // layers (one layer is width x height x 4 bytes): 32 steps of a
    // 1920 x 1080 picture, 8 of a 3840 x 2160 one. The oldest steps go first;
    // the step just taken always stays.
    static constexpr qint64 kHistoryBytes = qint64(256) * 1024 * 1024;

    explicit ImageNoteWorkArea(QWidget* pParent = nullptr);

    bool isModified() const;
    // The picture with the layer on top.
    QPixmap resultPixmap();

    Mode mode() const;
    QColor color() const;
    int thickness() const;
    bool isDashLine() const;

signals:
    void changed();
    void redoAvailable(bool bAvailable);
    void undoAvailable(bool bAvailable);

public slots:
    void slotSetPixmap(const QPixmap& pixmap);
    void slotSetMode(Mode mode);
    void slotSetColor(const QColor& color);
    void slotSetFont(const QFont& font);
    void slotSetThikness(int nThickness);
    void slotSetDashLine(bool bDash);
    void slotSave();
    void slotUndo();
    void slotRedo();
    void slotEditCanceled();
    void slotEditAccepted();
    void slotSwitchToEdit();

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void enterEvent(QEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void updateNoteStyle();
    bool isFreehand() const;
    void appendSegment();
    void takeUndoSnapshot();
    void trimHistory();
    void closeNote(Mode mode);

    QPen toolPen() const;
    QBrush fillBrush() const;
    QRect dragRect() const;
    const QImage& pictureImage();

    void paintFreehand(QPainter& layer, QPainter& window, bool bCommit);
    void paintShape(QPainter& layer, QPainter& window, bool bCommit);
    void drawShape(QPainter& painter);
    void paintText(QPainter& window, bool bPending);
    void paintAcceptedText(QPainter& layer, QPainter& window);
    void drawArrow(QPainter* pPainter);

    QPixmap m_picture;
    QPixmap m_layer;
    QPixmap m_result;
    int m_nPreviousX = 0;
    int m_nPreviousY = 0;
    int m_nCurrentX = 0;
    int m_nCurrentY = 0;
    int m_nPressX = 0;
    int m_nPressY = 0;
    Mode m_mode = PenTool;
    QColor m_color = Qt::yellow;
    QFont m_font;
    int m_nThickness = 1;
    bool m_bDashLine = false;
    bool m_bPressed = false;
    NoteEditWidget* m_pNoteEditor = nullptr;
    bool m_bPending = false;
    QVector<QPixmap> m_undoStack;
    QVector<QPixmap> m_redoStack;
    QList<QLine> m_segments;
    bool m_bModified = true;

    QImage m_pictureImage;  // the picture as the blur reads it, made once per picture
    BalancedOverrideCursor m_cursor;
};

}  // namespace QMWidgets
