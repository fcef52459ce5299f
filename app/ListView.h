#pragma once

#include <QList>
#include <QListView>
#include <QUrl>

// The list of PNG files on the main page. Files and folders dragged onto it
// are handed on as URLs; the item view's own drop handling never runs.
class ListView : public QListView
{
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

signals:
    void dropped(const QList<QUrl>& urls);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
