#include "Os.h"
#include "QMTest.h"

#include <QAction>
#include <QMetaMethod>

using QMWidgets::App;

namespace {

// Menus, buttons and timers connect to the application object by signature
// text, and the running program discards Qt's warnings, so a misspelt name
// would fail without a trace. Every signature named that way is listed here.
struct Signature {
    const char* text;
    QMetaMethod::MethodType type;
    QMetaMethod::Access access;
};

const Signature kAppSignatures[] = {
    {"mouseButtonPress()", QMetaMethod::Signal, QMetaMethod::Public},
    {"applicationActivated()", QMetaMethod::Signal, QMetaMethod::Public},
    {"applicationDeactivated()", QMetaMethod::Signal, QMetaMethod::Public},
    {"applicationExposed()", QMetaMethod::Signal, QMetaMethod::Public},
    {"dockClicked()", QMetaMethod::Signal, QMetaMethod::Public},
    {"fileOpenRequest(QString)", QMetaMethod::Signal, QMetaMethod::Public},
    {"fileOpenRequest(const QString&)", QMetaMethod::Signal, QMetaMethod::Public},
    {"slotCallRateReminderInternal()", QMetaMethod::Slot, QMetaMethod::Private},
    {"slotCallRateReminder()", QMetaMethod::Slot, QMetaMethod::Private},
    {"slotCallTellReminder()", QMetaMethod::Slot, QMetaMethod::Private},
    {"slotCallJoinReminder()", QMetaMethod::Slot, QMetaMethod::Private},
    {"slotImmediatelyRate()", QMetaMethod::Slot, QMetaMethod::Private},
    {"slotStartCount()", QMetaMethod::Slot, QMetaMethod::Private},
    {"slotShowPrivacyPolicy()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotShowCssEditor()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotContactUs()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotTellFriend()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotRateApp()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotSupportPage()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotHelp()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotGoToPromotedApp()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotShareApp()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotJoin()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotAbout()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotSetBlendMainWidget(bool)", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotCheckUpdate()", QMetaMethod::Slot, QMetaMethod::Public},
    {"slotShowMoreApps()", QMetaMethod::Slot, QMetaMethod::Public},
};

const char* const kOsSignals[] = {"atSwitchToStandBy()", "atWakeUpFromStandBy()", "atUserLogout()",
                                  "atWorkspaceChanged()"};

}  // namespace

class TestAppSignatures : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void appSignatures_data();
    void appSignatures();
    void declarationOrder();
    void connectByText_data();
    void connectByText();
    void osSignals();
    void quitConnectionTarget();
};

void TestAppSignatures::appSignatures_data()
{
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("access");
    for (const Signature& s : kAppSignatures)
        QTest::newRow(s.text) << QByteArray(s.text) << int(s.type) << int(s.access);
}

void TestAppSignatures::appSignatures()
{
    QFETCH(QByteArray, signature);
    QFETCH(int, type);
    QFETCH(int, access);
    const QMetaObject* meta = &App::staticMetaObject;
    const QByteArray normalized = QMetaObject::normalizedSignature(signature.constData());
    const int index = type == QMetaMethod::Signal ? meta->indexOfSignal(normalized.constData())
                                                  : meta->indexOfSlot(normalized.constData());
    QVERIFY2(index >= 0, normalized.constData());
    QVERIFY2(index >= meta->methodOffset(), "declared by the application class itself");
    const QMetaMethod method = meta->method(index);
    QCOMPARE(int(method.methodType()), type);
    QCOMPARE(int(method.access()), access);
    QCOMPARE(method.returnType(), int(QMetaType::Void));
}

void TestAppSignatures::declarationOrder()
{
    // Derived application objects number their own methods after these.
    const QMetaObject* meta = &App::staticMetaObject;
    QCOMPARE(QByteArray(meta->className()), QByteArray("QMWidgets::App"));
    QCOMPARE(meta->superClass(), &QApplication::staticMetaObject);
    QStringList own;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        own << QString::fromLatin1(meta->method(i).methodSignature());
    QStringList expected;
    for (const Signature& s : kAppSignatures) {
        const QString text = QString::fromLatin1(QMetaObject::normalizedSignature(s.text));
        if (!expected.contains(text))
            expected << text;
    }
    QCOMPARE(own, expected);
    QCOMPARE(meta->propertyCount(), meta->propertyOffset());
}

void TestAppSignatures::connectByText_data()
{
    QTest::addColumn<QByteArray>("slot");
    for (const Signature& s : kAppSignatures) {
        if (s.type == QMetaMethod::Slot && QByteArray(s.text).endsWith("()"))
            QTest::newRow(s.text) << QByteArray(s.text);
    }
}

void TestAppSignatures::connectByText()
{
    // The way a menu entry reaches the application object.
    QFETCH(QByteArray, slot);
    QAction action;
    const QByteArray member = QByteArray::number(QSLOT_CODE) + slot;
    QVERIFY(QObject::connect(&action, SIGNAL(triggered()), App::instance(), member.constData()));
}

void TestAppSignatures::osSignals()
{
    for (const char* signal : kOsSignals)
        QVERIFY2(Os::staticMetaObject.indexOfSignal(signal) >= 0, signal);
}

void TestAppSignatures::quitConnectionTarget()
{
    // The reminder runs from aboutToQuit() through a text connection.
    QVERIFY(QObject::connect(App::instance(), SIGNAL(aboutToQuit()), App::instance(),
                             SLOT(slotCallRateReminderInternal())));
    QVERIFY(QObject::disconnect(App::instance(), SIGNAL(aboutToQuit()), App::instance(),
                                SLOT(slotCallRateReminderInternal())));
}

QMTEST_APP_MAIN(TestAppSignatures)
#include "tst_app_signatures.moc"
