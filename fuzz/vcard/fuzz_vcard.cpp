// The vCard reader takes contact files from outside. Any text must parse;
// every card read must find each of its entries, write valid UTF-8 in both
// versions, and read back from that text as exactly one card.
#include "vCard.h"

#include "../FuzzCheck.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace {

bool isUtf8(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    vCardEntryParam::parseList(bytes);
    for (const vCardEntry& entry : vCardEntry::parse(bytes)) {
        FUZZ_CHECK(isUtf8(entry.serialize(Format21)));
        FUZZ_CHECK(isUtf8(entry.serialize(Format30)));
    }

    for (const vCard& card : vCard::parse(bytes)) {
        for (const vCardEntry& entry : card.entries()) {
            FUZZ_CHECK(card.hasEntry(entry));
            FUZZ_CHECK(card.findEntry(entry.name(), entry.params(), true).name() == entry.name());
            FUZZ_CHECK(card.hasEntry(entry.name(), entry.params(), false));
        }
        card.isValid();
        for (const vCardFormat format : {Format21, Format30}) {
            const QByteArray text = card.serialize(format);
            FUZZ_CHECK(isUtf8(text));
            FUZZ_CHECK(vCard::parse(text).size() == 1);
        }
    }
    return 0;
}
