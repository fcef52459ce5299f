#include "EncoderBase.h"

#include <QDebug>

namespace QMMultiMedia {

EncoderBase::EncoderBase(QObject *parent)
    : QObject(parent)
{
}

int EncoderBase::status() { return m_nStatus; }
void EncoderBase::setSecondFile(const QString &path) { m_strSecondFile = path; }
void EncoderBase::setFirstFile(const QString &path) { m_strFirstFile = path; }
void EncoderBase::setSettings(const RecorderSettings &settings) { m_settings = settings; }
void EncoderBase::setOption(int value) { m_nOption = value; }

void EncoderBase::reportStatus()
{
    if (m_nStatus < 0)
        qDebug() << "Error Status:" << m_nStatus;
}

void EncoderBase::encode() {}

} // namespace QMMultiMedia
