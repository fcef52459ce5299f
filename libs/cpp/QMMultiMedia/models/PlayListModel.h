#ifndef QMMULTIMEDIA_PLAYLISTMODEL_H
#define QMMULTIMEDIA_PLAYLISTMODEL_H

#include <QAbstractListModel>
#include <QStringList>
#include <QTime>
#include <QVector>

class QDir;

namespace QMMultiMedia {

class NativeAudioPlayer;

// A list of sound files for item views, one absolute path per row. Roles:
// display and edit give the file name, UserRole + 1 the modification time,
// UserRole + 3 the path, UserRole + 4 the duration (looked up once per row,
// then cached). Edits replace a row's path. Removing rows refuses ranges that
// do not lie inside the list.
class PlayListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        ModifiedRole = Qt::UserRole + 1,
        PathRole = Qt::UserRole + 3,
        DurationRole = Qt::UserRole + 4
    };

    explicit PlayListModel(QObject *parent = nullptr);

    void setFiles(const QStringList &paths);
    // An empty list changes nothing (no reset).
    void addFiles(const QStringList &paths);
    // The folder's matching files, newest first.
    void setFolder(const QDir &folder, const QStringList &nameFilters);
    QStringList files() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QStringList mimeTypes() const override;
    // False, and no signal, unless 0 <= row, count >= 1, row + count <=
    // rowCount() and the parent is the root.
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    bool isRow(const QModelIndex &index) const;
    QTime durationOf(int row) const;

    QStringList m_slPaths;
    // Parallel to the paths; a null time until the row's duration is asked.
    mutable QVector<QTime> m_vecDurations;
    // The model's own player; no operation of the model plays or probes
    // with it (a player per row would be far too slow for a view).
    [[maybe_unused]] NativeAudioPlayer *m_pPlayer = nullptr;
};

} // namespace QMMultiMedia

#endif
