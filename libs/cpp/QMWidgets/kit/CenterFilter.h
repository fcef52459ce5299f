#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace QMWidgets {

// An event filter that centres a widget in its parent widget (or, without
// one, on the desktop) whenever it is shown. Install it on the widget.
class CenterFilter : public QObject
{
    Q_OBJECT

public:
    explicit CenterFilter(QObject* pParent = nullptr);

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private slots:
    // For QDesktopWidget::resized: centres the remembered widget again
    // while it is visible.
    void slotResized(int nScreen);

private:
    void centre();

    QPointer<QWidget> m_pWidget;
};

} // namespace QMWidgets
