#ifndef QMMULTIMEDIA_ENCODERFACTORY_H
#define QMMULTIMEDIA_ENCODERFACTORY_H

namespace QMMultiMedia {

class EncoderBase;

// Makes encoders by kind. No encoder is available on this platform, so the
// factory answers null for every kind. The process-wide selection (0 at
// start) is kept for callers; nothing reads it.
class EncoderFactory
{
public:
    virtual ~EncoderFactory();
    virtual EncoderBase *createEncoder(int kind);

    static void setSelection(int selection);
    static int selection();
};

} // namespace QMMultiMedia

#endif
