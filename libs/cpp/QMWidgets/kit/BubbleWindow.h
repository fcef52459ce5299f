#pragma once

#include <QColor>
#include <QFrame>
#include <QPointer>

class QAbstractAnimation;

namespace QMWidgets {

// A frameless, translucent tool window painted as a filled speech bubble
// whose 40-pixel arrow points up from the middle of its top edge or down
// from the middle of its bottom edge. The owner fills, places and shows it;
// a click on it hides it. The animations are the owner's (not owned); they
// start on every show and hide. Colour and direction apply at the next paint.
class BubbleWindow : public QFrame
{
    Q_OBJECT

public:
    BubbleWindow(QWidget* pParent, const QColor& color);

    void setColor(const QColor& color);
    void setPointingDown(bool bDown);
    void setShowAnimation(QAbstractAnimation* pAnimation);
    void setHideAnimation(QAbstractAnimation* pAnimation);
    // Any mouse press in the application hides the bubble from now on.
    void hideOnApplicationClick();

protected:
    bool event(QEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private slots:
    // For QApplication::focusChanged, should an owner connect it.
    void slotFocusChanged(QWidget* pOld, QWidget* pNow);

private:
    QPointer<QAbstractAnimation> m_pShowAnimation;
    QPointer<QAbstractAnimation> m_pHideAnimation;
    bool m_bPointingDown = false;
    QColor m_color;
};

} // namespace QMWidgets
