#pragma once

#include <QColor>
#include <QWidget>

namespace QMWidgets {

class ColorWidgetPopup;

// A colour swatch with a gloss and a small drop-down arrow; a click opens the
// grid of fixed colours right below it, and a choice there becomes the
// swatch's colour and is announced by colorChanged.
class ColorWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ColorWidget(QWidget* pParent = nullptr);

    QColor color() const;
    // Shows the colour; emits nothing.
    void setColor(const QColor& color);
    void setPopupOpacity(float fOpacity);

signals:
    void colorChanged(const QColor& color);

public slots:
    void slotColorChanged(const QColor& color);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    ColorWidgetPopup* m_pPopup = nullptr;
    QColor m_color = Qt::green;
};

}  // namespace QMWidgets
