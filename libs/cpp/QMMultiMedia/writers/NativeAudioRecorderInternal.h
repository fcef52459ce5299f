#ifndef QMMULTIMEDIA_NATIVEAUDIORECORDERINTERNAL_H
#define QMMULTIMEDIA_NATIVEAUDIORECORDERINTERNAL_H

#include <QObject>
#include <QString>

namespace QMMultiMedia {

// Where a platform capture would live; this platform has none, so every
// slot does nothing and finished() is never emitted.
class NativeAudioRecorderInternal : public QObject
{
    Q_OBJECT

public:
    explicit NativeAudioRecorderInternal(QObject *parent = nullptr);

signals:
    void finished();

public slots:
    void slotStart(QString path);
    void slotStop();
    void slotSuspend();
    void slotResume();
};

} // namespace QMMultiMedia

#endif
