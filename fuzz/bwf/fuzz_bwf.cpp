// The broadcast-wave chunks read from outside files: a walk over a RIFF file's
// chunks with the "bext" record and the "levl" envelope header read where they
// stand, and both loaded as files of their own. Every walk must end, stay
// inside the file and move forward; a record that loads must save and load
// back to the same fields.
#include "../FuzzCheck.h"
#include "../FuzzFiles.h"
#include "ChunkReader.h"
#include "EBUEnvelope.h"
#include "EBUInfo.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_input;
std::string g_copy;

bool sameRecord(QMMultiMedia::EBUInfo& a, QMMultiMedia::EBUInfo& b)
{
    for (int i = 0; i < 64; ++i)
        if (a.umidByte(i) != b.umidByte(i))
            return false;
    return a.description() == b.description() && a.originator() == b.originator()
        && a.originatorReference() == b.originatorReference() && a.originationDate() == b.originationDate()
        && a.originationTime() == b.originationTime() && a.timeReference() == b.timeReference()
        && a.version() == b.version() && a.codingHistory() == b.codingHistory()
        && QByteArray(reinterpret_cast<const char*>(a.reserved()), 190)
               == QByteArray(reinterpret_cast<const char*>(b.reserved()), 190);
}

void walk(FILE* file, qint64 length)
{
    using namespace QMMultiMedia;
    ChunkReader reader(file, 12, length);
    ChunkHeader header;
    qint64 last = -1;
    qint64 steps = 0;
    while (reader.next(&header)) {
        if (header.start <= last || header.available < 0 || header.available > qint64(header.size)
            || header.bodyStart() + header.available > length || ++steps > length / 8)
            std::abort();
        last = header.start;
        if (header.is("bext")) {
            EBUInfo info;
            info.setChunkSize(header.size);
            info.readChunk(file);
        } else if (header.is("levl")) {
            EBUEnvelope envelope;
            envelope.readChunk(file);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    g_input = fuzzfiles::path("input");
    g_copy = fuzzfiles::path("copy");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzfiles::write(g_input, data, size);

    FILE* file = std::fopen(g_input.c_str(), "rb");
    walk(file, qint64(size));
    std::fclose(file);

    QMMultiMedia::EBUInfo info;
    if (info.load(g_input.c_str())) {
        FUZZ_CHECK(info.save(g_copy.c_str()));
        QMMultiMedia::EBUInfo back;
        FUZZ_CHECK(back.load(g_copy.c_str()) && sameRecord(info, back));
    }
    QMMultiMedia::EBUEnvelope envelope;
    envelope.load(g_input.c_str());
    return 0;
}
