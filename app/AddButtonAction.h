#pragma once

#include <QAction>
#include <QModelIndex>
#include <QPixmap>
#include <QPoint>
#include <QRect>

class QEvent;
class QPainter;

// The menu button painted at the right end of every list row. The delegate
// moves it to the row being painted or pressed; a press on it reports the row
// and the button's top-left corner.
class AddButtonAction : public QAction
{
    Q_OBJECT
public:
    explicit AddButtonAction(QObject* parent = nullptr);

    void setRect(const QRect& rect) { m_rect = rect; }
    QRect rect() const { return m_rect; }
    void draw(QPainter* painter);
    // True when the event was a press inside the button (and triggered it).
    bool handleEvent(QEvent* event, const QModelIndex& index);

signals:
    void triggered(const QModelIndex& index, const QPoint& pt);

private:
    QRect m_rect;
    QPixmap m_pixPicture;
};
