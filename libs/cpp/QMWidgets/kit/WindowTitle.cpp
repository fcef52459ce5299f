#include "WindowTitle.h"

#include <QBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace QMWidgets {

namespace {
QPushButton* newFlatButton(const QString& strObjectName)
{
    auto* pButton = new QPushButton;
    pButton->setObjectName(strObjectName);
    pButton->setFlat(true);
    return pButton;
}
} // namespace

WindowTitle::WindowTitle(QWidget* pParent)
    : QFrame(pParent)
{
    setCursor(Qt::ArrowCursor);

    m_pAlwaysOptimizeButton = newFlatButton(QStringLiteral("AlwaysOptimizeButton"));
    m_pAlwaysOptimizeButton->setCheckable(true);
    m_pAlwaysOptimizeButton->setChecked(true);
    m_pAlwaysOptimizeButton->setFixedSize(32, 32);
    m_p100PercentButton = newFlatButton(QStringLiteral("100PercentButton"));
    m_pCloseButton = newFlatButton(QStringLiteral("CloseButton"));
    connect(m_pCloseButton, SIGNAL(clicked()), this, SIGNAL(closeWindow()));
    QPushButton* pZoomIn = newFlatButton(QStringLiteral("ZoomInButton"));
    QPushButton* pZoomOut = newFlatButton(QStringLiteral("ZoomOutButton"));

    // Kept out of every layout and hidden: the owner decides whether to offer it.
    m_pActionsButton = newFlatButton(QStringLiteral("Actions"));
    m_pActionsButton->setParent(this);
    m_pActionsButton->setText(QStringLiteral("Actions"));
    auto* pMenu = new QMenu(m_pActionsButton);
    pMenu->addAction(tr("Save as..."));
    pMenu->addAction(tr("Open with default program"));
    pMenu->addSeparator();
    pMenu->addAction(tr("Forward via chat"));
    pMenu->addAction(tr("Forward via e-mail"));
    connect(pMenu, SIGNAL(aboutToShow()), this, SLOT(slotMenuAboutToShow()));
    connect(pMenu, SIGNAL(aboutToHide()), this, SLOT(slotMenuAboutToHide()));
    m_pActionsButton->setMenu(pMenu);
    m_pActionsButton->hide();

    auto* pToolsRow = new QHBoxLayout;
    pToolsRow->setContentsMargins(0, 0, 0, 0);
    pToolsRow->setSpacing(0);
    pToolsRow->addWidget(pZoomIn);
    pToolsRow->addWidget(pZoomOut);
    pToolsRow->addWidget(m_p100PercentButton);
    pToolsRow->addWidget(m_pAlwaysOptimizeButton);
    pToolsRow->addStretch(1);

    m_pToolsWidget = new QWidget;
    m_pToolsWidget->setObjectName(QStringLiteral("WindowTitleTools"));

    m_pBar = new QFrame;
    m_pBar->setObjectName(QStringLiteral("WindowTitleBar"));
    m_pBarLayout = new QHBoxLayout;
    m_pBarLayout->setContentsMargins(5, 5, 5, 5);
    m_pBarLayout->setSpacing(3);
    m_pBarLayout->addWidget(m_pToolsWidget);
    m_pBarLayout->addLayout(pToolsRow);
    m_pBarLayout->addWidget(m_pCloseButton);
    m_pBar->setLayout(m_pBarLayout);

    auto* pLayout = new QVBoxLayout;
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pBar);
    setLayout(pLayout);
}

bool WindowTitle::isMenuVisible() const
{
    return m_bMenuVisible;
}

void WindowTitle::setToolsLayout(QLayout* pLayout)
{
    // A widget takes one layout: an earlier tools layout makes way (its
    // widgets stay with the tools widget).
    delete m_pToolsWidget->layout();
    auto* pRow = new QHBoxLayout;
    pRow->setContentsMargins(0, 0, 0, 0);
    pRow->setSpacing(0);
    pRow->addLayout(pLayout);
    m_pToolsWidget->setLayout(pRow);
}

void WindowTitle::mousePressEvent(QMouseEvent* pEvent)
{
    m_dragOffset = pEvent->localPos().toPoint();
    QFrame::mousePressEvent(pEvent);
}

void WindowTitle::mouseMoveEvent(QMouseEvent* pEvent)
{
    emit changePosition(pEvent->screenPos().toPoint() - m_dragOffset);
    QFrame::mouseMoveEvent(pEvent);
    pEvent->accept();
}

void WindowTitle::slotMenuAboutToShow()
{
    m_bMenuVisible = true;
}

void WindowTitle::slotMenuAboutToHide()
{
    m_bMenuVisible = false;
}

} // namespace QMWidgets
