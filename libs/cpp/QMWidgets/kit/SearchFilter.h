#pragma once

#include <QLineEdit>

class QPushButton;

namespace QMWidgets {

// A search field: while empty it shows a search icon and, unless it has
// the focus, a "Search:" hint; once typing starts a small clear button
// appears at its right end. Escape typed into it clears it.
class SearchFilter : public QLineEdit
{
    Q_OBJECT

public:
    explicit SearchFilter(QWidget* pParent = nullptr);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private slots:
    void slotTextChanged(const QString& strText);
    void slotClearClicked();

private:
    QPushButton* m_pClearButton = nullptr;
};

} // namespace QMWidgets
