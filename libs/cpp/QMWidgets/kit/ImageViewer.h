#pragma once

#include <QFrame>
#include <QImage>
#include <QString>

class QPushButton;
class QSlider;

namespace QMWidgets {

class ImageArea;

// An image area between an "Open with Preview" button and a zoom bar
// (slider from 1 to 100 percent, step buttons, actual pixels, fit to
// window). It starts fitted. The owner loads the pictures; the viewer
// forwards the area's wish for the next or previous one.
//
// Mind the step buttons' names: "ZoomInButton", left of the slider, lowers
// the zoom and "ZoomOutButton" raises it; style sheets rely on these names.
class ImageViewer : public QFrame
{
    Q_OBJECT

public:
    explicit ImageViewer(QWidget* pParent = nullptr);

    void setInfoText(const QString& strText);
    void setNavigationHidden(bool bHidden);

signals:
    void next();
    void previous();
    void systemPreviewOpened();
    void infoChanged();

public slots:
    // A file that does not load leaves the view empty.
    void slotLoad(const QString& strPath);
    void slotLoad(const QImage& image);

private slots:
    void slotActualPixels();
    void slotZoom(int nPercent);
    void slotFitScreen();
    void slotIncZoom();
    void slotDecZoom();
    // Saves the picture as "preview.png" in the work folder and opens it in
    // the desktop's image program; nothing is opened when the save fails.
    void slotSysPreview();
    void slotShowInfo();

private:
    ImageArea* m_pImageArea = nullptr;
    QSlider* m_pZoomSlider = nullptr;
    QPushButton* m_pFitButton = nullptr;
    QPushButton* m_pActualPixelsButton = nullptr;
};

} // namespace QMWidgets
