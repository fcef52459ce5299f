#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <thread>

// Decodes the batch dialog's previews on a thread of its own, so that a large
// picture never holds up the window (a 100-megapixel PNG takes seconds).
// At most one picture is decoded at a time, and only the newest path asked
// for waits: one asked for while another is decoded replaces any waiting one.
// Without a thread to spare (the system refuses one) there are no previews.
class PreviewLoader : public QObject
{
    Q_OBJECT
public:
    using DecodeFunction = std::function<QImage(const QString&)>;

    explicit PreviewLoader(DecodeFunction decode, QObject* parent = nullptr);
    // Returns at once, also while a picture is being decoded: nothing is
    // delivered afterwards, and the decode ends on its own (the thread is
    // joined later, at the latest when the program ends).
    ~PreviewLoader() override;

    void request(const QString& path);

    // The picture at path, decoded scaled down (keeping its shape) to fit
    // within bound. A picture beyond the batch's pixel limit is refused from
    // its header, before any decoding; a null image also when the file
    // cannot be read.
    static QImage decodeFitted(const QString& path, const QSize& bound);

signals:
    // On the thread the loader lives in, queued. A null image when the file
    // cannot be read.
    void loaded(const QString& path, const QImage& image);

private:
    struct State;
    static void run(const std::shared_ptr<State>& state);

    std::shared_ptr<State> m_pState;
    std::thread m_thread;
};
