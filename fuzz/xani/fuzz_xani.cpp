// The animated-frame container's loader reads files from outside: any bytes
// must load or be refused without a fault, without reading or allocating
// beyond what the file holds, and what loads must have the container's
// structure.
#include "../FuzzCheck.h"
#include "../FuzzFiles.h"
#include "Xani.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

namespace {

QString g_strPath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv)
{
    static QCoreApplication app(*pArgc, *pArgv);
    g_strPath = QString::fromStdString(fuzzfiles::path("input.xani"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    fuzzfiles::write(g_strPath.toStdString(), data, size);
    MGraphX::Xani xani;
    const bool bLoaded = xani.load(g_strPath);
    FUZZ_CHECK(!bLoaded || (bytes.size() >= 60 && bytes.startsWith("XANI") && bytes.mid(20, 4) == "BIND"));
    FUZZ_CHECK(xani.frameCount() == 0); // loading never makes frames
    return 0;
}
