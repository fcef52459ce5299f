#pragma once

#include <QLabel>

class QMovie;
class QTimer;

namespace QMWidgets {

// A label that plays an animation while it is shown, scaled to a little
// less than its size (width and height each divided by 1.1). With a
// positive stop delay the animation stops that long after each show.
class MovieLabel : public QLabel
{
    Q_OBJECT

public:
    explicit MovieLabel(const QString& strFileName, QWidget* pParent = nullptr);

    void setSpeed(int nPercent);
    // Milliseconds; zero or less: never stop.
    void setStopDelay(int nMilliseconds);

protected:
    void showEvent(QShowEvent* pEvent) override;
    void hideEvent(QHideEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    QMovie* m_pMovie = nullptr;
    int m_nStopDelay = -1;
    QTimer* m_pStopTimer = nullptr;
};

} // namespace QMWidgets
