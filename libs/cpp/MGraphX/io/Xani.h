#pragma once

#include "XaniFrame.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

namespace MGraphX {

// An animation held as a list of still frames. The object is also the image
// of the frame shown last, so it paints like any QImage. It plays its frames
// in a loop, one a second, and stores them in one container file:
//
//   "XANI" total length | "BIND" frame-block length L | the encoded frames |
//   "XMLD" index length X | the XML index (Latin-1)
//
// with every length lower-case hexadecimal, blank-padded to 16 bytes. The
// index names every frame with its format, duration, background flag and
// byte range (<data> is left open: the index is not well-formed XML).
// load() checks a file's structure and reads its index; it does not rebuild
// frames.
class Xani : public QObject, public QImage
{
    Q_OBJECT

public:
    // The file name is not used; the container starts empty.
    explicit Xani(const QString& strFileName = QString(), QObject* pParent = nullptr);
    // Loop, frame duration and frames only; the copy has no parent and does
    // not play (its timer is not connected).
    Xani(const Xani& other);
    // Loop, frame duration and frames only.
    Xani& operator=(const Xani& other);
    ~Xani() override;

    int loop() const { return m_nLoop; }
    void setLoop(int nLoop) { m_nLoop = nLoop; }
    int frameDuration() const { return m_nFrameDuration; }
    void setFrameDuration(int nMilliseconds) { m_nFrameDuration = nMilliseconds; }
    int frameCount() const { return m_vecFrames.size(); }
    QString fileName() const { return m_strFileName; }
    bool isPlaying() const { return m_timer.isActive(); }

    // A copy of the frame; a default frame outside the list.
    XaniFrame frame(int nIndex) const;
    // Returns the new frame count.
    int addFrame(const XaniFrame& frame);
    // Only existing frames are replaced.
    void replaceFrame(int nIndex, const XaniFrame& frame);
    void clearFrames();

    // Writes the container. Fails, leaving any file of that name as it was,
    // when the file cannot be written or a frame cannot be encoded in its
    // format (a frame without a picture included).
    bool save(const QString& strFileName, int nQuality = -1);
    // Checks the magics and that every length lies within the file, then
    // reads the index and writes it to the debug stream. False for a missing
    // or malformed file; the frames are not changed either way.
    bool load(const QString& strFileName);

signals:
    void frameChanged();

public slots:
    // Plays at a fixed interval of 1000 ms, from the next frame.
    void start();
    void stop();
    // Shows the next frame, wrapping to the first; with no frames it stops.
    void nextFrame();
    // Shows the frame (an empty image outside the list) without moving the
    // playing position.
    void setCurrentIndex(int nIndex);

private:
    // The index for frames whose start and size are set as stored.
    QString indexText(const QVector<XaniFrame>& vecStored) const;

    QString m_strFileName;
    QTimer m_timer;
    int m_nNextIndex = 0;
    int m_nLoop = 1;
    int m_nFrameDuration = 1000;
    QVector<XaniFrame> m_vecFrames;
};

} // namespace MGraphX
