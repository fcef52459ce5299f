#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Decodes the batch dialog's previews on a thread of its own, so that a large
// picture never holds up the window (a 100-megapixel PNG takes seconds).
// At most one picture is decoded at a time, and only the newest path asked
// for waits: one asked for while another is decoded replaces any waiting one.
class PreviewLoader : public QObject
{
    Q_OBJECT
public:
    using DecodeFunction = std::function<QImage(const QString&)>;

    explicit PreviewLoader(DecodeFunction decode, QObject* parent = nullptr);
    // Waits for a decode under way; nothing is delivered afterwards.
    ~PreviewLoader() override;

    void request(const QString& path);

signals:
    // Emitted on the loader's thread; connect with a receiver on the GUI
    // thread, which gets it queued. A null image when the file cannot be read.
    void loaded(const QString& path, const QImage& image);

private:
    void run();

    DecodeFunction m_fnDecode;
    std::mutex m_mutex;
    std::condition_variable m_cvWork;
    QString m_strPending;
    bool m_bPending = false;
    bool m_bQuit = false;
    std::thread m_thread;
};
