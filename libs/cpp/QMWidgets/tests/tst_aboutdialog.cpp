// The about box and its legal notices.
#include "DialogLayoutCheck.h"
#include "QMTest.h"

#include "AboutDialog.h"
#include "App.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>

using namespace QMWidgets;

namespace {

// The test's application object, able to point the resources folder at a fixture.
QMTest::TestApp* app()
{
    return static_cast<QMTest::TestApp*>(App::instance());
}

} // namespace

class TestAboutDialog : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void initTestCase();
    void noNoticesLeaveTheTextAlone();
    void form();
    void infoText_data();
    void infoText();
    void switchViews();
    void okReturnsToInfo();
    void anchors_data();
    void anchors();
    void shippedLicence();
    void legalNotices();
    void layoutAtMinimumSize();

private:
    QString m_strShippedResources;
};

void TestAboutDialog::initTestCase()
{
    m_strShippedResources = app()->resourcesPath();
    QCoreApplication::setApplicationVersion("1.0");
}

void TestAboutDialog::noNoticesLeaveTheTextAlone()
{
    const QString strBefore = app()->aboutQtText();
    AboutDialog dialog;
    QCOMPARE(app()->aboutQtText(), strBefore);
}

void TestAboutDialog::form()
{
    AboutDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Zintrop Lite Info"));
    QCOMPARE(dialog.objectName(), QString("AboutDialog"));
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags & Qt::Window);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));

    auto* pLogo = dialog.findChild<QLabel*>("LogoLabel");
    QVERIFY(pLogo);
    QCOMPARE(pLogo->size(), QSize(290, 290));
    QCOMPARE(pLogo->frameStyle(), int(QFrame::WinPanel | QFrame::Sunken));
    QCOMPARE(pLogo->lineWidth(), 5);
    QVERIFY(pLogo->autoFillBackground());

    auto* pInfo = dialog.findChild<QLabel*>("AboutInfoLabel");
    QVERIFY(pInfo);
    QCOMPARE(pInfo->styleSheet(), QString("background: black;"));
    QCOMPARE(pInfo->height(), 87);
    QVERIFY(pInfo->openExternalLinks());

    auto* pBrowser = dialog.findChild<QTextBrowser*>("AboutLegalInfo");
    QVERIFY(pBrowser);
    QVERIFY(pBrowser->isHidden());
    QVERIFY(pBrowser->isReadOnly());
    QVERIFY(!pBrowser->openLinks());
    QVERIFY(!pBrowser->openExternalLinks());

    QPushButton* pLegal = QMTest::buttonWithText(&dialog, "&Legal Notices");
    QPushButton* pOk = QMTest::buttonWithText(&dialog, "&Ok");
    QVERIFY(pLegal && pOk);
    QCOMPARE(pLegal->objectName(), QString("PushButton"));
    QCOMPARE(pOk->objectName(), QString("PushButton"));
    QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(pOk));
    dialog.show();
    QVERIFY(pLegal->geometry().bottom() < pOk->geometry().top());
    QVERIFY(pInfo->geometry().bottom() < pLegal->geometry().top());
    QVERIFY(pLogo->geometry().bottom() < pInfo->geometry().top());
}

void TestAboutDialog::infoText_data()
{
    QTest::addColumn<bool>("bCommunityHidden");
    QTest::addColumn<QString>("strAddress");

    QTest::newRow("web link") << false << " <BR><A HREF=\"http://zintrop.invalid\">zintrop.invalid</A><BR><IMG";
    QTest::newRow("community hidden: plain address") << true << " <BR>zintrop.invalid<BR><IMG";
}

void TestAboutDialog::infoText()
{
    QFETCH(bool, bCommunityHidden);
    QFETCH(QString, strAddress);

    app()->setCommunityHidden(bCommunityHidden);
    AboutDialog dialog;
    app()->setCommunityHidden(false);
    const QString strText = dialog.findChild<QLabel*>("AboutInfoLabel")->text();
    const QDate dateBuild = App::buildDate();
    QVERIFY(dateBuild.isValid());
    const QString strHead = "<BODY BGCOLOR=#000000><FONT COLOR=#00A0E0 SIZE=2><CENTER>Zintrop Lite v1.0 Build: "
                            + dateBuild.toString("dd.MM.yyyy") + "<BR>";
    QVERIFY2(strText.startsWith(strHead), qPrintable(strText));
    QVERIFY(strText.contains(dateBuild.toString("yyyy") + " CORVANE"));
    QVERIFY2(strText.contains(strAddress), qPrintable(strText));
    QCOMPARE(strText.contains("<A HREF"), !bCommunityHidden);
    QVERIFY(strText.contains("<IMG SRC=\":/QMWidgets/dialogs/MakerLogo.png\">"));
    QVERIFY(strText.endsWith("</CENTER>"));
    QVERIFY(QFile::exists(":/QMWidgets/dialogs/MakerLogo.png"));
}

void TestAboutDialog::switchViews()
{
    AboutDialog dialog;
    dialog.show();
    const QSize sizeInfo = dialog.size();
    auto* pLogo = dialog.findChild<QLabel*>("LogoLabel");
    auto* pInfo = dialog.findChild<QLabel*>("AboutInfoLabel");
    auto* pBrowser = dialog.findChild<QTextBrowser*>("AboutLegalInfo");
    QPushButton* pLegal = QMTest::buttonWithText(&dialog, "&Legal Notices");

    pLegal->click();
    QVERIFY(pLogo->isHidden());
    QVERIFY(pInfo->isHidden());
    QVERIFY(pBrowser->isVisible());
    QCOMPARE(pLegal->text(), QString("&Back"));
    QVERIFY(pBrowser->toPlainText().contains("This Application Uses:"));
    QVERIFY(pBrowser->toHtml().contains("LICENSE.LGPL"));
    QCOMPARE(dialog.size(), sizeInfo);

    pLegal->click();
    QVERIFY(pLogo->isVisible());
    QVERIFY(pInfo->isVisible());
    QVERIFY(pBrowser->isHidden());
    QCOMPARE(pLegal->text(), QString("&Legal Notices"));
    QCOMPARE(dialog.size(), sizeInfo);
}

void TestAboutDialog::okReturnsToInfo()
{
    AboutDialog dialog;
    QMTest::ModalAnswerer answerer([](QWidget* pWidget) {
        QMTest::buttonWithText(pWidget, "&Legal Notices")->click();
        QMTest::buttonWithText(pWidget, "&Ok")->click();
    }, 2000);
    dialog.exec();
    QVERIFY(answerer.answered());
    QVERIFY(dialog.isHidden());
    QVERIFY(!dialog.findChild<QLabel*>("LogoLabel")->isHidden());
    QVERIFY(dialog.findChild<QTextBrowser*>("AboutLegalInfo")->isHidden());
    QVERIFY(QMTest::buttonWithText(&dialog, "&Legal Notices"));
}

void TestAboutDialog::anchors_data()
{
    QTest::addColumn<QByteArray>("baLicence");  // fixture content; empty: no file
    QTest::addColumn<QString>("strLink");       // "%1" stands for the fixture folder
    QTest::addColumn<QString>("strShown");      // browser text afterwards
    QTest::addColumn<QString>("strOpened");     // URL handed to the desktop

    const QByteArray plain = QByteArray("GNU LESSER GENERAL PUBLIC LICENSE\n<https://fsf.org/>\n")
                             + QByteArray(1, '\0') + "after the zero";
    QTest::newRow("plain licence up to the zero byte")
        << plain << "file://%1LICENSE.LGPL" << "GNU LESSER GENERAL PUBLIC LICENSE\n<https://fsf.org/>\n" << "";
    QTest::newRow("rich licence shown as HTML")
        << QByteArray("<html><body><b>Bold</b> notice</body></html>") << "file://%1LICENSE.LGPL" << "Bold notice"
        << "";
    QTest::newRow("any .LGPL link shows the resources licence")
        << QByteArray("Licence text") << "file:///elsewhere/OTHER.LGPL" << "Licence text" << "";
    QTest::newRow("missing licence: unchanged") << QByteArray() << "file://%1LICENSE.LGPL" << "before" << "";
    QTest::newRow("web page opens outside") << QByteArray("Licence text") << "https://www.qt.io" << "before"
                                            << "https://www.qt.io";
    QTest::newRow("relative link has no local file") << QByteArray("Licence text") << "LICENSE.LGPL" << "before"
                                                     << "LICENSE.LGPL";
}

void TestAboutDialog::anchors()
{
    QFETCH(QByteArray, baLicence);
    QFETCH(QString, strLink);
    QFETCH(QString, strShown);
    QFETCH(QString, strOpened);

    QTemporaryDir dir;
    const QString strResources = dir.path() + "/";
    if (!baLicence.isEmpty())
        QVERIFY(QMTest::writeFile(strResources + "LICENSE.LGPL", baLicence));
    app()->setResourcesPath(strResources);

    AboutDialog dialog;
    auto* pBrowser = dialog.findChild<QTextBrowser*>("AboutLegalInfo");
    pBrowser->setPlainText("before");
    QMTest::UrlRecorder recorder;
    emit pBrowser->anchorClicked(QUrl(QString(strLink).replace("%1", strResources)));
    app()->setResourcesPath(m_strShippedResources);

    QCOMPARE(pBrowser->toPlainText(), strShown);
    if (strOpened.isEmpty()) {
        QCOMPARE(recorder.count(), 0);
    } else {
        QCOMPARE(recorder.count(), 1);
        QCOMPARE(recorder.last(), QUrl(strOpened));
    }
}

void TestAboutDialog::shippedLicence()
{
    // The build places the toolkit's licence beside the executable, and the
    // link of the about-Qt text leads to it.
    QVERIFY(QFile::exists(m_strShippedResources + "LICENSE.LGPL"));
    const QRegularExpressionMatch match =
        QRegularExpression("HREF=\"(file://[^\"]+LICENSE\\.LGPL)\"").match(app()->aboutQtText());
    QVERIFY(match.hasMatch());

    AboutDialog dialog;
    dialog.show();
    QMTest::buttonWithText(&dialog, "&Legal Notices")->click();
    auto* pBrowser = dialog.findChild<QTextBrowser*>("AboutLegalInfo");
    QMTest::UrlRecorder recorder;
    emit pBrowser->anchorClicked(QUrl(match.captured(1)));
    QCOMPARE(recorder.count(), 0);
    const QString strText = pBrowser->toPlainText();
    QVERIFY(strText.contains("GNU LESSER GENERAL PUBLIC LICENSE"));
    QVERIFY(strText.contains("Version 3, 29 June 2007"));
    // Plain text keeps its lines and its <...> addresses.
    QVERIFY(strText.contains("<https://fsf.org/>"));
}

void TestAboutDialog::legalNotices()
{
    const QString strBefore = app()->aboutQtText();
    AboutDialog::addLegalNotice("<BR>libfoo <A HREF=\"file://<!bundlepath!>FOO.LGPL\">(licence)</A>");
    const QString strNotice = "<BR>libfoo <A HREF=\"file://" + app()->resourcesPath() + "FOO.LGPL\">(licence)</A>";
    QCOMPARE(app()->aboutQtText(), strBefore);  // collected, not yet added

    {
        AboutDialog dialog;
        QCOMPARE(app()->aboutQtText(), strBefore + strNotice);
    }
    {
        // A second box does not add the same notice again.
        AboutDialog dialog;
        QCOMPARE(app()->aboutQtText(), strBefore + strNotice);
        dialog.show();
        QMTest::buttonWithText(&dialog, "&Legal Notices")->click();
        QVERIFY(dialog.findChild<QTextBrowser*>("AboutLegalInfo")->toHtml().contains("FOO.LGPL"));
    }
    AboutDialog::addLegalNotice("<BR>libbar");
    AboutDialog dialog;
    QCOMPARE(app()->aboutQtText(), strBefore + strNotice + "<BR>libbar");
}

void TestAboutDialog::layoutAtMinimumSize()
{
    AboutDialog dialog;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&dialog), QStringList());
    // The legal view keeps the size of the information view.
    QMTest::buttonWithText(&dialog, "&Legal Notices")->click();
    QCOMPARE(DialogLayoutCheck::layoutProblems(&dialog), QStringList());
}

QMTEST_APP_MAIN(TestAboutDialog)

#include "tst_aboutdialog.moc"
