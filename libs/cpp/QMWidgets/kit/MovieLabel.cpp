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
    // One timer, restarted by every show and stopped by every hide: the
    // delay of an earlier show must not cut a later one short.
    m_pStopTimer = new QTimer(this);
    m_pStopTimer->setSingleShot(true);
    connect(m_pStopTimer, SIGNAL(timeout()), m_pMovie, SLOT(stop()));
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
        m_pStopTimer->start(m_nStopDelay);
    QLabel::showEvent(pEvent);
}

void MovieLabel::hideEvent(QHideEvent* pEvent)
{
    m_pMovie->stop();
    m_pStopTimer->stop();
    QLabel::hideEvent(pEvent);
}

void MovieLabel::resizeEvent(QResizeEvent* pEvent)
{
    // A margin around the animation: a tenth of the size.
    m_pMovie->setScaledSize(QSize(qRound(pEvent->size().width() / 1.1), qRound(pEvent->size().height() / 1.1)));
    QLabel::resizeEvent(pEvent);
}

} // namespace QMWidgets
