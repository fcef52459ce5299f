#include "TriBool.h"
#include "vCardEntry.h"

#include <QDate>
#include <QDateTime>
#include <QtTest>

using Params = QList<vCardEntryParam>;
Q_DECLARE_METATYPE(vCardEntryParam)
Q_DECLARE_METATYPE(vCardEntry)

namespace {

vCardEntryParam type(const QString& value) { return vCardEntryParam(value, vCardEntryParam::Type); }
vCardEntryParam encoding(const QString& value) { return vCardEntryParam(value, vCardEntryParam::Encoding); }
vCardEntryParam charset(const QString& value) { return vCardEntryParam(value, vCardEntryParam::Charset); }
vCardEntryParam other(const QString& value) { return vCardEntryParam(value, vCardEntryParam::Other); }

// "kind:value" per parameter, so a failing comparison shows the lists.
QStringList describe(const Params& params)
{
    static const char* const kinds[] = {"Type", "Encoding", "Charset", "Other"};
    QStringList result;
    for (const vCardEntryParam& p : params)
        result << QStringLiteral("%1:%2").arg(QLatin1String(kinds[p.kind()]), p.value());
    return result;
}

// "NAME [values] {params}" per entry.
QStringList describe(const QList<vCardEntry>& entries)
{
    QStringList result;
    for (const vCardEntry& e : entries) {
        result << QStringLiteral("%1 [%2] {%3}")
                      .arg(e.name(), e.values().join(QLatin1Char('|')),
                           describe(e.params()).join(QLatin1Char(',')));
    }
    return result;
}

const vCardFormat kUnknownFormat = static_cast<vCardFormat>(2);

}  // namespace

class TestvCardEntry : public QObject
{
    Q_OBJECT

private slots:
    void paramText_data();
    void paramText();
    void paramListText_data();
    void paramListText();
    void parseParams_data();
    void parseParams();
    void parseEntries_data();
    void parseEntries();
    void entryText_data();
    void entryText();
    void constructors();
    void validityAndEquality_data();
    void validityAndEquality();
    void factories();
    void triBool_data();
    void triBool();
    void triBoolAssignment();
};

void TestvCardEntry::paramText_data()
{
    QTest::addColumn<vCardEntryParam>("param");
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("type 2.1") << type("home") << 0 << QByteArray("HOME");
    QTest::newRow("type 3.0") << type("home") << 1 << QByteArray("TYPE=HOME");
    QTest::newRow("encoding 2.1") << encoding("b") << 0 << QByteArray("ENCODING=B");
    QTest::newRow("encoding 3.0") << encoding("b") << 1 << QByteArray("ENCODING=B");
    QTest::newRow("charset 3.0") << charset("utf-8") << 1 << QByteArray("CHARSET=UTF-8");
    QTest::newRow("other 2.1") << other("x-a=1") << 0 << QByteArray("X-A=1");
    QTest::newRow("other 3.0") << other("x-a") << 1 << QByteArray("X-A");
    QTest::newRow("placeholder in value") << encoding("%1") << 1 << QByteArray("ENCODING=%1");
    QTest::newRow("unknown format") << type("home") << 2 << QByteArray();
    QTest::newRow("negative format") << type("home") << -1 << QByteArray();
    // Only ASCII letters change case; the UTF-8 of other letters stays intact.
    QTest::newRow("euro sign") << type(QString::fromUtf8("\u20ac")) << 1
                               << QByteArray("TYPE=\xe2\x82\xac");
    QTest::newRow("u umlaut") << other(QString::fromUtf8("b\u00fcro")) << 0
                             << QByteArray("B\xc3\xbcRO");
}

void TestvCardEntry::paramText()
{
    QFETCH(vCardEntryParam, param);
    QFETCH(int, format);
    QFETCH(QByteArray, text);
    QCOMPARE(param.serialize(static_cast<vCardFormat>(format)), text);
}

void TestvCardEntry::paramListText_data()
{
    QTest::addColumn<Params>("params");
    QTest::addColumn<QByteArray>("text21");
    QTest::addColumn<QByteArray>("text30");
    QTest::newRow("empty") << Params() << QByteArray() << QByteArray();
    QTest::newRow("types around an encoding")
        << Params{type("home"), encoding("b"), type("work")}
        << QByteArray("HOME;ENCODING=B;WORK") << QByteArray("TYPE=HOME,WORK;ENCODING=B");
    QTest::newRow("one of each kind")
        << Params{other("x-a"), encoding("b"), charset("utf-8"), type("home")}
        << QByteArray("X-A;ENCODING=B;CHARSET=UTF-8;HOME")
        << QByteArray("TYPE=HOME;X-A;CHARSET=UTF-8;ENCODING=B");
    QTest::newRow("only others") << Params{other("x-a"), other("x-b")}
                                 << QByteArray("X-A;X-B") << QByteArray("X-A;X-B");
    QTest::newRow("only types") << Params{type("a"), type("b")}
                                << QByteArray("A;B") << QByteArray("TYPE=A,B");
}

void TestvCardEntry::paramListText()
{
    QFETCH(Params, params);
    QFETCH(QByteArray, text21);
    QFETCH(QByteArray, text30);
    QCOMPARE(vCardEntryParam::serializeList(params, Format21), text21);
    QCOMPARE(vCardEntryParam::serializeList(params, Format30), text30);
    QCOMPARE(vCardEntryParam::serializeList(params, kUnknownFormat), QByteArray());
}

void TestvCardEntry::parseParams_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("params");
    QTest::newRow("types, any case") << QByteArray("type=home,cell")
                                     << QStringList{"Type:home", "Type:cell"};
    QTest::newRow("empty type") << QByteArray("TYPE=home,,cell")
                                << QStringList{"Type:home", "Type:", "Type:cell"};
    QTest::newRow("bare TYPE keeps the part") << QByteArray("TYPE") << QStringList{"Type:TYPE"};
    QTest::newRow("character after prefix unseen") << QByteArray("Encoding:b;charsetXutf-8")
                                                   << QStringList{"Encoding:b", "Charset:utf-8"};
    QTest::newRow("others whole") << QByteArray("X-A=1;PREF") << QStringList{"Other:X-A=1", "Other:PREF"};
    QTest::newRow("only separators") << QByteArray(";;") << QStringList();
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("white space simplified") << QByteArray("  TYPE=a\t\tb ; x-y  ")
                                            << QStringList{"Type:a b ", "Other: x-y"};
    QTest::newRow("stops at NUL") << QByteArray("TYPE=a\0;TYPE=b", 14) << QStringList{"Type:a"};
    QTest::newRow("UTF-8") << QByteArray("X-\xc3\xa9") << QStringList{QString::fromUtf8("Other:X-\u00e9")};
}

void TestvCardEntry::parseParams()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, params);
    QCOMPARE(describe(vCardEntryParam::parseList(text)), params);
}

void TestvCardEntry::parseEntries_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("types") << QByteArray("TEL;type=home,cell:123")
                           << QStringList{"TEL [123] {Type:home,Type:cell}"};
    QTest::newRow("empty components") << QByteArray("N:Doe;John;;;")
                                      << QStringList{"N [Doe|John|||] {}"};
    QTest::newRow("version skipped") << QByteArray("VERSION:3.0") << QStringList();
    QTest::newRow("no colon skipped") << QByteArray("NOTE") << QStringList();
    QTest::newRow("END ends") << QByteArray("A:1\nEND:VCARD\nB:2") << QStringList{"A [1] {}"};
    QTest::newRow("BEGIN ends") << QByteArray("A:1\nBEGIN:VCARD\nB:2") << QStringList{"A [1] {}"};
    QTest::newRow("later colons in value") << QByteArray("URL:http://h:80/")
                                           << QStringList{"URL [http://h:80/] {}"};
    QTest::newRow("name keeps case and group") << QByteArray("item1.tel:1")
                                               << QStringList{"item1.tel [1] {}"};
    QTest::newRow("version is case-sensitive") << QByteArray("version:4")
                                               << QStringList{"version [4] {}"};
    QTest::newRow("empty value") << QByteArray("NOTE:") << QStringList{"NOTE [] {}"};
    QTest::newRow("stops at NUL") << QByteArray("A:1\nB:2\0\nC:3", 12)
                                  << QStringList{"A [1] {}", "B [2] {}"};
    QTest::newRow("empty lines") << QByteArray("\n\nA:1\n") << QStringList{"A [1] {}"};
}

void TestvCardEntry::parseEntries()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, entries);
    QCOMPARE(describe(vCardEntry::parse(text)), entries);
}

void TestvCardEntry::entryText_data()
{
    QTest::addColumn<vCardEntry>("entry");
    QTest::addColumn<QByteArray>("text21");
    QTest::addColumn<QByteArray>("text30");
    QTest::newRow("cell phone") << vCardEntry("tel", QStringList{"123"}, Params{type("cell")})
                                << QByteArray("TEL;CELL:123") << QByteArray("TEL;TYPE=CELL:123");
    QTest::newRow("no parameters") << vCardEntry("Name", QStringList{"value"}, Params())
                                   << QByteArray("NAME:value") << QByteArray("NAME:value");
    QTest::newRow("parsed types") << vCardEntry::parse("TEL;type=home,cell:123").first()
                                  << QByteArray("TEL;HOME;CELL:123")
                                  << QByteArray("TEL;TYPE=HOME,CELL:123");
    QTest::newRow("empty type") << vCardEntry::parse("TEL;TYPE=home,,cell:1").first()
                                << QByteArray("TEL;HOME;;CELL:1")
                                << QByteArray("TEL;TYPE=HOME,,CELL:1");
    QTest::newRow("values unescaped")
        << vCardEntry("NOTE", QStringList{"a,b", "c:d\ne"}, Params())
        << QByteArray("NOTE:a,b;c:d\ne") << QByteArray("NOTE:a,b;c:d\ne");
}

void TestvCardEntry::entryText()
{
    QFETCH(vCardEntry, entry);
    QFETCH(QByteArray, text21);
    QFETCH(QByteArray, text30);
    QCOMPARE(entry.serialize(Format21), text21);
    QCOMPARE(entry.serialize(Format30), text30);
    QCOMPARE(entry.serialize(kUnknownFormat), QByteArray());
}

void TestvCardEntry::constructors()
{
    const vCardEntry split(QStringLiteral("X"), QStringLiteral("a;;b"), Params{type("t")});
    QCOMPARE(split.values(), (QStringList{"a", "", "b"}));
    QCOMPARE(split.value(), QStringLiteral("a;;b"));
    QCOMPARE(describe(split.params()), QStringList{"Type:t"});

    const vCardEntry empty(QStringLiteral("X"), QString(""), Params());
    QCOMPARE(empty.values(), QStringList{""});
    QVERIFY(empty.isValid());

    const vCardEntry paramText(QStringLiteral("TEL"), QStringLiteral("1"),
                               QStringLiteral("TYPE=home;ENCODING=b"));
    QCOMPARE(describe(paramText.params()), (QStringList{"Type:home", "Encoding:b"}));
    const vCardEntry listAndText(QStringLiteral("N"), QStringList{"a", "b"}, QStringLiteral("x-y"));
    QCOMPARE(listAndText.values(), (QStringList{"a", "b"}));
    QCOMPARE(describe(listAndText.params()), QStringList{"Other:x-y"});

    const vCardEntry none;
    QVERIFY(none.name().isNull());
    QVERIFY(none.values().isEmpty());
    QVERIFY(none.params().isEmpty());
    QVERIFY(!none.isValid());

    const vCardEntryParam defaultParam;
    QCOMPARE(defaultParam.kind(), vCardEntryParam::Other);
    QVERIFY(defaultParam.value().isEmpty());
    QVERIFY(!defaultParam.isValid());
}

void TestvCardEntry::validityAndEquality_data()
{
    QTest::addColumn<vCardEntry>("entry");
    QTest::addColumn<bool>("valid");
    QTest::newRow("named with a value") << vCardEntry("FN", QStringList{"Jo"}, Params()) << true;
    QTest::newRow("empty name") << vCardEntry("", QStringList{"Jo"}, Params()) << false;
    QTest::newRow("no values") << vCardEntry("FN", QStringList(), Params()) << false;
    QTest::newRow("empty parameter") << vCardEntry("FN", QStringList{"Jo"}, Params{type("")})
                                     << false;
    QTest::newRow("valid parameter") << vCardEntry("FN", QStringList{"Jo"}, Params{type("x")})
                                     << true;
}

void TestvCardEntry::validityAndEquality()
{
    QFETCH(vCardEntry, entry);
    QFETCH(bool, valid);
    QCOMPARE(entry.isValid(), valid);
    // Equality looks at the name and the values only.
    const vCardEntry otherParams(entry.name(), entry.values(), Params{other("x-other")});
    QVERIFY(entry == otherParams);
    QVERIFY(!(entry != otherParams));
    QVERIFY(entry != vCardEntry(entry.name(), entry.values() << "more", entry.params()));
    QVERIFY(entry != vCardEntry(entry.name() + "2", entry.values(), entry.params()));

    QVERIFY(type("a") == type("a"));
    QVERIFY(type("a") != type("A"));
    QVERIFY(type("a") != other("a"));
}

void TestvCardEntry::factories()
{
    const Params work{type("work")};
    const vCardEntry bday = vCardEntry::makeBirthday(QDateTime(QDate(2015, 3, 7), QTime(14, 5, 9)));
    QCOMPARE(bday.serialize(Format30), QByteArray("BDAY:2015-03-07T14:05:09Z"));
    QCOMPARE(vCardEntry::parse(bday.serialize(Format30)).first().values(),
             QStringList{"2015-03-07T14:05:09Z"});
    QCOMPARE(vCardEntry::makeBirthday(QDate(1999, 12, 31), work).serialize(Format30),
             QByteArray("BDAY;TYPE=WORK:1999-12-31"));

    QCOMPARE(vCardEntry::makeOrganization("Corvane", {"Apps", "Tools"}).serialize(Format21),
             QByteArray("ORG:Corvane;Apps;Tools"));
    QCOMPARE(vCardEntry::makeName("John", "Doe", "Q", "Dr.", "Jr.", work).serialize(Format21),
             QByteArray("N;WORK:Doe;John;Q;Dr.;Jr."));
    QCOMPARE(vCardEntry::makeAddress("Main St 1", "Town", "Region", "12345", "Land", "PO 9",
                                     "Floor 2")
                 .values(),
             (QStringList{"PO 9", "Floor 2", "Main St 1", "Town", "Region", "12345", "Land"}));
    // Qt 5 writes six significant digits for precision -1.
    QCOMPARE(vCardEntry::makeGeoPosition(52.520008, 13.404954).values(),
             (QStringList{"52.52", "13.405"}));
    QCOMPARE(vCardEntry::makeGeoPosition(-0.5, 1e-7).values(), (QStringList{"-0.5", "1e-07"}));
}

void TestvCardEntry::triBool_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("flagAfter");  // flag starts true
    QTest::newRow("false") << 0 << false << true;
    QTest::newRow("true") << 1 << true << true;
    QTest::newRow("unset") << 1000 << false << false;
    QTest::newRow("other value") << 2 << false << true;
}

void TestvCardEntry::triBool()
{
    QFETCH(int, value);
    QFETCH(bool, result);
    QFETCH(bool, flagAfter);
    const TriBool flag(value);
    bool ok = true;
    QCOMPARE(flag.toBool(&ok), result);
    QCOMPARE(ok, flagAfter);
    QCOMPARE(flag.toBool(nullptr), result);
    QCOMPARE(flag.toBool(), result);
}

void TestvCardEntry::triBoolAssignment()
{
    TriBool flag(TriBool::kUnset);
    QVERIFY(flag == TriBool(1000));
    QVERIFY(flag != TriBool(false));
    TriBool& same = (flag = true);
    QCOMPARE(&same, &flag);
    QVERIFY(flag == TriBool(1));
    QVERIFY(flag == TriBool(true));
    flag = TriBool(false);
    QVERIFY(flag == TriBool(0));
    const TriBool copy(flag);
    QVERIFY(copy == flag);
}

QTEST_GUILESS_MAIN(TestvCardEntry)
#include "tst_vCardEntry.moc"
