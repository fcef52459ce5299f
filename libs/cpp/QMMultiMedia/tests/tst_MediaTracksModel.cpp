#include "MediaTracksModel.h"

#include <QAbstractItemModelTester>
#include <QMediaPlaylist>
#include <QtTest>

using namespace QMMultiMedia;

namespace {

QMediaContent media(const QString &path)
{
    return QMediaContent(QUrl::fromLocalFile(path));
}

} // namespace

class tst_MediaTracksModel : public QObject
{
    Q_OBJECT

private slots:
    void withoutPlaylistThereAreNoRows();
    void showsTheEntriesByFileName();
    void followsThePlaylist();
    void anotherPlaylistResets();
    void playlistThatGoesAwayLeavesNoRows();
    void editsAreAcceptedAndNotStored();
};

void tst_MediaTracksModel::withoutPlaylistThereAreNoRows()
{
    MediaTracksModel model;
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.data(model.index(0), Qt::DisplayRole).isValid());
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Number"));
    QCOMPARE(model.headerData(4, Qt::Vertical).toString(), QStringLiteral("4"));
}

void tst_MediaTracksModel::showsTheEntriesByFileName()
{
    QMediaPlaylist playlist;
    playlist.addMedia(media("/music/a b.wav"));
    playlist.addMedia(media("/music/x#1.mp3"));
    playlist.addMedia(QMediaContent(QUrl(QStringLiteral("http://example.invalid/radio/stream.ogg"))));

    MediaTracksModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy reset(&model, SIGNAL(modelReset()));
    model.setPlaylist(&playlist);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("a b.wav"));
    QCOMPARE(model.index(1).data().toString(), QStringLiteral("x#1.mp3"));
    QCOMPARE(model.index(2).data().toString(), QStringLiteral("stream.ogg"));
    QVERIFY(!model.index(0).data(Qt::EditRole).isValid());
    QVERIFY(!(model.flags(model.index(0)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(0)) & Qt::ItemIsSelectable);
}

void tst_MediaTracksModel::followsThePlaylist()
{
    QMediaPlaylist playlist;
    playlist.addMedia(media("/a.wav"));
    MediaTracksModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setPlaylist(&playlist);

    QSignalSpy inserted(&model, SIGNAL(rowsInserted(QModelIndex, int, int)));
    QSignalSpy removed(&model, SIGNAL(rowsRemoved(QModelIndex, int, int)));
    playlist.addMedia(QList<QMediaContent>({media("/b.wav"), media("/c.wav")}));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(2).data().toString(), QStringLiteral("c.wav"));

    playlist.removeMedia(0);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("b.wav"));

    // A move arrives as a removal and an insertion.
    QVERIFY(playlist.moveMedia(0, 1));
    QCOMPARE(removed.count(), 2);
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("c.wav"));

    playlist.clear();
    QCOMPARE(model.rowCount(), 0);
}

void tst_MediaTracksModel::anotherPlaylistResets()
{
    QMediaPlaylist first;
    first.addMedia(media("/a.wav"));
    QMediaPlaylist second;
    second.addMedia(QList<QMediaContent>({media("/x.wav"), media("/y.wav")}));

    MediaTracksModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setPlaylist(&first);
    QSignalSpy reset(&model, SIGNAL(modelReset()));
    model.setPlaylist(&second);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 2);

    // The earlier playlist no longer reaches the model.
    QSignalSpy inserted(&model, SIGNAL(rowsInserted(QModelIndex, int, int)));
    first.addMedia(media("/b.wav"));
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(model.rowCount(), 2);

    model.setPlaylist(nullptr);
    QCOMPARE(model.rowCount(), 0);
}

void tst_MediaTracksModel::playlistThatGoesAwayLeavesNoRows()
{
    MediaTracksModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto *playlist = new QMediaPlaylist;
    playlist->addMedia(QList<QMediaContent>({media("/a.wav"), media("/b.wav")}));
    model.setPlaylist(playlist);
    QCOMPARE(model.rowCount(), 2);

    QSignalSpy reset(&model, SIGNAL(modelReset()));
    delete playlist;
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.data(model.index(0), Qt::DisplayRole).isValid());
}

void tst_MediaTracksModel::editsAreAcceptedAndNotStored()
{
    QMediaPlaylist playlist;
    playlist.addMedia(media("/a.wav"));
    MediaTracksModel model;
    model.setPlaylist(&playlist);
    QSignalSpy changed(&model, SIGNAL(dataChanged(QModelIndex, QModelIndex, QVector<int>)));

    QVERIFY(model.setData(model.index(0), QStringLiteral("other.wav"), Qt::EditRole));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.index(0).data().toString(), QStringLiteral("a.wav"));
    QVERIFY(!model.setData(model.index(0), QStringLiteral("other.wav"), Qt::DisplayRole));
    QVERIFY(!model.setData(QModelIndex(), QStringLiteral("other.wav"), Qt::EditRole));
    QCOMPARE(changed.count(), 1);
}

QTEST_GUILESS_MAIN(tst_MediaTracksModel)
#include "tst_MediaTracksModel.moc"
