#pragma once

#include <QList>
#include <QModelIndex>
#include <QStyledItemDelegate>

class AddButtonAction;
class QAction;

// Paints a list row: dark gradient, thumbnail, file name, modification time,
// a "today" badge and the row's menu button; a press on the row asks for its
// preview.
class ImagesListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit ImagesListDelegate(QObject* parent = nullptr);

    void addButton(AddButtonAction* button);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // The menu button's square in a row rectangle.
    static QRect buttonRect(const QRect& row);

signals:
    void play(const QModelIndex& index);

private:
    QList<QAction*> m_lstButtons;
};
