// The kit's dialogs under a plain QApplication, without the framework's
// application object: they fall back instead of reaching for it.
#include "LinkDialog.h"
#include "SettingsDialog.h"
#include "SettingsWidget.h"

#include "QMTest.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>

using QMWidgets::App;
using QMWidgets::LinkDialog;
using QMWidgets::SettingsDialog;

namespace {

// Keeps one value in the attribute "v" of its element.
class ValuePage : public QMWidgets::SettingsWidget
{
public:
    explicit ValuePage(const QString& strValue)
        : m_strValue(strValue)
    {
    }

    void readSettings(const QDomNode& node) override { m_strValue = node.toElement().attribute("v"); }
    QDomElement writeSettings(QDomDocument& document) override
    {
        QDomElement element = document.createElement("valuePage");
        element.setAttribute("v", m_strValue);
        return element;
    }
    QString settingsName() override { return "valuePage"; }

    QString m_strValue;
};

} // namespace

class TestKitWithoutApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void settingsDialogExportsAndImports();
    void linkDialogShowsTogglesAndOpensTheEnglishPage();
};

void TestKitWithoutApp::initTestCase()
{
    QVERIFY(QCoreApplication::instance());
    QCOMPARE(App::instance(), static_cast<App*>(nullptr));
}

void TestKitWithoutApp::settingsDialogExportsAndImports()
{
    auto* pPage = new ValuePage("exported");
    SettingsDialog::addSettingsWidget("values", pPage);
    SettingsDialog dialog;
    dialog.show();
    QTemporaryDir dir;
    QMTest::ScriptedFileDialogs dialogs({{dir.filePath("out")}, {dir.filePath("out.vexsettings")}});

    dialog.findChild<QPushButton*>("StorageBrowserSS")->click();
    QCOMPARE(QMTest::readFile(dir.filePath("out.vexsettings")),
             QByteArray("<Settings>\n <valuePage v=\"exported\"/>\n</Settings>\n"));

    pPage->m_strValue = "changed";
    dialog.findChild<QPushButton*>("StorageBrowserLS")->click();
    QCOMPARE(pPage->m_strValue, QString("exported"));

    // Both file dialogs start in the home folder.
    const QList<Os::FileDialogRequest> requests = dialogs.requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.at(0).dir, QDir::homePath() + "/Settings.vexsettings");
    QCOMPARE(requests.at(1).dir, QDir::homePath() + "/ ");
}

void TestKitWithoutApp::linkDialogShowsTogglesAndOpensTheEnglishPage()
{
    QMTest::UrlRecorder recorder;
    LinkDialog dialog;
    auto* pCheck = dialog.findChild<QCheckBox*>();
    QVERIFY(!pCheck->isChecked());  // the setting's default: offer the dialog
    dialog.show();
    pCheck->click();
    pCheck->click();
    QVERIFY(dialog.isVisible());
    dialog.hide();

    QMTest::ModalAnswerer answer(QMTest::ModalAnswerer::clickButton("&Yes"));
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(recorder.urls(), QList<QUrl>({QUrl(App::siteAddress() + "/tutorial/tutorial.htm")}));
}

QMTEST_APP_MAIN_WITH(QApplication, TestKitWithoutApp)
#include "tst_kitwithoutapp.moc"
