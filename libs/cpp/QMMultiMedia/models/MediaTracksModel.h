#ifndef QMMULTIMEDIA_MEDIATRACKSMODEL_H
#define QMMULTIMEDIA_MEDIATRACKSMODEL_H

#include <QAbstractListModel>
#include <QPointer>

class QMediaPlaylist;

namespace QMMultiMedia {

// Shows the entries of a platform playlist by file name. The model does not
// own the playlist; it follows the playlist's insertions, removals and
// changes, resets when another playlist is set, and shows nothing once the
// playlist is gone.
class MediaTracksModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit MediaTracksModel(QObject *parent = nullptr);

    void setPlaylist(QMediaPlaylist *playlist);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Accepts edits and stores nothing.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    bool isRow(const QModelIndex &index) const;
    void followPlaylist();

    QPointer<QMediaPlaylist> m_pPlaylist;
};

} // namespace QMMultiMedia

#endif
