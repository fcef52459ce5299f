#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace QMWidgets {

// One line of a window that shows a progress bar with a small stop button
// while a job runs and a label otherwise. A value of 100 or more ends the
// bar; the stop button only raises a flag that the job's owner polls.
class ComboProgress : public QWidget
{
    Q_OBJECT

public:
    explicit ComboProgress(QWidget* pParent = nullptr);

    // true: the label; false: the bar and the stop button.
    void setLabelMode(bool bLabel);
    int value() const;
    bool isStopped() const;
    QLabel* label() const;

public slots:
    void slotSetProgress(int nValue);

private slots:
    void slotStopPressed();

private:
    QProgressBar* m_pProgressBar = nullptr;
    QPushButton* m_pStopButton = nullptr;
    QLabel* m_pLabel = nullptr;
    bool m_bStopped = false;
};

} // namespace QMWidgets
