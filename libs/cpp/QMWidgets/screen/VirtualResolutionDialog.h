#pragma once

#include <QDialog>
#include <QSize>

class QComboBox;

namespace QMWidgets {

class ResolutionSetupWidget;

// Lets the user choose between the virtual-resolution mode and the normal
// one, and the virtual resolution from a list of presets. Apply announces
// the choice and keeps the dialog open.
class VirtualResolutionDialog : public QDialog
{
    Q_OBJECT

public:
    enum Mode { VirtualMode = 0, NormalMode = 1 };
    Q_ENUM(Mode)

    explicit VirtualResolutionDialog(QWidget* pParent = nullptr);

    Mode mode() const;
    QSize virtualResolution() const;

signals:
    void virtualResolutionChanged(QSize size);
    void changeVirtualResolution(QSize size);
    void changeSettings();

private slots:
    void slotApply();
    void slotModeChanged(int nIndex);

private:
    QComboBox* m_pModeBox = nullptr;
    ResolutionSetupWidget* m_pVirtualGroup = nullptr;
    ResolutionSetupWidget* m_pWindowGroup = nullptr;
};

}  // namespace QMWidgets
