// The rating dialogs: texts, buttons, result codes and layout.
#include "DialogLayoutCheck.h"
#include "QMTest.h"

#include "App.h"
#include "RateAppStoreDialog.h"
#include "RateMailDialog.h"
#include "ReminderStateDialog.h"

#include <QLabel>
#include <QPushButton>

using namespace QMWidgets;

namespace {

// Texts of the buttons that are not hidden, left to right.
QStringList visibleButtonsLeftToRight(QWidget* pDialog)
{
    QList<QPushButton*> buttons;
    for (QPushButton* pButton : pDialog->findChildren<QPushButton*>()) {
        if (!pButton->isHidden())
            buttons << pButton;
    }
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton* a, QPushButton* b) { return a->geometry().x() < b->geometry().x(); });
    QStringList texts;
    for (QPushButton* pButton : buttons)
        texts << pButton->text();
    return texts;
}

QLabel* messageLabel(QWidget* pDialog)
{
    for (QLabel* pLabel : pDialog->findChildren<QLabel*>()) {
        if (pLabel->objectName() != "LogoLabel")
            return pLabel;
    }
    return nullptr;
}

} // namespace

class TestReminderDialogs : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void resultCodes_data();
    void resultCodes();
    void rateDialogTexts();
    void rateDialogButtons();
    void neverButtonFollowsAutoReminder();
    void rateMailDialogTexts();
    void commonForm();
    void layoutCheckSeesOverlaps();
    void layoutAtMinimumSize();
};

void TestReminderDialogs::resultCodes_data()
{
    QTest::addColumn<bool>("bMailDialog");
    QTest::addColumn<QString>("strAction");
    QTest::addColumn<int>("nExpected");

    QTest::newRow("rate it now") << false << "&Rate It Now" << 0;
    QTest::newRow("later") << false << "&Later" << 2;
    QTest::newRow("never") << false << "&Don't ask me again" << 3;
    QTest::newRow("escape") << false << "escape" << 4;
    QTest::newRow("window close") << false << "close" << 4;
    QTest::newRow("plain accept") << false << "accept" << 4;
    QTest::newRow("mail dialog: rate") << true << "&Rate" << 0;
    QTest::newRow("mail dialog: write email") << true << "&Write email" << 1;
    QTest::newRow("mail dialog: later") << true << "&Later" << 2;
    QTest::newRow("mail dialog: never") << true << "&Don't ask me again" << 3;
    QTest::newRow("mail dialog: escape") << true << "escape" << 4;
}

void TestReminderDialogs::resultCodes()
{
    QFETCH(bool, bMailDialog);
    QFETCH(QString, strAction);
    QFETCH(int, nExpected);

    QScopedPointer<ReminderStateDialog> pDialog(bMailDialog ? static_cast<ReminderStateDialog*>(new RateMailDialog())
                                                            : new RateAppStoreDialog());
    QCOMPARE(pDialog->reminderState(), 4);

    QMTest::ModalAnswerer answerer([strAction](QWidget* pWidget) {
        auto* pDialog = static_cast<QDialog*>(pWidget);
        if (strAction == "escape")
            QTest::keyClick(pDialog, Qt::Key_Escape);
        else if (strAction == "close")
            pDialog->close();
        else if (strAction == "accept")
            pDialog->accept();
        else
            QMTest::ModalAnswerer::clickButton(strAction)(pWidget);
    });
    pDialog->exec();
    QVERIFY(answerer.answered());
    QCOMPARE(pDialog->reminderState(), nExpected);
}

void TestReminderDialogs::rateDialogTexts()
{
    RateAppStoreDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Rate \"Zintrop Lite\""));
    QCOMPARE(dialog.objectName(), QString("Dialog"));
    QLabel* pMessage = messageLabel(&dialog);
    QVERIFY(pMessage);
    QCOMPARE(pMessage->text(),
             QString("<CENTER><H2>Enjoying \"Zintrop Lite\" ?</H2><H3>Please rate the app on the App Store.<br>"
                     "This will help us improve <br>the app's features in the future.<br></H3></CENTER>"));
    QCOMPARE(pMessage->minimumHeight(), 90);
}

void TestReminderDialogs::rateDialogButtons()
{
    RateAppStoreDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // Never, later, rate (mail hidden), sharing the width in one row.
    QCOMPARE(visibleButtonsLeftToRight(&dialog),
             QStringList({"&Don't ask me again", "&Later", "&Rate It Now"}));
    QPushButton* pMail = QMTest::buttonWithText(&dialog, "&Mail");
    QVERIFY(pMail);
    QVERIFY(pMail->isHidden());
    QPushButton* pNever = QMTest::buttonWithText(&dialog, "&Don't ask me again");
    QPushButton* pRate = QMTest::buttonWithText(&dialog, "&Rate It Now");
    QCOMPARE(pNever->geometry().y(), pRate->geometry().y());
    QVERIFY(pRate->hasFocus());

    // The logo sits left of the message on a wide screen.
    QLabel* pLogo = dialog.findChild<QLabel*>("LogoLabel");
    QVERIFY(pLogo);
    QCOMPARE(pLogo->size(), QSize(90, 90));
    QVERIFY(pLogo->geometry().right() < messageLabel(&dialog)->geometry().left());
}

void TestReminderDialogs::neverButtonFollowsAutoReminder()
{
    App::instance()->setSettingsValue("AutoReminder", false);
    RateAppStoreDialog dialogOff;
    QVERIFY(QMTest::buttonWithText(&dialogOff, "&Don't ask me again")->isHidden());
    dialogOff.show();
    QCOMPARE(visibleButtonsLeftToRight(&dialogOff), QStringList({"&Later", "&Rate It Now"}));

    App::instance()->setSettingsValue("AutoReminder", true);
    RateAppStoreDialog dialogOn;
    QVERIFY(!QMTest::buttonWithText(&dialogOn, "&Don't ask me again")->isHidden());
    // The dialog only reads the setting.
    QCOMPARE(App::instance()->settingsValue("AutoReminder").toBool(), true);
}

void TestReminderDialogs::rateMailDialogTexts()
{
    RateMailDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Feedback about \"Zintrop Lite\""));
    QCOMPARE(messageLabel(&dialog)->text(),
             QString("<CENTER><H3>Please rate it on the app store or send us a quick e-mail<br>and tell us what you "
                     "didn't enjoy. <br>Your feedback will help us improve this app.</H3></CENTER>"));
    dialog.show();
    QCOMPARE(visibleButtonsLeftToRight(&dialog),
             QStringList({"&Don't ask me again", "&Later", "&Rate", "&Write email"}));
}

void TestReminderDialogs::commonForm()
{
    ReminderStateDialog stateDialog;
    QCOMPARE(stateDialog.windowTitle(), QString("Zintrop Lite"));
    QCOMPARE(stateDialog.reminderState(), 4);

    RateAppStoreDialog dialog;
    const auto buttons = dialog.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 4);
    for (QPushButton* pButton : buttons) {
        QCOMPARE(pButton->objectName(), QString("PushButton"));
        QVERIFY(pButton->isFlat());
        QCOMPARE(pButton->minimumHeight(), 32);
    }
}

void TestReminderDialogs::layoutCheckSeesOverlaps()
{
    // The check used on every dialog must notice a broken layout.
    QWidget widget;
    widget.resize(100, 100);
    auto* pA = new QLabel("a", &widget);
    auto* pB = new QLabel("b", &widget);
    pA->setGeometry(0, 0, 60, 20);
    pB->setGeometry(50, 10, 60, 20);
    widget.show();
    const QStringList problems = DialogLayoutCheck::layoutProblems(&widget);
    QCOMPARE(problems.size(), 2);
    QVERIFY(problems.at(0).contains("overlaps"));
    QVERIFY(problems.at(1).contains("sticks out"));
}

void TestReminderDialogs::layoutAtMinimumSize()
{
    RateAppStoreDialog rate;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&rate), QStringList());
    RateMailDialog mail;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&mail), QStringList());
}

QMTEST_APP_MAIN(TestReminderDialogs)
#include "tst_reminderdialogs.moc"
