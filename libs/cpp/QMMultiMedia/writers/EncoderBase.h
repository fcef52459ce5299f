#ifndef QMMULTIMEDIA_ENCODERBASE_H
#define QMMULTIMEDIA_ENCODERBASE_H

#include <QObject>
#include <QString>

#include "RecorderSettings.h"

namespace QMMultiMedia {

// The common ground of the audio encoders: two file paths, the encoding
// settings, an option and a status (negative means an error). The base
// encodes nothing; encoders derived from it do the work in encode().
class EncoderBase : public QObject
{
    Q_OBJECT

public:
    explicit EncoderBase(QObject *parent = nullptr);

    virtual int status();
    virtual void setSecondFile(const QString &path);
    virtual void setFirstFile(const QString &path);
    virtual void setSettings(const RecorderSettings &settings);
    virtual void setOption(int value);
    // Writes "Error Status:" and the status to the debug stream when the
    // status is negative; nothing otherwise.
    virtual void reportStatus();
    virtual void encode();

signals:
    void errorsLog(QString);

protected:
    QString m_strFirstFile;
    QString m_strSecondFile;
    int m_nStatus = 0;
    RecorderSettings m_settings;
    int m_nOption = 0;
};

} // namespace QMMultiMedia

#endif
