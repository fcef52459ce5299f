#pragma once

#include "ScreenCropper.h"

namespace QMWidgets {

// A ruler on the desktop grab: shows the picture centred and labels the
// rectangle being dragged with its size in pixels. It stays up across any
// number of drags and closes on Escape.
class ScreenMeasurer : public ScreenCropper
{
    Q_OBJECT

public:
    explicit ScreenMeasurer(QWidget* pParent = nullptr);

    // The label of a selection between two corners: width "x" height in
    // pixels, both corners counted, whichever way it was dragged.
    static QString sizeText(const QPoint& corner1, const QPoint& corner2, double dScale = 1.0);
    // The point size of a "Times" bold label inside a selection of this
    // size: a quarter and a bit of its width, or two thirds of its height
    // where that is too tall, and smaller again where the label would be
    // wider than the selection; 0 when no label taller than 8 pixels fits,
    // and the label goes above the selection in 13-point type.
    static int insideLabelPointSize(const QSize& selection, const QString& strLabel);

signals:
    void done();
    void doQuit();

private slots:
    void slotClose() override;
    void grabScreen() override;

protected:
    void updateSaveLocation() override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void enterEvent(QEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

private:
    void paintSizeLabel(QPainter& painter);
};

}  // namespace QMWidgets
