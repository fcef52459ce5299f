// The tag reader's paths take picture data out of ID3v2 tags from outside:
// undoing unsynchronisation and decoding the picture must end without a
// fault for any bytes, never give a picture over the size limit, and
// unsynchronisation removal must undo what unsynchronisation does.
//
// Input: one flag byte (bit 0: the data is marked unsynchronised), then the
// picture data.
#include "MetaTagsBase.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray unsynchronised(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        out.append(c);
        if (c == '\xFF')
            out.append('\0');
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const bool flagged = (data[0] & 1) != 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), int(size - 1));

    const QByteArray cleaned = QMMultiMedia::MetaTagsBase::removeUnsynchronisation(bytes);
    if (cleaned.size() > bytes.size())
        std::abort();
    if (!bytes.contains(QByteArray("\xFF\0", 2)) && cleaned != bytes)
        std::abort();
    if (QMMultiMedia::MetaTagsBase::removeUnsynchronisation(unsynchronised(bytes)) != bytes)
        std::abort();

    const QImage image = QMMultiMedia::MetaTagsBase::imageFromPictureData(bytes, flagged);
    if (!image.isNull() && (image.width() > 8192 || image.height() > 8192))
        std::abort();
    return 0;
}
