#include "BaseInput.h"

#include <QDebug>

namespace QMMultiMedia {

BaseInput::BaseInput() = default;

BaseInput::~BaseInput() = default;

void BaseInput::dumpInfo()
{
    qDebug() << "Name = " << name();
    settings().dumpInfo();
}

const char* BaseInput::name() const
{
    return "BaseInput";
}

int BaseInput::sampleFormat() const
{
    return settings().format();
}

}  // namespace QMMultiMedia
