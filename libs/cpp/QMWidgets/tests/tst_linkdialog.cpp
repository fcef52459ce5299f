// The tutorial invitation: its remembered choice and the page it opens.
#include "LinkDialog.h"

#include "QMTest.h"
#include "UrlOpener.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>

using QMWidgets::App;
using QMWidgets::LinkDialog;

class TestLinkDialog : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void checkBoxShowsTheNegatedSetting_data();
    void checkBoxShowsTheNegatedSetting();
    void tickingStoresAtOnce();
    void yesOpensTheTutorial_data();
    void yesOpensTheTutorial();
    void noRejects();

private:
    void cleanup();
};

void TestLinkDialog::cleanup()
{
    App::instance()->setLanguageCode("en");
}

void TestLinkDialog::construction()
{
    LinkDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Zintrop Lite Information"));
    QLabel* pPicture = nullptr;
    for (QLabel* pLabel : dialog.findChildren<QLabel*>()) {
        if (pLabel->text().startsWith("<CENTER><H3>"))
            pPicture = pLabel;
    }
    QVERIFY(pPicture);
    QCOMPARE(pPicture->size(), QSize(360, 177));
    QCOMPARE(pPicture->styleSheet(), QString("QLabel{background-image: url(:/pix/nemo2.jpg);}"));
    QVERIFY(pPicture->text().contains("Zintrop Lite"));
    QVERIFY(pPicture->text().endsWith("<BR>(Watch the Video Introduction)</H3></CENTER>"));
    QVERIFY(!QMTest::labelTextContaining(&dialog, "Do not show this dialog again").isEmpty());
    QCOMPARE(QMTest::buttonWithText(&dialog, "&Yes")->objectName(), QString("PushButton"));
    QCOMPARE(QMTest::buttonWithText(&dialog, "&No")->minimumHeight(), 32);
}

void TestLinkDialog::checkBoxShowsTheNegatedSetting_data()
{
    QTest::addColumn<QVariant>("stored");  // invalid: not stored
    QTest::addColumn<bool>("bChecked");

    QTest::newRow("missing") << QVariant() << false;
    QTest::newRow("offer it") << QVariant(true) << false;
    QTest::newRow("do not offer it") << QVariant(false) << true;
}

void TestLinkDialog::checkBoxShowsTheNegatedSetting()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, bChecked);

    if (stored.isValid())
        App::instance()->setSettingsValue("ShowTutoralDialog", stored);
    LinkDialog dialog;
    QCOMPARE(dialog.findChild<QCheckBox*>()->isChecked(), bChecked);
    // Showing the stored state stores nothing.
    QCOMPARE(App::instance()->settingsValue("ShowTutoralDialog"), stored);
}

void TestLinkDialog::tickingStoresAtOnce()
{
    LinkDialog dialog;
    dialog.show();
    auto* pCheck = dialog.findChild<QCheckBox*>();
    pCheck->click();
    QCOMPARE(App::instance()->settingsValue("ShowTutoralDialog", true).toBool(), false);
    QVERIFY(dialog.isVisible());
    // Stored with the application's prefix.
    QCOMPARE(App::instance()->settings()->value("Zintrop Lite/ShowTutoralDialog").toBool(), false);
    pCheck->click();
    QCOMPARE(App::instance()->settingsValue("ShowTutoralDialog", false).toBool(), true);
}

void TestLinkDialog::yesOpensTheTutorial_data()
{
    QTest::addColumn<QString>("strLanguage");
    QTest::addColumn<QString>("strPath");

    QTest::newRow("English") << "en" << "/tutorial/tutorial.htm";
    QTest::newRow("English of Great Britain") << "en_GB" << "/tutorial/tutorial.htm";
    QTest::newRow("German") << "de" << "/de/tutorial/tutorial.htm";
    QTest::newRow("Russian") << "ru" << "/ru/tutorial/tutorial.htm";
}

void TestLinkDialog::yesOpensTheTutorial()
{
    QFETCH(QString, strLanguage);
    QFETCH(QString, strPath);

    App::instance()->setLanguageCode(strLanguage);
    LinkDialog dialog;
    // The dialog is closed before the browser comes up.
    QList<QUrl> opened;
    bool bOpenWhileShown = false;
    const Platform::UrlOpenHook previous = Platform::setUrlOpenHook([&](const QUrl& url) {
        opened << url;
        bOpenWhileShown = dialog.isVisible();
        return true;
    });
    QMTest::ModalAnswerer answer(QMTest::ModalAnswerer::clickButton("&Yes"));
    const int nResult = dialog.exec();
    Platform::setUrlOpenHook(previous);
    QCOMPARE(nResult, int(QDialog::Accepted));
    QVERIFY(!bOpenWhileShown);
    QCOMPARE(opened, QList<QUrl>({QUrl(App::siteAddress() + strPath)}));
}

void TestLinkDialog::noRejects()
{
    QMTest::UrlRecorder recorder;
    LinkDialog dialog;
    QMTest::ModalAnswerer answer(QMTest::ModalAnswerer::clickButton("&No"));
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(recorder.count(), 0);
}

QMTEST_APP_MAIN(TestLinkDialog)
#include "tst_linkdialog.moc"
