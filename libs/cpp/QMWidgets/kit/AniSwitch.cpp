#include "AniSwitch.h"

#include "CheckButton.h"

#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QSignalTransition>
#include <QState>
#include <QStateMachine>

namespace QMWidgets {

namespace {
constexpr int kSlideMs = 400;
} // namespace

AniSwitch::AniSwitch(QWidget* pParent)
    : QWidget(pParent)
{
}

AniSwitch::~AniSwitch()
{
    // Before the child widgets that its animations drive.
    delete m_pStateMachine;
}

void AniSwitch::setup(bool bWithIcon, bool bInitiallyOn)
{
    if (m_bSetUp)
        return;
    m_bSetUp = true;
    const int nW = width();
    const int nH = height();

    m_pIconButton = new CheckButton;
    m_pIconButton->setFixedSize(nH, nH);
    m_pIconButton->setFlat(true);
    m_pIconButton->setObjectName(QStringLiteral("AniSwitchIcon"));
    connect(m_pIconButton, SIGNAL(toggled(bool)), this, SIGNAL(toggled(bool)));

    m_pTrack = new QWidget;
    auto* pOnArea = new QPushButton;
    pOnArea->setObjectName(QStringLiteral("AniSwitchOnArea"));
    auto* pOffArea = new QPushButton;
    pOffArea->setObjectName(QStringLiteral("AniSwitchOffArea"));
    // Each area is uncovered in the other state: clicking it switches there.
    connect(pOnArea, SIGNAL(clicked()), this, SLOT(slotSetOff()));
    connect(pOffArea, SIGNAL(clicked()), this, SLOT(slotSetOn()));
    auto* pTrackRow = new QHBoxLayout;
    pTrackRow->setContentsMargins(0, 0, 0, 0);
    pTrackRow->setSpacing(0);
    pTrackRow->addWidget(pOnArea);
    pTrackRow->addStretch(1);
    pTrackRow->addWidget(pOffArea);
    m_pTrack->setLayout(pTrackRow);

    m_pHandle = new QPushButton(m_pTrack);
    m_pHandle->setAutoFillBackground(true);
    m_pHandle->setFlat(true);
    if (bWithIcon) {
        // Each half rounded down on its own.
        m_pHandle->setFixedSize(nW / 2 - nH / 2, nH);
    } else {
        m_pIconButton->hide();
        m_pHandle->setFixedSize(nW / 2, nH);
    }
    m_pHandle->show();
    m_pHandle->raise();
    m_pHandle->setObjectName(QStringLiteral("AniSwitchHandler"));

    m_pStateMachine = new QStateMachine;
    auto* pOff = new QState(m_pStateMachine);
    pOff->assignProperty(m_pHandle, "pos", QPoint(0, 0));
    pOff->assignProperty(m_pIconButton, "checked", false);
    auto* pOn = new QState(m_pStateMachine);
    pOn->assignProperty(m_pHandle, "pos", QPoint(m_pHandle->width(), 0));
    pOn->assignProperty(m_pIconButton, "checked", true);
    m_pStateMachine->setInitialState(bInitiallyOn ? pOn : pOff);

    auto* pSlideOn = new QPropertyAnimation(m_pHandle, "pos", m_pStateMachine);
    pSlideOn->setDuration(kSlideMs);
    auto* pSlideOff = new QPropertyAnimation(m_pHandle, "pos", m_pStateMachine);
    pSlideOff->setDuration(kSlideMs);
    pOff->addTransition(m_pHandle, SIGNAL(clicked()), pOn)->addAnimation(pSlideOn);
    pOff->addTransition(m_pIconButton, SIGNAL(onClicked()), pOn)->addAnimation(pSlideOn);
    pOn->addTransition(m_pHandle, SIGNAL(clicked()), pOff)->addAnimation(pSlideOff);
    pOn->addTransition(m_pIconButton, SIGNAL(offClicked()), pOff)->addAnimation(pSlideOff);
    m_pStateMachine->start();

    auto* pLayout = new QHBoxLayout;
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pIconButton);
    pLayout->addWidget(m_pTrack);
    setLayout(pLayout);
}

bool AniSwitch::isOn() const
{
    return m_pIconButton && m_pIconButton->isChecked();
}

void AniSwitch::setOn(bool bOn)
{
    if (m_pIconButton)
        m_pIconButton->setChecked(bOn);
}

void AniSwitch::slotSetOn()
{
    setOn(true);
}

void AniSwitch::slotSetOff()
{
    setOn(false);
}

void AniSwitch::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
}

} // namespace QMWidgets
