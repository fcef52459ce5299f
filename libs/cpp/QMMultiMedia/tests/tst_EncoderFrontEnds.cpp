#include "AFTransCoder.h"
#include "EncoderBase.h"
#include "EncoderFactory.h"
#include "LameTransCoder.h"
#include "WriterFixtures.h"

#include "QMTest.h"

using namespace QMMultiMedia;

namespace {

class Encoder : public EncoderBase
{
public:
    void setStatus(int status) { m_nStatus = status; }
    QString firstFile() const { return m_strFirstFile; }
    QString secondFile() const { return m_strSecondFile; }
    RecorderSettings settings() const { return m_settings; }
    int option() const { return m_nOption; }
};

class FileType : public AFTransCoder
{
public:
    int quality() const { return m_nQuality; }
    int bitRate() const { return m_nBitRate; }
};

// Runs a stub in place of the MP3 encoder.
class StubbedLame : public LameTransCoder
{
public:
    explicit StubbedLame(const QString &stub) : m_strStub(stub) {}
    QString program() const override { return m_strStub; }

private:
    QString m_strStub;
};

} // namespace

class tst_EncoderFrontEnds : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void encoderBaseStoresWhatItIsGiven();
    void statusIsReportedOnlyWhenNegative_data();
    void statusIsReportedOnlyWhenNegative();
    void factoryMakesNothing();
    void fileTypeDescription();

    void lameWritesIntoTheSupportFolder();
    void lameRunsWithoutAShell();
    void lameThatCannotStartSaysSo();

private:
    QString useDataHome(const QString &name);

    QTemporaryDir m_dir;
};

void tst_EncoderFrontEnds::init()
{
    QVERIFY(m_dir.isValid());
}

QString tst_EncoderFrontEnds::useDataHome(const QString &name)
{
    const QString home = m_dir.filePath(name);
    QDir().mkpath(home);
    qputenv("XDG_DATA_HOME", QFile::encodeName(home));
    return home;
}

void tst_EncoderFrontEnds::encoderBaseStoresWhatItIsGiven()
{
    Encoder encoder;
    QCOMPARE(encoder.status(), 0);
    QVERIFY(encoder.firstFile().isEmpty() && encoder.secondFile().isEmpty());
    QCOMPARE(encoder.option(), 0);
    QCOMPARE(encoder.settings().m_strFormat, QStringLiteral("WAV"));
    QCOMPARE(encoder.settings().m_nSampleRate, 44100);
    QCOMPARE(encoder.settings().m_nQuality, 3);

    RecorderSettings settings;
    settings.m_strFormat = QStringLiteral("MP3");
    settings.m_nBitRate = 320000;
    encoder.setFirstFile(QStringLiteral("/in.wav"));
    encoder.setSecondFile(QStringLiteral("/out.mp3"));
    encoder.setSettings(settings);
    encoder.setOption(7);
    QSignalSpy log(&encoder, SIGNAL(errorsLog(QString)));
    encoder.encode();
    QCOMPARE(encoder.firstFile(), QStringLiteral("/in.wav"));
    QCOMPARE(encoder.secondFile(), QStringLiteral("/out.mp3"));
    QCOMPARE(encoder.settings().m_strFormat, QStringLiteral("MP3"));
    QCOMPARE(encoder.settings().m_nBitRate, 320000);
    QCOMPARE(encoder.option(), 7);
    QCOMPARE(encoder.status(), 0);
    QCOMPARE(log.count(), 0);
}

void tst_EncoderFrontEnds::statusIsReportedOnlyWhenNegative_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("0") << 0 << QStringList();
    QTest::newRow("positive") << 5 << QStringList();
    QTest::newRow("-1") << -1 << QStringList("Error Status: -1");
    QTest::newRow("-42") << -42 << QStringList("Error Status: -42");
}

void tst_EncoderFrontEnds::statusIsReportedOnlyWhenNegative()
{
    QFETCH(int, status);
    QFETCH(QStringList, lines);

    Encoder encoder;
    encoder.setStatus(status);
    QCOMPARE(WriterFixtures::debugLinesOf([&] { encoder.reportStatus(); }), lines);
}

void tst_EncoderFrontEnds::factoryMakesNothing()
{
    EncoderFactory factory;
    for (int kind : {-1, 0, 1, 2, 100})
        QCOMPARE(factory.createEncoder(kind), nullptr);
    QCOMPARE(EncoderFactory::selection(), 0);
    EncoderFactory::setSelection(3);
    QCOMPARE(EncoderFactory::selection(), 3);
    EncoderFactory::setSelection(0);
}

void tst_EncoderFrontEnds::fileTypeDescription()
{
    FileType type;
    QCOMPARE(type.fileTypeCode(), QStringLiteral("m4af"));
    QCOMPARE(type.fileTypeName(), QStringLiteral("Apple MPEG-4 Audio"));
    QCOMPARE(type.extensions(), QStringList({"m4a", "m4r"}));
    QCOMPARE(type.dataFormats(), QStringList({"aac ", "aace", "aacf", "aacg", "aach", "aacl", "aacp", "ac-3",
                                              "alac", "ec-3", "paac", "pac3", "pec3"}));
    QCOMPARE(type.quality(), 127);
    QCOMPARE(type.bitRate(), 128000);
    type.setQuality(64);
    type.setBitRate(96000);
    QCOMPARE(type.quality(), 64);
    QCOMPARE(type.bitRate(), 96000);
    QCOMPARE(WriterFixtures::debugLinesOf([&] { type.encode(); }), QStringList("!!!END"));
}

void tst_EncoderFrontEnds::lameWritesIntoTheSupportFolder()
{
    const QString home = useDataHome(QStringLiteral("plain"));
    const QString support = home + QStringLiteral("/Corvane/Zintrop Lite");
    LameTransCoder lame;
    const QStringList args = lame.arguments();
    QCOMPARE(args.last(), support + QStringLiteral("/test.mp3"));
    QCOMPARE(args.at(args.size() - 2), support + QStringLiteral("/test.wav"));
    QVERIFY(QFileInfo(support).isDir());
    QCOMPARE(lame.program(), QStringLiteral("/usr/bin/lame"));
}

// Every character of the support folder reaches the encoder as it is; a
// shell would have run the command substitution and split at the quotes.
void tst_EncoderFrontEnds::lameRunsWithoutAShell()
{
    const QString home = useDataHome(QStringLiteral("it's \"$(touch INJECTED)\" `touch INJECTED2` $HOME"));
    const QString support = home + QStringLiteral("/Corvane/Zintrop Lite");
    const QString record = m_dir.filePath(QStringLiteral("arguments.txt"));
    const QString stub = m_dir.filePath(QStringLiteral("lame-stub.sh"));
    QVERIFY(QMTest::writeFile(stub, "#!/bin/sh\n"
                                    "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\n"
                                    "mv \"$0.tmp\" '" + QFile::encodeName(record) + "'\n"));
    QVERIFY(QFile::setPermissions(stub, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));

    StubbedLame lame(stub);
    bool started = false;
    const QStringList lines = WriterFixtures::debugLinesOf([&] { started = lame.encode(); });
    QVERIFY(started);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QDir::setCurrent(oldCurrent);

    const QStringList received = QString::fromUtf8(QMTest::readFile(record)).split(QLatin1Char('\n'),
                                                                                   Qt::SkipEmptyParts);
    QCOMPARE(received, lame.arguments());
    QCOMPARE(received.last(), support + QStringLiteral("/test.mp3"));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("INJECTED"))));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("INJECTED2"))));

    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.first().startsWith(QStringLiteral("Command: ") + stub));
    QVERIFY(lines.first().endsWith(support + QStringLiteral("/test.mp3")));
    QCOMPARE(lines.last(), QStringLiteral("!!!END"));
}

void tst_EncoderFrontEnds::lameThatCannotStartSaysSo()
{
    useDataHome(QStringLiteral("missing-encoder"));
    StubbedLame lame(m_dir.filePath(QStringLiteral("no-such-encoder")));
    bool started = true;
    const QStringList lines = WriterFixtures::debugLinesOf([&] { started = lame.encode(); });
    QVERIFY(!started);
    QCOMPARE(lines.last(), QStringLiteral("!!!END"));
}

// The front ends report on the debug stream, which the test environment mutes.
QMTEST_APP_MAIN_PREPARED(QMTest::TestApp, tst_EncoderFrontEnds, qunsetenv("QT_LOGGING_RULES"))

#include "tst_EncoderFrontEnds.moc"
