#pragma once

#include <QFrame>
#include <QPoint>

class QHBoxLayout;
class QLayout;
class QPushButton;

namespace QMWidgets {

// A title bar for a frameless viewer window: a row of tools and a close
// button. It never moves a window itself: while dragged it emits where the
// window's corner should go, and the owner moves its window there. Its zoom,
// 100% and always-optimise buttons and its actions menu are left for the
// owner to wire; the bar gives them no effect.
class WindowTitle : public QFrame
{
    Q_OBJECT

public:
    explicit WindowTitle(QWidget* pParent = nullptr);

    bool isMenuVisible() const;
    // The layout becomes the content of the tools widget, in a row of its own.
    void setToolsLayout(QLayout* pLayout);

signals:
    void changePosition(const QPoint& point);
    void closeWindow();

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;

private slots:
    void slotMenuAboutToShow();
    void slotMenuAboutToHide();

private:
    QPushButton* m_pAlwaysOptimizeButton = nullptr;
    QPushButton* m_p100PercentButton = nullptr;
    QPushButton* m_pCloseButton = nullptr;
    QPushButton* m_pActionsButton = nullptr;
    QHBoxLayout* m_pBarLayout = nullptr;
    QPoint m_dragOffset;
    QWidget* m_pToolsWidget = nullptr;
    QFrame* m_pBar = nullptr;
    bool m_bMenuVisible = false;
};

} // namespace QMWidgets
