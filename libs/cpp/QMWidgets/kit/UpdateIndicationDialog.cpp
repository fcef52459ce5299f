#include "UpdateIndicationDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QTimer>

namespace QMWidgets {

namespace {
constexpr int kTimeoutMs = 10000;
constexpr int kMovieSpeedPercent = 300;
} // namespace

UpdateIndicationDialog::UpdateIndicationDialog(QWidget* pParent)
    : QDialog(pParent)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowOpacity(0.8);
    setMinimumHeight(70);

    m_pMovieLabel = new QLabel;
    m_pTextLabel = new QLabel;
    m_pMovie = new QMovie(QStringLiteral(":/pix/loading.gif"), QByteArray(), this);
    m_pMovie->setSpeed(kMovieSpeedPercent);
    m_pMovieLabel->setMovie(m_pMovie);
    m_pTimeoutTimer = new QTimer(this);
    m_pTimeoutTimer->setInterval(kTimeoutMs);
    connect(m_pTimeoutTimer, SIGNAL(timeout()), this, SLOT(slotTimeOut()));

    auto* pLayout = new QHBoxLayout;
    pLayout->setContentsMargins(2, 2, 2, 2);
    pLayout->setSpacing(3);
    pLayout->addWidget(m_pMovieLabel);
    pLayout->addWidget(m_pTextLabel);
    setLayout(pLayout);
}

UpdateIndicationDialog::~UpdateIndicationDialog()
{
    delete m_pTimeoutTimer;
    delete m_pMovieLabel;
}

void UpdateIndicationDialog::setText(const QString& strText)
{
    m_pTextLabel->setText(strText);
}

void UpdateIndicationDialog::slotTimeOut()
{
    accept();
}

void UpdateIndicationDialog::showEvent(QShowEvent* pEvent)
{
    m_pMovie->start();
    m_pMovieLabel->setFixedSize(m_pMovie->currentPixmap().size());
    QDialog::showEvent(pEvent);
    m_pTimeoutTimer->start();
}

void UpdateIndicationDialog::hideEvent(QHideEvent* pEvent)
{
    m_pMovie->stop();
    m_pTimeoutTimer->stop();
    QDialog::hideEvent(pEvent);
}

} // namespace QMWidgets
