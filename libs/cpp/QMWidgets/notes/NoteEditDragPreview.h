#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <functional>

class QDrag;

namespace QMWidgets {

// The thumbnail of the annotated picture in the note editor's tool column.
// Dragging it out writes the picture as a PNG file into the work folder and
// drags that file, as a file link, into whatever program takes the drop.
class NoteEditDragPreview : public QWidget
{
    Q_OBJECT

public:
    explicit NoteEditDragPreview(QWidget* pParent = nullptr);

    // Runs a drag that is ready to go (file written, link and picture set).
    // The default runs it as a copy; tests put a recorder in its place,
    // since a real drag waits for a drop. Returns the previous runner; an
    // empty one restores the default.
    using DragRunner = std::function<void(QDrag*)>;
    static DragRunner setDragRunner(DragRunner runner);

    // The file a drag writes before trying the numbered names after it.
    static QString dragFileBaseName();

public slots:
    void slotSetPixmap(const QPixmap& pixmap);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void startDrag();

    QPixmap m_pixmap;
    QPoint m_dragStart;
};

}  // namespace QMWidgets
