// The JavaScript minifier reads scripts from outside, read as Latin-1 bytes
// and as UTF-8 text. Any text must end (cut-off literals and comments
// included), give the same result on a second run of the same object, and
// come out as Latin-1 text holding no control character but the line feed.
#include "JavaScriptMinifier.h"

#include "../FuzzCheck.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace {

void minifyTwice(MTools::JavaScriptMinifier& minifier, const QString& source)
{
    const QString once = minifier.minify(source);
    for (const QChar c : once)
        FUZZ_CHECK(c == QLatin1Char('\n') || (c.unicode() >= 0x20 && c.unicode() <= 0xFF));
    FUZZ_CHECK(minifier.minify(source) == once);
    FUZZ_CHECK(MTools::minifyJavaScript(source) == once);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* text = reinterpret_cast<const char*>(data);
    MTools::JavaScriptMinifier minifier;
    minifyTwice(minifier, QString::fromLatin1(text, int(size)));
    minifyTwice(minifier, QString::fromUtf8(text, int(size)));
    return 0;
}
