#pragma once

#include <QFrame>
#include <QPixmap>

class QLabel;
class QMovie;
class QPushButton;
class QScrollArea;

namespace QMWidgets {

// A preview surface for one picture, either fitted to the area (fit mode)
// or shown at a percentage of its own pixels (zoom mode), with previous and
// next buttons and a zoom text that float over it while the pointer is
// inside. The owner loads pictures: a next or previous click only starts the
// loading animation and announces the wish; setPixmap ends the animation.
class ImageArea : public QFrame
{
    Q_OBJECT

public:
    explicit ImageArea(QWidget* pParent = nullptr);

    void setPixmap(const QPixmap& pixmap);
    QPixmap pixmap() const;
    // A non-empty text is shown at once; an empty one hides the overlay.
    void setInfoText(const QString& strText);
    // true hides the navigation at once and keeps it hidden on hover.
    void setNavigationHidden(bool bHidden);

    // Shows the picture at nPercent of its size, scrolling where it does not fit.
    void zoom(int nPercent);
    void fitToWindow();
    // Applies the current mode again (fit, or the stored percentage).
    void refresh();

signals:
    void next();
    void previous();
    void infoChanged();

public slots:
    void slotZoom(int nPercent);
    void slotFitScreen();
    void slotHideInfo();
    void slotShowInfo();
    void slotNextClicked();
    void slotPreviousClicked();

protected:
    void enterEvent(QEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void startLoading();

    QScrollArea* m_pScrollArea = nullptr;
    QLabel* m_pPreviewLabel = nullptr;
    int m_nZoom = 100;
    QPixmap m_pixmap;
    bool m_bFitToWindow = true;
    QPushButton* m_pNextButton = nullptr;
    QPushButton* m_pPreviousButton = nullptr;
    QLabel* m_pInfoLabel = nullptr;
    QLabel* m_pLoadingLabel = nullptr;
    QMovie* m_pLoadingMovie = nullptr;
    bool m_bNavigationHidden = false;
};

} // namespace QMWidgets
