#pragma once

#include <QObject>

class QComboBox;

namespace QMWidgets {

// An event filter that paints combo boxes flat: a framed box with the
// current text centred and a small arrow in the bottom right corner. Install
// it on combo boxes only: any other widget it watches paints nothing at all.
class ComboBoxFilter : public QObject
{
    Q_OBJECT

public:
    explicit ComboBoxFilter(QObject* pParent = nullptr);

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QComboBox* m_pComboBox = nullptr;
};

} // namespace QMWidgets
