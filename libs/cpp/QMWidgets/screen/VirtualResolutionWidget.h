#pragma once

#include <QSize>
#include <QWidget>

class QGraphicsProxyWidget;
class QGraphicsScene;
class QGraphicsView;

namespace QMWidgets {

// A window that shows a content widget of a fixed virtual size stretched to
// fill it (its proportions are not kept), through a graphics view. The
// content is shown whole at whatever size it has, also before a virtual size
// is given.
class VirtualResolutionWidget : public QWidget
{
    Q_OBJECT

public:
    explicit VirtualResolutionWidget(QWidget* pParent = nullptr);

    // Takes the widget into the view (the view owns it from now on).
    void setContentWidget(QWidget* pWidget);
    QSize virtualSize() const;

    // One instance for the whole process, made on first use.
    static VirtualResolutionWidget* instance();

public slots:
    void slotSetWidth(int nWidth);
    void slotSetHeight(int nHeight);
    void slotSetSize(QSize size);

protected:
    void resizeEvent(QResizeEvent* pEvent) override;
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;

private:
    void applyVirtualSize();
    void fitSceneToContent();
    void fitContent();

    QGraphicsScene* m_pScene = nullptr;
    QGraphicsView* m_pView = nullptr;
    QGraphicsProxyWidget* m_pProxy = nullptr;
    QSize m_virtualSize{-1, -1};
};

}  // namespace QMWidgets
