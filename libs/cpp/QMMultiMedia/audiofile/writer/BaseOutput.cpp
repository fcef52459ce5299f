#include "BaseOutput.h"

#include <QDebug>

namespace QMMultiMedia {

BaseOutput::BaseOutput() = default;

BaseOutput::~BaseOutput() = default;

bool BaseOutput::writeBuffer(const MTools::Handle<AudioFloatBuffer>& buffer, int frames)
{
    const qint64 count = qint64(frames) * buffer->channels();
    if (frames < 0 || count < 0 || count > buffer->size())
        return false;
    return write(buffer->data(), int(count));
}

bool BaseOutput::writeRawBuffer(const MTools::Handle<RawBuffer>& buffer, int count)
{
    if (count < 0 || count > buffer->size())
        return false;
    return writeBytes(buffer->data(), count);
}

bool BaseOutput::setOutputId(int id)
{
    m_nOutputId = id;
    return true;
}

int BaseOutput::outputId() const
{
    return m_nOutputId;
}

bool BaseOutput::test()
{
    qDebug() << "Test";
    return true;
}

}  // namespace QMMultiMedia
