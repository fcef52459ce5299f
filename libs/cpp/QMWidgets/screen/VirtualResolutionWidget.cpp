#include "VirtualResolutionWidget.h"

#include <QDebug>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QVBoxLayout>

namespace QMWidgets {

namespace {
constexpr int kVisibleMargin = 50;
}

VirtualResolutionWidget::VirtualResolutionWidget(QWidget* pParent)
    : QWidget(pParent)
{
    m_pScene = new QGraphicsScene(0, 0, 800, 800, this);
    m_pView = new QGraphicsView(m_pScene);
    m_pView->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    auto* pLayout = new QVBoxLayout;
    pLayout->setMargin(0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pView);
    setLayout(pLayout);
    // The view's own area reaches its size after this widget's resize when
    // the window first shows (and whenever scroll bars come or go): fit
    // again then, or the content keeps the scale of the old size.
    m_pView->viewport()->installEventFilter(this);

    QPalette pal = palette();
    pal.setBrush(QPalette::All, backgroundRole(), QBrush(Qt::green, Qt::SolidPattern));
    setPalette(pal);
}

VirtualResolutionWidget* VirtualResolutionWidget::instance()
{
    static VirtualResolutionWidget* s_pInstance = new VirtualResolutionWidget;
    return s_pInstance;
}

void VirtualResolutionWidget::setContentWidget(QWidget* pWidget)
{
    if (m_pProxy) {
        // The earlier content goes back to its owner rather than down with
        // its proxy.
        m_pProxy->setWidget(nullptr);
        delete m_pProxy;
        m_pProxy = nullptr;
    }
    if (!pWidget)
        return;
    m_pProxy = m_pScene->addWidget(pWidget);
    // The scene spans the content at whatever size it has, also before any
    // virtual size is given (the hybrid widget sizes the stage itself), so
    // the view never shows scene beyond it: no scroll bars, no margins.
    connect(m_pProxy, &QGraphicsWidget::geometryChanged, this, &VirtualResolutionWidget::fitSceneToContent);
    fitSceneToContent();
}

QSize VirtualResolutionWidget::virtualSize() const
{
    return m_virtualSize;
}

void VirtualResolutionWidget::slotSetWidth(int nWidth)
{
    m_virtualSize.setWidth(nWidth);
    qDebug() << "Size1:" << m_virtualSize;
    applyVirtualSize();
}

void VirtualResolutionWidget::slotSetHeight(int nHeight)
{
    m_virtualSize.setHeight(nHeight);
    qDebug() << "Size2:" << m_virtualSize;
    applyVirtualSize();
}

void VirtualResolutionWidget::slotSetSize(QSize size)
{
    m_virtualSize = size;
    applyVirtualSize();
}

void VirtualResolutionWidget::applyVirtualSize()
{
    // A size still missing its other side (the first of the two side slots)
    // cannot be given to a widget yet.
    if (!m_pProxy || !m_virtualSize.isValid())
        return;
    m_pProxy->widget()->setFixedSize(m_virtualSize);
    m_pScene->setSceneRect(0, 0, m_virtualSize.width(), m_virtualSize.height());
    fitContent();
}

void VirtualResolutionWidget::fitSceneToContent()
{
    if (!m_pProxy)
        return;
    m_pScene->setSceneRect(QRectF(QPointF(0, 0), m_pProxy->size()));
    fitContent();
}

void VirtualResolutionWidget::fitContent()
{
    if (!m_pProxy)
        return;
    m_pView->fitInView(m_pProxy, Qt::IgnoreAspectRatio);
    m_pProxy->setPos(0, 0);
}

bool VirtualResolutionWidget::eventFilter(QObject* pObject, QEvent* pEvent)
{
    if (pObject == m_pView->viewport() && pEvent->type() == QEvent::Resize)
        fitContent();
    return QWidget::eventFilter(pObject, pEvent);
}

void VirtualResolutionWidget::resizeEvent(QResizeEvent* pEvent)
{
    if (m_pProxy) {
        m_pView->fitInView(m_pProxy, Qt::IgnoreAspectRatio);
        m_pView->ensureVisible(m_pProxy, kVisibleMargin, kVisibleMargin);
    }
    QWidget::resizeEvent(pEvent);
}

}  // namespace QMWidgets
