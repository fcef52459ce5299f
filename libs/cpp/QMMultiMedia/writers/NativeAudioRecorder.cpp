#include "NativeAudioRecorder.h"
#include "NativeAudioRecorderInternal.h"

namespace QMMultiMedia {

NativeAudioRecorderInternal::NativeAudioRecorderInternal(QObject *parent)
    : QObject(parent)
{
}

void NativeAudioRecorderInternal::slotStart(QString) {}
void NativeAudioRecorderInternal::slotStop() {}
void NativeAudioRecorderInternal::slotSuspend() {}
void NativeAudioRecorderInternal::slotResume() {}

NativeAudioRecorder::NativeAudioRecorder(QObject *parent)
    : QObject(parent)
    , m_pInternal(new NativeAudioRecorderInternal(this))
{
    connect(m_pInternal, SIGNAL(finished()), this, SIGNAL(finished()));
}

void NativeAudioRecorder::setSettings(const RecorderSettings &settings) { m_settings = settings; }
RecorderSettings NativeAudioRecorder::settings() const { return m_settings; }
void NativeAudioRecorder::setFileName(const QString &path) { m_strFileName = path; }
QString NativeAudioRecorder::fileName() const { return m_strFileName; }

bool NativeAudioRecorder::isRecording() const { return false; }
bool NativeAudioRecorder::isSuspended() const { return false; }
int NativeAudioRecorder::errorCode() const { return 0; }
qint64 NativeAudioRecorder::duration() const { return 0; }
qreal NativeAudioRecorder::peakLevel(int) const { return 0.0; }
qreal NativeAudioRecorder::averageLevel(int) const { return 0.0; }
QString NativeAudioRecorder::errorString() const { return QString(); }
QString NativeAudioRecorder::inputDevice() const { return QString(); }
QStringList NativeAudioRecorder::inputDevices() const { return QStringList(); }
void NativeAudioRecorder::setInputDevice(const QString &) {}
void NativeAudioRecorder::setVolume(qreal) {}

void NativeAudioRecorder::slotStart() {}
void NativeAudioRecorder::slotStart(QString path) { m_strFileName = path; }
void NativeAudioRecorder::slotStop() {}
void NativeAudioRecorder::slotSuspend() {}
void NativeAudioRecorder::slotResume() {}

} // namespace QMMultiMedia
