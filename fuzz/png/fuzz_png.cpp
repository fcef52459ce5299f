// The batch's load path for one dropped file: the checked loader (format from
// the content, size read from the header, the 150-megapixel refusal), the
// widening of 16-bit pictures, the colour reducer at 256 dithered and at 2
// plain colours, and the streamed PNG encoder. Whatever loads must reduce to
// an indexed picture whose indices all lie in its colour table, and whose PNG
// loads back as the same picture.
#include "ColorReducer.h"
#include "ImageIO.h"

#include "../FuzzCheck.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <cstdint>
#include <cstring>

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
    // The streamed encoder's PNG holds exactly the reduced picture. Qt reads
    // an indexed PNG back as indices and colour table; a table that is a
    // grey ramp is written, and read back, as a grey picture.
    QImage back;
    FUZZ_CHECK(MGraphX::loadImageChecked(png, &back));
    FUZZ_CHECK(back.size() == reduced.size());
    if (back.format() == QImage::Format_Indexed8) {
        FUZZ_CHECK(back.colorTable() == reduced.colorTable());
        for (int y = 0; y < reduced.height(); ++y) {
            FUZZ_CHECK(std::memcmp(back.constScanLine(y), reduced.constScanLine(y),
                                   size_t(reduced.width())) == 0);
        }
    } else {
        // Row by row: a whole 32-bit copy of a large picture costs too much.
        for (int y = 0; y < reduced.height(); ++y) {
            FUZZ_CHECK(back.copy(0, y, back.width(), 1).convertToFormat(QImage::Format_ARGB32)
                       == reduced.copy(0, y, reduced.width(), 1).convertToFormat(QImage::Format_ARGB32));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The batch runs inside the application; decoders that draw (SVG) and
    // their fonts need one, offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    Q_UNUSED(app)
    return 0;
}

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
    return 0;
}
