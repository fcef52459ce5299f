#pragma once

#include <QMap>
#include <QPixmap>
#include <QWidget>

class QAbstractButton;
class QPushButton;
class QVBoxLayout;

namespace QMWidgets {

class UltraRadioBoxPopup;

// An exclusive choice that shows only the picture of the current button, the
// size of one button, with a small white arrow. Pressing it drops down a
// translucent window listing the other choices, each with a text button
// beside it.
class UltraRadioBox : public QWidget
{
    Q_OBJECT

public:
    explicit UltraRadioBox(QWidget* pParent = nullptr);

    // Size the button before adding it: the box takes its current size.
    void addButton(QAbstractButton* pButton, const QString& strText);
    // Buttons that were never added are ignored.
    void setCurrentButton(QAbstractButton* pButton);
    QAbstractButton* currentButton() const;
    void setButtonVisible(QAbstractButton* pButton, bool bVisible);
    void setPopupOpacity(float fOpacity);
    void hidePopup();

    UltraRadioBoxPopup* popup() const;

signals:
    void buttonClicked();
    void actionPerformed();

private slots:
    void slotButtonClicked();
    void slotFocusChanged(QWidget* pwgtOld, QWidget* pwgtNow);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void enterEvent(QEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QVBoxLayout* m_pPopupLayout = nullptr;
    UltraRadioBoxPopup* m_pPopup = nullptr;
    QPixmap m_shownPixmap;
    QMap<QAbstractButton*, QPushButton*> m_partners;
    QAbstractButton* m_pCurrentButton = nullptr;
    QPixmap m_normalPixmap;
    QPixmap m_hoverPixmap;
};

}  // namespace QMWidgets
