// The text codecs read text from outside (pasted keys, stored settings):
// decoding any text must end without a fault, and what decodes must encode
// back to the canonical text.
#include "Codecs.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QString text = QString::fromLatin1(bytes);

    const QByteArray fromB32 = MTools::fromBase32(text);
    if (!fromB32.isEmpty() && MTools::fromBase32(MTools::toBase32(fromB32)) != fromB32)
        std::abort();
    MTools::decodeBase32String(text);

    const QByteArray fromB64 = MTools::fromBase64(text);
    if (MTools::fromBase64(MTools::toBase64(fromB64)) != fromB64)
        std::abort();
    MTools::decodeBase64String(text);
    MTools::fromUnicodeBase64(text);
    MTools::fromUtf16BigEndian(bytes);

    // Encoding any bytes round-trips.
    if (MTools::fromBase32(MTools::toBase32(bytes)) != bytes)
        std::abort();
    if (MTools::fromBase64(MTools::toBase64(bytes)) != bytes)
        std::abort();
    return 0;
}
