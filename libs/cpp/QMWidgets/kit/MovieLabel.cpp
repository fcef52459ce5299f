#include "MovieLabel.h"

#include <QMovie>
#include <QResizeEvent>
#include <QTimer>

namespace QMWidgets {

MovieLabel::MovieLabel(const QString& strFileName, QWidget* pParent)
    : QLabel(pParent)
{
    setObjectName(QStringLiteral("MovieLabel"));
    setAlignment(Qt::AlignCenter);
    m_pMovie = new QMovie(strFileName, QByteArray(), this);
    setMovie(m_pMovie);
}

void MovieLabel::setSpeed(int nPercent)
{
    m_pMovie->setSpeed(nPercent);
}

void MovieLabel::setStopDelay(int nMilliseconds)
{
    m_nStopDelay = nMilliseconds;
}

void MovieLabel::showEvent(QShowEvent* pEvent)
{
    m_pMovie->start();
    if (m_nStopDelay > 0)
        QTimer::singleShot(m_nStopDelay, m_pMovie, SLOT(stop()));
    QLabel::showEvent(pEvent);
}

void MovieLabel::hideEvent(QHideEvent* pEvent)
{
    m_pMovie->stop();
    QLabel::hideEvent(pEvent);
}

void MovieLabel::resizeEvent(QResizeEvent* pEvent)
{
    // A margin around the animation: a tenth of the size.
    m_pMovie->setScaledSize(QSize(qRound(pEvent->size().width() / 1.1), qRound(pEvent->size().height() / 1.1)));
    QLabel::resizeEvent(pEvent);
}

} // namespace QMWidgets
