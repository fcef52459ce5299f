#include "ListView.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

ListView::ListView(QWidget* parent)
    : QListView(parent)
{
    setAcceptDrops(true);
    setDropIndicatorShown(true);
}

void ListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData() && event->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ListView::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData() ? event->mimeData()->urls() : QList<QUrl>();
    // Always reported as a copy: a source told that its files were moved
    // may delete them.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped(urls);
}
