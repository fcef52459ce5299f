#include "TopWidget.h"

#include "App.h"
#include "IconLabel.h"
#include "TitleLabel.h"
#include "WidgetFunctions.h"

#include <QAction>
#include <QBitmap>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMovie>
#include <QPointer>
#include <QPushButton>

namespace QMWidgets {

namespace {
constexpr int kTitleHeight = 28;
constexpr int kButtonSide = 24;

QPushButton* newTitleButton(const QString& strObjectName, const QString& strToolTip)
{
    auto* pButton = new QPushButton;
    pButton->setFixedSize(kButtonSide, kButtonSide);
    pButton->setFlat(true);
    setObjectNameAndToolTip(pButton, strObjectName, strToolTip);
    return pButton;
}

// A parentless floating label shaped like its picture.
QLabel* newShapedLabel()
{
    auto* pLabel = new QLabel;
    pLabel->setAutoFillBackground(false);
    return pLabel;
}
} // namespace

TopWidget::TopWidget(bool bOverlay, QWidget* pParent)
    : QFrame(pParent, Qt::Window | Qt::FramelessWindowHint)
{
    m_pTitleLabel = new TitleLabel;
    m_pTitleLabel->setObjectName(QStringLiteral("TopWidgetTitle"));
    m_pTitleLabel->setToolTip(tr("Title"));
    m_pTitleLabel->setAlignment(Qt::AlignCenter);
    m_pTitleLabel->setFixedHeight(kTitleHeight);
    m_pTitleLabel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    m_pCloseButton = newTitleButton(QStringLiteral("TopWidgetClose"), tr("Close"));
    m_pMaximizeButton = newTitleButton(QStringLiteral("TopWidgetMaximize"), tr("Maximize"));
    m_pMinimizeButton = newTitleButton(QStringLiteral("TopWidgetMinimize"), tr("Minimize"));
    connect(m_pCloseButton, SIGNAL(clicked()), this, SLOT(reject()));
    connect(m_pMaximizeButton, SIGNAL(clicked()), this, SLOT(showMaximized()));
    connect(m_pMinimizeButton, SIGNAL(clicked()), this, SLOT(showMinimized()));

    m_pIconLabel = new IconLabel;
    m_pIconLabel->setFixedSize(kButtonSide, kButtonSide);
    m_pIconLabel->hide();

    auto* pTitleRow = new QHBoxLayout;
    pTitleRow->setContentsMargins(1, 1, 1, 1);
    pTitleRow->setSpacing(1);
    // Store builds follow their platform's habit: buttons at the left.
    if (App::isStoreBuild()) {
        pTitleRow->addWidget(m_pCloseButton);
        pTitleRow->addWidget(m_pMaximizeButton);
        pTitleRow->addWidget(m_pMinimizeButton);
        pTitleRow->addStretch(1);
        pTitleRow->addWidget(m_pIconLabel);
        pTitleRow->addStretch(1);
    } else {
        pTitleRow->addWidget(m_pIconLabel);
        pTitleRow->addStretch(1);
        pTitleRow->addWidget(m_pMinimizeButton);
        pTitleRow->addWidget(m_pMaximizeButton);
        pTitleRow->addWidget(m_pCloseButton);
    }
    m_pTitleLabel->setLayout(pTitleRow);

    m_pContentLayout = new QVBoxLayout;
    if (bOverlay) {
        auto* pOver = new QWidget;
        pOver->setObjectName(QStringLiteral("TopOverWidget"));
        m_pContentLayout->setContentsMargins(0, 0, 0, 0);
        m_pContentLayout->setSpacing(0);
        pOver->setLayout(m_pContentLayout);
        auto* pLayout = new QVBoxLayout;
        pLayout->setContentsMargins(0, 0, 0, 0);
        pLayout->setSpacing(0);
        pLayout->addWidget(m_pTitleLabel);
        pLayout->addWidget(pOver);
        setLayout(pLayout);
    } else {
        m_pContentLayout->setContentsMargins(1, 1, 1, 1);
        m_pContentLayout->setSpacing(1);
        m_pContentLayout->addWidget(m_pTitleLabel);
        setLayout(m_pContentLayout);
    }
}

TopWidget::~TopWidget()
{
    // A running exec returns (with 0) instead of waiting for a window that is gone.
    if (m_pEventLoop)
        m_pEventLoop->exit(0);
}

int TopWidget::exec()
{
    // Modal for this run only: a later show outside exec must not block
    // the application's other windows.
    const bool bWasModal = testAttribute(Qt::WA_ShowModal);
    setAttribute(Qt::WA_ShowModal);
    show();
    if (!m_pEscapeAction) {
        m_pEscapeAction = new QAction(this);
        m_pEscapeAction->setShortcut(QKeySequence(Qt::Key_Escape));
        connect(m_pEscapeAction, SIGNAL(triggered()), this, SLOT(reject()));
        addAction(m_pEscapeAction);
    }

    QEventLoop loop;
    QEventLoop* pOuterLoop = m_pEventLoop;
    m_pEventLoop = &loop;
    const QPointer<TopWidget> pSelf(this);
    const int nResult = loop.exec(QEventLoop::DialogExec);
    if (!pSelf)
        return nResult;
    m_pEventLoop = pOuterLoop;
    hide();
    setAttribute(Qt::WA_ShowModal, bWasModal);
    return nResult;
}

QVBoxLayout* TopWidget::contentLayout() const
{
    return m_pContentLayout;
}

void TopWidget::setTitle(const QString& strTitle)
{
    m_pTitleLabel->setText(strTitle);
    setWindowTitle(strTitle);
}

void TopWidget::setTitleHeight(int nHeight)
{
    m_pTitleLabel->setFixedHeight(nHeight);
}

void TopWidget::hideCloseButton()
{
    m_pCloseButton->hide();
}

void TopWidget::hideMaximizeButton()
{
    m_pMaximizeButton->hide();
}

void TopWidget::hideMinimizeButton()
{
    m_pMinimizeButton->hide();
}

void TopWidget::showCloseButton()
{
    m_pCloseButton->show();
}

void TopWidget::showMaximizeButton()
{
    m_pMaximizeButton->show();
}

void TopWidget::showMinimizeButton()
{
    m_pMinimizeButton->show();
}

void TopWidget::setIcon(const QPixmap& pixmap)
{
    m_pIconLabel->setPixmap(pixmap.scaled(kButtonSide, kButtonSide, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    m_pIconLabel->show();
}

void TopWidget::setTitleWidget(QWidget* pWidget, const QPoint& offset)
{
    m_pTitleLabel->setAttachedWidget(pWidget, offset);
}

void TopWidget::setTitlePixmap(const QPixmap& pixmap, const QPoint& offset)
{
    QLabel* pLabel = newShapedLabel();
    pLabel->setPixmap(pixmap);
    m_pTitleLabel->setAttachedWidget(pLabel, offset);
    pLabel->setFixedSize(pixmap.size());
    pLabel->setMask(pixmap.mask());
}

void TopWidget::setTitleMovie(QMovie* pMovie, const QPoint& offset)
{
    QLabel* pLabel = newShapedLabel();
    pLabel->setMovie(pMovie);
    m_pTitleLabel->setAttachedWidget(pLabel, offset);
    pMovie->start();
    const QPixmap frame = pMovie->currentPixmap();
    pLabel->setFixedSize(frame.size());
    pLabel->setMask(frame.mask());
}

void TopWidget::accept()
{
    if (m_pEventLoop)
        m_pEventLoop->exit(1);
}

void TopWidget::reject()
{
    if (m_pEventLoop)
        m_pEventLoop->exit(0);
    else
        hide();
}

void TopWidget::closeEvent(QCloseEvent* pEvent)
{
    // Closed by the desktop during exec: end it like the close button, or
    // exec would keep an invisible window modal.
    if (m_pEventLoop)
        reject();
    QFrame::closeEvent(pEvent);
}

} // namespace QMWidgets
