#pragma once

#include "VirtualResolutionDialog.h"

#include <QRect>
#include <QSize>
#include <QWidget>

class QVBoxLayout;

namespace QMWidgets {

class VirtualResolutionWidget;

// An application's top-level content that can run in two modes: as an
// ordinary window, or laid out at a fixed virtual resolution inside a stage
// widget that a VirtualResolutionWidget shows stretched to its own window.
class HybridWidget : public QWidget
{
    Q_OBJECT

public:
    explicit HybridWidget(QWidget* pParent = nullptr);
    ~HybridWidget() override;

    void addContentWidget(QWidget* pWidget);
    void setTitle(const QString& strTitle);
    bool isVirtualResolutionMode() const;
    void applyVirtualResolution(QSize size);

    VirtualResolutionWidget* virtualView() const;
    QWidget* stageWidget() const;

public slots:
    void slotSetVirtualResolutionMode(bool bOn);
    void slotShowFullScreenMode(bool bOn);
    void slotSetSize(QSize size);
    void slotSetMode(VirtualResolutionDialog::Mode mode);
    void slotSetSettings();
    void slotShowSettingsDialog();

private:
    QWidget* m_pStage = nullptr;
    VirtualResolutionWidget* m_pVirtualView = nullptr;
    QVBoxLayout* m_pLayout = nullptr;
    bool m_bVirtualMode = false;
    bool m_bFullScreen = false;
    VirtualResolutionDialog* m_pDialog = nullptr;
    QRect m_normalGeometry;
};

}  // namespace QMWidgets
