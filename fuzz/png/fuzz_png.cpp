// The batch's load path for one dropped file: the checked loader (format from
// the content, size read from the header, the 150-megapixel refusal), the
// widening of 16-bit pictures, the colour reducer at 256 dithered and at 2
// plain colours (and grey at 16), and the streamed PNG encoder. Whatever
// loads must reduce to an indexed picture whose indices all lie in its
// colour table, and whose PNG loads back as the same picture.
#include "ColorReducer.h"
#include "ImageFilters.h"
#include "ImageIO.h"

#include "../FuzzCheck.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

namespace {

void reduceAndEncode(const QImage& image, int nColors, bool bDithering)
{
    MGraphX::ColorReducer reducer(image);
    reducer.setDithering(bDithering);
    QImage reduced;
    const QByteArray png = reducer.reduceToPng(nColors, &reduced);
    FUZZ_CHECK(reduced.format() == QImage::Format_Indexed8);
    FUZZ_CHECK(reduced.size() == image.size());
    FUZZ_CHECK(reduced.colorCount() >= 1 && reduced.colorCount() <= 256);
    for (int y = 0; y < reduced.height(); ++y) {
        const uchar* row = reduced.constScanLine(y);
        for (int x = 0; x < reduced.width(); ++x)
            FUZZ_CHECK(row[x] < reduced.colorCount());
    }
    // The streamed encoder's PNG holds exactly the reduced picture.
    QImage back;
    FUZZ_CHECK(MGraphX::loadImageChecked(png, &back));
    FUZZ_CHECK(back.convertToFormat(QImage::Format_ARGB32)
               == reduced.convertToFormat(QImage::Format_ARGB32));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    QImage image;
    QString error;
    if (!MGraphX::loadImageChecked(bytes, &image, &error)) {
        FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(!image.isNull());
    FUZZ_CHECK(qint64(image.width()) * image.height() <= MGraphX::kMaxImagePixels);
    // The reducer works on 32-bit pixels; the batch widens deeper ones first.
    if (image.depth() > 32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    reduceAndEncode(image, 256, true);
    reduceAndEncode(image, 2, false);

    QImage wide = image.depth() == 32 ? image
        : image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                        : QImage::Format_RGB32);
    reduceAndEncode(MGraphX::toGray(wide), 16, true);
    return 0;
}
