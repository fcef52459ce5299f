#include "UrlInfo.h"

#include <QTest>

using QMRequest::UrlInfo;

class tst_UrlInfo : public QObject
{
    Q_OBJECT
private slots:
    void withoutRecord();
    void setterCreatesDefaults();
    void constructedFromUrlTakesFileName();
    void copyAndAssignment();
    void equality();
    void sortFunctions_data();
    void sortFunctions();
};

void tst_UrlInfo::withoutRecord()
{
    const UrlInfo info;
    QVERIFY(!info.isValid());
    QCOMPARE(info.name(), QString());
    QCOMPARE(info.permissions(), 0);
    QCOMPARE(info.size(), qint64(0));
    QVERIFY(info.lastModified().isNull());
    QVERIFY(!info.isFile());
    QVERIFY(!info.isWritable());
    QVERIFY(!info.isReadable());
    QVERIFY(!info.isDir());
}

void tst_UrlInfo::setterCreatesDefaults()
{
    UrlInfo info;
    info.setName("a.txt");
    QVERIFY(info.isValid());
    QCOMPARE(info.name(), QString("a.txt"));
    QVERIFY(info.isFile());
    QVERIFY(info.isWritable());
    QVERIFY(info.isReadable());
    QVERIFY(!info.isDir());
    QVERIFY(!info.isSymLink());
    QVERIFY(!info.isExecutable());
    QCOMPARE(info.size(), qint64(0));

    UrlInfo sized;
    sized.setSize(5000000000LL);
    QCOMPARE(sized.size(), 5000000000LL);
    QCOMPARE(sized.name(), QString());
    QVERIFY(sized.isFile());
}

void tst_UrlInfo::constructedFromUrlTakesFileName()
{
    const QDateTime when(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
    const UrlInfo info(QUrl("http://host/dir/some%20file.png?x=1"), 0644, "owner", "group", 42,
                       when, QDateTime(), false, true, false, false, true, true);
    QCOMPARE(info.name(), QString("some file.png"));
    QCOMPARE(info.permissions(), 0644);
    QCOMPARE(info.owner(), QString("owner"));
    QCOMPARE(info.group(), QString("group"));
    QCOMPARE(info.size(), qint64(42));
    QCOMPARE(info.lastModified(), when);
    QVERIFY(!info.isWritable());
    QVERIFY(info.isExecutable());
}

void tst_UrlInfo::copyAndAssignment()
{
    UrlInfo a;
    a.setName("a");
    a.setSize(7);

    UrlInfo copy(a);
    QCOMPARE(copy, a);
    copy.setName("changed");
    QCOMPARE(a.name(), QString("a"));  // deep copy

    UrlInfo target;
    target = a;
    QCOMPARE(target.size(), qint64(7));
    target = UrlInfo();  // assigning an empty object drops the record
    QVERIFY(!target.isValid());
    target = target;
    QVERIFY(!target.isValid());
}

void tst_UrlInfo::equality()
{
    UrlInfo a;
    UrlInfo b;
    QVERIFY(a == b);  // both without record
    a.setName("x");
    QVERIFY(a != b);
    b.setName("x");
    QVERIFY(a == b);
    b.setLastRead(QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC));
    QVERIFY(a != b);  // every field counts, lastRead too
}

void tst_UrlInfo::sortFunctions_data()
{
    QTest::addColumn<QString>("nameA");
    QTest::addColumn<qint64>("sizeA");
    QTest::addColumn<QString>("nameB");
    QTest::addColumn<qint64>("sizeB");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("greater");
    QTest::addColumn<bool>("less");
    QTest::addColumn<bool>("equal");
    QTest::newRow("name b before a") << "b" << qint64(0) << "a" << qint64(0) << 0 << true << false << false;
    QTest::newRow("name a before b") << "a" << qint64(0) << "b" << qint64(0) << 0 << false << true << false;
    QTest::newRow("same name counts as less") << "a" << qint64(0) << "a" << qint64(0) << 0 << false << true << true;
    QTest::newRow("size b smaller") << "x" << qint64(10) << "x" << qint64(2) << 2 << true << false << false;
    QTest::newRow("size equal") << "x" << qint64(3) << "y" << qint64(3) << 2 << false << true << true;
    QTest::newRow("unknown key") << "b" << qint64(0) << "a" << qint64(0) << 7 << false << true << false;
}

void tst_UrlInfo::sortFunctions()
{
    QFETCH(QString, nameA);
    QFETCH(qint64, sizeA);
    QFETCH(QString, nameB);
    QFETCH(qint64, sizeB);
    QFETCH(int, key);
    QFETCH(bool, greater);
    QFETCH(bool, less);
    QFETCH(bool, equal);

    UrlInfo a;
    a.setName(nameA);
    a.setSize(sizeA);
    UrlInfo b;
    b.setName(nameB);
    b.setSize(sizeB);
    QCOMPARE(UrlInfo::greaterThan(a, b, key), greater);
    QCOMPARE(UrlInfo::lessThan(a, b, key), less);
    QCOMPARE(UrlInfo::equal(a, b, key), equal);
}

QTEST_GUILESS_MAIN(tst_UrlInfo)
#include "tst_urlinfo.moc"
