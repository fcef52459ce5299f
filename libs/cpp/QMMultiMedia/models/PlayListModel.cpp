#include "PlayListModel.h"
#include "NativeAudioPlayer.h"
#include "NativeDurationProbe.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace QMMultiMedia {

PlayListModel::PlayListModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_pPlayer(new NativeAudioPlayer(this))
{
}

void PlayListModel::setFiles(const QStringList &paths)
{
    beginResetModel();
    m_slPaths = paths;
    m_vecDurations = QVector<QTime>(paths.size());
    endResetModel();
}

void PlayListModel::addFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    beginResetModel();
    m_slPaths.append(paths);
    m_vecDurations.resize(m_slPaths.size());
    endResetModel();
}

void PlayListModel::setFolder(const QDir &folder, const QStringList &nameFilters)
{
    QStringList paths;
    const QStringList names = folder.entryList(nameFilters, QDir::Files, QDir::Time);
    for (const QString &name : names)
        paths.append(folder.absoluteFilePath(name));
    setFiles(paths);
}

QStringList PlayListModel::files() const
{
    return m_slPaths;
}

int PlayListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_slPaths.size();
}

bool PlayListModel::isRow(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.column() == 0 && index.row() >= 0
        && index.row() < m_slPaths.size();
}

QTime PlayListModel::durationOf(int row) const
{
    QTime &cached = m_vecDurations[row];
    if (cached.isNull()) {
        QTime duration(0, 0, 0);
        const QUrl url = QUrl::fromLocalFile(m_slPaths.at(row));
        if (isNativeDurationProbeAvailable())
            duration = duration.addSecs(nativeDurationInSeconds(url));
        cached = duration;
    }
    return cached;
}

QVariant PlayListModel::data(const QModelIndex &index, int role) const
{
    if (!isRow(index))
        return QVariant();
    const QString &path = m_slPaths.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QFileInfo(path).fileName();
    case ModifiedRole:
        return QFileInfo(path).lastModified();
    case PathRole:
        return path;
    case DurationRole:
        return durationOf(index.row());
    default:
        return QVariant();
    }
}

// The row's cached duration stays: it belongs to the row, not the path.
bool PlayListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!isRow(index) || role != Qt::EditRole)
        return false;
    m_slPaths[index.row()] = value.canConvert<QString>() ? value.toString() : QString();
    emit dataChanged(index, index);
    return true;
}

QVariant PlayListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return tr("Number");
    return QString::number(section);
}

QStringList PlayListModel::mimeTypes() const
{
    return QStringList(QStringLiteral("text/uri-list"));
}

bool PlayListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row > m_slPaths.size() - count)
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_slPaths.erase(m_slPaths.begin() + row, m_slPaths.begin() + row + count);
    m_vecDurations.remove(row, count);
    endRemoveRows();
    return true;
}

// Drops are welcome between rows as well; only rows can be edited.
Qt::ItemFlags PlayListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractListModel::flags(index) | Qt::ItemIsDropEnabled;
    if (index.isValid())
        flags |= Qt::ItemIsEditable;
    return flags;
}

} // namespace QMMultiMedia
