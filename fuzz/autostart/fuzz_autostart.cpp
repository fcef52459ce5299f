// The autostart entry lies in the user's configuration, where other programs
// and the user's own hands may change it. Any bytes must read without harm;
// and a name and a program taken from the input must read back as the
// program written, with no key of the entry added by either.
#include "Autostart.h"

#include "../FuzzCheck.h"
#include "../FuzzFiles.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

const QString kEntry = QStringLiteral("fuzz-entry");

// Keys are counted where a reader finds them: at the start of a line.
int linesStartingWith(const QByteArray& text, const QByteArray& key)
{
    int count = 0;
    for (const QByteArray& line : text.split('\n'))
        count += line.startsWith(key) ? 1 : 0;
    return count;
}

// Text that survives UTF-8 both ways; a NUL cannot stand in a desktop entry.
bool isWritable(const QString& text)
{
    return !text.contains(QChar(0)) && QString::fromUtf8(text.toUtf8()) == text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The entry goes to $XDG_CONFIG_HOME/autostart, here a scratch folder.
    setenv("XDG_CONFIG_HOME", fuzzfiles::folder().c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QString path = Platform::autostartEntryPath(kEntry);

    // Whatever the file holds, reading it is harmless.
    Platform::removeAutostartEntry(kEntry);
    if (Platform::writeAutostartEntry(kEntry, QStringLiteral("x"), QStringLiteral("/bin/true"))) {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
        file.close();
        Platform::autostartEntryCommand(kEntry);
    }

    // The input split in two at its first NUL: a name and a program.
    const int split = bytes.indexOf('\0');
    const QString name = QString::fromUtf8(split < 0 ? bytes : bytes.left(split));
    const QString program = split < 0 ? QStringLiteral("/bin/true") : QString::fromUtf8(bytes.mid(split + 1));
    if (!isWritable(name) || !isWritable(program) || program.isEmpty())
        return 0;
    FUZZ_CHECK(Platform::writeAutostartEntry(kEntry, name, program));
    FUZZ_CHECK(Platform::autostartEntryCommand(kEntry) == program);
    QFile written(path);
    FUZZ_CHECK(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    for (const char* key : {"Exec=", "Name=", "Type=", "Hidden=", "["})
        FUZZ_CHECK(linesStartingWith(text, key) == (key == QByteArray("Hidden=") ? 0 : 1));
    return 0;
}
