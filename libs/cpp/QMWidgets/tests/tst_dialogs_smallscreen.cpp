// The framework's dialogs on a small, high-density screen: the offscreen
// screen of 800 x 600 pixels at a scale of 2 is 400 x 300 logical pixels
// at a device pixel ratio of 2.
#include "DialogLayoutCheck.h"
#include "QMTest.h"

#include "AboutDialog.h"
#include "App.h"
#include "HelpDialog.h"
#include "HelpDisplay.h"
#include "HelpViewArea.h"
#include "JoinDialog.h"
#include "JoinReminderDialog.h"
#include "JoinWidget.h"
#include "RateAppStoreDialog.h"
#include "RateMailDialog.h"
#include "TellDialog.h"
#include "TellReminderDialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

using namespace QMWidgets;

namespace {

// Texts of the shown buttons that have one (panel buttons are pictures).
QStringList shownButtonsTopToBottom(QWidget* pDialog)
{
    QList<QPushButton*> buttons;
    for (QPushButton* pButton : pDialog->findChildren<QPushButton*>()) {
        if (pButton->isVisible() && !pButton->text().isEmpty())
            buttons << pButton;
    }
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton* a, QPushButton* b) { return a->geometry().y() < b->geometry().y(); });
    QStringList texts;
    for (QPushButton* pButton : buttons)
        texts << pButton->text();
    return texts;
}

// The box layout that holds the widget directly.
QBoxLayout* layoutHolding(QLayout* pLayout, QWidget* pWidget)
{
    if (!pLayout)
        return nullptr;
    for (int i = 0; i < pLayout->count(); ++i) {
        QLayoutItem* pItem = pLayout->itemAt(i);
        if (pItem->widget() == pWidget)
            return qobject_cast<QBoxLayout*>(pLayout);
        if (QBoxLayout* pFound = layoutHolding(pItem->layout(), pWidget))
            return pFound;
    }
    return nullptr;
}

} // namespace

class TestDialogsSmallScreen : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void screenIsSmallAndDense();
    void rateDialog();
    void rateMailDialogButtonOrder();
    void tellAndJoinDialogs();
    void reminderVariants();
    void helpDialog();
    void slidePictureCentred_data();
    void slidePictureCentred();
    void layoutsAtMinimumSize();
};

void TestDialogsSmallScreen::screenIsSmallAndDense()
{
    QVERIFY(App::isSmallScreen());
    QCOMPARE(App::devicePixelRatio(), 2.0);
}

void TestDialogsSmallScreen::rateDialog()
{
    RateAppStoreDialog dialog;
    dialog.show();
    QCOMPARE(QMTest::labelTextContaining(&dialog, "Enjoying"),
             QString("<CENTER><H3>Enjoying \"Zintrop Lite\" ?</H3><H4>Please rate the app on the App Store.<br>"
                     "This will help us improve <br>the app's features in the future.<br></H4></CENTER>"));
    QCOMPARE(shownButtonsTopToBottom(&dialog), QStringList({"&Rate It Now", "&Later", "&Don't ask me again"}));
    QPushButton* pRate = QMTest::buttonWithText(&dialog, "&Rate It Now");
    QCOMPARE(pRate->geometry().x(), QMTest::buttonWithText(&dialog, "&Later")->geometry().x());

    // The logo sits centred above the message.
    auto* pLogo = dialog.findChild<QLabel*>("LogoLabel");
    QLabel* pMessage = nullptr;
    for (QLabel* pLabel : dialog.findChildren<QLabel*>()) {
        if (pLabel != pLogo)
            pMessage = pLabel;
    }
    QVERIFY(pLogo->geometry().bottom() < pMessage->geometry().top());
    QVERIFY(qAbs(pLogo->geometry().center().x() - pMessage->geometry().center().x()) <= 1);
}

void TestDialogsSmallScreen::rateMailDialogButtonOrder()
{
    RateMailDialog dialog;
    dialog.show();
    QCOMPARE(shownButtonsTopToBottom(&dialog),
             QStringList({"&Write email", "&Rate", "&Later", "&Don't ask me again"}));
    QVERIFY(QMTest::labelTextContaining(&dialog, "Please rate").startsWith("<CENTER><H4>"));
}

void TestDialogsSmallScreen::tellAndJoinDialogs()
{
    TellDialog tell;
    QCOMPARE(QMTest::labelTextContaining(&tell, "If you like"),
             QString("<CENTER><H4>If you like the app<br>please share it with<br>your friends.<br>Thanks!</H4></CENTER>"));
    QBoxLayout* pTellButtons = layoutHolding(tell.layout(), QMTest::buttonWithText(&tell, "&Close"));
    QVERIFY(pTellButtons);
    QCOMPARE(pTellButtons->direction(), QBoxLayout::TopToBottom);

    JoinDialog join;
    QBoxLayout* pJoinButtons = layoutHolding(join.layout(), QMTest::buttonWithText(&join, "&Close"));
    QVERIFY(pJoinButtons);
    QCOMPARE(pJoinButtons->direction(), QBoxLayout::TopToBottom);
    QCOMPARE(QMTest::labelTextContaining(&join, "Follow"),
             QString("<H5>Follow us and stay informed<br>about our</H5><H4>   1. Important News<br>"
                     "   2. New APPs<br>   3. APP Updates<br>   and more...</H4>"));
}

void TestDialogsSmallScreen::reminderVariants()
{
    TellReminderDialog tell;
    QCOMPARE(QMTest::labelTextContaining(&tell, "Share it"),
             QString("<CENTER><H4>If you like the app,<br>Share it with Your Friends.<br>Thanks!</H4></CENTER>"));
    tell.show();
    QCOMPARE(shownButtonsTopToBottom(&tell), QStringList({"&Close", "&Don't ask me again"}));

    JoinReminderDialog join;
    join.show();
    QCOMPARE(shownButtonsTopToBottom(&join), QStringList({"&Close", "&Don't ask me again"}));
}

void TestDialogsSmallScreen::helpDialog()
{
    HelpDialog dialog;
    dialog.setVideoLink("https://youtu.be/abc");
    dialog.show();
    QCOMPARE(dialog.viewArea()->display()->minimumSize(), QSize(280, 220));
    QCOMPARE(shownButtonsTopToBottom(&dialog), QStringList({"&Watch videos", "&Always skip intro", "&Close"}));
    QCOMPARE(layoutHolding(dialog.layout(), QMTest::buttonWithText(&dialog, "&Close"))->direction(),
             QBoxLayout::TopToBottom);
}

void TestDialogsSmallScreen::slidePictureCentred_data()
{
    QTest::addColumn<QSize>("sizePicture");
    QTest::addColumn<QRect>("rectPicture");  // logical pixels in a 100 x 100 display

    QTest::newRow("wide") << QSize(40, 20) << QRect(0, 25, 100, 50);
    QTest::newRow("tall") << QSize(20, 40) << QRect(25, 0, 50, 100);
}

void TestDialogsSmallScreen::slidePictureCentred()
{
    QFETCH(QSize, sizePicture);
    QFETCH(QRect, rectPicture);

    QTemporaryDir dir;
    QImage picture(sizePicture, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString strPath = dir.filePath("slide.png");
    QVERIFY(picture.save(strPath));

    HelpDisplay display;
    display.setFixedSize(100, 100);
    display.setImagePath(strPath);
    const QImage image = display.grab().toImage();
    QCOMPARE(image.size(), QSize(200, 200));

    // The same picture place as at ratio 1, at twice the pixels.
    for (int y = 1; y < 100; y += 4) {
        for (int x = 1; x < 100; x += 4) {
            const QRgb p = image.pixel(2 * x, 2 * y);
            const bool bRed = qRed(p) > 200 && qGreen(p) < 60;
            const bool bBlack = qRed(p) < 30 && qGreen(p) < 30 && qBlue(p) < 30;
            const bool bInside = rectPicture.adjusted(1, 1, -1, -1).contains(x, y);
            const bool bOutside = !rectPicture.adjusted(-1, -1, 1, 1).contains(x, y);
            if (bInside)
                QVERIFY2(bRed, qPrintable(QString("(%1, %2) should be red").arg(x).arg(y)));
            if (bOutside)
                QVERIFY2(bBlack, qPrintable(QString("(%1, %2) should be black").arg(x).arg(y)));
        }
    }
}

void TestDialogsSmallScreen::layoutsAtMinimumSize()
{
    RateAppStoreDialog rate;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&rate), QStringList());
    RateMailDialog mail;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&mail), QStringList());
    TellDialog tell;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&tell), QStringList());
    JoinDialog join;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&join), QStringList());
    TellReminderDialog tellReminder;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&tellReminder), QStringList());
    JoinReminderDialog joinReminder;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&joinReminder), QStringList());
    HelpDialog help;
    help.addSlide("a.jpg");
    help.addSlide("b.jpg");
    help.setVideoLink("https://youtu.be/abc");
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&help), QStringList());
    AboutDialog about;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&about), QStringList());
}

QMTEST_SMALL_SCREEN_APP_MAIN(TestDialogsSmallScreen)

#include "tst_dialogs_smallscreen.moc"
