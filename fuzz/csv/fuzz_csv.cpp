// The CSV table model reads files from outside. Any file must load, show
// every cell and tool tip, take edits, inserts and removals (fitting or not),
// and save; what it saved loads back to the same table.
#include "CsvModel.h"

#include "../FuzzCheck.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> g_pDir;

// Every cell and every row's tool tip, in order.
QStringList table(const MTools::CsvModel& model)
{
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.data(model.index(r, c)).toString();
        cells << model.data(model.index(r, 0), Qt::ToolTipRole).toString();
    }
    return cells;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Saving syncs the file to disk; in memory that costs nothing.
    const QDir shm(QStringLiteral("/dev/shm"));
    g_pDir = shm.exists() ? std::make_unique<QTemporaryDir>(shm.filePath(QStringLiteral("fuzz-csv-XXXXXX")))
                          : std::make_unique<QTemporaryDir>();
    return g_pDir->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = g_pDir->filePath(QStringLiteral("input.csv"));
    const QString saved = g_pDir->filePath(QStringLiteral("saved.csv"));
    {
        QFile file(input);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }

    MTools::CsvModel model;
    FUZZ_CHECK(model.loadFile(input));
    const int rows = model.rowCount();
    const int columns = model.columnCount();
    const QStringList loaded = table(model);

    // A field never holds a quote or a line feed once read; a lone carriage
    // return may stay and would end the line on reading back.
    bool roundTrips = true;
    for (const QString& cell : loaded)
        roundTrips = roundTrips && !cell.contains(QLatin1Char('\r'));
    FUZZ_CHECK(model.saveFile(saved));
    MTools::CsvModel reloaded;
    FUZZ_CHECK(reloaded.loadFile(saved));
    if (roundTrips) {
        FUZZ_CHECK(reloaded.rowCount() == rows);
        FUZZ_CHECK(reloaded.columnCount() == columns);
        FUZZ_CHECK(table(reloaded) == loaded);
    }

    // Edits with arguments in and out of range, drawn from the input.
    const int a = size ? data[0] : 0;
    const int b = size > 1 ? data[1] : 0;
    const int row = a % (rows + 3) - 1;
    const int count = b % 5 - 1;
    const bool hasHeader = model.headerData(0, Qt::Vertical).isValid();
    const bool insertFits = hasHeader && row >= 0 && row <= rows && count >= 0;
    FUZZ_CHECK(model.insertRows(row, count) == insertFits);
    FUZZ_CHECK(model.rowCount() == rows + (insertFits ? count : 0));
    const int now = model.rowCount();
    const bool removeFits = row >= 0 && count >= 0 && row + count <= now;
    FUZZ_CHECK(model.removeRows(row, count) == removeFits);
    FUZZ_CHECK(model.rowCount() == now - (removeFits ? count : 0));
    if (model.rowCount() > 0 && columns > 0)
        FUZZ_CHECK(model.setData(model.index(model.rowCount() - 1, columns - 1), QStringLiteral("x")));
    table(model);
    return 0;
}
