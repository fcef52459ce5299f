#include "ImagesListDelegate.h"

#include "AddButtonAction.h"
#include "ImagesListModel.h"

#include <QDate>
#include <QDateTime>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPersistentModelIndex>

namespace {

constexpr int kRowHeight = 55;

} // namespace

ImagesListDelegate::ImagesListDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

void ImagesListDelegate::addButton(AddButtonAction* button)
{
    button->setParent(this);
    m_lstButtons.append(button);
}

QSize ImagesListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), kRowHeight);
}

QRect ImagesListDelegate::buttonRect(const QRect& row)
{
    const int x0 = row.left();
    const int y0 = row.top();
    const int x1 = row.right();
    const int y1 = row.bottom();
    return QRect(QPoint((x1 - x0) - 32, y0 + 13), QPoint((x1 - x0) + (y1 - y0) - 55, y1 - 10));
}

void ImagesListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    const QRect r = option.rect;
    const int x0 = r.left();
    const int y0 = r.top();
    const int x1 = r.right();
    const int y1 = r.bottom();
    const int W = x1 - x0 + 1;
    const int H = y1 - y0 + 1;
    const int s = H - 23;
    const bool hovered = option.state & QStyle::State_MouseOver;

    painter->save();
    painter->setPen(Qt::NoPen);

    QLinearGradient gradient(x1, y0, x1, y1);
    gradient.setColorAt(0, QColor(30, 30, 30));
    gradient.setColorAt(0.5, QColor(60, 60, 60));
    gradient.setColorAt(1, QColor(30, 30, 30));
    painter->fillRect(r, gradient);
    if (hovered)
        painter->fillRect(r, QColor(30, 180, 30, 50));

    painter->setBrush(Qt::black);
    painter->setPen(Qt::white);
    const QString name = index.data(Qt::DisplayRole).toString();
    const QDateTime modified = index.data(ImagesListModel::ModifiedRole).toDateTime();
    const QString time = modified.toString(QStringLiteral("dd.MMM.yyyy hh:mm:ss"));

    QFont nameFont = option.font;
    nameFont.setWeight(75);
    nameFont.setPixelSize(15);
    painter->setFont(nameFont);
    const QRect textRect(x0 + 25 + s, y0 + 13, W - 23 - s, s);
    const QString elided = QFontMetrics(nameFont).elidedText(name, Qt::ElideMiddle, W - 43);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, elided);

    painter->setPen(Qt::lightGray);
    painter->drawLine(x0 + 8, y1, x1 - x0 - 7, y1);

    QFont timeFont = option.font;
    timeFont.setWeight(50);
    timeFont.setPixelSize(10);
    painter->setFont(timeFont);
    const int timeTop = y0 + 13 + s - QFontMetrics(timeFont).height();
    painter->drawText(QRect(textRect.left(), timeTop, textRect.width(), textRect.height()),
                      Qt::AlignLeft | Qt::AlignTop, time);

    for (QAction* action : m_lstButtons) {
        if (auto* button = qobject_cast<AddButtonAction*>(action)) {
            button->setRect(buttonRect(r));
            button->draw(painter);
        }
    }

    const QImage thumb = index.data(Qt::DecorationRole).value<QImage>();
    const QRect square(x0 + 13, y0 + 13, s, s);
    if (!thumb.isNull()) {
        QPixmap pixmap = QPixmap::fromImage(thumb);
        if (hovered) {
            QPainter overlay(&pixmap);
            overlay.setRenderHint(QPainter::Antialiasing);
            overlay.setOpacity(0.8);
            const int q = qRound(pixmap.width() * 0.25);
            overlay.drawPixmap(QRect(q, q, pixmap.width() / 2, pixmap.height() / 2),
                               QPixmap(QStringLiteral(":/preview.png")));
        }
        const QPixmap scaled = pixmap.scaled(2 * s, 2 * s, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        painter->drawPixmap(square, scaled);
    }

    if (modified.date() == QDate::currentDate()) {
        const QRect badge(x0 + 13, y0 + 13, s, s / 3);
        painter->fillRect(badge, QColor(0, 127, 0, 120));
        QFont badgeFont = option.font;
        badgeFont.setWeight(50);
        badgeFont.setPixelSize(9);
        painter->setFont(badgeFont);
        painter->setPen(Qt::white);
        painter->drawText(badge, Qt::AlignCenter, QStringLiteral("today"));
    }

    painter->restore();
}

bool ImagesListDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index)
{
    // The row menu runs modally from inside a button's handling and may
    // remove this very row; a persistent index notices that.
    const QPersistentModelIndex row(index);
    for (QAction* action : qAsConst(m_lstButtons)) {
        if (auto* button = qobject_cast<AddButtonAction*>(action)) {
            button->setRect(buttonRect(option.rect));
            button->handleEvent(event, index);
        }
    }
    if (!row.isValid())
        return true;
    const QModelIndex current = row;

    if (event->type() == QEvent::MouseButtonPress) {
        const QRect r = option.rect;
        const QRect inner(QPoint(r.left() + 13, r.top() + 13), QPoint(r.right() - 10, r.bottom() - 10));
        const QPoint pos = static_cast<QMouseEvent*>(event)->localPos().toPoint();
        if (inner.contains(pos))
            emit play(current);
    }
    return QStyledItemDelegate::editorEvent(event, model, option, current);
}
