#include "WaitLabel.h"

#include <QMovie>
#include <QVBoxLayout>

namespace QMWidgets {

WaitLabel::WaitLabel(const QString& strText, QWidget* pParent)
    : QLabel(pParent)
{
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowOpacity(0.5);
    setText(strText);
    setFixedSize(width(), 300);

    auto* pMovieLabel = new QLabel;
    auto* pMovie = new QMovie(QStringLiteral(":/pix/loading.gif"), QByteArray(), pMovieLabel);
    pMovieLabel->setMovie(pMovie);
    pMovie->start();
    pMovieLabel->setFixedSize(pMovie->currentPixmap().size() + QSize(5, 5));

    auto* pLayout = new QVBoxLayout;
    pLayout->setContentsMargins(20, 20, 20, 20);
    pLayout->setSpacing(10);
    pLayout->addWidget(pMovieLabel);
    setLayout(pLayout);
}

} // namespace QMWidgets
