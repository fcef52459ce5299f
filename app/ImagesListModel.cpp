#include "ImagesListModel.h"

#include "ImageFilters.h"
#include "RegularFile.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <new>

namespace {

// Points reader at a listed picture, opened into file. Opened without
// waiting, and read only when a regular file: a pipe put at a listed path
// after the folder walk would otherwise hold whoever reads it, the GUI
// thread for small pictures, for good. False when it cannot be read. The
// format comes from the content (the name is not passed on).
bool openPicture(const QString& path, QFile* pFile, QImageReader* pReader)
{
    if (!MTools::RegularFile::openFile(path, pFile))
        return false;
    pReader->setDevice(pFile);
    pReader->setDecideFormatFromContent(true);
    return true;
}

// The size the picture's header declares; invalid when there is none.
QSize declaredSize(const QString& path)
{
    QFile file;
    QImageReader reader;
    return openPicture(path, &file, &reader) ? reader.size() : QSize();
}

} // namespace

ImagesListModel::ImagesListModel(QObject* parent)
    : QAbstractListModel(parent)
{
    // One at a time: each large picture takes its full size in memory.
    m_threadPoolThumbs.setMaxThreadCount(1);
}

ImagesListModel::~ImagesListModel()
{
    m_threadPoolThumbs.clear();
    m_threadPoolThumbs.waitForDone();
}

int ImagesListModel::rowCount(const QModelIndex&) const
{
    return m_lstFiles.size();
}

QVariant ImagesListModel::data(const QModelIndex& index, int role) const
{
    // A view may still hold the index of a row that was removed since.
    if (!index.isValid() || index.row() < 0 || index.row() >= m_lstFiles.size())
        return QVariant();
    const QString& path = m_lstFiles.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QFileInfo(path).fileName();
    case Qt::DecorationRole:
        return cachedThumbnail(path);
    case ModifiedRole:
        return QFileInfo(path).lastModified();
    case FullPathRole:
        return path;
    default:
        return QVariant();
    }
}

bool ImagesListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= m_lstFiles.size())
        return false;
    m_lstFiles[index.row()] = value.toString();
    emit dataChanged(index, index, QVector<int>());
    return true;
}

QVariant ImagesListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return QStringLiteral("Number");
    return QString::number(section);
}

Qt::ItemFlags ImagesListModel::flags(const QModelIndex& index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsEditable | Qt::ItemIsDropEnabled;
}

QStringList ImagesListModel::mimeTypes() const
{
    return QStringList(QStringLiteral("text/uri-list"));
}

bool ImagesListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    // In 64 bits: a count near the int range must not wrap around.
    const int first = std::max(row, 0);
    const int last = int(std::min(qint64(row) + count - 1, qint64(m_lstFiles.size()) - 1));
    if (first > last)
        return true;
    beginRemoveRows(parent, first, last);
    m_lstFiles.erase(m_lstFiles.begin() + first, m_lstFiles.begin() + last + 1);
    endRemoveRows();
    return true;
}

void ImagesListModel::setFiles(const QStringList& files)
{
    beginResetModel();
    m_lstFiles = files;
    m_hashThumbs.clear();
    // Thumbnails still waiting belong to the old list.
    m_threadPoolThumbs.clear();
    m_setThumbsPending.clear();
    endResetModel();
}

QStringList ImagesListModel::files() const
{
    return m_lstFiles;
}

void ImagesListModel::appendFiles(const QStringList& files)
{
    if (files.isEmpty())
        return;
    beginResetModel();
    m_lstFiles += files;
    endResetModel();
}

void ImagesListModel::setFolder(const QDir& dir, const QStringList& nameFilters)
{
    QStringList paths;
    const QStringList names = dir.entryList(nameFilters, QDir::Files, QDir::Time);
    for (const QString& name : names)
        paths << dir.absoluteFilePath(name);
    setFiles(paths);
}

QImage ImagesListModel::thumbnail(const QString& path)
{
    QFile file;
    QImageReader reader;
    if (!openPicture(path, &file, &reader))
        return QImage();
    const QSize size = reader.size();
    const int w = size.width();
    const int h = size.height();
    // No header, a zero side or a picture too large to decode here: skipped
    // before any pixel memory is taken.
    if (w <= 0 || h <= 0 || qint64(w) * qint64(h) > kMaxThumbnailPixels)
        return QImage();
    const double scale = 130.0 / std::max(w, h);
    // A long thin picture keeps at least one pixel on its short side.
    reader.setScaledSize(QSize(std::max(1, qRound(w * scale)), std::max(1, qRound(h * scale))));
    const QImage image = reader.read();
    if (image.isNull())
        return QImage();
    return MGraphX::fitIntoSize(image, QSize(48, 48), QColor(100, 100, 100, 0));
}

QImage ImagesListModel::cachedThumbnail(const QString& path) const
{
    const QFileInfo info(path);
    const QDateTime modified = info.lastModified();
    const qint64 size = info.exists() ? info.size() : -1;
    auto it = m_hashThumbs.constFind(path);
    if (it != m_hashThumbs.constEnd() && it->modified == modified && it->size == size)
        return it->image;
    const QSize pixels = declaredSize(path);
    if (qint64(pixels.width()) * qint64(pixels.height()) > kSyncThumbnailPixels
        && qint64(pixels.width()) * qint64(pixels.height()) <= kMaxThumbnailPixels) {
        if (!m_setThumbsPending.contains(path)) {
            m_setThumbsPending.insert(path);
            auto* self = const_cast<ImagesListModel*>(this);
            m_threadPoolThumbs.start([self, path, modified, size] {
                QImage image;
                try {
                    image = thumbnail(path);
                } catch (const std::bad_alloc&) {
                    image = QImage();
                }
                // The model waits for this task before it goes, so it is
                // still there to receive the call.
                QMetaObject::invokeMethod(self, [self, path, modified, size, image] {
                    self->thumbnailReady(path, modified, size, image);
                }, Qt::QueuedConnection);
            }, ++m_nThumbRequests);
        }
        // The old picture, if any, until the new one is ready.
        return it != m_hashThumbs.constEnd() ? it->image : QImage();
    }
    Thumb thumb;
    thumb.modified = modified;
    thumb.size = size;
    thumb.image = thumbnail(path);
    m_hashThumbs.insert(path, thumb);
    return thumb.image;
}

void ImagesListModel::thumbnailReady(const QString& path, const QDateTime& modified, qint64 size,
                                     const QImage& image)
{
    m_setThumbsPending.remove(path);
    Thumb thumb;
    thumb.modified = modified;
    thumb.size = size;
    thumb.image = image;
    m_hashThumbs.insert(path, thumb);
    for (int row = 0; row < m_lstFiles.size(); ++row) {
        if (m_lstFiles.at(row) == path) {
            const QModelIndex changed = index(row);
            emit dataChanged(changed, changed, {Qt::DecorationRole});
        }
    }
}
