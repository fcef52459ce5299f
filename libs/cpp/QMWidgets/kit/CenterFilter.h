#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace QMWidgets {

// An event filter that centres a widget in its parent widget (or, without
// one, on the desktop) whenever it is shown, and again while it is shown
// when the desktop changes its size. Install it on the widget. A widget
// moved by hand stays where it is until one of these happens.
class CenterFilter : public QObject
{
    Q_OBJECT

public:
    explicit CenterFilter(QObject* pParent = nullptr);

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private slots:
    // Connected to QDesktopWidget::resized: centres the remembered widget
    // again while it is visible.
    void slotResized(int nScreen);

private:
    void centre();

    QPointer<QWidget> m_pWidget;
};

} // namespace QMWidgets
