#include "UltraRadioBox.h"

#include "App.h"
#include "UltraRadioBoxPopup.h"
#include "WidgetFunctions.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QVBoxLayout>

namespace QMWidgets {

namespace {

constexpr double kPopupOpacity = 0.6;
constexpr int kDefaultTransparency = 35;
// Window opacity is 1.3 - transparency / 100; above 100 the list would fade
// towards invisible, so the transparency stops there (opacity 0.3).
constexpr int kMostTransparency = 100;

QPixmap pictureOf(QAbstractButton* pButton)
{
    return pButton->grab(pButton->rect());
}

}  // namespace

UltraRadioBox::UltraRadioBox(QWidget* pParent)
    : QWidget(pParent)
{
    setMouseTracking(true);
    m_pPopup = new UltraRadioBoxPopup(this, Qt::Window | Qt::FramelessWindowHint);
    m_pPopup->hide();
    m_pPopup->setWindowOpacity(kPopupOpacity);
    m_pPopupLayout = new QVBoxLayout;
    m_pPopupLayout->setMargin(0);
    m_pPopupLayout->setSpacing(0);
    m_pPopup->setLayout(m_pPopupLayout);
}

UltraRadioBoxPopup* UltraRadioBox::popup() const
{
    return m_pPopup;
}

void UltraRadioBox::addButton(QAbstractButton* pButton, const QString& strText)
{
    auto* pPartner = new QPushButton(strText);
    m_partners.insert(pButton, pPartner);
    auto* pRow = new QHBoxLayout;
    pRow->setMargin(2);
    pRow->setSpacing(2);
    pRow->addWidget(pButton);
    pRow->addWidget(pPartner);
    pButton->setCheckable(true);
    pButton->setChecked(false);
    makeFlatPushButton(pPartner);
    connect(pPartner, SIGNAL(clicked()), pButton, SLOT(click()));
    m_pPopupLayout->addLayout(pRow);
    setFixedSize(pButton->size());
    connect(pButton, SIGNAL(clicked()), this, SLOT(slotButtonClicked()));
    m_shownPixmap = pictureOf(pButton);
    repaint();
}

void UltraRadioBox::setCurrentButton(QAbstractButton* pButton)
{
    if (!pButton || !m_partners.contains(pButton))
        return;
    m_pCurrentButton = pButton;
    const QList<QAbstractButton*> buttons = findChildren<QAbstractButton*>();
    for (QAbstractButton* pOther : buttons) {
        pOther->setChecked(false);
        pOther->show();
        if (QPushButton* pPartner = m_partners.value(pOther))
            pPartner->show();
    }
    m_hoverPixmap = pictureOf(pButton);
    QPushButton* pPartner = m_partners.value(pButton);
    pButton->setChecked(true);
    pButton->hide();
    pPartner->hide();
    m_pPopup->hide();
    m_shownPixmap = pictureOf(pButton);
    m_normalPixmap = m_shownPixmap;
    setToolTip(pPartner->text());
    repaint();
}

QAbstractButton* UltraRadioBox::currentButton() const
{
    return m_pCurrentButton;
}

void UltraRadioBox::setButtonVisible(QAbstractButton* pButton, bool bVisible)
{
    QPushButton* pPartner = m_partners.value(pButton);
    if (!pPartner)
        return;
    pButton->setVisible(bVisible);
    pPartner->setVisible(bVisible);
}

void UltraRadioBox::setPopupOpacity(float fOpacity)
{
    m_pPopup->setWindowOpacity(fOpacity);
}

void UltraRadioBox::hidePopup()
{
    m_pPopup->hide();
}

void UltraRadioBox::slotButtonClicked()
{
    auto* pButton = qobject_cast<QAbstractButton*>(sender());
    if (!pButton)
        return;
    setCurrentButton(pButton);
    emit buttonClicked();
}

void UltraRadioBox::slotFocusChanged(QWidget*, QWidget*)
{
}

void UltraRadioBox::mousePressEvent(QMouseEvent* pEvent)
{
    m_pPopup->move(mapToGlobal(QPoint(0, height())));
    m_pPopup->raise();
    m_pPopup->setVisible(m_pPopup->isHidden());
    int nTransparency = kDefaultTransparency;
    if (App* pApp = App::instance())
        nTransparency = pApp->settingsValue(QStringLiteral("TransparencyParameters/UltraRadioPopups"),
                                            kDefaultTransparency)
                            .toInt();
    m_pPopup->setWindowOpacity(1.3 - qMin(nTransparency, kMostTransparency) / 100.0);
    QWidget::mousePressEvent(pEvent);
    emit actionPerformed();
}

void UltraRadioBox::mouseMoveEvent(QMouseEvent* pEvent)
{
    QWidget::mouseMoveEvent(pEvent);
}

void UltraRadioBox::enterEvent(QEvent* pEvent)
{
    if (m_pCurrentButton) {
        m_shownPixmap = m_hoverPixmap;
        repaint();
    }
    QWidget::enterEvent(pEvent);
}

void UltraRadioBox::leaveEvent(QEvent* pEvent)
{
    if (m_pCurrentButton) {
        m_shownPixmap = m_normalPixmap;
        repaint();
    }
    QWidget::leaveEvent(pEvent);
}

void UltraRadioBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), m_shownPixmap);
    painter.translate(width() - 10, height() - 8);
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(8, 0), QPoint(4, 4)}));
}

}  // namespace QMWidgets
