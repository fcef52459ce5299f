#include "EncoderFactory.h"

namespace QMMultiMedia {

namespace {

int s_nSelection = 0;

} // namespace

EncoderFactory::~EncoderFactory() = default;

EncoderBase *EncoderFactory::createEncoder(int)
{
    return nullptr;
}

void EncoderFactory::setSelection(int selection) { s_nSelection = selection; }
int EncoderFactory::selection() { return s_nSelection; }

} // namespace QMMultiMedia
