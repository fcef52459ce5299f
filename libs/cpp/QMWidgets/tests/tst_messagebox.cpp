#include "App.h"
#include "MMessageBox.h"

#include "DialogLayoutCheck.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include "QMTest.h"

#include <QtTest>

using QMWidgets::MMessageBox;

namespace {

QList<QPushButton *> pushButtons(QWidget &box) { return box.findChildren<QPushButton *>(); }

// The text label wraps its words; the icon label does not.
QLabel *textLabel(QWidget &box)
{
    for (QLabel *label : box.findChildren<QLabel *>())
        if (label->wordWrap())
            return label;
    return nullptr;
}

QLabel *iconLabel(QWidget &box)
{
    for (QLabel *label : box.findChildren<QLabel *>())
        if (!label->wordWrap())
            return label;
    return nullptr;
}

QStringList texts(const QList<QPushButton *> &list)
{
    QStringList result;
    for (QPushButton *button : list)
        result << button->text();
    return result;
}

// Clicks the named button of the box once its event loop runs.
void clickLater(QWidget &box, const QString &text)
{
    QPointer<QWidget> guard(&box);
    QTimer::singleShot(0, [guard, text] {
        if (!guard)
            return;
        if (QPushButton *button = QMTest::buttonWithText(guard, text))
            button->click();
    });
}

void pressEscapeLater()
{
    QTimer::singleShot(0, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            QTest::keyClick(modal, Qt::Key_Escape);
    });
}

} // namespace

class TestMessageBox : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void slotOrder();
    void buttons_data();
    void buttons();
    void closedWithoutButtonReturnsZero();
    void icons_data();
    void icons();
    void staticCalls_data();
    void staticCalls();
    void smallScreenStacksButtons();
    void laysOutAtMinimumSize_data();
    void laysOutAtMinimumSize();
};

void TestMessageBox::construction()
{
    MMessageBox box(1, QStringLiteral("Title"), QStringLiteral("Some text"), QMessageBox::Ok);
    QCOMPARE(box.objectName(), QStringLiteral("MessageBox"));
    QCOMPARE(box.windowTitle(), QStringLiteral("Title"));
    QCOMPARE(box.minimumSize(), QSize(300, 200));
    QCOMPARE(box.findChildren<QLabel *>().size(), 2);
    QLabel *text = textLabel(box);
    QVERIFY(text);
    QCOMPARE(text->text(), QStringLiteral("Some text"));
    // The icon stands left of the text.
    box.show();
    QVERIFY(iconLabel(box)->geometry().right() < text->geometry().left());
}

void TestMessageBox::slotOrder()
{
    const QMetaObject &meta = MMessageBox::staticMetaObject;
    QCOMPARE(QByteArray(meta.className()), QByteArray("QMWidgets::MMessageBox"));
    const QByteArrayList expected{ "slotOk()", "slotCancel()", "slotYes()", "slotNo()",
                                   "slotAbort()", "slotRetry()", "slotIgnore()",
                                   "slotYesAll()", "slotNoAll()", "slotUserDefined()" };
    QCOMPARE(meta.methodCount() - meta.methodOffset(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(meta.method(meta.methodOffset() + i).methodSignature(), expected.at(i));
}

void TestMessageBox::buttons_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("userText");
    QTest::addColumn<QStringList>("shown");     // left to right
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("result");

    QTest::newRow("no before yes") << int(QMessageBox::Yes | QMessageBox::No) << QString()
                                   << QStringList{ "No", "Yes" } << "Yes" << 0x4000;
    QTest::newRow("no pressed") << int(QMessageBox::Yes | QMessageBox::No) << QString()
                                << QStringList{ "No", "Yes" } << "No" << 0x10000;
    QTest::newRow("user defined after ok") << int(QMessageBox::Ok) << "Custom"
                                           << QStringList{ "Ok", "Custom" } << "Custom"
                                           << 0x10000000;
    QTest::newRow("bit outside table") << 0x800 << QString() << QStringList{} << QString() << 0;
    QTest::newRow("all nine")
        << int(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::No | QMessageBox::Yes
               | QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore
               | QMessageBox::YesToAll | QMessageBox::NoToAll)
        << QString()
        << QStringList{ "Ok", "Cancel", "No", "Yes", "Abort", "Retry", "Ignore", "YesAll", "NoAll" }
        << "NoAll" << 0x20000;
    QTest::newRow("cancel") << int(QMessageBox::Ok | QMessageBox::Cancel) << QString()
                            << QStringList{ "Ok", "Cancel" } << "Cancel" << 0x400000;
}

void TestMessageBox::buttons()
{
    QFETCH(int, bits);
    QFETCH(QString, userText);
    QFETCH(QStringList, shown);
    QFETCH(QString, press);
    QFETCH(int, result);

    MMessageBox box(4, QStringLiteral("Question"), QStringLiteral("Really?"), bits, nullptr,
                    userText);
    box.show();
    const QList<QPushButton *> list = pushButtons(box);
    QCOMPARE(texts(list), shown);
    for (int i = 0; i < list.size(); ++i) {
        QCOMPARE(list[i]->objectName(), QStringLiteral("PushButton"));
        QVERIFY(list[i]->isFlat());
        QCOMPARE(list[i]->minimumHeight(), 32);
        if (i > 0)   // placed left to right
            QVERIFY(list[i]->geometry().left() > list[i - 1]->geometry().left());
    }
    if (press.isEmpty())
        return;
    clickLater(box, press);
    QCOMPARE(box.exec(), result);
}

void TestMessageBox::closedWithoutButtonReturnsZero()
{
    MMessageBox box(0, QStringLiteral("Note"), QStringLiteral("Nothing to press"), 0);
    QVERIFY(pushButtons(box).isEmpty());
    pressEscapeLater();
    QCOMPARE(box.exec(), 0);

    MMessageBox withOk(1, QStringLiteral("Note"), QStringLiteral("Closed"), QMessageBox::Ok);
    QTimer::singleShot(0, &withOk, &QWidget::close);
    QCOMPARE(withOk.exec(), 0);
}

void TestMessageBox::icons_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("standard");   // -1: no picture
    QTest::newRow("none 0") << 0 << -1;
    QTest::newRow("information") << 1 << int(QStyle::SP_MessageBoxInformation);
    QTest::newRow("warning") << 2 << int(QStyle::SP_MessageBoxWarning);
    QTest::newRow("critical") << 3 << int(QStyle::SP_MessageBoxCritical);
    QTest::newRow("question") << 4 << int(QStyle::SP_MessageBoxQuestion);
    QTest::newRow("none 5") << 5 << -1;
}

void TestMessageBox::icons()
{
    QFETCH(int, kind);
    QFETCH(int, standard);
    const QPixmap pixmap = MMessageBox::iconPixmap(kind);
    MMessageBox box(kind, QStringLiteral("Icon"), QStringLiteral("Text"), QMessageBox::Ok);
    QLabel *icon = iconLabel(box);
    QVERIFY(icon);
    if (standard < 0) {
        QVERIFY(pixmap.isNull());
        QCOMPARE(icon->minimumSize(), QSize(5, 5));
        QCOMPARE(icon->maximumSize(), QSize(5, 5));
        QVERIFY(icon->pixmap(Qt::ReturnByValue).isNull());
        return;
    }
    const QPixmap expected =
        QApplication::style()->standardPixmap(QStyle::StandardPixmap(standard));
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.toImage(), expected.toImage());
    QCOMPARE(icon->maximumSize(), pixmap.size() + QSize(5, 5));
    QCOMPARE(icon->pixmap(Qt::ReturnByValue).toImage(), expected.toImage());
}

void TestMessageBox::staticCalls_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("result");
    QTest::newRow("information ok") << 1 << int(QMessageBox::Ok) << "Ok" << 0x400;
    QTest::newRow("warning retry") << 2 << int(QMessageBox::Retry | QMessageBox::Abort)
                                   << "Retry" << 0x80000;
    QTest::newRow("critical ignore") << 3 << int(QMessageBox::Ignore) << "Ignore" << 0x100000;
    QTest::newRow("question yes all") << 4 << int(QMessageBox::YesToAll | QMessageBox::NoToAll)
                                      << "YesAll" << 0x8000;
}

void TestMessageBox::staticCalls()
{
    QFETCH(int, kind);
    QFETCH(int, buttons);
    QFETCH(QString, press);
    QFETCH(int, result);

    QWidget parent;
    parent.show();
    QTimer::singleShot(0, [press] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        clickLater(*modal, press);
    });
    int got = -1;
    switch (kind) {
    case 1: got = MMessageBox::information(&parent, "T", "Text", buttons); break;
    case 2: got = MMessageBox::warning(&parent, "T", "Text", buttons); break;
    case 3: got = MMessageBox::critical(&parent, "T", "Text", buttons); break;
    default: got = MMessageBox::question(&parent, "T", "Text", buttons); break;
    }
    QCOMPARE(got, result);
    // The box is gone once the call returns.
    QVERIFY(parent.findChildren<MMessageBox *>().isEmpty());
}

void TestMessageBox::smallScreenStacksButtons()
{
    // The headless screen is 800 x 600; the desktop widget is shrunk for the
    // length of this test so that the box sees a phone-sized desktop.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QWidget *desktop = QApplication::desktop();
    QT_WARNING_POP
    const QSize original = desktop->size();
    desktop->resize(400, 700);
    const bool small = QMWidgets::App::isSmallScreen();
    MMessageBox box(1, QStringLiteral("Small"), QStringLiteral("Text"),
                    QMessageBox::Yes | QMessageBox::No);
    desktop->resize(original);
    if (!small)
        QSKIP("this platform does not let the test shrink the desktop");
    QVERIFY(!QMWidgets::App::isSmallScreen());

    const QStringList problems = DialogLayoutCheck::checkAtMinimumSize(&box);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
    const QList<QPushButton *> list = pushButtons(box);
    QCOMPARE(texts(list), (QStringList{ "No", "Yes" }));
    // Stacked top to bottom, in placement order.
    QVERIFY(list[1]->geometry().top() > list[0]->geometry().bottom());
    QCOMPARE(list[0]->geometry().left(), list[1]->geometry().left());
}

void TestMessageBox::laysOutAtMinimumSize_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("text");
    QTest::newRow("yes no, short text") << int(QMessageBox::Yes | QMessageBox::No) << "Sure?";
    QTest::newRow("ok, long text")
        << int(QMessageBox::Ok)
        << QString("A long message that has to wrap over several lines, because the box "
                   "starts at its minimum width and the text must stay readable. ").repeated(3);
    QTest::newRow("all nine")
        << int(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::No | QMessageBox::Yes
               | QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore
               | QMessageBox::YesToAll | QMessageBox::NoToAll)
        << "Choose";
}

void TestMessageBox::laysOutAtMinimumSize()
{
    QFETCH(int, bits);
    QFETCH(QString, text);
    MMessageBox box(2, QStringLiteral("Layout"), text, bits, nullptr, QStringLiteral("More"));
    const QStringList problems = DialogLayoutCheck::checkAtMinimumSize(&box);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
    // Nothing is squeezed below what it needs to show itself.
    for (QWidget *kid : DialogLayoutCheck::visibleChildren(&box))
        QVERIFY2(kid->width() >= kid->minimumSizeHint().width(),
                 qPrintable(DialogLayoutCheck::describe(kid) + " squeezed"));
}

QMTEST_APP_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
