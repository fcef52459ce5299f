#pragma once

#include <QWidget>

class QPushButton;
class QStateMachine;

namespace QMWidgets {

class CheckButton;

// An on/off switch: a handle slides over a two-part track in 400 ms, with
// an optional check button as icon at its left that is checked exactly
// while the switch is on. Nothing exists until setup, which takes all sizes
// from the switch's size at that moment (later resizes change nothing).
// Before setup the switch is off and ignores setOn.
class AniSwitch : public QWidget
{
    Q_OBJECT

public:
    explicit AniSwitch(QWidget* pParent = nullptr);
    ~AniSwitch() override;

    // Builds the switch once; a second call does nothing. The initial state
    // is taken when control returns to the event loop.
    void setup(bool bWithIcon, bool bInitiallyOn);
    bool isOn() const;

signals:
    void toggled(bool bOn);

public slots:
    void setOn(bool bOn);

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

private slots:
    void slotSetOn();
    void slotSetOff();

private:
    CheckButton* m_pIconButton = nullptr;
    QStateMachine* m_pStateMachine = nullptr;
    QPushButton* m_pHandle = nullptr;
    QWidget* m_pTrack = nullptr;
    bool m_bSetUp = false;
};

} // namespace QMWidgets
