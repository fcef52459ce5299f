#pragma once

#include <QFrame>
#include <QModelIndex>

class QDirModel;
class QTreeView;

namespace QMWidgets {

// The file system as a tree of names. A click on a folder emits showContent
// with its path, a click on a file showItem.
class DirView : public QFrame
{
    Q_OBJECT

public:
    explicit DirView(QWidget* pParent = nullptr);

signals:
    void showContent(const QString& strPath);
    void showItem(const QString& strPath);

protected slots:
    void slotTreeViewClicked(const QModelIndex& index);

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    QDirModel* m_pModel = nullptr;
    QTreeView* m_pTreeView = nullptr;
};

} // namespace QMWidgets
