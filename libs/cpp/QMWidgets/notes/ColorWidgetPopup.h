#pragma once

#include <QColor>
#include <QWidget>

class QPushButton;

namespace QMWidgets {

// The drop-down grid of the colour swatch: 6 rows of 8 fixed colours. A click
// on one emits colorChanged and closes the grid; so does leaving it with the
// mouse, without a choice.
class ColorWidgetPopup : public QWidget
{
    Q_OBJECT

public:
    ColorWidgetPopup(QWidget* pParent, Qt::WindowFlags flags);

    // A 20 x 20 flat button showing the colour, wired to slotColorChanged().
    // The colour travels as the button's "color" property, so the choice is
    // exact whatever depth the display renders the icon at.
    QPushButton* createColorButton(const QColor& color);
    bool isMouseOver() const;

signals:
    void colorChanged(const QColor& color);

public slots:
    void slotColorChanged();

protected:
    void enterEvent(QEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    bool m_bMouseOver = false;
};

}  // namespace QMWidgets
