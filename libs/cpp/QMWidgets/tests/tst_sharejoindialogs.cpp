// The share and join panels, their dialogs and their reminder variants.
#include "DialogLayoutCheck.h"
#include "QMTest.h"

#include "App.h"
#include "JoinDialog.h"
#include "JoinReminderDialog.h"
#include "JoinWidget.h"
#include "TellDialog.h"
#include "TellReminderDialog.h"
#include "TellWidget.h"

#include <QLabel>
#include <QPushButton>
#include <QUrlQuery>

using namespace QMWidgets;

namespace {

App* app()
{
    return App::instance();
}

const QString kFaceBookLink = "http://www.facebook.com/sharer.php?u=http://zintrop.org.invalid/zintrop lite";
const QString kTwitterLink = "https://twitter.com/home?status=http://zintrop.org.invalid/zintrop lite";
const QString kVKontakteLink = "https://vk.com/share.php?url=http://zintrop.org.invalid/zintrop lite";

void setShareLinks(bool bFaceBook, bool bTwitter)
{
    app()->setFacebookShareLink(bFaceBook ? kFaceBookLink : QString());
    app()->setTwitterShareLink(bTwitter ? kTwitterLink : QString());
    app()->setVkontakteShareLink(kVKontakteLink);
}

// Object names of the panel's buttons that are not hidden, top to bottom.
QStringList shownButtons(QWidget* pPanel)
{
    QList<QPushButton*> buttons;
    for (QPushButton* pButton : pPanel->findChildren<QPushButton*>()) {
        if (!pButton->isHidden())
            buttons << pButton;
    }
    pPanel->show();
    std::sort(buttons.begin(), buttons.end(),
              [](QPushButton* a, QPushButton* b) { return a->geometry().y() < b->geometry().y(); });
    QStringList names;
    for (QPushButton* pButton : buttons)
        names << pButton->objectName();
    return names;
}

// The links that a click on the panel's named button opens.
QList<QUrl> urlsOpenedByClick(QWidget* pPanel, const QString& strButton)
{
    QMTest::UrlRecorder recorder;
    pPanel->findChild<QPushButton*>(strButton)->click();
    return recorder.urls();
}

// The link of a data row as a list; an empty text means none is opened.
QList<QUrl> oneUrlOrNone(const QString& strUrl)
{
    if (strUrl.isEmpty())
        return {};
    return {QUrl(strUrl, QUrl::TolerantMode)};
}

void setLanguage(const QString& strCode)
{
    App::language();  // the language is chosen once; set the code after that
    app()->setLanguageCode(strCode);
}

} // namespace

class TestShareJoinDialogs : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void cleanup();
    void shareButtonsShown_data();
    void shareButtonsShown();
    void communityButtonForm();
    void shareButtonsOpen_data();
    void shareButtonsOpen();
    void joinButtonsShown_data();
    void joinButtonsShown();
    void joinText();
    void joinButtonsOpen_data();
    void joinButtonsOpen();
    void storeBuildOpensLinksThemselves();
    void joinFaceBookInformsFirst();
    void tellDialog();
    void joinDialog();
    void reminderVariants_data();
    void reminderVariants();
    void layoutAtMinimumSize();
};

void TestShareJoinDialogs::cleanup()
{
    setShareLinks(false, false);
    setLanguage("en");
}

void TestShareJoinDialogs::shareButtonsShown_data()
{
    QTest::addColumn<bool>("bFaceBook");
    QTest::addColumn<bool>("bTwitter");
    QTest::addColumn<QStringList>("slShown");

    QTest::newRow("no share links: e-mail only") << false << false << QStringList{"EmailShareButton"};
    QTest::newRow("Facebook only") << true << false << QStringList{"FaceBookShareButton", "EmailShareButton"};
    QTest::newRow("both links")
        << true << true << QStringList{"FaceBookShareButton", "TwitterShareButton", "EmailShareButton"};
}

void TestShareJoinDialogs::shareButtonsShown()
{
    QFETCH(bool, bFaceBook);
    QFETCH(bool, bTwitter);
    QFETCH(QStringList, slShown);

    setShareLinks(bFaceBook, bTwitter);
    TellWidget panel;
    QCOMPARE(shownButtons(&panel), slShown);
    // LinkedIn and VKontakte are always there, always hidden.
    QVERIFY(panel.findChild<QPushButton*>("LinkedinShareButton")->isHidden());
    QVERIFY(panel.findChild<QPushButton*>("VKontakteShareButton")->isHidden());
}

void TestShareJoinDialogs::communityButtonForm()
{
    setShareLinks(true, true);
    TellWidget tell;
    JoinWidget join;
    const auto buttons = tell.findChildren<QPushButton*>() + join.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 10);
    for (QPushButton* pButton : buttons) {
        QVERIFY(pButton->text().isEmpty());
        QVERIFY(pButton->isFlat());
        QVERIFY(pButton->isCheckable());
        QCOMPARE(pButton->minimumSize(), QSize(190, 35));
        QCOMPARE(pButton->maximumSize(), QSize(190, 35));
    }
}

void TestShareJoinDialogs::shareButtonsOpen_data()
{
    QTest::addColumn<QString>("strButton");
    QTest::addColumn<QString>("strUrl");

    QTest::newRow("Facebook through the share redirector")
        << "FaceBookShareButton" << "https://apps.zintrop.invalid/social/share.php?link=" + kFaceBookLink;
    QTest::newRow("Twitter through the second host")
        << "TwitterShareButton" << "https://share.zintrop.invalid/social/share.php?link=" + kTwitterLink;
    QTest::newRow("VKontakte unchanged") << "VKontakteShareButton" << kVKontakteLink;
    QTest::newRow("LinkedIn opens nothing") << "LinkedinShareButton" << "";
}

void TestShareJoinDialogs::shareButtonsOpen()
{
    QFETCH(QString, strButton);
    QFETCH(QString, strUrl);

    setShareLinks(true, true);
    TellWidget panel;
    QCOMPARE(urlsOpenedByClick(&panel, strButton), oneUrlOrNone(strUrl));
}

void TestShareJoinDialogs::joinButtonsShown_data()
{
    QTest::addColumn<QString>("strLanguage");
    QTest::addColumn<QStringList>("slShown");

    QTest::newRow("en") << "en" << QStringList{"YouTubeJoinButton", "FaceBookJoinButton", "TwitterJoinButton"};
    QTest::newRow("de") << "de" << QStringList{"YouTubeJoinButton", "FaceBookJoinButton", "TwitterJoinButton"};
    QTest::newRow("ru") << "ru"
                        << QStringList{"YouTubeJoinButton", "FaceBookJoinButton", "TwitterJoinButton",
                                       "VKontakteJoinButton"};
}

void TestShareJoinDialogs::joinButtonsShown()
{
    QFETCH(QString, strLanguage);
    QFETCH(QStringList, slShown);

    setLanguage(strLanguage);
    JoinWidget panel;
    QCOMPARE(shownButtons(&panel), slShown);
    QVERIFY(panel.findChild<QPushButton*>("EmailJoinButton")->isHidden());
}

void TestShareJoinDialogs::joinText()
{
    JoinWidget panel;
    auto* pLabel = panel.findChild<QLabel*>();
    QVERIFY(pLabel);
    QCOMPARE(pLabel->text(), QString("<H3>Follow us and stay informed<br>about our</H3><H3>   1. Important News<br>"
                                     "   2. New APPs<br>   3. APP Updates<br>   and more...</H3>"));
}

void TestShareJoinDialogs::joinButtonsOpen_data()
{
    QTest::addColumn<QString>("strButton");
    QTest::addColumn<QString>("strUrl");

    const QString redirector = "https://apps.zintrop.invalid/social/join.php?link=";
    QTest::newRow("YouTube") << "YouTubeJoinButton"
                             << redirector + "https://www.youtube.com/c/Corvane?sub_confirmation=1";
    QTest::newRow("Twitter") << "TwitterJoinButton" << redirector + "https://twitter.com/corvane";
    QTest::newRow("VKontakte without redirector") << "VKontakteJoinButton" << "https://vk.com/corvane";
    QTest::newRow("e-mail without template") << "EmailJoinButton" << "";
}

void TestShareJoinDialogs::joinButtonsOpen()
{
    QFETCH(QString, strButton);
    QFETCH(QString, strUrl);

    JoinWidget panel;
    QCOMPARE(urlsOpenedByClick(&panel, strButton), oneUrlOrNone(strUrl));
}

void TestShareJoinDialogs::storeBuildOpensLinksThemselves()
{
    auto* pApp = static_cast<QMTest::TestApp*>(App::instance());
    pApp->setIndependentBuild(false);
    setShareLinks(true, true);
    TellWidget tell;
    JoinWidget join;
    const QList<QUrl> shared = urlsOpenedByClick(&tell, "FaceBookShareButton");
    const QList<QUrl> joined = urlsOpenedByClick(&join, "YouTubeJoinButton");
    pApp->setIndependentBuild(true);
    QCOMPARE(shared, oneUrlOrNone(kFaceBookLink));
    QCOMPARE(joined, oneUrlOrNone("https://www.youtube.com/c/Corvane?sub_confirmation=1"));
}

void TestShareJoinDialogs::joinFaceBookInformsFirst()
{
    QWidget mainWidget;
    app()->setMainWidget(&mainWidget);
    JoinWidget panel;
    QMTest::UrlRecorder recorder;
    int nOpenedBeforeOk = -1;
    QString strTitle;
    QString strText;
    QWidget* pParent = nullptr;
    QMTest::ModalAnswerer answerer([&](QWidget* pWidget) {
        nOpenedBeforeOk = recorder.count();
        strTitle = pWidget->windowTitle();
        pParent = pWidget->parentWidget();
        strText = QMTest::labelTextContaining(pWidget, "Like");
        static_cast<QDialog*>(pWidget)->done(0x400);
    }, 2000);
    panel.findChild<QPushButton*>("FaceBookJoinButton")->click();
    app()->setMainWidget(nullptr);

    QCOMPARE(answerer.answeredClassName(), QString("QMWidgets::MMessageBox"));
    QCOMPARE(nOpenedBeforeOk, 0);
    QCOMPARE(strTitle, QString("Information"));
    QCOMPARE(strText, QString("<H3>\"Like\" Corvane on Facebook to join us!<br>Thank you!</H3>"));
    QCOMPARE(pParent, &mainWidget);
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last(),
             QUrl("https://apps.zintrop.invalid/social/join.php?link=https://www.facebook.com/corvane",
                  QUrl::TolerantMode));
}

void TestShareJoinDialogs::tellDialog()
{
    setShareLinks(true, true);
    TellDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Share Zintrop Lite"));
    QCOMPARE(dialog.objectName(), QString("Dialog"));
    QVERIFY(dialog.findChild<TellWidget*>());
    auto* pMessage = dialog.findChild<QLabel*>();
    QCOMPARE(pMessage->text(),
             QString("<CENTER><H2>If you like the app<br>please share it with<br>your friends.<br>Thanks!</H2></CENTER>"));
    QPushButton* pClose = QMTest::buttonWithText(&dialog, "&Close");
    QVERIFY(pClose);
    QCOMPARE(pClose->objectName(), QString("PushButton"));
    QVERIFY(pClose->isFlat());
    QCOMPARE(pClose->minimumHeight(), 32);

    // Sharing from the panel leaves the dialog open; close accepts it.
    QMTest::UrlRecorder recorder;
    QMTest::ModalAnswerer answerer([](QWidget* pWidget) {
        pWidget->findChild<QPushButton*>("EmailShareButton")->click();
        QVERIFY(pWidget->isVisible());
        QMTest::buttonWithText(pWidget, "&Close")->click();
    }, 2000);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().scheme(), QString("mailto"));
    QCOMPARE(QUrlQuery(recorder.last()).queryItemValue("subject", QUrl::FullyDecoded),
             QString("Check out the cool Zintrop Lite app!"));
}

void TestShareJoinDialogs::joinDialog()
{
    JoinDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Join us"));
    QCOMPARE(dialog.objectName(), QString("Dialog"));
    auto* pPanel = dialog.findChild<JoinWidget*>();
    QVERIFY(pPanel);
    // The only text is the panel's own.
    for (QLabel* pLabel : dialog.findChildren<QLabel*>())
        QCOMPARE(pLabel->parentWidget(), static_cast<QWidget*>(pPanel));
    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::clickButton("&Close"), 2000);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
}

void TestShareJoinDialogs::reminderVariants_data()
{
    QTest::addColumn<bool>("bJoin");
    QTest::addColumn<QString>("strAnswer");
    QTest::addColumn<int>("nState");

    QTest::newRow("share: close") << false << "&Close" << 4;
    QTest::newRow("share: escape") << false << "escape" << 4;
    QTest::newRow("share: never") << false << "&Don't ask me again" << 3;
    QTest::newRow("join: close") << true << "&Close" << 4;
    QTest::newRow("join: escape") << true << "escape" << 4;
    QTest::newRow("join: never") << true << "&Don't ask me again" << 3;
}

void TestShareJoinDialogs::reminderVariants()
{
    QFETCH(bool, bJoin);
    QFETCH(QString, strAnswer);
    QFETCH(int, nState);

    setShareLinks(true, true);
    QScopedPointer<ReminderDialog> pDialog(bJoin ? static_cast<ReminderDialog*>(new JoinReminderDialog())
                                                 : new TellReminderDialog());
    QCOMPARE(pDialog->windowTitle(), bJoin ? QString("Join Us") : QString("Share"));
    QVERIFY(bJoin ? pDialog->findChild<JoinWidget*>() != nullptr : pDialog->findChild<TellWidget*>() != nullptr);
    QVERIFY(QMTest::buttonWithText(pDialog.data(), "&Later")->isHidden());
    QVERIFY(QMTest::buttonWithText(pDialog.data(), "&Mail")->isHidden());
    QVERIFY(!QMTest::buttonWithText(pDialog.data(), "&Close")->isHidden());
    QCOMPARE(pDialog->focusWidget(), static_cast<QWidget*>(QMTest::buttonWithText(pDialog.data(), "&Close")));
    if (!bJoin) {
        QCOMPARE(QMTest::labelTextContaining(pDialog.data(), "Share it"),
                 QString("<CENTER><H3>If you like the app,<br>Share it with Your Friends.<br>Thanks!</H3></CENTER>"));
    }

    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::clickButtonOrEscape(strAnswer), 2000);
    pDialog->exec();
    QVERIFY(answerer.answered());
    QCOMPARE(pDialog->reminderState(), nState);
}

void TestShareJoinDialogs::layoutAtMinimumSize()
{
    setShareLinks(true, true);
    setLanguage("ru");
    TellDialog tell;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&tell), QStringList());
    JoinDialog join;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&join), QStringList());
    TellReminderDialog tellReminder;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&tellReminder), QStringList());
    JoinReminderDialog joinReminder;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&joinReminder), QStringList());
}

QMTEST_APP_MAIN(TestShareJoinDialogs)
#include "tst_sharejoindialogs.moc"
