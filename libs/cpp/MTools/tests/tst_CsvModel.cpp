#include "CsvModel.h"
#include "FifoReader.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"

#include <QAbstractItemModelTester>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSize>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

namespace {

// Every field of every data row, row by row.
QList<QStringList> rows(const MTools::CsvModel& model)
{
    QList<QStringList> result;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model.columnCount(); ++c)
            row << model.data(model.index(r, c)).toString();
        result << row;
    }
    return result;
}

class RenamedColumns : public MTools::CsvModel
{
public:
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QStringLiteral("Col%1").arg(section);
        return MTools::CsvModel::headerData(section, orientation, role);
    }
};

}  // namespace

using Rows = QList<QStringList>;

class TestCsvModel : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void splitLine_data();
    void splitLine();
    void emptyModel();
    void loadHeaderAndRows();
    void loadFillsShortRowsAndKeepsLongOnes();
    void loadMissingFileKeepsModel();
    void saveExactBytes();
    void quoteInFieldDoesNotSurvive();
    void rowWithoutFieldsSavesAsEmptyLine();
    void saveFailureKeepsOldFile();
    void saveToFifo();
    void toolTip_data();
    void toolTip();
    void toolTipUsesVirtualTitles();
    void setData();
    void insertRows_data();
    void insertRows();
    void removeRows_data();
    void removeRows();
    void modelTesterThroughEdits();
    void zlibCompress_data();
    void zlibCompress();
    void fileNameWithoutSuffix_data();
    void fileNameWithoutSuffix();

private:
    // Loads the header (Alpha, Beta, Gamma) and the rows (1, 2, 3), (4, 5, 6), (7, 8, 9).
    void loadThreeRows(MTools::CsvModel& model);

    QTemporaryDir m_dir;
};

void TestCsvModel::init()
{
    QVERIFY(m_dir.isValid());
}

void TestCsvModel::loadThreeRows(MTools::CsvModel& model)
{
    const QString path = m_dir.filePath(QStringLiteral("three.csv"));
    QVERIFY(writeBytes(path, "\"Alpha\",\"Beta\",\"Gamma\"\n\"1\",\"2\",\"3\"\n"
                             "\"4\",\"5\",\"6\"\n\"7\",\"8\",\"9\"\n"));
    QVERIFY(model.loadFile(path));
}

void TestCsvModel::splitLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("two fields") << "\"a\",\"b\"" << QStringList{"a", "b"};
    QTest::newRow("no quotes") << "a,b" << QStringList();
    QTest::newRow("empty field") << "\"\"" << QStringList{""};
    QTest::newRow("unterminated last") << "\"a\",\"b" << QStringList{"a"};
    QTest::newRow("text outside ignored") << "x\"a\"y;\"b\"z" << QStringList{"a", "b"};
    QTest::newRow("comma inside") << "\"a,b\"" << QStringList{"a,b"};
    QTest::newRow("blanks kept") << " \" a \" " << QStringList{" a "};
    QTest::newRow("empty line") << "" << QStringList();
}

void TestCsvModel::splitLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(MTools::CsvModel::splitLine(line), fields);
}

void TestCsvModel::emptyModel()
{
    MTools::CsvModel model;
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 0);
    QVERIFY(model.hasChildren());
    QVERIFY(!model.data(model.index(0, 0)).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
    QCOMPARE(model.flags(model.index(0, 0)), Qt::ItemFlags(Qt::NoItemFlags));
    // Without a header there is no row length to insert.
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QVERIFY(!model.insertRows(0, 1));
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(model.rowCount(), 0);
}

void TestCsvModel::loadHeaderAndRows()
{
    MTools::CsvModel model;
    const QString path = m_dir.filePath(QStringLiteral("header.csv"));
    QVERIFY(writeBytes(path, "\"Alpha\",\"Beta\",\"Gamma\"\n"));
    QVERIFY(model.loadFile(path));
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Alpha"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Gamma"));

    loadThreeRows(model);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QVERIFY(!model.hasChildren(model.index(0, 0)));
    QCOMPARE(rows(model), (Rows{{"1", "2", "3"}, {"4", "5", "6"}, {"7", "8", "9"}}));
    QCOMPARE(model.headerData(0, Qt::Vertical), QVariant(1));
    QCOMPARE(model.headerData(2, Qt::Vertical), QVariant(3));
    QCOMPARE(model.data(model.index(1, 1), Qt::EditRole), QVariant(QStringLiteral("5")));
    QCOMPARE(model.data(model.index(1, 1), Qt::SizeHintRole), QVariant(QSize(30, 12)));
    QVERIFY(!model.data(model.index(1, 1), Qt::DecorationRole).isValid());
    QVERIFY(model.flags(model.index(1, 1)) & Qt::ItemIsEditable);
    QVERIFY(model.flags(model.index(1, 1)) & Qt::ItemIsSelectable);

    // Carriage returns of a file written elsewhere are not part of the fields.
    QVERIFY(writeBytes(path, "\"a\",\"b\"\r\n\"1\",\"2\"\r\n"));
    QVERIFY(model.loadFile(path));
    QCOMPARE(rows(model), (Rows{{"1", "2"}}));
}

void TestCsvModel::loadFillsShortRowsAndKeepsLongOnes()
{
    MTools::CsvModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QString path = m_dir.filePath(QStringLiteral("ragged.csv"));
    QVERIFY(writeBytes(path, "\"A\",\"B\",\"C\"\n\"1\"\n\n\"x\",\"y\",\"z\",\"extra\"\n"));
    QVERIFY(model.loadFile(path));
    QCOMPARE(rows(model), (Rows{{"1", "", ""}, {"", "", ""}, {"x", "y", "z"}}));
    QVERIFY(model.setData(model.index(0, 2), QStringLiteral("3")));
    QCOMPARE(model.data(model.index(2, 0), Qt::ToolTipRole).toString(),
             QStringLiteral("<table><tr><td><b>A</b>: x</td></tr><tr><td><b>B</b>: y</td></tr>"
                            "<tr><td><b>C</b>: z</td></tr><tr><td><b></b>: extra</td></tr></table>"));
    QVERIFY(!model.headerData(3, Qt::Horizontal).isValid());

    // Nothing of the file is lost on saving.
    QVERIFY(model.saveFile(path));
    QCOMPARE(readBytes(path), QByteArray("\"A\",\"B\",\"C\"\n\"1\",\"\",\"3\"\n\"\",\"\",\"\"\n"
                                         "\"x\",\"y\",\"z\",\"extra\"\n"));
}

void TestCsvModel::loadMissingFileKeepsModel()
{
    MTools::CsvModel model;
    loadThreeRows(model);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QVERIFY(!model.loadFile(m_dir.filePath(QStringLiteral("missing.csv"))));
    QCOMPARE(reset.count(), 0);
    QCOMPARE(model.rowCount(), 3);
}

void TestCsvModel::saveExactBytes()
{
    MTools::CsvModel model;
    const QString path = m_dir.filePath(QStringLiteral("xy.csv"));
    QVERIFY(writeBytes(path, "\"x\",\"y\"\n"));
    QVERIFY(model.loadFile(path));
    QVERIFY(model.insertRows(0, 1));
    QVERIFY(model.setData(model.index(0, 0), QStringLiteral("1")));
    const QString saved = m_dir.filePath(QStringLiteral("saved.csv"));
    QVERIFY(model.saveFile(saved));
    QCOMPARE(readBytes(saved), QByteArray("\"x\",\"y\"\n\"1\",\"\"\n"));

    MTools::CsvModel reloaded;
    QVERIFY(reloaded.loadFile(saved));
    QCOMPARE(reloaded.headerData(1, Qt::Horizontal).toString(), QStringLiteral("y"));
    QCOMPARE(rows(reloaded), (Rows{{"1", ""}}));
}

void TestCsvModel::quoteInFieldDoesNotSurvive()
{
    MTools::CsvModel model;
    loadThreeRows(model);
    QVERIFY(model.setData(model.index(0, 0), QStringLiteral("say \"hi\"")));
    const QString path = m_dir.filePath(QStringLiteral("quote.csv"));
    QVERIFY(model.saveFile(path));
    QVERIFY(model.loadFile(path));
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("say "));
}

void TestCsvModel::rowWithoutFieldsSavesAsEmptyLine()
{
    // A first line without quoted fields gives a header of no columns; a
    // pair of quotes would read back as one empty title.
    MTools::CsvModel model;
    const QString path = m_dir.filePath(QStringLiteral("untitled.csv"));
    const QByteArray text("no titles here\n\"a\",\"b\"\n");
    QVERIFY(writeBytes(path, text));
    QVERIFY(model.loadFile(path));
    QCOMPARE(model.columnCount(), 0);
    QVERIFY(model.saveFile(path));
    QCOMPARE(readBytes(path), QByteArray("\n\"a\",\"b\"\n"));
    QVERIFY(model.loadFile(path));
    QCOMPARE(model.columnCount(), 0);
    QCOMPARE(model.rowCount(), 1);
}

void TestCsvModel::saveFailureKeepsOldFile()
{
    MTools::CsvModel model;
    loadThreeRows(model);
    QVERIFY(!model.saveFile(m_dir.filePath(QStringLiteral("no/such/folder/x.csv"))));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("good.csv"));
    const QByteArray good("\"kept\"\n");
    QVERIFY(writeBytes(path, good));
    QVERIFY(model.insertRows(0, 2000));
    {
        FileSizeLimit limit(4096);  // the disk fills up half way
        QVERIFY(!model.saveFile(path));
    }
    QCOMPARE(readBytes(path), good);
    // No partial file is left beside it either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"good.csv"});
}

// A named pipe gets the text, and stays a pipe for the next writer.
void TestCsvModel::saveToFifo()
{
    MTools::CsvModel model;
    loadThreeRows(model);
    const QString regular = m_dir.filePath(QStringLiteral("regular.csv"));
    QVERIFY(model.saveFile(regular));

    const QString fifo = m_dir.filePath(QStringLiteral("pipe.csv"));
    FifoReader reader(fifo);
    QVERIFY(reader.isReady());
    QVERIFY(model.saveFile(fifo));
    QCOMPARE(reader.received(), readBytes(regular));
    QVERIFY(FifoReader::isFifo(fifo));
}

void TestCsvModel::toolTip_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("tip");
    QTest::newRow("empty field skipped")
        << QByteArray("\"Alpha\",\"Beta\",\"Gamma\"\n\"1\",\"\",\"3\"\n")
        << "<table><tr><td><b>Alpha</b>: 1</td></tr><tr><td><b>Gamma</b>: 3</td></tr></table>";
    QTest::newRow("placeholders in titles and fields")
        << QByteArray("\"A%2\",\"B%1\"\n\"x%1\",\"y\"\n")
        << "<table><tr><td><b>A%2</b>: x%1</td></tr><tr><td><b>B%1</b>: y</td></tr></table>";
    QTest::newRow("all empty") << QByteArray("\"A\"\n\"\"\n") << "<table></table>";
}

void TestCsvModel::toolTip()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, tip);
    MTools::CsvModel model;
    const QString path = m_dir.filePath(QStringLiteral("tip.csv"));
    QVERIFY(writeBytes(path, file));
    QVERIFY(model.loadFile(path));
    // The tip describes the whole row, whichever cell it is asked for.
    for (int c = 0; c < model.columnCount(); ++c)
        QCOMPARE(model.data(model.index(0, c), Qt::ToolTipRole).toString(), tip);
}

void TestCsvModel::toolTipUsesVirtualTitles()
{
    RenamedColumns model;
    const QString path = m_dir.filePath(QStringLiteral("tip.csv"));
    QVERIFY(writeBytes(path, "\"A\",\"B\"\n\"x\",\"y\"\n"));
    QVERIFY(model.loadFile(path));
    QCOMPARE(model.data(model.index(0, 0), Qt::ToolTipRole).toString(),
             QStringLiteral("<table><tr><td><b>Col0</b>: x</td></tr><tr><td><b>Col1</b>: y</td></tr></table>"));
}

void TestCsvModel::setData()
{
    MTools::CsvModel model;
    loadThreeRows(model);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex cell = model.index(2, 1);
    QVERIFY(!model.setData(cell, QStringLiteral("deco"), Qt::DecorationRole));
    QVERIFY(!model.setData(QModelIndex(), QStringLiteral("none")));
    QCOMPARE(changed.count(), 0);

    QVERIFY(model.setData(cell, QStringLiteral("eight")));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), cell);
    QCOMPARE(changed.at(0).at(1).toModelIndex(), cell);
    QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), QVector<int>());
    QVERIFY(model.setData(cell, 42, Qt::DisplayRole));
    QCOMPARE(rows(model).at(2), (QStringList{"7", "42", "9"}));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Beta"));
}

void TestCsvModel::insertRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<Rows>("after");
    const QStringList e{"", "", ""};
    const QStringList r1{"1", "2", "3"}, r2{"4", "5", "6"}, r3{"7", "8", "9"};
    QTest::newRow("two at the top") << 0 << 2 << true << Rows{e, e, r1, r2, r3};
    QTest::newRow("one in the middle") << 1 << 1 << true << Rows{r1, e, r2, r3};
    QTest::newRow("one at the end") << 3 << 1 << true << Rows{r1, r2, r3, e};
    QTest::newRow("none") << 1 << 0 << true << Rows{r1, r2, r3};
    QTest::newRow("before the header") << -1 << 1 << false << Rows{r1, r2, r3};
    QTest::newRow("past the end") << 4 << 1 << false << Rows{r1, r2, r3};
    QTest::newRow("negative count") << 0 << -1 << false << Rows{r1, r2, r3};
    QTest::newRow("more than an int counts") << 1 << std::numeric_limits<int>::max() << false
                                             << Rows{r1, r2, r3};
}

void TestCsvModel::insertRows()
{
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(bool, accepted);
    QFETCH(Rows, after);
    MTools::CsvModel model;
    loadThreeRows(model);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QCOMPARE(model.insertRows(row, count), accepted);
    QCOMPARE(inserted.count(), accepted && count > 0 ? 1 : 0);
    QCOMPARE(rows(model), after);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Alpha"));
}

void TestCsvModel::removeRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<Rows>("after");
    const QStringList r1{"1", "2", "3"}, r2{"4", "5", "6"}, r3{"7", "8", "9"};
    QTest::newRow("all") << 0 << 3 << true << Rows();
    QTest::newRow("middle") << 1 << 1 << true << Rows{r1, r3};
    QTest::newRow("last two") << 1 << 2 << true << Rows{r1};
    QTest::newRow("one too many") << 1 << 3 << false << Rows{r1, r2, r3};
    QTest::newRow("none") << 0 << 0 << true << Rows{r1, r2, r3};
    QTest::newRow("none at the end") << 3 << 0 << true << Rows{r1, r2, r3};
    QTest::newRow("the header") << -1 << 1 << false << Rows{r1, r2, r3};
    QTest::newRow("negative count") << 2 << -1 << false << Rows{r1, r2, r3};
    QTest::newRow("count past int") << 1 << std::numeric_limits<int>::max() << false
                                    << Rows{r1, r2, r3};
}

void TestCsvModel::removeRows()
{
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(bool, accepted);
    QFETCH(Rows, after);
    MTools::CsvModel model;
    loadThreeRows(model);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QCOMPARE(model.removeRows(row, count), accepted);
    QCOMPARE(removed.count(), accepted && count > 0 ? 1 : 0);
    QCOMPARE(rows(model), after);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Gamma"));
}

void TestCsvModel::modelTesterThroughEdits()
{
    MTools::CsvModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QString path = m_dir.filePath(QStringLiteral("header.csv"));
    QVERIFY(writeBytes(path, "\"Alpha\",\"Beta\"\n"));
    QVERIFY(model.loadFile(path));
    QVERIFY(model.removeRows(0, model.rowCount()));  // nothing to remove: no signal
    QVERIFY(model.insertRows(0, 2));
    QVERIFY(model.setData(model.index(1, 1), QStringLiteral("b")));
    QVERIFY(model.insertRows(2, 1));
    QVERIFY(!model.removeRows(-1, 1));
    QVERIFY(!model.removeRows(1, model.rowCount()));
    QVERIFY(model.removeRows(1, 2));
    loadThreeRows(model);
    QVERIFY(model.removeRows(0, model.rowCount()));
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 3);
}

void TestCsvModel::zlibCompress_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("stream");
    // Expected streams from Python's zlib.compress(data, 9).
    QTest::newRow("empty") << QByteArray() << QByteArray::fromHex("78da030000000001");
    QTest::newRow("text") << QByteArray("Zintrop Zintrop Zintrop")
                          << QByteArray::fromHex("78da8bcacc2b29ca2f508842a5016cb90923");
}

void TestCsvModel::zlibCompress()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, stream);
    const QByteArray compressed = MTools::zlibCompress(data);
    QCOMPARE(compressed.toHex(), stream.toHex());
    QByteArray prefixed(4, '\0');
    qToBigEndian(quint32(data.size()), reinterpret_cast<uchar*>(prefixed.data()));
    if (!data.isEmpty())
        QCOMPARE(qUncompress(prefixed + compressed), data);
}

void TestCsvModel::fileNameWithoutSuffix_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("two suffixes") << "/tmp/archive.tar.gz" << "archive.tar";
    QTest::newRow("no suffix") << "README" << "README";
    QTest::newRow("only a leading dot") << "/home/u/.bashrc" << "";
    QTest::newRow("dotted folder") << "/a.b/name" << "name";
    QTest::newRow("trailing dot") << "name." << "name";
    QTest::newRow("case kept") << "Photo.PNG" << "Photo";
}

void TestCsvModel::fileNameWithoutSuffix()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(MTools::fileNameWithoutSuffix(QFileInfo(path)), name);
}

QTEST_GUILESS_MAIN(TestCsvModel)
#include "tst_CsvModel.moc"
