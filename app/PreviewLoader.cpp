#include "PreviewLoader.h"

#include "ImageIO.h"
#include "RegularFile.h"

#include <QFile>
#include <QImageReader>

#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <utility>
#include <vector>

struct PreviewLoader::State
{
    DecodeFunction decode;
    std::mutex mutex;
    std::condition_variable cvWork;
    QString strPending;
    bool bPending = false;
    bool bQuit = false;
    bool bEnded = false;
    // Cleared, under the mutex, when the loader goes; a result is only
    // posted while it is set, so never to a loader that is gone.
    PreviewLoader* pOwner = nullptr;
};

namespace {

// Threads of loaders that went while a picture was still being decoded.
// Those that have ended are joined whenever a loader goes; the rest when the
// program ends.
struct RetiredThreads
{
    std::mutex mutex;
    std::vector<std::pair<std::thread, std::function<bool()>>> threads;

    ~RetiredThreads()
    {
        for (auto& entry : threads)
            entry.first.join();
    }

    void add(std::thread thread, std::function<bool()> ended)
    {
        std::lock_guard<std::mutex> lock(mutex);
        for (auto it = threads.begin(); it != threads.end();) {
            if (it->second()) {
                it->first.join();
                it = threads.erase(it);
            } else {
                ++it;
            }
        }
        threads.emplace_back(std::move(thread), std::move(ended));
    }
};

RetiredThreads& retiredThreads()
{
    static RetiredThreads retired;
    return retired;
}

} // namespace

PreviewLoader::PreviewLoader(DecodeFunction decode, QObject* parent)
    : QObject(parent)
    , m_pState(std::make_shared<State>())
{
    m_pState->decode = std::move(decode);
    m_pState->pOwner = this;
    try {
        m_thread = std::thread(&PreviewLoader::run, m_pState);
    } catch (const std::system_error&) {
        // No thread to spare: no previews, as the batch goes on without
        // reading ahead. Nothing is decoded on the window's thread instead.
    }
}

PreviewLoader::~PreviewLoader()
{
    {
        std::lock_guard<std::mutex> lock(m_pState->mutex);
        m_pState->pOwner = nullptr;
        m_pState->bQuit = true;
    }
    m_pState->cvWork.notify_one();
    if (!m_thread.joinable())
        return;
    const std::shared_ptr<State> state = m_pState;
    retiredThreads().add(std::move(m_thread), [state] {
        std::lock_guard<std::mutex> lock(state->mutex);
        return state->bEnded;
    });
}

QImage PreviewLoader::decodeFitted(const QString& path, const QSize& bound)
{
    // Opened without waiting and read only when a regular file: a pipe put at
    // a source's path would otherwise hold this thread for good.
    QFile file;
    if (!MTools::RegularFile::openFile(path, &file))
        return QImage();
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    // The batch's own limit, read from the header before any decoding.
    if (!size.isValid() || size.isEmpty() || qint64(size.width()) * size.height() > MGraphX::kMaxImagePixels)
        return QImage();
    // Decoded at the size shown: the PNG reader then scales row by row, so a
    // large picture is neither held whole in memory nor scaled afterwards.
    if (size.width() > bound.width() || size.height() > bound.height())
        reader.setScaledSize(size.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

void PreviewLoader::request(const QString& path)
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_pState->mutex);
        m_pState->strPending = path;
        m_pState->bPending = true;
    }
    m_pState->cvWork.notify_one();
}

void PreviewLoader::run(const std::shared_ptr<State>& state)
{
    for (;;) {
        QString path;
        {
            std::unique_lock<std::mutex> lock(state->mutex);
            state->cvWork.wait(lock, [&] { return state->bQuit || state->bPending; });
            if (state->bQuit) {
                state->bEnded = true;
                return;
            }
            path = state->strPending;
            state->bPending = false;
        }
        QImage image;
        try {
            image = state->decode(path);
        } catch (const std::bad_alloc&) {
            // No preview is no loss; an exception must not leave this thread.
            image = QImage();
        }
        // Shown even when a newer path waits: in a fast batch every picture
        // would otherwise be out of date before it could be shown.
        std::lock_guard<std::mutex> lock(state->mutex);
        if (PreviewLoader* owner = state->pOwner) {
            QMetaObject::invokeMethod(owner, [owner, path, image] {
                emit owner->loaded(path, image);
            }, Qt::QueuedConnection);
        }
    }
}
