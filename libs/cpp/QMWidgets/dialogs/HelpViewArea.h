#pragma once

#include <QFrame>
#include <QString>

class QButtonGroup;
class QHBoxLayout;
class QPushButton;
class QSignalMapper;
class QTimer;

namespace QMWidgets {

class HelpDisplay;

// Gives a slide button its form: flat, 18 x 18, named, checkable. Returns the button.
QPushButton* makeSlideButton(QPushButton* pButton, const QString& strObjectName);

// The slide show: the picture, a row of numbered buttons and the timer that
// advances every 5000 ms until the user picks a slide.
class HelpViewArea : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kSlideInterval = 5000;

    explicit HelpViewArea(QWidget* pParent = nullptr);
    ~HelpViewArea() override;

    void addSlide(const QString& strPath);

    // For tests and the dialog: the parts of the show.
    QTimer* slideTimer() const { return m_pTimer; }
    HelpDisplay* display() const { return m_pDisplay; }
    QButtonGroup* buttonGroup() const { return m_pButtonGroup; }

public slots:
    void slotButtonClicked();
    void slotShowSlide(const QString& strPath);
    void slotShowNextSlide();
    void slotStartSlideShow();
    void slotStopSlideShow();

private:
    QTimer* m_pTimer;
    HelpDisplay* m_pDisplay;
    QHBoxLayout* m_pLayoutSlideButtons;
    QButtonGroup* m_pButtonGroup;
    QSignalMapper* m_pSignalMapper;
    int m_nSlideCount = 0;
};

} // namespace QMWidgets
