#include "HelpViewArea.h"

#include "App.h"
#include "HelpDisplay.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QPushButton>
#include <QSignalMapper>
#include <QTimer>

namespace QMWidgets {

QPushButton* makeSlideButton(QPushButton* pButton, const QString& strObjectName)
{
    pButton->setFlat(true);
    pButton->setFixedSize(18, 18);
    pButton->setObjectName(strObjectName);
    pButton->setCheckable(true);
    return pButton;
}

HelpViewArea::HelpViewArea(QWidget* pParent)
    : QFrame(pParent, Qt::WindowFlags())
{
    setObjectName("HelpViewArea");

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(kSlideInterval);
    m_pTimer->setSingleShot(false);
    connect(m_pTimer, SIGNAL(timeout()), this, SLOT(slotShowNextSlide()));

    m_pSignalMapper = new QSignalMapper(this);
    connect(m_pSignalMapper, &QSignalMapper::mappedString, this, &HelpViewArea::slotShowSlide);

    m_pDisplay = new HelpDisplay();
    if (App::isSmallScreen())
        m_pDisplay->setMinimumSize(280, 220);
    else
        m_pDisplay->setMinimumSize(400, 300);

    // Parented to the area (unlike a bare group) so that it is freed with it.
    m_pButtonGroup = new QButtonGroup(this);
    m_pButtonGroup->setExclusive(true);
    connect(m_pButtonGroup, SIGNAL(buttonClicked(QAbstractButton*)), this, SLOT(slotButtonClicked()));

    m_pLayoutSlideButtons = new QHBoxLayout();
    m_pLayoutSlideButtons->setContentsMargins(0, 0, 0, 0);
    m_pLayoutSlideButtons->setSpacing(3);

    auto* pLayoutCentre = new QHBoxLayout();
    pLayoutCentre->setContentsMargins(0, 0, 0, 0);
    pLayoutCentre->addStretch(1);
    pLayoutCentre->addLayout(m_pLayoutSlideButtons);
    pLayoutCentre->addStretch(1);

    auto* pLayout = new QVBoxLayout();
    pLayout->setContentsMargins(6, 6, 6, 6);
    pLayout->setSpacing(6);
    pLayout->addWidget(m_pDisplay);
    pLayout->addLayout(pLayoutCentre);
    setLayout(pLayout);
}

HelpViewArea::~HelpViewArea() = default;

void HelpViewArea::addSlide(const QString& strPath)
{
    ++m_nSlideCount;
    auto* pButton = makeSlideButton(new QPushButton(QString::number(m_nSlideCount)), "HelpSlideButton");
    m_pButtonGroup->addButton(pButton, -1);
    m_pLayoutSlideButtons->addWidget(pButton);
    connect(pButton, SIGNAL(toggled(bool)), m_pSignalMapper, SLOT(map()));
    connect(pButton, SIGNAL(clicked()), this, SLOT(slotStopSlideShow()));
    m_pSignalMapper->setMapping(pButton, strPath);
}

void HelpViewArea::slotButtonClicked()
{
    static_cast<void>(m_pButtonGroup->checkedButton());
}

void HelpViewArea::slotShowSlide(const QString& strPath)
{
    m_pDisplay->setImagePath(strPath);
    m_pDisplay->repaint();
}

void HelpViewArea::slotShowNextSlide()
{
    const QList<QAbstractButton*> buttons = m_pButtonGroup->buttons();
    if (buttons.isEmpty())
        return;
    const int nChecked = buttons.indexOf(m_pButtonGroup->checkedButton());
    if (nChecked < 0 || nChecked == buttons.size() - 1)
        buttons.first()->setChecked(true);
    else
        buttons.at(nChecked + 1)->setChecked(true);
}

void HelpViewArea::slotStartSlideShow()
{
    const QList<QAbstractButton*> buttons = m_pButtonGroup->buttons();
    if (!m_pButtonGroup->checkedButton() && !buttons.isEmpty())
        buttons.first()->setChecked(true);
    m_pTimer->start();
}

void HelpViewArea::slotStopSlideShow()
{
    m_pTimer->stop();
}

} // namespace QMWidgets
