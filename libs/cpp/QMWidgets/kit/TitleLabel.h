#pragma once

#include <QLabel>
#include <QPoint>
#include <QPointer>

namespace QMWidgets {

// The title bar of a frameless window: dragging it moves its parent window.
// It can carry one small floating widget (a ToolTip-type window) that
// follows it at an offset and is shown and hidden with it; the label owns
// that widget.
class TitleLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TitleLabel(QWidget* pParent = nullptr);
    ~TitleLabel() override;

    // Deletes the widget attached before.
    void setAttachedWidget(QWidget* pWidget, const QPoint& offset);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;

private:
    void placeAttachedWidget();

    QPoint m_pressPos;
    QPoint m_attachOffset;
    QPointer<QWidget> m_pAttachedWidget;
};

} // namespace QMWidgets
