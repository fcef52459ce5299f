#pragma once

#include <QLabel>

namespace QMWidgets {

// A label whose content (its child widgets, placed by the owner) is shown
// only while the application has an active window: when another program
// comes to the front the content is hidden and the label's own text, a
// large "No!" unless the owner gives another, is all that can be seen. With
// the key filters installed a key press inside the content hides it too;
// the next focus change while the application is active, or the activation
// of the guard's window, brings it back.
class NoScreenShotWidget : public QLabel
{
    Q_OBJECT

public:
    explicit NoScreenShotWidget(QWidget* pParent = nullptr);
    NoScreenShotWidget(const QString& strText, QWidget* pParent = nullptr);

    // One key filter for every widget of the content that exists now.
    void installKeyFilters();

protected:
    bool event(QEvent* pEvent) override;

protected slots:
    void slotFocusChanged(QWidget* pOld, QWidget* pNow);

private:
    void init(const QString& strText);
};

} // namespace QMWidgets
