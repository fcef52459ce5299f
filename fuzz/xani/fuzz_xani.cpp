// The animated-frame container's loader reads files from outside: any bytes
// must load or be refused without a fault, without reading or allocating
// beyond what the file holds, and what loads must have the container's
// structure.
#include "Xani.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdlib>

namespace {

QString g_strPath;

// The input's file goes when the run ends.
struct RemoveAtExit {
    ~RemoveAtExit()
    {
        if (!g_strPath.isEmpty())
            QFile::remove(g_strPath);
    }
} g_removeAtExit;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* pArgc, char*** pArgv)
{
    static QCoreApplication app(*pArgc, *pArgv);
    // The loader reads a file; one in memory (/dev/shm) keeps the fuzzer
    // fast where a disk-backed temporary folder would make it wait.
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QDir dir = shm.isDir() && shm.isWritable() ? QDir(shm.filePath()) : QDir::temp();
    g_strPath = dir.filePath(QStringLiteral("fuzz-xani-%1.xani").arg(QCoreApplication::applicationPid()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    {
        QFile file(g_strPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort();
    }
    MGraphX::Xani xani;
    const bool bLoaded = xani.load(g_strPath);
    if (bLoaded && (bytes.size() < 60 || !bytes.startsWith("XANI") || bytes.mid(20, 4) != "BIND"))
        std::abort();
    if (xani.frameCount() != 0)
        std::abort(); // loading never makes frames
    return 0;
}
