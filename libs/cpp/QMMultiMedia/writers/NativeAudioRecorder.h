#ifndef QMMULTIMEDIA_NATIVEAUDIORECORDER_H
#define QMMULTIMEDIA_NATIVEAUDIORECORDER_H

#include <QObject>
#include <QString>
#include <QStringList>

#include "RecorderSettings.h"

namespace QMMultiMedia {

class NativeAudioRecorderInternal;

// The recording interface: settings, an output file name and start, stop,
// suspend and resume. This platform records nothing: the operations do
// nothing, no file is created, and every query answers as if nothing had
// been recorded.
class NativeAudioRecorder : public QObject
{
    Q_OBJECT

public:
    explicit NativeAudioRecorder(QObject *parent = nullptr);

    void setSettings(const RecorderSettings &settings);
    RecorderSettings settings() const;
    void setFileName(const QString &path);
    QString fileName() const;

    // Placeholders; see the class comment.
    bool isRecording() const;
    bool isSuspended() const;
    int errorCode() const;
    qint64 duration() const;
    qreal peakLevel(int channel) const;
    qreal averageLevel(int channel) const;
    QString errorString() const;
    QString inputDevice() const;
    QStringList inputDevices() const;
    void setInputDevice(const QString &device);
    void setVolume(qreal volume);

signals:
    void finished();

public slots:
    void slotStart();
    // Stores the output file name; records nothing.
    void slotStart(QString path);
    void slotStop();
    void slotSuspend();
    void slotResume();

private:
    NativeAudioRecorderInternal *m_pInternal = nullptr;
    QString m_strFileName;
    RecorderSettings m_settings;
};

} // namespace QMMultiMedia

#endif
