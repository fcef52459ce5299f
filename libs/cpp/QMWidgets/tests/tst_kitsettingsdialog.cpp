// The tabbed settings dialog: its process-wide page registry, apply, and the
// XML export and import. The registry lives as long as the program, so
// every test registers names of its own; the empty-registry test runs first.
#include "SettingsDialog.h"
#include "SettingsWidget.h"
#include "SettingsXml.h"

#include "QMTest.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextCodec>

#include <functional>

using QMWidgets::App;
using QMWidgets::SettingsDialog;
using QMWidgets::SettingsWidget;

namespace {

// A page that keeps one value in the attribute "v" of its element and logs
// what reaches it.
class FixturePage : public SettingsWidget
{
public:
    explicit FixturePage(const QString& strName, const QString& strValue = QString())
        : m_strName(strName)
        , m_strValue(strValue)
    {
    }

    void readSettings(const QDomNode& node) override
    {
        m_slReceived << node.toElement().tagName() + "=" + node.toElement().attribute("v");
        m_strValue = node.toElement().attribute("v");
    }
    QDomElement writeSettings(QDomDocument& document) override
    {
        QDomElement element = document.createElement(m_strName);
        element.setAttribute("v", m_strValue);
        return element;
    }
    QString settingsName() override { return m_strName; }
    void slotApply() override { ++m_nApplied; }

    QString m_strName;
    QString m_strValue;
    QStringList m_slReceived;
    int m_nApplied = 0;
};

// A page that writes one value into every kind of node a page may build:
// an attribute, its own text, the text of a child, a CDATA section, a
// comment and a processing instruction; it keeps what comes back.
class EveryNodePage : public SettingsWidget
{
public:
    explicit EveryNodePage(const QString& strValue)
        : m_strValue(strValue)
    {
    }

    void readSettings(const QDomNode& node) override
    {
        const QDomElement element = node.toElement();
        m_strAttribute = element.attribute("v");
        m_strOwnText.clear();
        for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
            if (child.isText())  // CDATA as well
                m_strOwnText += child.toText().data();
        }
        m_strChildText = element.firstChildElement("t").text();
        m_strCdata = element.firstChildElement("c").text();
        ++m_nReads;
    }
    QDomElement writeSettings(QDomDocument& document) override
    {
        QDomElement element = document.createElement("everyNode");
        element.setAttribute("v", m_strValue);
        element.appendChild(document.createTextNode(m_strValue));
        QDomElement text = document.createElement("t");
        text.appendChild(document.createTextNode(m_strValue));
        element.appendChild(text);
        QDomElement cdata = document.createElement("c");
        cdata.appendChild(document.createCDATASection(m_strValue));
        element.appendChild(cdata);
        element.appendChild(document.createComment(m_strValue));
        element.appendChild(document.createProcessingInstruction("pi", m_strValue));
        return element;
    }
    QString settingsName() override { return "everyNode"; }

    QString m_strValue;
    QString m_strAttribute;
    QString m_strOwnText;
    QString m_strChildText;
    QString m_strCdata;
    int m_nReads = 0;
};

// A page whose element the test builds as it likes.
class BuiltPage : public SettingsWidget
{
public:
    using Builder = std::function<QDomElement(QDomDocument&)>;

    BuiltPage(const QString& strName, Builder build)
        : m_strName(strName)
        , m_build(std::move(build))
    {
    }

    void readSettings(const QDomNode&) override { ++m_nReads; }
    QDomElement writeSettings(QDomDocument& document) override { return m_build(document); }
    QString settingsName() override { return m_strName; }

    QString m_strName;
    Builder m_build;
    int m_nReads = 0;
};

struct FileDialogSeen
{
    QString strTitle;
    QStringList slFilters;
    QString strDirectory;
    QString strProposedName;
};

// Answers the next file dialog with the path (nothing chosen when empty) and
// records how it was asked.
QMTest::ModalAnswerer::Action chooseFile(const QString& strPath, FileDialogSeen* pSeen = nullptr)
{
    return [strPath, pSeen](QWidget* pModal) {
        auto* pDialog = qobject_cast<QFileDialog*>(pModal);
        QVERIFY(pDialog);
        auto* pNameEdit = pDialog->findChild<QLineEdit*>("fileNameEdit");
        if (pSeen) {
            pSeen->strTitle = pDialog->windowTitle();
            pSeen->slFilters = pDialog->nameFilters();
            pSeen->strDirectory = pDialog->directory().absolutePath();
            pSeen->strProposedName = pNameEdit ? pNameEdit->text() : QString();
        }
        if (strPath.isEmpty()) {
            pDialog->reject();
            return;
        }
        // Typed as a user would, without the dialog's own checks for
        // existing or missing files.
        pNameEdit->setText(strPath);
        static_cast<QDialog*>(pDialog)->done(QDialog::Accepted);
    };
}

QStringList tabTexts(SettingsDialog& dialog)
{
    QStringList texts;
    auto* pTabs = dialog.findChild<QTabWidget*>();
    for (int i = 0; pTabs && i < pTabs->count(); ++i)
        texts << pTabs->tabText(i);
    return texts;
}

QPushButton* button(SettingsDialog& dialog, const QString& strName)
{
    return dialog.findChild<QPushButton*>(strName);
}

// Exports through the dialog's save button into the path the file dialog answers.
void exportWith(SettingsDialog& dialog, const QString& strAnswer, FileDialogSeen* pSeen = nullptr)
{
    QMTest::ModalAnswerer answer(chooseFile(strAnswer, pSeen));
    button(dialog, "StorageBrowserSS")->click();
    QVERIFY(answer.answered());
}

void importWith(SettingsDialog& dialog, const QString& strAnswer, FileDialogSeen* pSeen = nullptr)
{
    QMTest::ModalAnswerer answer(chooseFile(strAnswer, pSeen));
    button(dialog, "StorageBrowserLS")->click();
    QVERIFY(answer.answered());
}

} // namespace

Q_DECLARE_METATYPE(BuiltPage::Builder)

class TestSettingsDialog : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void emptyRegistryFirst();
    void buttonsAndTitle();
    void tabsFollowRegistrationExportFollowsNames();
    void exportIsUtf8WhateverTheLocale();
    void exportFileName_data();
    void exportFileName();
    void exportReplacesAndFailsQuietly();
    void cancelledFileDialogsChangeNothing();
    void importDelivers_data();
    void importDelivers();
    void importRefusesBadFiles_data();
    void importRefusesBadFiles();
    void importSkipsAPageThatGoesAway();
    void exportReadsBackWhateverTheValues_data();
    void exportReadsBackWhateverTheValues();
    void exportLeavesOutOnlyAnUnwritablePage_data();
    void exportLeavesOutOnlyAnUnwritablePage();
    void applyOkAndCancel();
    void plainWidgetPageOnlyGetsItsTab();
    void secondRegistrationReplacesThePage();
    void pagesOfAClosedDialogAreNotHandedOut();
};

void TestSettingsDialog::emptyRegistryFirst()
{
    QVERIFY(SettingsDialog::settingsPages().isEmpty());
    SettingsDialog dialog;
    dialog.show();
    QCOMPARE(tabTexts(dialog), QStringList());
    QCOMPARE(dialog.findChildren<QPushButton*>().size(), 5);
    QMetaObject::invokeMethod(&dialog, "slotApply");

    QTemporaryDir dir;
    exportWith(dialog, dir.filePath("empty"));
    QCOMPARE(QMTest::readFile(dir.filePath("empty.vexsettings")), QByteArray("<Settings/>\n"));
}

void TestSettingsDialog::buttonsAndTitle()
{
    SettingsDialog dialog;
    QCOMPARE(dialog.windowTitle(), QString("Zintrop Lite Settings"));
    QVERIFY(dialog.findChildren<QWidget*>().isEmpty());  // nothing until shown
    dialog.show();
    QApplication::processEvents();
    QStringList texts;
    for (QPushButton* pButton : dialog.findChildren<QPushButton*>("PushButton")) {
        texts << pButton->text();
        QVERIFY(pButton->isFlat());
        QCOMPARE(pButton->minimumHeight(), 32);
    }
    QCOMPARE(texts, QStringList({"&Ok", "&Apply", "&Cancel"}));
    QCOMPARE(button(dialog, "StorageBrowserSS")->toolTip(), QString("Save the Settings"));
    QCOMPARE(button(dialog, "StorageBrowserLS")->toolTip(), QString("Load the Settings"));
    QCOMPARE(button(dialog, "StorageBrowserSS")->size(), QSize(32, 32));
    QVERIFY(button(dialog, "StorageBrowserSS")->text().isEmpty());
    // Save left of load, both above the tabs; Ok, Apply, Cancel below at the right.
    QVERIFY(button(dialog, "StorageBrowserSS")->x() < button(dialog, "StorageBrowserLS")->x());
    auto* pTabs = dialog.findChild<QTabWidget*>();
    QVERIFY(button(dialog, "StorageBrowserSS")->geometry().bottom() < pTabs->geometry().top());
    QVERIFY(QMTest::buttonWithText(&dialog, "&Ok")->geometry().top() > pTabs->geometry().bottom());
}

void TestSettingsDialog::tabsFollowRegistrationExportFollowsNames()
{
    auto* pB = new FixturePage("orderB", "2");
    auto* pA = new FixturePage("orderA", "1");
    SettingsDialog::addSettingsWidget("orderB", pB);
    SettingsDialog::addSettingsWidget("orderA", pA);
    SettingsDialog dialog;
    dialog.show();
    QCOMPARE(tabTexts(dialog), QStringList({"orderB", "orderA"}));
    QCOMPARE(pA->window(), &dialog);

    QTemporaryDir dir;
    FileDialogSeen seen;
    exportWith(dialog, dir.filePath("order.vexsettings"), &seen);
    QCOMPARE(QMTest::readFile(dir.filePath("order.vexsettings")),
             QByteArray("<Settings>\n <orderA v=\"1\"/>\n <orderB v=\"2\"/>\n</Settings>\n"));
    QCOMPARE(seen.strTitle, QString("Save Settings"));
    QCOMPARE(seen.slFilters, QStringList({"*.vexsettings"}));
    QCOMPARE(seen.strProposedName, QString("Settings.vexsettings"));
}

void TestSettingsDialog::exportIsUtf8WhateverTheLocale()
{
    // An 8-bit locale, as on a system without UTF-8: the file must still
    // read back exactly.
    QTextCodec* pLocale = QTextCodec::codecForLocale();
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
    const QString strValue = QString::fromUtf8("Grüße/Привет & <tags>");
    auto* pPage = new FixturePage("utf8Page", strValue);
    SettingsDialog::addSettingsWidget("utf8Page", pPage);
    SettingsDialog dialog;
    dialog.show();

    QTemporaryDir dir;
    exportWith(dialog, dir.filePath("utf8"));
    QTextCodec::setCodecForLocale(pLocale);
    const QByteArray bytes = QMTest::readFile(dir.filePath("utf8.vexsettings"));
    QVERIFY(bytes.contains(QString::fromUtf8("Grüße/Привет").toUtf8()));
    QVERIFY(!bytes.startsWith("<?xml"));

    pPage->m_strValue.clear();
    importWith(dialog, dir.filePath("utf8.vexsettings"));
    QCOMPARE(pPage->m_strValue, strValue);
}

void TestSettingsDialog::exportFileName_data()
{
    QTest::addColumn<QString>("strAnswer");
    QTest::addColumn<QString>("strWritten");

    QTest::newRow("no extension") << "x" << "x.vexsettings";
    QTest::newRow("extension kept") << "x.vexsettings" << "x.vexsettings";
    QTest::newRow("capital extension gets a second one") << "x.VEXSETTINGS" << "x.VEXSETTINGS.vexsettings";
    QTest::newRow("other extension") << "x.xml" << "x.xml.vexsettings";
}

void TestSettingsDialog::exportFileName()
{
    QFETCH(QString, strAnswer);
    QFETCH(QString, strWritten);

    auto* pPage = new FixturePage("namePage", "n");
    SettingsDialog::addSettingsWidget("namePage", pPage);
    SettingsDialog dialog;
    dialog.show();
    QTemporaryDir dir;
    QDir().mkdir(dir.filePath("sub"));
    exportWith(dialog, dir.filePath("sub/" + strAnswer));
    QCOMPARE(QDir(dir.filePath("sub")).entryList(QDir::Files), QStringList({strWritten}));
    QCOMPARE(App::instance()->lastSaveDirectory(), dir.filePath("sub"));
}

void TestSettingsDialog::exportReplacesAndFailsQuietly()
{
    auto* pPage = new FixturePage("replacePage", "new");
    SettingsDialog::addSettingsWidget("replacePage", pPage);
    SettingsDialog dialog;
    dialog.show();
    QTemporaryDir dir;
    const QString strPath = dir.filePath("kept.vexsettings");
    QVERIFY(QMTest::writeFile(strPath, "<Settings>\n <replacePage v=\"old\"/>\n</Settings>\n"));

    exportWith(dialog, strPath);
    QCOMPARE(QMTest::readFile(strPath), QByteArray("<Settings>\n <replacePage v=\"new\"/>\n</Settings>\n"));

    // A file that cannot be made (its folder is missing): nothing is
    // written, the folder is remembered all the same.
    App::instance()->setLastSavePath(QDir::homePath() + "/x");
    exportWith(dialog, dir.filePath("missing/lost"));
    QVERIFY(!QFileInfo::exists(dir.filePath("missing")));
    QCOMPARE(App::instance()->lastSaveDirectory(), dir.filePath("missing"));
}

void TestSettingsDialog::cancelledFileDialogsChangeNothing()
{
    auto* pPage = new FixturePage("cancelPage", "c");
    SettingsDialog::addSettingsWidget("cancelPage", pPage);
    SettingsDialog dialog;
    dialog.show();
    QTemporaryDir dir;
    App::instance()->setLastSavePath(dir.filePath("a"));
    App::instance()->setLastOpenPath(dir.filePath("b"));

    FileDialogSeen seenSave;
    exportWith(dialog, QString(), &seenSave);
    FileDialogSeen seenLoad;
    importWith(dialog, QString(), &seenLoad);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    QVERIFY(pPage->m_slReceived.isEmpty());
    QCOMPARE(App::instance()->lastSaveDirectory(), dir.path());
    QCOMPARE(App::instance()->lastOpenDirectory(), dir.path());
    QCOMPARE(seenSave.strDirectory, dir.path());
    QCOMPARE(seenLoad.strTitle, QString("Load Settings"));
    QCOMPARE(seenLoad.slFilters, QStringList({"*.vexsettings"}));
    QCOMPARE(seenLoad.strDirectory, dir.path());
}

void TestSettingsDialog::importDelivers_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("slFirst");   // what the first page named "inA" received
    QTest::addColumn<QStringList>("slSecond");  // the second page named "inA"
    QTest::addColumn<QStringList>("slOther");   // the page named "inB"

    QTest::newRow("one element reaches every page of its name")
        << QByteArray("<Settings><inA v=\"1\"/></Settings>") << QStringList{"inA=1"} << QStringList{"inA=1"}
        << QStringList();
    QTest::newRow("document order, any root, unknown and non-element nodes skipped")
        << QByteArray("<Other>text<inB v=\"b\"/><!-- c --><unknown v=\"u\"/><inA v=\"1\"/><inA v=\"2\"/></Other>")
        << QStringList{"inA=1", "inA=2"} << QStringList{"inA=1", "inA=2"} << QStringList{"inB=b"};
    QTest::newRow("only children of the root count")
        << QByteArray("<Settings><group><inA v=\"deep\"/></group></Settings>") << QStringList() << QStringList()
        << QStringList();
    QTest::newRow("tag names compare exactly") << QByteArray("<Settings><ina v=\"x\"/><INB v=\"y\"/></Settings>")
                                               << QStringList() << QStringList() << QStringList();
    const QByteArray deepest = "<Settings><inA v=\"deep\">" + QByteArray("<x>").repeated(254)
                               + QByteArray("</x>").repeated(254) + "</inA></Settings>";
    QTest::newRow("nested as deep as allowed") << deepest << QStringList{"inA=deep"} << QStringList{"inA=deep"}
                                               << QStringList();
    const QString strWide = "<S><inB v=\"w\"/></S>";
    const QByteArray wide = QByteArray("\xff\xfe", 2)
                            + QByteArray(reinterpret_cast<const char*>(strWide.utf16()), 2 * strWide.size());
    QTest::newRow("UTF-16 with byte-order mark") << wide << QStringList() << QStringList() << QStringList{"inB=w"};
    QTest::newRow("predefined and character references")
        << QByteArray("<S><inB v=\"&amp;&lt;&#65;&#x42;\"/></S>") << QStringList() << QStringList()
        << QStringList{"inB=&<AB"};
    QTest::newRow("UTF-8 with declaration") << QByteArray("<?xml version=\"1.0\"?><S><inB v=\"\xc3\xbc\"/></S>")
                                            << QStringList() << QStringList()
                                            << QStringList{QString::fromUtf8("inB=\xc3\xbc")};
}

void TestSettingsDialog::importDelivers()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, slFirst);
    QFETCH(QStringList, slSecond);
    QFETCH(QStringList, slOther);

    // Two pages share a name; the dialog's registry offers them in name order.
    auto* pFirst = new FixturePage("inA");
    auto* pSecond = new FixturePage("inA");
    auto* pOther = new FixturePage("inB");
    SettingsDialog::addSettingsWidget("import1", pFirst);
    SettingsDialog::addSettingsWidget("import2", pSecond);
    SettingsDialog::addSettingsWidget("import3", pOther);
    SettingsDialog dialog;
    dialog.show();
    QTemporaryDir dir;
    QVERIFY(QMTest::writeFile(dir.filePath("in.vexsettings"), xml));
    importWith(dialog, dir.filePath("in.vexsettings"));
    QCOMPARE(pFirst->m_slReceived, slFirst);
    QCOMPARE(pSecond->m_slReceived, slSecond);
    QCOMPARE(pOther->m_slReceived, slOther);
    QCOMPARE(pFirst->m_nApplied, 0);  // importing does not apply
    QCOMPARE(App::instance()->lastOpenDirectory(), dir.path());
}

void TestSettingsDialog::importRefusesBadFiles_data()
{
    QTest::addColumn<QString>("strName");  // inside a temporary folder
    QTest::addColumn<QByteArray>("content");

    const QByteArray valid = "<Settings><bad v=\"1\"/></Settings>";
    QTest::newRow("not XML") << "a.vexsettings" << QByteArray("not xml at all");
    QTest::newRow("cut off after a valid element") << "a.vexsettings" << QByteArray("<Settings><bad v=\"1\"/>");
    QTest::newRow("two roots") << "a.vexsettings" << valid + "<Settings/>";
    QTest::newRow("empty") << "a.vexsettings" << QByteArray();
    // A billion entities: refused by the parser's expansion limit, not expanded.
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE S [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        laughs += QString("<!ENTITY l%1 \"&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;&l%2;\">").arg(i).arg(i - 1).toUtf8();
    laughs += "]><Settings><bad v=\"&l9;\"/></Settings>";
    QTest::newRow("entity expansion bomb") << "a.vexsettings" << laughs;
    // The value would reach the page shortened by the unknown reference.
    QTest::newRow("an undeclared entity in a value")
        << "a.vexsettings" << QByteArray("<Settings><bad v=\"x&nope;y\"/></Settings>");
    QTest::newRow("an undeclared entity in a text")
        << "a.vexsettings" << QByteArray("<Settings><bad v=\"1\">x&nope;</bad></Settings>");
    QTest::newRow("a document type") << "a.vexsettings"
                                     << QByteArray("<!DOCTYPE Settings><Settings><bad v=\"1\"/></Settings>");
    QTest::newRow("one level deeper than allowed")
        << "a.vexsettings"
        << "<Settings><bad v=\"1\"/><g>" + QByteArray("<x>").repeated(255) + QByteArray("</x>").repeated(255)
               + "</g></Settings>";
    // Deep enough to exhaust the stack of a recursive parser.
    QTest::newRow("nested 400000 deep")
        << "a.vexsettings"
        << "<Settings><bad v=\"1\"/>" + QByteArray("<x>").repeated(400000) + QByteArray("</x>").repeated(400000)
               + "</Settings>";
    QTest::newRow("deep after a tag that holds a '<'")
        << "a.vexsettings"
        << "<Settings><bad v=\"1\"/><x a=\"<\">" + QByteArray("<x>").repeated(300) + "</Settings>";
    QByteArray oversized = "<Settings><bad v=\"1\"/><pad>";
    oversized += QByteArray(int(QMWidgets::kMaxSettingsFileSize), ' ');
    oversized += "</pad></Settings>";
    QTest::newRow("larger than an export can be") << "a.vexsettings" << oversized;
    QTest::newRow("missing file") << "missing.vexsettings" << QByteArray();
    QTest::newRow("a folder") << "folder.vexsettings" << QByteArray();
}

void TestSettingsDialog::importRefusesBadFiles()
{
    QFETCH(QString, strName);
    QFETCH(QByteArray, content);

    auto* pPage = new FixturePage("bad", "kept");
    SettingsDialog::addSettingsWidget("badPage", pPage);
    SettingsDialog dialog;
    dialog.show();
    QTemporaryDir dir;
    if (strName == "a.vexsettings")
        QVERIFY(QMTest::writeFile(dir.filePath(strName), content));
    if (strName == "folder.vexsettings")
        QVERIFY(QDir().mkdir(dir.filePath(strName)));
    importWith(dialog, dir.filePath(strName));
    QCOMPARE(pPage->m_slReceived, QStringList());
    QCOMPARE(pPage->m_strValue, QString("kept"));
    QCOMPARE(App::instance()->lastOpenDirectory(), dir.path());
}

void TestSettingsDialog::importSkipsAPageThatGoesAway()
{
    // The first page's owner drops the second page when a value arrives.
    class DroppingPage : public FixturePage
    {
    public:
        using FixturePage::FixturePage;
        void readSettings(const QDomNode& node) override
        {
            FixturePage::readSettings(node);
            delete m_pVictim;
        }
        QPointer<QWidget> m_pVictim;
    };
    DroppingPage first("gone");
    auto* pSecond = new FixturePage("gone");
    first.m_pVictim = pSecond;
    QVERIFY(QMWidgets::readSettingsXml("<S><gone v=\"1\"/><gone v=\"2\"/></S>", {&first, pSecond}));
    QVERIFY(first.m_pVictim.isNull());
    QCOMPARE(first.m_slReceived, QStringList({"gone=1", "gone=2"}));
}

void TestSettingsDialog::exportReadsBackWhateverTheValues_data()
{
    QTest::addColumn<QString>("strValue");
    QTest::addColumn<QString>("strRead");  // the value minus what XML 1.0 cannot carry

    const auto u = [](const char16_t* szText) { return QString::fromUtf16(szText); };
    QTest::newRow("U+0001") << u(u"a\u0001b") << "ab";
    QTest::newRow("escape") << u(u"\u001b[1mbold") << "[1mbold";
    QTest::newRow("NUL") << QString(QChar(0)) + "x" << "x";
    QTest::newRow("U+FFFE and U+FFFF") << u(u"a\uFFFEb\uFFFF") << "ab";
    QTest::newRow("lone surrogates") << QString("a") + QChar(0xD800) + "b" + QChar(0xDC00) + QChar(0xDC00) + QChar(0xD800)
                                     << "ab";
    QTest::newRow("blank once the controls are gone") << u(u"\u0002 \u0003") << " ";
    QTest::newRow("pairs outside the BMP") << u(u"\U0001F600 \U0001D11E") << u(u"\U0001F600 \U0001D11E");
    QTest::newRow("tab, line feed, carriage return") << "a\tb\nc\rd\r\ne" << "a\tb\nc\rd\r\ne";
    QTest::newRow("markup") << "<&>\"' ]]> ]]]]>> -- --- ?>" << "<&>\"' ]]> ]]]]>> -- --- ?>";
    QTest::newRow("blank") << " \t\n\r" << " \t\n\r";
    QTest::newRow("no-break and ideographic spaces") << u(u"\u00A0\u3000") << u(u"\u00A0\u3000");
    QTest::newRow("empty") << "" << "";
}

void TestSettingsDialog::exportReadsBackWhateverTheValues()
{
    QFETCH(QString, strValue);
    QFETCH(QString, strRead);

    EveryNodePage written(strValue);
    FixturePage neighbour("neighbour", "kept");
    const QByteArray xml = QMWidgets::writeSettingsXml({&written, &neighbour});

    EveryNodePage read(QString{});
    FixturePage readNeighbour("neighbour");
    QVERIFY(QMWidgets::readSettingsXml(xml, {&read, &readNeighbour}));
    QCOMPARE(readNeighbour.m_strValue, QString("kept"));
    QCOMPARE(read.m_nReads, 1);
    QCOMPARE(read.m_strAttribute, strRead);
    QCOMPARE(read.m_strOwnText, strRead);
    QCOMPARE(read.m_strChildText, strRead);
    QCOMPARE(read.m_strCdata, strRead);
}

void TestSettingsDialog::exportLeavesOutOnlyAnUnwritablePage_data()
{
    QTest::addColumn<BuiltPage::Builder>("build");

    QTest::newRow("a control in the page's tag name") << BuiltPage::Builder([](QDomDocument& document) {
        return document.createElement(QString("odd") + QChar(1));
    });
    QTest::newRow("a blank in a child's tag name") << BuiltPage::Builder([](QDomDocument& document) {
        QDomElement element = document.createElement("odd");
        element.appendChild(document.createElement("two words"));
        return element;
    });
    QTest::newRow("an attribute name with a leading digit") << BuiltPage::Builder([](QDomDocument& document) {
        QDomElement element = document.createElement("odd");
        element.setAttribute("1st", "x");
        return element;
    });
    QTest::newRow("a reference to an entity") << BuiltPage::Builder([](QDomDocument& document) {
        QDomElement element = document.createElement("odd");
        element.appendChild(document.createEntityReference("nowhere"));
        return element;
    });
    QTest::newRow("nested deeper than the import takes") << BuiltPage::Builder([](QDomDocument& document) {
        QDomElement element = document.createElement("odd");
        QDomElement inner = element;
        for (int i = 0; i < QMWidgets::kMaxSettingsNesting; ++i)
            inner = inner.appendChild(document.createElement("x")).toElement();
        return element;
    });
}

void TestSettingsDialog::exportLeavesOutOnlyAnUnwritablePage()
{
    QFETCH(BuiltPage::Builder, build);

    BuiltPage odd("odd", build);
    FixturePage before("before", "1");
    FixturePage after("zafter", "2");
    const QByteArray xml = QMWidgets::writeSettingsXml({&before, &odd, &after});

    FixturePage readBefore("before");
    FixturePage readAfter("zafter");
    QVERIFY(QMWidgets::readSettingsXml(xml, {&readBefore, &odd, &readAfter}));
    QCOMPARE(readBefore.m_strValue, QString("1"));
    QCOMPARE(readAfter.m_strValue, QString("2"));
    QCOMPARE(odd.m_nReads, 0);
}

void TestSettingsDialog::applyOkAndCancel()
{
    auto* pPage = new FixturePage("applyPage");
    SettingsDialog::addSettingsWidget("applyPage", pPage);
    QPointer<SettingsDialog> pDialog = new SettingsDialog;
    QMTest::ModalAnswerer apply([](QWidget* pModal) {
        QMTest::buttonWithText(pModal, "&Apply")->click();
        QMTest::buttonWithText(pModal, "&Cancel")->click();
    });
    QCOMPARE(pDialog->exec(), int(QDialog::Rejected));
    QCOMPARE(pPage->m_nApplied, 1);

    QMTest::ModalAnswerer ok([](QWidget* pModal) { QMTest::buttonWithText(pModal, "&Ok")->click(); });
    QCOMPARE(pDialog->exec(), int(QDialog::Accepted));
    QCOMPARE(pPage->m_nApplied, 2);
    QCOMPARE(tabTexts(*pDialog), QStringList({"applyPage"}));  // built once, kept for later shows
    delete pDialog;
}

void TestSettingsDialog::plainWidgetPageOnlyGetsItsTab()
{
    auto* pPlain = new QWidget;
    auto* pPage = new FixturePage("plainNeighbour", "p");
    SettingsDialog::addSettingsWidget("plainWidget", pPlain);
    SettingsDialog::addSettingsWidget("plainNeighbour", pPage);
    QCOMPARE(SettingsDialog::settingsPages(), QList<SettingsWidget*>({pPage}));
    SettingsDialog dialog;
    dialog.show();
    QCOMPARE(tabTexts(dialog), QStringList({"plainWidget", "plainNeighbour"}));
    QTemporaryDir dir;
    exportWith(dialog, dir.filePath("plain"));
    QCOMPARE(QMTest::readFile(dir.filePath("plain.vexsettings")),
             QByteArray("<Settings>\n <plainNeighbour v=\"p\"/>\n</Settings>\n"));
}

void TestSettingsDialog::secondRegistrationReplacesThePage()
{
    auto* pEarlier = new FixturePage("twice", "earlier");
    auto* pLater = new FixturePage("twice", "later");
    SettingsDialog::addSettingsWidget("twice", pEarlier);
    SettingsDialog::addSettingsWidget("twice", pLater);
    QCOMPARE(SettingsDialog::settingsPages(), QList<SettingsWidget*>({pLater}));
    {
        SettingsDialog dialog;
        dialog.show();
        auto* pTabs = dialog.findChild<QTabWidget*>();
        for (int i = 0; i < pTabs->count(); ++i)
            QCOMPARE(pTabs->widget(i), static_cast<QWidget*>(pLater));
        QCOMPARE(pTabs->tabText(0), QString("twice"));
        QVERIFY(pEarlier->parent() == nullptr);
    }
    delete pEarlier;
}

void TestSettingsDialog::pagesOfAClosedDialogAreNotHandedOut()
{
    QPointer<FixturePage> pPage = new FixturePage("closed", "c");
    SettingsDialog::addSettingsWidget("closedPage", pPage);
    {
        SettingsDialog first;
        first.show();
        QCOMPARE(tabTexts(first), QStringList({"closedPage"}));
    }
    QVERIFY(pPage.isNull());  // gone with the dialog that showed it

    QVERIFY(SettingsDialog::settingsPages().isEmpty());
    SettingsDialog second;
    second.show();
    QCOMPARE(tabTexts(second), QStringList());
    QMetaObject::invokeMethod(&second, "slotApply");
    QTemporaryDir dir;
    exportWith(second, dir.filePath("after"));
    QCOMPARE(QMTest::readFile(dir.filePath("after.vexsettings")), QByteArray("<Settings/>\n"));
}

QMTEST_APP_MAIN(TestSettingsDialog)
#include "tst_kitsettingsdialog.moc"
