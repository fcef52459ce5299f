#include "PreviewLoader.h"

#include <new>
#include <utility>

PreviewLoader::PreviewLoader(DecodeFunction decode, QObject* parent)
    : QObject(parent)
    , m_fnDecode(std::move(decode))
    , m_thread([this] { run(); })
{
}

PreviewLoader::~PreviewLoader()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bQuit = true;
    }
    m_cvWork.notify_one();
    m_thread.join();
}

void PreviewLoader::request(const QString& path)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_strPending = path;
        m_bPending = true;
    }
    m_cvWork.notify_one();
}

void PreviewLoader::run()
{
    for (;;) {
        QString path;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_cvWork.wait(lock, [this] { return m_bQuit || m_bPending; });
            if (m_bQuit)
                return;
            path = m_strPending;
            m_bPending = false;
        }
        QImage image;
        try {
            image = m_fnDecode(path);
        } catch (const std::bad_alloc&) {
            // No preview is no loss; an exception must not leave this thread.
            image = QImage();
        }
        // Shown even when a newer path waits: in a fast batch every picture
        // would otherwise be out of date before it could be shown.
        emit loaded(path, image);
    }
}
