#include "MediaFixtures.h"
#include "PlayListModel.h"

#include <QAbstractItemModelTester>
#include <QtTest>

using namespace QMMultiMedia;

namespace {

const int kModifiedRole = Qt::UserRole + 1;
const int kPathRole = Qt::UserRole + 3;
const int kDurationRole = Qt::UserRole + 4;

QStringList fivePaths()
{
    return {"/music/zero.wav", "/music/one.mp3", "/music/two.ogg", "/music/three.wav", "/music/four.flac"};
}

} // namespace

class tst_PlayListModel : public QObject
{
    Q_OBJECT

public:
    tst_PlayListModel() { MediaFixtures::useSilentAudioSink(); }

private slots:
    void rowsShowTheirFiles();
    void addFiles();
    void removeRows_data();
    void removeRows();
    void editReplacesThePath_data();
    void editReplacesThePath();
    void headersMimeTypesAndFlags();
    void folderListsNewestFirst();
};

void tst_PlayListModel::rowsShowTheirFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString real = dir.filePath(QStringLiteral("real.wav"));
    QVERIFY(MediaFixtures::writeWav(real, 100));
    const QDateTime stamp(QDate(2021, 3, 4), QTime(5, 6, 7));
    {
        QFile file(real);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }

    PlayListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy reset(&model, SIGNAL(modelReset()));
    model.setFiles({real, "/music/b c.mp3", "/nowhere/x#1.ogg"});
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.files(), QStringList({real, "/music/b c.mp3", "/nowhere/x#1.ogg"}));

    const QStringList names = {"real.wav", "b c.mp3", "x#1.ogg"};
    for (int row = 0; row < 3; ++row) {
        const QModelIndex index = model.index(row);
        QCOMPARE(index.data(Qt::DisplayRole).toString(), names.at(row));
        QCOMPARE(index.data(Qt::EditRole).toString(), names.at(row));
        QCOMPARE(index.data(kPathRole).toString(), model.files().at(row));
        QCOMPARE(index.data(kDurationRole).toTime(), QTime(0, 0, 0));
        QVERIFY(!index.data(Qt::UserRole + 2).isValid());
        QVERIFY(!index.data(Qt::DecorationRole).isValid());
    }
    QCOMPARE(model.index(0).data(kModifiedRole).toDateTime(), stamp);
    QVERIFY(!model.index(1).data(kModifiedRole).toDateTime().isValid());
    QVERIFY(!model.data(QModelIndex(), Qt::DisplayRole).isValid());
    QVERIFY(!model.data(model.index(0).sibling(5, 0), Qt::DisplayRole).isValid());

    model.setFiles({});
    QCOMPARE(model.rowCount(), 0);
}

void tst_PlayListModel::addFiles()
{
    PlayListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setFiles({"/a.wav"});
    QSignalSpy reset(&model, SIGNAL(modelAboutToBeReset()));
    model.addFiles({});
    QCOMPARE(reset.count(), 0);
    model.addFiles({"/b.wav", "/c.wav"});
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.files(), QStringList({"/a.wav", "/b.wav", "/c.wav"}));
    QCOMPARE(model.index(2).data(kDurationRole).toTime(), QTime(0, 0, 0));
}

void tst_PlayListModel::removeRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("underRow");
    QTest::addColumn<QStringList>("left");

    const QStringList all = fivePaths();
    QTest::newRow("two from row 1") << 1 << 2 << false << QStringList({all[0], all[3], all[4]});
    QTest::newRow("the last") << 4 << 1 << false << QStringList(all.mid(0, 4));
    QTest::newRow("all") << 0 << 5 << false << QStringList();
    QTest::newRow("past the end") << 4 << 3 << false << all;
    QTest::newRow("from the end") << 5 << 1 << false << all;
    QTest::newRow("negative row") << -1 << 2 << false << all;
    QTest::newRow("no rows") << 1 << 0 << false << all;
    QTest::newRow("negative count") << 2 << -1 << false << all;
    QTest::newRow("huge count") << 1 << INT_MAX << false << all;
    QTest::newRow("under a row") << 0 << 1 << true << all;
}

// Ranges outside the list are refused with no signal at all: a begin
// without a matching valid range breaks every attached view.
void tst_PlayListModel::removeRows()
{
    QFETCH(int, row);
    QFETCH(int, count);
    QFETCH(bool, underRow);
    QFETCH(QStringList, left);

    PlayListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setFiles(fivePaths());
    for (int r = 0; r < 5; ++r)
        model.index(r).data(kDurationRole);
    QSignalSpy removing(&model, SIGNAL(rowsAboutToBeRemoved(QModelIndex, int, int)));
    QSignalSpy removed(&model, SIGNAL(rowsRemoved(QModelIndex, int, int)));

    const bool done = model.removeRows(row, count, underRow ? model.index(0) : QModelIndex());
    const bool expectDone = left.size() != 5;
    QCOMPARE(done, expectDone);
    QCOMPARE(removing.count(), expectDone ? 1 : 0);
    QCOMPARE(removed.count(), expectDone ? 1 : 0);
    if (expectDone) {
        QCOMPARE(removed.first().at(1).toInt(), row);
        QCOMPARE(removed.first().at(2).toInt(), row + count - 1);
    }
    QCOMPARE(model.files(), left);
    for (int r = 0; r < model.rowCount(); ++r) {
        QCOMPARE(model.index(r).data(Qt::DisplayRole).toString(), QFileInfo(left.at(r)).fileName());
        QCOMPARE(model.index(r).data(kDurationRole).toTime(), QTime(0, 0, 0));
    }
}

void tst_PlayListModel::editReplacesThePath_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("path");

    QTest::newRow("edit role") << int(Qt::EditRole) << QVariant("/other/new.wav") << true << "/other/new.wav";
    QTest::newRow("a number becomes text") << int(Qt::EditRole) << QVariant(42) << true << "42";
    QTest::newRow("no text form") << int(Qt::EditRole) << QVariant(QPoint(1, 2)) << true << "";
    QTest::newRow("display role") << int(Qt::DisplayRole) << QVariant("/x.wav") << false << "/music/one.mp3";
    QTest::newRow("path role") << kPathRole << QVariant("/x.wav") << false << "/music/one.mp3";
}

void tst_PlayListModel::editReplacesThePath()
{
    QFETCH(int, role);
    QFETCH(QVariant, value);
    QFETCH(bool, accepted);
    QFETCH(QString, path);

    PlayListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setFiles(fivePaths());
    QSignalSpy changed(&model, SIGNAL(dataChanged(QModelIndex, QModelIndex, QVector<int>)));
    QCOMPARE(model.setData(model.index(1), value, role), accepted);
    QCOMPARE(changed.count(), accepted ? 1 : 0);
    QCOMPARE(model.index(1).data(kPathRole).toString(), path);
    QCOMPARE(model.rowCount(), 5);
    QVERIFY(!model.setData(QModelIndex(), value, Qt::EditRole));
}

void tst_PlayListModel::headersMimeTypesAndFlags()
{
    PlayListModel model;
    model.setFiles(fivePaths());
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Number"));
    QCOMPARE(model.headerData(4, Qt::Vertical).toString(), QStringLiteral("4"));
    QVERIFY(!model.headerData(4, Qt::Vertical, Qt::ToolTipRole).isValid());
    QCOMPARE(model.mimeTypes(), QStringList(QStringLiteral("text/uri-list")));
    const Qt::ItemFlags flags = model.flags(model.index(0));
    QVERIFY(flags & Qt::ItemIsEditable);
    QVERIFY(flags & Qt::ItemIsDropEnabled);
    QVERIFY(flags & Qt::ItemIsSelectable);
    QVERIFY(flags & Qt::ItemIsEnabled);
    // The root takes drops but is no row to edit.
    QCOMPARE(model.flags(QModelIndex()), Qt::ItemFlags(Qt::ItemIsDropEnabled));
}

void tst_PlayListModel::folderListsNewestFirst()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList names = {"old.wav", "newest.wav", "middle.wav", "skipped.txt"};
    const int ages[] = {300, 10, 100, 0};
    for (int i = 0; i < names.size(); ++i) {
        QFile file(dir.filePath(names.at(i)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ages[i]),
                                 QFileDevice::FileModificationTime));
    }
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub.wav")));

    PlayListModel model;
    model.setFolder(QDir(dir.path()), {QStringLiteral("*.wav")});
    QCOMPARE(model.files(), QStringList({dir.filePath("newest.wav"), dir.filePath("middle.wav"),
                                         dir.filePath("old.wav")}));
}

QTEST_GUILESS_MAIN(tst_PlayListModel)
#include "tst_PlayListModel.moc"
