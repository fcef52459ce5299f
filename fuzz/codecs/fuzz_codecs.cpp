// The text codecs read text from outside (pasted keys, stored settings):
// decoding any text must end without a fault, and what decodes must encode
// back to the canonical text.
#include "Codecs.h"

#include "../FuzzCheck.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QString text = QString::fromLatin1(bytes);  // up to the first NUL

    const QByteArray fromB32 = MTools::fromBase32(text);
    FUZZ_CHECK(fromB32.isEmpty() || MTools::fromBase32(MTools::toBase32(fromB32)) == fromB32);
    MTools::decodeBase32String(text);

    const QByteArray fromB64 = MTools::fromBase64(text);
    FUZZ_CHECK(MTools::fromBase64(MTools::toBase64(fromB64)) == fromB64);
    MTools::decodeBase64String(text);
    MTools::fromUnicodeBase64(text);
    MTools::fromUtf16BigEndian(bytes);

    // The buffer-level decoder writes at most its capacity, whatever the
    // text; the vectors are sized exactly so that a byte more is caught.
    const unsigned count = unsigned(size) & ~7u;
    const unsigned capacity = MTools::base32DecodedCapacity(count);
    for (unsigned cap : {capacity, capacity / 2, 1u}) {
        std::vector<uchar> out(cap ? cap : 1);
        FUZZ_CHECK(MTools::base32Decode(bytes.constData(), count, out.data(), cap) <= cap);
    }
    std::vector<char> encoded(MTools::base32EncodedLength(unsigned(size)));
    if (!encoded.empty()) {
        MTools::base32EncodeInto(data, unsigned(size), encoded.data(), unsigned(encoded.size()));
        FUZZ_CHECK(QString::fromLatin1(encoded.data(), int(encoded.size())) == MTools::toBase32(bytes));
    }
    FUZZ_CHECK(MTools::fromLatin1Bytes(data, int(size))
               == QString::fromLatin1(reinterpret_cast<const char*>(data), int(size)));

    // Encoding any bytes round-trips.
    FUZZ_CHECK(MTools::fromBase32(MTools::toBase32(bytes)) == bytes);
    FUZZ_CHECK(MTools::fromBase64(MTools::toBase64(bytes)) == bytes);
    FUZZ_CHECK(size % 2 != 0 || MTools::toUtf16BigEndian(MTools::fromUtf16BigEndian(bytes)) == bytes);
    const QString utf8 = QString::fromUtf8(bytes.constData(), bytes.size());
    FUZZ_CHECK(MTools::fromUnicodeBase64(MTools::toUnicodeBase64(utf8)) == utf8);
    return 0;
}
