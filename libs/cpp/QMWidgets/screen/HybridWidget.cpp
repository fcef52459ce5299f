#include "HybridWidget.h"

#include "VirtualResolutionWidget.h"

#include <QVBoxLayout>

namespace QMWidgets {

namespace {
const QPoint kNormalPosition(50, 50);
}

HybridWidget::HybridWidget(QWidget* pParent)
    : QWidget(pParent)
{
    m_pStage = new QWidget;
    m_pVirtualView = new VirtualResolutionWidget;
    m_pVirtualView->setContentWidget(m_pStage);
    m_pLayout = new QVBoxLayout;
    m_pLayout->setMargin(0);
    m_pLayout->setSpacing(0);
    setLayout(m_pLayout);
}

HybridWidget::~HybridWidget()
{
    // In the virtual mode this widget is a child of the stage, which the
    // view's scene deletes: leave the stage first so it is deleted once.
    if (m_bVirtualMode)
        setParent(nullptr);
    delete m_pVirtualView;
    delete m_pDialog;
}

void HybridWidget::addContentWidget(QWidget* pWidget)
{
    m_pLayout->addWidget(pWidget);
}

void HybridWidget::setTitle(const QString& strTitle)
{
    setWindowTitle(strTitle);
    m_pVirtualView->setWindowTitle(strTitle);
}

bool HybridWidget::isVirtualResolutionMode() const
{
    return m_bVirtualMode;
}

VirtualResolutionWidget* HybridWidget::virtualView() const
{
    return m_pVirtualView;
}

QWidget* HybridWidget::stageWidget() const
{
    return m_pStage;
}

void HybridWidget::slotSetVirtualResolutionMode(bool bOn)
{
    if (bOn == m_bVirtualMode)
        return;
    if (bOn) {
        m_normalGeometry = QRect(0, 0, width(), height());
        hide();
        m_pStage->setFixedSize(size());
        setParent(m_pStage);
        m_pVirtualView->show();
        show();
        setGeometry(0, 0, m_pStage->width(), m_pStage->height());
        m_bVirtualMode = true;
    } else {
        setParent(nullptr);
        setGeometry(m_normalGeometry);
        move(kNormalPosition);
        show();
        m_pVirtualView->hide();
        m_bVirtualMode = false;
    }
}

void HybridWidget::applyVirtualResolution(QSize size)
{
    m_pVirtualView->slotSetSize(size);
    setGeometry(0, 0, m_pStage->width(), m_pStage->height());
}

void HybridWidget::slotSetSize(QSize size)
{
    if (m_bVirtualMode)
        applyVirtualResolution(size);
}

void HybridWidget::slotSetMode(VirtualResolutionDialog::Mode mode)
{
    slotSetVirtualResolutionMode(mode != VirtualResolutionDialog::NormalMode);
}

void HybridWidget::slotSetSettings()
{
    if (!m_pDialog)
        return;
    slotSetMode(m_pDialog->mode());
    if (m_bVirtualMode)
        applyVirtualResolution(m_pDialog->virtualResolution());
}

void HybridWidget::slotShowFullScreenMode(bool bOn)
{
    m_bFullScreen = bOn;
    QWidget* pShown = m_bVirtualMode ? static_cast<QWidget*>(m_pVirtualView) : this;
    if (bOn)
        pShown->showFullScreen();
    else
        pShown->showNormal();
}

void HybridWidget::slotShowSettingsDialog()
{
    if (!m_pDialog) {
        m_pDialog = new VirtualResolutionDialog(nullptr);
        connect(m_pDialog, SIGNAL(changeSettings()), this, SLOT(slotSetSettings()));
    }
    m_pDialog->raise();
    m_pDialog->activateWindow();
    m_pDialog->show();
}

}  // namespace QMWidgets
