#pragma once

#include <QLabel>
#include <QPixmap>
#include <QRect>
#include <QSize>

namespace QMWidgets {

// A QLabel that paints a picture of its own over its text: scaled to the
// widget at the screen's device pixel ratio, either fitted and centred (fill
// mode 0) or covering the widget from the top-left corner (any other mode),
// drawn at an opacity that never touches the text. QLabel's own pixmap
// property stays unused; keep pointers typed as Label so that setPixmap
// reaches this class.
class Label : public QLabel
{
    Q_OBJECT

public:
    explicit Label(QWidget *parent = nullptr);

    void setPixmap(const QPixmap &pixmap);     // schedules a repaint
    void setFillMode(int mode);                 // 0 fit, other fill; no repaint
    void setOpacity(double opacity);            // stored as given; no repaint

    // Where the picture goes, so that painting is the only unpure step.
    // scaledPictureSize: the picture's size in device pixels after scaling to
    // the widget (logical size times ratio, truncated), keeping the aspect.
    // pictureRect: the logical rectangle the scaled picture is drawn into.
    static QSize scaledPictureSize(const QSize &widgetSize, double ratio,
                                   const QSize &pictureSize, int fillMode);
    static QRect pictureRect(const QSize &widgetSize, double ratio,
                             const QSize &scaledSize, int fillMode);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_pixPicture;
    int m_nFillMode = 0;
    double m_dOpacity = 1.0;
};

} // namespace QMWidgets
