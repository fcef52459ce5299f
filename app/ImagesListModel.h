#pragma once

#include <QAbstractListModel>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QStringList>
#include <QThreadPool>

class QDir;

// The paths of the PNG files of the last drop, one row each. The view asks
// for the file name, a 48 x 48 thumbnail, the modification time and the full
// path; nothing but the paths is kept as data.
class ImagesListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles {
        ModifiedRole = Qt::UserRole + 1,
        FullPathRole = Qt::UserRole + 3
    };

    // Pictures whose header declares more pixels than this get no thumbnail:
    // the PNG reader decodes at full size before scaling, on the GUI thread.
    static constexpr qint64 kMaxThumbnailPixels = 40000000;
    // Larger pictures are decoded on a helper thread: a 16-megapixel PNG
    // takes a quarter of a second, and a screenful of them froze the list.
    // Their rows show no picture until the thumbnail is ready.
    static constexpr qint64 kSyncThumbnailPixels = 2000000;

    explicit ImagesListModel(QObject* parent = nullptr);
    // Waits for a thumbnail being decoded; none waiting is begun.
    ~ImagesListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    void setFiles(const QStringList& files);
    QStringList files() const;
    void appendFiles(const QStringList& files);
    void setFolder(const QDir& dir, const QStringList& nameFilters);

    // The 48 x 48 thumbnail of a file: read with its longer side at 130
    // pixels and fitted, centred, on a transparent grey canvas. A null image
    // for a file that cannot be read, is not a regular file (a pipe there is
    // never waited for), has a zero side or is too large.
    static QImage thumbnail(const QString& path);

private:
    QImage cachedThumbnail(const QString& path) const;
    void thumbnailReady(const QString& path, const QDateTime& modified, qint64 size,
                        const QImage& image);

    QStringList m_lstFiles;

    // Every repaint asks for the thumbnail again; a file is decoded once as
    // long as its time stamp and size stay the same.
    struct Thumb {
        QDateTime modified;
        qint64 size = -1;
        QImage image;
    };
    mutable QHash<QString, Thumb> m_hashThumbs;
    // Large pictures being decoded or waiting; the newest request goes first,
    // as it is the one on screen.
    mutable QSet<QString> m_setThumbsPending;
    mutable QThreadPool m_threadPoolThumbs;
    mutable int m_nThumbRequests = 0;
};
