#pragma once

#include "BalancedOverrideCursor.h"

#include <QFrame>
#include <QPixmap>
#include <QString>

class QAction;

namespace QMWidgets {

// Shows a grab of the desktop, lets the user drag a rectangle over it and cuts
// that part out of the grab (done(QPixmap)); slotSave writes the last cut as
// a time-stamped PNG into the desktop folder. Escape closes it without a cut.
// The owner decides whether it is a window and how it is shown.
class ScreenCropper : public QFrame
{
    Q_OBJECT

public:
    explicit ScreenCropper(QWidget* pParent = nullptr);

    void setHintText(const QString& strText);
    // 0 full screen, 1 maximised, any other value a normal window.
    void setShowMode(int nMode);
    QPixmap croppedPixmap() const;
    void updatePixmap();
    QString helpText() const;
    QString shortHelpText() const;

    // The folder slotSave writes into.
    QString saveFolder() const;

signals:
    void done();
    void done(QPixmap pixmap);
    // Only after the file was written completely.
    void saved();
    void closed();
    void escaped();

public slots:
    virtual void grabScreen();

private slots:
    virtual void slotClose();
    void slotSave();

protected:
    // Picks the save folder: the desktop folder where it can be read, the
    // home folder otherwise.
    virtual void updateSaveLocation();

    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;

    void showByMode();
    // The selection with its corners as dragged, unordered.
    QRect selection() const;
    // The part of the desktop picture under a rectangle of the widget: the
    // picture is stretched over the whole widget, whatever the show mode.
    QRect pictureArea(const QRect& widgetArea) const;
    void paintHintBox(QPainter& painter, int nPixelSize, double dHorizontalShare);

    QPixmap m_desktopPixmap;
    bool m_bSelecting = false;
    int m_nPressX = 0;
    int m_nPressY = 0;
    int m_nCurrentX = 0;
    int m_nCurrentY = 0;
    QString m_strSaveFolder;
    QString m_strLocationText;
    QString m_strHintText;
    QPixmap m_croppedPixmap;
    bool m_bOpenLocation = false;
    int m_nShowMode = 0;
    QPixmap m_shownPixmap;
    double m_dMeasureScale = 1.0;
    BalancedOverrideCursor m_overrideCursor;
};

}  // namespace QMWidgets
