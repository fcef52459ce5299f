#pragma once

#include <QMainWindow>

namespace QMWidgets {

class CssDoc;

// A tool window for editing the application's style sheet while it runs.
class CssEditor : public QMainWindow
{
    Q_OBJECT
public:
    explicit CssEditor(QWidget* pParent = nullptr);

    CssDoc* document() const { return m_pDoc; }

public slots:
    void slotApply();
    void slotAbout();
    void slotReset();
    void slotChangeWindowTitle(const QString& strTitle);
    void slotApplyToolTipsInfo();

private:
    CssDoc* m_pDoc;
};

} // namespace QMWidgets
