#include "FifoReader.h"
#include "FileSizeLimit.h"
#include "TestFiles.h"
#include "vCard.h"

#include <QTemporaryDir>
#include <QtTest>

#include <type_traits>

using Params = QList<vCardEntryParam>;
Q_DECLARE_METATYPE(vCardEntryParam)

namespace {

static_assert(std::has_virtual_destructor<vCard>::value, "subclasses are destroyed through vCard");

vCardEntryParam type(const QString& value) { return vCardEntryParam(value, vCardEntryParam::Type); }

// "NAME [values] {params}" per entry of each card, cards separated by "--".
QStringList describe(const QList<vCard>& cards)
{
    static const char* const kinds[] = {"Type", "Encoding", "Charset", "Other"};
    QStringList result;
    for (const vCard& card : cards) {
        if (!result.isEmpty())
            result << QStringLiteral("--");
        for (const vCardEntry& e : card.entries()) {
            QStringList params;
            for (const vCardEntryParam& p : e.params())
                params << QStringLiteral("%1:%2").arg(QLatin1String(kinds[p.kind()]), p.value());
            result << QStringLiteral("%1 [%2] {%3}")
                          .arg(e.name(), e.values().join(QLatin1Char('|')), params.join(','));
        }
    }
    return result;
}

}  // namespace

class TestvCard : public QObject
{
    Q_OBJECT

private slots:
    void cardText();
    void parse_data();
    void parse();
    void findEntry_data();
    void findEntry();
    void validity();
    void roundTrip30();
    void files();
    void writeFailureKeepsOldFile();
    void writeToFifo();
};

void TestvCard::cardText()
{
    const vCard empty;
    QCOMPARE(empty.serialize(Format30), QByteArray("BEGIN:VCARD\nVERSION:3.0\nEND:VCARD"));
    QCOMPARE(empty.serialize(static_cast<vCardFormat>(5)), QByteArray());
    QCOMPARE(empty.entryCount(), 0);

    vCard card;
    card.addEntry(vCardEntry(QStringLiteral("N"), QStringLiteral("Doe;John;;;"), Params{type("work")}));
    QCOMPARE(card.serialize(Format21),
             QByteArray("BEGIN:VCARD\nVERSION:2.1\nN;WORK:Doe;John;;;\nEND:VCARD"));
    QCOMPARE(card.serialize(Format30),
             QByteArray("BEGIN:VCARD\nVERSION:3.0\nN;TYPE=WORK:Doe;John;;;\nEND:VCARD"));

    // Every entry is written, valid or not; a line ends at a NUL.
    card.addEntries({vCardEntry(QStringLiteral("X"), QStringList{QString::fromLatin1("a\0b", 3)}, Params()),
                     vCardEntry(QString(), QStringList(), Params())});
    QCOMPARE(card.entryCount(), 3);
    QCOMPARE(card.serialize(Format21),
             QByteArray("BEGIN:VCARD\nVERSION:2.1\nN;WORK:Doe;John;;;\nX:a\n:\nEND:VCARD"));
}

void TestvCard::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("cards");

    QTest::newRow("exported file")
        << QByteArray("junk before any card\r\n"
                      "N:Outside;Card\r\n"
                      "BEGIN:VCARD\r\n"
                      "VERSION:3.0\r\n"
                      "FN:Anna A\r\n"
                      "TEL;TYPE=CELL:111\r\n"
                      "END:VCARD\r\n"
                      "BEGIN:VCARD\r\n"
                      "VERSION:2.1\r\n"
                      "FN:Ben B\r\n"
                      "PHOTO;ENCODING=b;TYPE=JPEG:AAAA\r\n"
                      " abcd\r\n"
                      "  efgh \r\n"
                      "TEL:1\r\n"
                      "item1.EMAIL;TYPE=INTERNET:ben@example.org\r\n"
                      "ITEM22.URL:http://example.org\r\n"
                      "itemX.URL:x\r\n"
                      "Item1.NOTE:n\r\n"
                      "item.TEL:2\r\n"
                      "END:VCARD\r\n"
                      "BEGIN:VCARD\r\n"
                      "FN:Never ended\r\n")
        << QStringList{"FN [Anna A] {}", "TEL [111] {Type:CELL}", "--",
                       "FN [Ben B] {}",
                       "PHOTO [AAAAabcdefgh] {Encoding:b,Type:JPEG}",
                       "TEL [1] {}",
                       "EMAIL [ben@example.org] {Type:INTERNET}",
                       "URL [http://example.org] {}",
                       "itemX.URL [x] {}",
                       "Item1.NOTE [n] {}",
                       "item.TEL [2] {}"};
    QTest::newRow("line feeds only")
        << QByteArray("BEGIN:VCARD\nFN:Anna A\nTEL;TYPE=CELL:111\nEND:VCARD\n")
        << QStringList{"FN [Anna A] {}", "TEL [111] {Type:CELL}"};
    QTest::newRow("closing line is not a new photo")
        << QByteArray("BEGIN:VCARD\nPHOTO:a\n b\nPHOTO:c\n d\nEND:VCARD")
        << QStringList{"PHOTO [ab] {}", "PHOTO [c] {}"};
    QTest::newRow("tab does not continue a photo")
        << QByteArray("BEGIN:VCARD\nPHOTO:a\n\tb:c\nEND:VCARD")
        << QStringList{"PHOTO [a] {}", "b [c] {}"};
    QTest::newRow("lowercase photo is not joined")
        << QByteArray("BEGIN:VCARD\nphoto:a\n b\nEND:VCARD") << QStringList{"photo [a] {}"};
    QTest::newRow("BEGIN inside a card, END outside")
        << QByteArray("END:VCARD\nBEGIN:VCARD\nA:1\nBEGIN:VCARD\nB:2\nEND:VCARD\nEND:VCARD")
        << QStringList{"A [1] {}", "B [2] {}"};
    QTest::newRow("two cards")
        << QByteArray("BEGIN:VCARD\nFN:A\nTEL:1\nEND:VCARD\nBEGIN:VCARD\nFN:B\nEND:VCARD")
        << QStringList{"FN [A] {}", "TEL [1] {}", "--", "FN [B] {}"};
    QTest::newRow("nothing") << QByteArray() << QStringList();
}

void TestvCard::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, cards);
    const QList<vCard> parsed = vCard::parse(text);
    QCOMPARE(describe(parsed), cards);
}

void TestvCard::findEntry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Params>("params");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<QString>("found");  // the value of the entry found
    QTest::newRow("strict, same order") << "TEL" << Params{type("home"), type("cell")} << true << "1";
    QTest::newRow("strict, other order") << "TEL" << Params{type("cell"), type("home")} << true << "";
    QTest::newRow("loose, other order") << "TEL" << Params{type("cell"), type("home")} << false << "1";
    QTest::newRow("loose, subset") << "TEL" << Params{type("work")} << false << "2";
    QTest::newRow("loose, nothing given") << "TEL" << Params() << false << "1";
    QTest::newRow("strict, nothing given") << "TEL" << Params() << true << "3";
    QTest::newRow("kind counts") << "TEL" << Params{vCardEntryParam("work", vCardEntryParam::Other)}
                                 << false << "";
    QTest::newRow("name is case-sensitive") << "tel" << Params() << false << "";
}

void TestvCard::findEntry()
{
    QFETCH(QString, name);
    QFETCH(Params, params);
    QFETCH(bool, strict);
    QFETCH(QString, found);
    const vCard card(QList<vCardEntry>{
        vCardEntry(QStringLiteral("FN"), QStringLiteral("Jo"), Params()),
        vCardEntry(QStringLiteral("TEL"), QStringLiteral("1"), Params{type("home"), type("cell")}),
        vCardEntry(QStringLiteral("TEL"), QStringLiteral("2"), Params{type("x"), type("work")}),
        vCardEntry(QStringLiteral("TEL"), QStringLiteral("3"), Params()),
    });
    const vCardEntry entry = card.findEntry(name, params, strict);
    QCOMPARE(card.hasEntry(name, params, strict), !found.isEmpty());
    if (found.isEmpty()) {
        QVERIFY(entry.name().isNull());
        QVERIFY(entry.values().isEmpty());
        QVERIFY(entry.params().isEmpty());
    } else {
        QCOMPARE(entry.name(), name);
        QCOMPARE(entry.value(), found);
    }
}

void TestvCard::validity()
{
    const QList<vCard> parsed = vCard::parse("BEGIN:VCARD\nEND:VCARD");
    QCOMPARE(parsed.size(), 1);
    QCOMPARE(parsed.first().entryCount(), 0);
    QVERIFY(!parsed.first().isValid());

    vCard card;
    QVERIFY(!card.isValid());
    card.addEntry(vCardEntry(QStringLiteral("FN"), QStringLiteral("Jo"), Params()));
    QVERIFY(card.isValid());
    QVERIFY(card.hasEntry(vCardEntry(QStringLiteral("FN"), QStringLiteral("Jo"), Params{type("x")})));
    QVERIFY(!card.hasEntry(vCardEntry(QStringLiteral("FN"), QStringLiteral("Jo;"), Params())));

    const vCard copy(card);
    card.addEntry(vCardEntry(QStringLiteral("TEL"), QStringLiteral("1"), Params{type("")}));
    QVERIFY(!card.isValid());
    QCOMPARE(copy.entryCount(), 1);  // a copy does not see later changes
    QVERIFY(copy.isValid());
}

void TestvCard::roundTrip30()
{
    const QList<vCardEntry> entries{
        vCardEntry(QStringLiteral("FN"), QStringLiteral("Jo Doe"), Params()),
        vCardEntry(QStringLiteral("TEL"), QStringLiteral("+49 30 1234"), Params{type("cell")}),
        vCardEntry(QStringLiteral("EMAIL"), QStringLiteral("jo@example.org"), Params()),
        vCardEntry(QStringLiteral("NOTE"), QString::fromUtf8("caf\u00e9 \u20ac"), Params()),
    };
    const QList<vCard> cards = vCard::parse(vCard(entries).serialize(Format30));
    QCOMPARE(cards.size(), 1);
    QCOMPARE(cards.first().entries(), entries);
    QVERIFY(!cards.first().hasEntry(QStringLiteral("VERSION"), Params(), false));
    QCOMPARE(describe(cards).at(1), QStringLiteral("TEL [+49 30 1234] {Type:CELL}"));
}

void TestvCard::files()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(vCard::readFile(dir.filePath(QStringLiteral("missing.vcf"))).isEmpty());
    const vCard card(QList<vCardEntry>{
        vCardEntry(QStringLiteral("FN"), QStringLiteral("Jo"), Params()),
        vCardEntry(QStringLiteral("TEL"), QStringLiteral("1"), Params{type("home")}),
    });
    QVERIFY(!card.writeFile(dir.filePath(QStringLiteral("no/folder/card.vcf"))));

    const QString path = dir.filePath(QStringLiteral("card.vcf"));
    QVERIFY(card.writeFile(path));
    // Always written as 2.1: a bare type reads back as another parameter.
    QCOMPARE(readBytes(path), QByteArray("BEGIN:VCARD\nVERSION:2.1\nFN:Jo\nTEL;HOME:1\nEND:VCARD"));
    QCOMPARE(describe(vCard::readFile(path)), (QStringList{"FN [Jo] {}", "TEL [1] {Other:HOME}"}));
}

void TestvCard::writeFailureKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("card.vcf"));
    const vCard small(QList<vCardEntry>{vCardEntry(QStringLiteral("FN"), QStringLiteral("Jo"), Params())});
    QVERIFY(small.writeFile(path));
    const QByteArray good = readBytes(path);

    const vCard large(QList<vCardEntry>{
        vCardEntry(QStringLiteral("PHOTO"), QString(20000, QLatin1Char('A')), Params())});
    {
        FileSizeLimit limit(4096);  // the disk fills up half way
        QVERIFY(!large.writeFile(path));
    }
    QCOMPARE(readBytes(path), good);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"card.vcf"});
}

// A named pipe gets the card, and stays a pipe for the next writer.
void TestvCard::writeToFifo()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fifo = dir.filePath(QStringLiteral("card.vcf"));
    FifoReader reader(fifo);
    QVERIFY(reader.isReady());
    const vCard card(QList<vCardEntry>{vCardEntry(QStringLiteral("FN"), QStringLiteral("Jo"), Params())});
    QVERIFY(card.writeFile(fifo));
    QCOMPARE(reader.received(), QByteArray("BEGIN:VCARD\nVERSION:2.1\nFN:Jo\nEND:VCARD"));
    QVERIFY(FifoReader::isFifo(fifo));
}

QTEST_GUILESS_MAIN(TestvCard)
#include "tst_vCard.moc"
