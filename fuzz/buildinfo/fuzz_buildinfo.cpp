// The build-information record is the update server's answer, outside data
// that ends up in a dialog. Any bytes must be judged without harm, and a
// version is kept only when it looks like one: a record that holds a field
// of the input as its version, with a later date and "windows:all", is newer
// exactly when that field is a version, and then names it.
#include "AppUpdate.h"

#include "../FuzzCheck.h"

#include <QByteArray>
#include <QDate>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace {

const QDate kBuildDate(2024, 1, 1);

// At most 32 ASCII letters, digits, '.', '-' and '_', and not empty.
bool isPlainVersion(const QString& text)
{
    if (text.isEmpty() || text.size() > 32)
        return false;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool plain = (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')
                           || u == '.' || u == '-' || u == '_';
        if (!plain)
            return false;
    }
    return true;
}

// Judges the text as it is; whatever the version text then holds can be shown.
void checkAnyText(const QString& text)
{
    for (const char* tag : {"00_0", "00_A0"}) {
        AppUpdate::newVersionText.clear();
        const bool newer = AppUpdate::isNewerBuild(text, kBuildDate, QString::fromLatin1(tag));
        FUZZ_CHECK(AppUpdate::newVersionText.isEmpty() || isPlainVersion(AppUpdate::newVersionText));
        FUZZ_CHECK(!newer || !AppUpdate::newVersionText.isEmpty());
    }
}

// Every piece of the input's fields, as the reader cleans and splits it, put
// into a record that is newer on every count but the version.
void checkVersionFields(const QString& text)
{
    QString cleaned = text;
    for (const QChar blank : {QChar('\n'), QChar('\t'), QChar('\r'), QChar(' ')})
        cleaned.remove(blank);
    const QStringList fields = cleaned.split(QLatin1Char(';'));
    for (const QString& field : fields) {
        for (const QString& version : field.split(QLatin1Char(':'))) {
            const QString record = QStringLiteral("build:") + version + QStringLiteral(";date:2031-01-01;windows:all");
            AppUpdate::newVersionText.clear();
            const bool newer = AppUpdate::isNewerBuild(record, kBuildDate, QStringLiteral("00_0"));
            FUZZ_CHECK(newer == isPlainVersion(version));
            FUZZ_CHECK(AppUpdate::newVersionText == (newer ? version : QString()));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    // The reader writes every field to the debug output.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    // As the fetch hands it on (up to the first zero byte), and whole.
    const int zero = bytes.indexOf('\0');
    const QString answer = QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero));
    checkAnyText(answer);
    checkAnyText(QString::fromUtf8(bytes));
    checkVersionFields(answer);
    return 0;
}
