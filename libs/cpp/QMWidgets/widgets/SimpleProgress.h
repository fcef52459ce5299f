#pragma once

#include <QString>
#include <QWidget>

namespace QMWidgets {

// A painted progress bar with its text elided in the middle. While the value
// is 0 it shows a moving busy pattern: every setValue(0) starts a 100 ms
// timer, and each timer kills itself at its first tick after the value has
// become non-zero.
class SimpleProgress : public QWidget
{
    Q_OBJECT

public:
    explicit SimpleProgress(QWidget *parent = nullptr);

    // The text shows at the next paint; setting it schedules none.
    void setText(const QString &text);

    int value() const;
    // Read as a percentage; not clamped (above 100 is clipped, below 0 shows no bar).
    void setValue(const int &value);

protected:
    void timerEvent(QTimerEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_nValue = 0;
    QString m_strText;
    int m_nBusyStep = 0;    // offset in pixels of the busy pattern
};

} // namespace QMWidgets
