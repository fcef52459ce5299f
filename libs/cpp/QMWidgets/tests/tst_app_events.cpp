#include "BlenderWidget.h"
#include "QMTest.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QFileOpenEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QVBoxLayout>

using QMWidgets::App;

namespace {

// A program's application object: overrides the virtual operations the way
// the optimiser's does.
class ProgramApp : public QMTest::PassThroughApp
{
    Q_OBJECT

public:
    using QMTest::PassThroughApp::PassThroughApp;

    int m_nUpdateChecks = 0;
    int m_nMoreApps = 0;

public slots:
    void slotCheckUpdate() override { ++m_nUpdateChecks; }
    void slotShowMoreApps() override { ++m_nMoreApps; }
};

ProgramApp* programApp()
{
    return static_cast<ProgramApp*>(App::instance());
}

// Remembers how many application-wide mouse signals had been sent when the
// press reached it.
class PressProbe : public QWidget
{
public:
    int m_nSignalsSeenAtPress = -1;
    int* m_pSignalCount = nullptr;

protected:
    void mousePressEvent(QMouseEvent* pEvent) override
    {
        m_nSignalsSeenAtPress = *m_pSignalCount;
        QWidget::mousePressEvent(pEvent);
    }
};

}  // namespace

class TestAppEvents : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void blendBeforeMainWidgetDoesNothing();
    void fileOpenRequest();
    void activationFlag();
    void mousePressSignalComesFirst();
    void exposeSignal();
    void mainWidgetOverlay();

    void aboutQtText();
    void virtualSlotsDispatchToProgram();
    void baseMoreAppsOpensPublisherPage();
    void promotedApp();
    void storeLinks_data();
    void storeLinks();

    void buildDate_data();
    void buildDate();
    void buildDateFollowsTheBuild();
    void clickPoint_data();
    void clickPoint();
    void postedClickArrives();
    void findWidgets();

    void smallScreen_data();
    void smallScreen();
    void screenSides();
    void languagePathPart_data();
    void languagePathPart();

    void logLine();
    void logIgnoresInformation();
    void logUnopenableDropsMessage();
    void installedHandlers();

    void storeBuild();
    void applicationIdentifier();
    void markInitialized();
};

// Without a main widget there is nothing to cover: no overlay appears
// anywhere, neither as a window of its own nor over another window.
void TestAppEvents::blendBeforeMainWidgetDoesNothing()
{
    QVERIFY(!App::instance()->mainWidget());
    const QWidgetList before = QApplication::allWidgets();
    App::instance()->slotSetBlendMainWidget(true);
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::allWidgets(), before);
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!w->isVisible(), w->metaObject()->className());
    App::instance()->slotSetBlendMainWidget(false);
    QCOMPARE(QApplication::allWidgets(), before);
    QVERIFY(!App::instance()->mainWidget());
}

void TestAppEvents::fileOpenRequest()
{
    QSignalSpy spy(App::instance(), &App::fileOpenRequest);
    QFileOpenEvent event(QStringLiteral("/x/a.png"));
    QVERIFY(QCoreApplication::sendEvent(App::instance(), &event));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("/x/a.png"));
}

void TestAppEvents::activationFlag()
{
    App* pApp = App::instance();
    QSignalSpy activated(pApp, &App::applicationActivated);
    QSignalSpy deactivated(pApp, &App::applicationDeactivated);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(pApp, &deactivate);
    QVERIFY(pApp->isInactive());
    QEvent activate(QEvent::ApplicationActivate);
    QCoreApplication::sendEvent(pApp, &activate);
    QVERIFY(!pApp->isInactive());
    QCOMPARE(activated.count(), 1);
    QCOMPARE(deactivated.count(), 1);
}

void TestAppEvents::mousePressSignalComesFirst()
{
    int nSignals = 0;
    const auto connection = QObject::connect(App::instance(), &App::mouseButtonPress, [&nSignals] { ++nSignals; });
    PressProbe probe;
    probe.m_pSignalCount = &nSignals;
    probe.resize(50, 50);
    probe.show();
    QVERIFY(QTest::qWaitForWindowExposed(&probe));
    nSignals = 0;
    QTest::mousePress(&probe, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QObject::disconnect(connection);
    QVERIFY(nSignals >= 1);
    QVERIFY2(probe.m_nSignalsSeenAtPress >= 1, "the signal is sent before the widget sees the press");
}

void TestAppEvents::exposeSignal()
{
    QSignalSpy spy(App::instance(), &App::applicationExposed);
    QWidget widget;
    widget.resize(40, 40);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QVERIFY(spy.count() >= 1);
}

void TestAppEvents::mainWidgetOverlay()
{
    App* pApp = App::instance();
    QWidget main;
    main.resize(200, 100);
    pApp->setMainWidget(&main);
    QCOMPARE(pApp->mainWidget(), &main);
    auto* pBlender = main.findChild<QMWidgets::BlenderWidget*>(QStringLiteral("MainWidgetBlender"));
    QVERIFY(pBlender);
    QVERIFY(pBlender->autoFillBackground());
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY(!pBlender->isVisible());

    main.resize(320, 240);
    pApp->slotSetBlendMainWidget(true);
    QVERIFY(pBlender->isVisible());
    QCOMPARE(pBlender->size(), QSize(320, 240));
    QCOMPARE(main.children().last(), pBlender);  // raised above the other children
    pApp->slotSetBlendMainWidget(false);
    QVERIFY(!pBlender->isVisible());
}

void TestAppEvents::aboutQtText()
{
    App* pApp = App::instance();
    const QString text = pApp->aboutQtText();
    const QString expectedStart = QStringLiteral("<H3>This Application Uses:</H3>Qt 5 Toolkit<BR>under LGPLv3 <A HREF=\"file://")
                                  + pApp->resourcesPath()
                                  + QStringLiteral("LICENSE.LGPL\">(more)</A><BR>the Qt source code is available on<br>");
    QVERIFY2(text.startsWith(expectedStart), qPrintable(text));
    QVERIFY(text.endsWith(QLatin1String("</A><BR>")));
    pApp->appendAboutQtText(QStringLiteral("more"));
    QCOMPARE(pApp->aboutQtText(), text + QStringLiteral("more"));
    pApp->setAboutQtText(text);
    QCOMPARE(pApp->aboutQtText(), text);
}

void TestAppEvents::virtualSlotsDispatchToProgram()
{
    ProgramApp* pApp = programApp();
    QAction check;
    QAction more;
    QVERIFY(QObject::connect(&check, SIGNAL(triggered()), pApp, SLOT(slotCheckUpdate())));
    QVERIFY(QObject::connect(&more, SIGNAL(triggered()), pApp, SLOT(slotShowMoreApps())));
    check.trigger();
    more.trigger();
    QVERIFY(QMetaObject::invokeMethod(pApp, "slotCheckUpdate"));
    QCOMPARE(pApp->m_nUpdateChecks, 2);
    QCOMPARE(pApp->m_nMoreApps, 1);
    // Calls through the base class reach the override too.
    App* pBase = pApp;
    QCOMPARE(pBase->storeLinkForApp(QStringLiteral("https://x.invalid/Zintrop")),
             QStringLiteral("https://x.invalid/Zintrop"));
}

void TestAppEvents::baseMoreAppsOpensPublisherPage()
{
    QMTest::UrlRecorder recorder;
    App::instance()->App::slotShowMoreApps();
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last(), QUrl(QStringLiteral("ms-windows-store://publisher/?name=Corvane")));
}

void TestAppEvents::promotedApp()
{
    ProgramApp* pApp = programApp();
    QVERIFY(!pApp->hasPromotedApp());
    pApp->setPromotedApp(QStringLiteral("second text"), QString());
    QVERIFY(!pApp->hasPromotedApp());
    pApp->setPromotedApp(QString(), QStringLiteral("first text"));
    QVERIFY(pApp->hasPromotedApp());
    pApp->setPromotedApp(QString(), QString());
    pApp->setPromotedLink(QStringLiteral("http://promoted.invalid/"));
    QVERIFY(pApp->hasPromotedApp());
    pApp->setPromotedLink(QString());
}

void TestAppEvents::storeLinks_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("known");
    QTest::newRow("name") << "https://zintrop.invalid/apps/ZintropLite" << true;
    QTest::newRow("name with slash") << "https://zintrop.invalid/apps/zintroplite/" << true;
    QTest::newRow("bare key") << "zintroplite" << true;
    QTest::newRow("unknown") << "https://zintrop.invalid/apps/unknown" << false;
    QTest::newRow("empty") << "" << false;
}

void TestAppEvents::storeLinks()
{
    QFETCH(QString, link);
    QFETCH(bool, known);
    App* pApp = App::instance();
    const QString result = pApp->App::storeLinkForApp(link);
    if (!known) {
        QVERIFY(result.isEmpty());
        return;
    }
    QCOMPARE(result, QStringLiteral("ms-windows-store://pdp/?productid=") + pApp->storeIdForApp(QStringLiteral("zintroplite")));
    QCOMPARE(pApp->ownStoreId(), pApp->storeIdForApp(QStringLiteral("zintrop lite")));
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9A-Z]{12}$")).match(pApp->ownStoreId()).hasMatch());
    QVERIFY(pApp->storeIdForApp(QStringLiteral("ZintropLite")).isEmpty());  // keys are lower case
}

void TestAppEvents::buildDate_data()
{
    QTest::addColumn<QByteArray>("compilerDate");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("one-digit day") << QByteArray("Jan  5 2020") << "1/5/2020" << QDate(2020, 1, 5);
    QTest::newRow("september") << QByteArray("Sep 30 2019") << "9/30/2019" << QDate(2019, 9, 30);
    QTest::newRow("december") << QByteArray("Dec 31 1999") << "12/31/1999" << QDate(1999, 12, 31);
    QTest::newRow("november") << QByteArray("Nov  1 2024") << "11/1/2024" << QDate(2024, 11, 1);
}

void TestAppEvents::buildDate()
{
    QFETCH(QByteArray, compilerDate);
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(App::buildDateTextFrom(compilerDate.constData()), text);
    QCOMPARE(QDate::fromString(text, QStringLiteral("M/d/yyyy")), date);
    QVERIFY(App::buildDate().isValid());
    QVERIFY(App::buildDate() <= QDate::currentDate());
}

void TestAppEvents::buildDateFollowsTheBuild()
{
    // An incremental build must not keep the date of an earlier one: the
    // date is that of the build that linked this program (a day earlier at
    // most, for a build that ran across midnight).
    const QDate linked = QFileInfo(QCoreApplication::applicationFilePath()).lastModified().date();
    const QDate built = App::buildDate();
    QVERIFY2(built == linked || built == linked.addDays(-1), qPrintable(built.toString(Qt::ISODate)));
    // Libraries without widgets read it from the application object.
    QCOMPARE(qApp->property("buildDateText").toString(), App::buildDateText());
}

void TestAppEvents::clickPoint_data()
{
    QTest::addColumn<QPoint>("asked");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("centre") << QPoint(-1, -1) << QPoint(50, 20);
    QTest::newRow("x given") << QPoint(3, -1) << QPoint(3, 20);
    QTest::newRow("both given") << QPoint(7, 8) << QPoint(7, 8);
}

void TestAppEvents::clickPoint()
{
    QFETCH(QPoint, asked);
    QFETCH(QPoint, expected);
    QWidget widget;
    widget.resize(101, 40);
    QCOMPARE(App::clickPoint(&widget, asked.x(), asked.y()), expected);
}

void TestAppEvents::postedClickArrives()
{
    class Target : public QWidget
    {
    public:
        QList<QPoint> presses, releases;

    protected:
        void mousePressEvent(QMouseEvent* e) override { presses << e->pos(); }
        void mouseReleaseEvent(QMouseEvent* e) override { releases << e->pos(); }
    } target;
    target.resize(101, 40);
    App::postMouseClick(&target, -1, -1, Qt::LeftButton, Qt::LeftButton);
    App::postMouseClick(nullptr, 1, 1, Qt::LeftButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(target.presses, QList<QPoint>{QPoint(50, 20)});
    QCOMPARE(target.releases, QList<QPoint>{QPoint(50, 20)});
}

void TestAppEvents::findWidgets()
{
    QWidget top;
    auto* pLayout = new QVBoxLayout(&top);
    auto* pInner = new QWidget;
    pLayout->addWidget(pInner);
    auto* pLabel = new QLabel(pInner);
    QCOMPARE(App::findWidgetByClassName(QStringLiteral("QLabel")), pLabel);
    QVERIFY(!App::findWidgetByClassName(QStringLiteral("qlabel")));
    QVERIFY(App::isDescendantOf(pLabel, &top));
    QVERIFY(!App::isDescendantOf(&top, pLabel));
}

void TestAppEvents::smallScreen_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("small");
    QTest::newRow("479 wide") << QSize(479, 800) << true;
    QTest::newRow("479 high") << QSize(800, 479) << true;
    QTest::newRow("480 square") << QSize(480, 480) << false;
    QTest::newRow("desktop") << QSize(1920, 1080) << false;
}

void TestAppEvents::smallScreen()
{
    QFETCH(QSize, size);
    QFETCH(bool, small);
    QCOMPARE(App::isSmallSize(size), small);
}

void TestAppEvents::screenSides()
{
    QVERIFY(App::screenShortSide() > 0);
    QVERIFY(App::screenShortSide() <= App::screenLongSide());
    QCOMPARE(App::isSmallScreen(), App::screenShortSide() < 480);
    QCOMPARE(App::isPortrait(), !App::isLandscape());
    QVERIFY(App::devicePixelRatio() > 0.0);
}

void TestAppEvents::languagePathPart_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("part");
    QTest::newRow("en") << "en" << "";
    QTest::newRow("de") << "de" << "de/";
    QTest::newRow("zh_TW") << "zh_TW" << "zh_TW/";
}

void TestAppEvents::languagePathPart()
{
    QFETCH(QString, code);
    QFETCH(QString, part);
    App* pApp = App::instance();
    const QString before = App::language();
    pApp->setLanguageCode(code);
    QCOMPARE(pApp->languagePathPart(), part);
    pApp->setLanguageCode(before);
}

void TestAppEvents::logLine()
{
    const QString log = App::supportDirectory() + QStringLiteral("/protocol.log");
    QFile::remove(log);
    const QMessageLogContext context("f.cpp", 1, "fn", "cat");
    App::fileMessageHandler(QtDebugMsg, context, QStringLiteral("hello"));
    App::fileMessageHandler(QtWarningMsg, context, QStringLiteral("careful"));
    App::fileMessageHandler(QtCriticalMsg, context, QStringLiteral("bad"));
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d-\\d\\d:\\d\\d Debug: hello, f\\.cpp$"))
                 .match(lines.at(0)).hasMatch(), qPrintable(lines.at(0)));
    QVERIFY(lines.at(1).endsWith(QLatin1String(" Warning: careful, f.cpp")));
    QVERIFY(lines.at(2).endsWith(QLatin1String(" Critical: bad, f.cpp")));
    const QString stamp = lines.at(0).left(14);
    const QDateTime when = QDateTime::fromString(stamp, QStringLiteral("dd.MM.yy-hh:mm"));
    QVERIFY(when.isValid());
}

void TestAppEvents::logIgnoresInformation()
{
    const QString log = App::supportDirectory() + QStringLiteral("/protocol.log");
    QFile::remove(log);
    App::fileMessageHandler(QtInfoMsg, QMessageLogContext(), QStringLiteral("info"));
    QFile file(log);
    QVERIFY(!file.exists() || file.size() == 0);
}

void TestAppEvents::logUnopenableDropsMessage()
{
    const QString log = App::supportDirectory(true) + QStringLiteral("/protocol.log");
    QFile::remove(log);
    QVERIFY(QDir().mkpath(log));  // a folder where the file should be
    App::fileMessageHandler(QtWarningMsg, QMessageLogContext(), QStringLiteral("lost"));
    QVERIFY(QFileInfo(log).isDir());
    QVERIFY(QDir(log).removeRecursively());
}

void TestAppEvents::installedHandlers()
{
    const QtMessageHandler testHandler = qInstallMessageHandler(nullptr);
    const QString log = App::supportDirectory() + QStringLiteral("/protocol.log");
    QFile::remove(log);
    App::installFileMessageHandler();
    qWarning("through the file handler");
    App::installSilentMessageHandler();
    qWarning("dropped");
    App::installDefaultMessageHandler();
    qInstallMessageHandler(testHandler);
    QFile file(log);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString content = QString::fromUtf8(file.readAll());
    QVERIFY2(content.contains(QLatin1String(" Warning: through the file handler, ")), qPrintable(content));
    QVERIFY(!content.contains(QLatin1String("dropped")));
    QCOMPARE(content.count(QLatin1Char('\n')), 1);
}

void TestAppEvents::storeBuild()
{
    ProgramApp* pApp = programApp();
    QTemporaryDir resources;
    const QString before = pApp->resourcesPath();
    pApp->setResourcesPath(resources.path() + QLatin1Char('/'));

    pApp->setIndependentBuild(true);
    QVERIFY(!App::isStoreBuild());
    pApp->setIndependentBuild(false);
    QVERIFY(App::isStoreBuild());
    QVERIFY(QMTest::writeFile(resources.path() + QStringLiteral("/independent"), QByteArray()));
    QVERIFY(!App::isStoreBuild());

    pApp->setIndependentBuild(true);
    pApp->setResourcesPath(before);
}

void TestAppEvents::applicationIdentifier()
{
    const QString before = QCoreApplication::organizationDomain();
    QCoreApplication::setOrganizationDomain(QStringLiteral("corvane.example"));
    QCOMPARE(App::applicationIdentifier(), QStringLiteral("example.corvane.Zintrop Lite"));
    QCoreApplication::setOrganizationDomain(before);
}

void TestAppEvents::markInitialized()
{
    App* pApp = App::instance();
    QVERIFY(!App::isStoreBuild());
    pApp->markInitialized();
    QCOMPARE(pApp->settingsValue(QStringLiteral("Initialized")).toBool(), true);
}

QMTEST_APP_MAIN_WITH(ProgramApp, TestAppEvents)

#include "tst_app_events.moc"
