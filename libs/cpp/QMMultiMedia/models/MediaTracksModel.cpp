#include "MediaTracksModel.h"

#include <QMediaPlaylist>

namespace QMMultiMedia {

MediaTracksModel::MediaTracksModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void MediaTracksModel::setPlaylist(QMediaPlaylist *playlist)
{
    beginResetModel();
    if (m_pPlaylist)
        disconnect(m_pPlaylist, nullptr, this, nullptr);
    m_pPlaylist = playlist;
    if (m_pPlaylist)
        followPlaylist();
    endResetModel();
}

void MediaTracksModel::followPlaylist()
{
    QMediaPlaylist *playlist = m_pPlaylist.data();
    connect(playlist, &QMediaPlaylist::mediaAboutToBeInserted, this,
            [this](int start, int end) { beginInsertRows(QModelIndex(), start, end); });
    connect(playlist, &QMediaPlaylist::mediaInserted, this, [this](int, int) { endInsertRows(); });
    connect(playlist, &QMediaPlaylist::mediaAboutToBeRemoved, this,
            [this](int start, int end) { beginRemoveRows(QModelIndex(), start, end); });
    connect(playlist, &QMediaPlaylist::mediaRemoved, this, [this](int, int) { endRemoveRows(); });
    connect(playlist, &QMediaPlaylist::mediaChanged, this,
            [this](int start, int end) { emit dataChanged(index(start), index(end)); });
    // By the time destroyed() arrives the guarded pointer is already null, so
    // the reset leaves the views with no rows.
    connect(playlist, &QObject::destroyed, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int MediaTracksModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_pPlaylist)
        return 0;
    return m_pPlaylist->mediaCount();
}

bool MediaTracksModel::isRow(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.column() == 0 && index.row() >= 0
        && index.row() < rowCount();
}

QVariant MediaTracksModel::data(const QModelIndex &index, int role) const
{
    if (!isRow(index) || role != Qt::DisplayRole)
        return QVariant();
    return m_pPlaylist->media(index.row()).request().url().fileName();
}

bool MediaTracksModel::setData(const QModelIndex &index, const QVariant &, int role)
{
    if (!isRow(index) || role != Qt::EditRole)
        return false;
    emit dataChanged(index, index);
    return true;
}

QVariant MediaTracksModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return tr("Number");
    return QString::number(section);
}

Qt::ItemFlags MediaTracksModel::flags(const QModelIndex &index) const
{
    return QAbstractListModel::flags(index);
}

} // namespace QMMultiMedia
