#include "DirView.h"

#include <QDirModel>
#include <QHeaderView>
#include <QResizeEvent>
#include <QTreeView>

namespace QMWidgets {

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED

DirView::DirView(QWidget* pParent)
    : QFrame(pParent)
{
    setMinimumSize(180, 100);
    m_pModel = new QDirModel(this);
    m_pTreeView = new QTreeView(this);
    m_pTreeView->setModel(m_pModel);
    // Names only: size, type and date are hidden.
    for (int nColumn = 1; nColumn <= 3; ++nColumn)
        m_pTreeView->hideColumn(nColumn);
    m_pTreeView->setWindowTitle(tr("Dir View"));
    connect(m_pTreeView, SIGNAL(clicked(const QModelIndex&)), this, SLOT(slotTreeViewClicked(const QModelIndex&)));
}

void DirView::slotTreeViewClicked(const QModelIndex& index)
{
    if (!index.isValid() || index.row() < 0 || index.column() != 0)
        return;
    const QString strPath = m_pModel->filePath(index);
    if (m_pModel->isDir(index))
        emit showContent(strPath);
    else
        emit showItem(strPath);
}

QT_WARNING_POP

void DirView::resizeEvent(QResizeEvent* pEvent)
{
    m_pTreeView->resize(pEvent->size());
    m_pTreeView->header()->resizeSection(0, pEvent->size().width());
    QWidget::resizeEvent(pEvent);
}

} // namespace QMWidgets
