// The style-sheet editor: colouring, files, applying and tool-tip info.
#include "DialogLayoutCheck.h"
#include "QMTest.h"

#include "CssDoc.h"
#include "CssEditor.h"
#include "CssSyntaxHighlighter.h"

#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolBar>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace QMWidgets;

namespace {

char colourCode(const QColor& colour)
{
    if (colour == QColor(Qt::darkGray))
        return 'g';
    if (colour == QColor(Qt::green))
        return 'G';
    if (colour == QColor(Qt::cyan))
        return 'c';
    if (colour == QColor(Qt::white))
        return 'w';
    return '?';
}

// One code per character of every block: '.' uncoloured, g dark grey,
// G green, c cyan, w white; blocks joined with "|".
QString colourMap(const QString& strText)
{
    QTextDocument document;
    CssSyntaxHighlighter highlighter(&document);
    document.setPlainText(strText);
    // The highlighter colours a new document from the event loop; do it now.
    highlighter.rehighlight();
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QString strCodes(block.length() - 1, QLatin1Char('.'));
        const auto formats = block.layout()->formats();
        for (const QTextLayout::FormatRange& range : formats) {
            for (int i = range.start; i < range.start + range.length && i < strCodes.size(); ++i)
                strCodes[i] = QLatin1Char(colourCode(range.format.foreground().color()));
        }
        blocks << strCodes;
    }
    return blocks.join("|");
}

QStringList actionTexts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (QAction* pAction : actions)
        texts << (pAction->isSeparator() ? QString("-") : pAction->text() + " " + pAction->shortcut().toString());
    return texts;
}

// Types the path into the file dialog and accepts it; a dialog that does
// not take the path is rejected, so the test fails instead of hanging.
QMTest::ModalAnswerer::Action chooseFile(const QString& strPath)
{
    return [strPath](QWidget* pWidget) {
        QMTest::typeIntoFileDialog(qobject_cast<QFileDialog*>(pWidget), strPath);
        if (pWidget->isVisible())
            QMetaObject::invokeMethod(pWidget, "reject");
    };
}

// Loads the file into the editor through its open dialog; false when no
// dialog came to be answered.
bool loadThroughDialog(CssEditor& editor, const QString& strPath)
{
    QMTest::ModalAnswerer answerer(chooseFile(strPath), 3000);
    editor.document()->slotLoad();
    return answerer.answered();
}

} // namespace

class TestCssEditor : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void cleanup();
    void highlighting_data();
    void highlighting();
    void keywordAt();
    void documentStyle();
    void windowParts();
    void applyAndReset();
    void toolTipsInfo();
    void saveOnNewDocumentAsksForName();
    void saveAndLoad();
    void failedSaveKeepsTheTitle();
    void failedWriteKeepsTheOldFile();
    void savesWhereNoTemporaryFileCanBeMade();
    void layoutAtMinimumSize();
};

void TestCssEditor::cleanup()
{
    qApp->setStyleSheet(QString());
}

void TestCssEditor::highlighting_data()
{
    QTest::addColumn<QString>("strText");
    QTest::addColumn<QString>("strColours");

    QTest::newRow("keywords, operators and digits") << "int x = 5;" << "www...w.cw";
    QTest::newRow("line comment ends with the line") << "a // b\nint" << "..gggg|www";
    QTest::newRow("hash to the end of the line") << "a # b\nint" << "..GGG|www";
    QTest::newRow("slash star slash is a whole comment") << "/*/ x" << "ggg..";
    QTest::newRow("open comment runs over blocks") << "a /* b\nint x\nc */ d" << "..gggg|ggggg|gggg..";
    QTest::newRow("empty block keeps the comment") << "/* a\n\nb */" << "gggg||gggg";
    QTest::newRow("string over two lines, escaped quote")
        << "x = \"ab\nc\\\"d\" + 1" << "..w.ccc|ccccc.w.c";
    QTest::newRow("either quote closes a string") << "\"a'b" << "ccc.";
    QTest::newRow("foreach is one token") << "foreach" << "wwwwwww";
    QTest::newRow("arrow is one token") << "a->b" << ".ww.";
    QTest::newRow("tokens inside words") << "print h1" << "..www..c";
    QTest::newRow("digit before a comment") << "1//x" << "cggg";
    QTest::newRow("non-ASCII digit") << QString("x") + QChar(0x0663) << ".c";
    QTest::newRow("quote at the start of a continued string") << "\"a\n\"b" << "cc|c.";
}

void TestCssEditor::highlighting()
{
    QFETCH(QString, strText);
    QFETCH(QString, strColours);
    QCOMPARE(colourMap(strText), strColours);
}

void TestCssEditor::keywordAt()
{
    QTextDocument document;
    CssSyntaxHighlighter highlighter(&document);
    QCOMPARE(highlighter.keywordAt(0, "foreach(x)"), QString("foreach"));
    QCOMPARE(highlighter.keywordAt(7, "foreach(x)"), QString("("));
    QCOMPARE(highlighter.keywordAt(0, "->"), QString("->"));
    QCOMPARE(highlighter.keywordAt(0, "xyz"), QString());
    QCOMPARE(highlighter.keywordAt(3, "a"), QString());
}

void TestCssEditor::documentStyle()
{
    CssDoc doc;
    QCOMPARE(doc.document()->defaultFont().family(), QString("Lucida Console"));
    QCOMPARE(doc.document()->defaultFont().pointSize(), 12);
    QCOMPARE(doc.document()->defaultFont().weight(), 50);
    QVERIFY(!doc.document()->defaultFont().italic());
    QCOMPARE(doc.styleSheet(), QString("QTextEdit{background: #000060; color: yellow;}"));
    QVERIFY(doc.fileName().isEmpty());
}

void TestCssEditor::windowParts()
{
    CssEditor editor;
    QVERIFY(editor.windowTitle().isEmpty());
    QCOMPARE(editor.centralWidget(), static_cast<QWidget*>(editor.document()));
    const auto menus = editor.menuBar()->actions();
    QCOMPARE(menus.size(), 2);
    QCOMPARE(menus.at(0)->text(), QString("&File"));
    QCOMPARE(menus.at(1)->text(), QString("&Help"));
    QCOMPARE(actionTexts(menus.at(0)->menu()->actions()),
             QStringList({"&Open... Ctrl+O", "&Save Ctrl+S", "&SetInfo Ctrl+I", "&Apply Ctrl+A", "S&ave As... ",
                          "-"}));
    QCOMPARE(actionTexts(menus.at(1)->menu()->actions()), QStringList({"&About F1", "&Reset R"}));

    auto* pToolBar = editor.findChild<QToolBar*>();
    QVERIFY(pToolBar);
    QCOMPARE(pToolBar->windowTitle(), QString("Operations"));
    QCOMPARE(editor.toolBarArea(pToolBar), Qt::TopToolBarArea);
    QStringList slTools;
    for (QAction* pAction : pToolBar->actions())
        slTools << pAction->text();
    QCOMPARE(slTools, QStringList({"&Open...", "&Save", "&Apply", "&Reset", "&SetInfo"}));
    QCOMPARE(editor.statusBar()->currentMessage(), QString("Ready"));
}

void TestCssEditor::applyAndReset()
{
    qApp->setStyleSheet("QLabel{color: red;}");
    CssEditor editor;
    editor.document()->setPlainText("QPushButton{color: blue;}");
    editor.slotApply();
    QCOMPARE(qApp->styleSheet(), QString("QPushButton{color: blue;}"));
    QCOMPARE(editor.document()->styleSheet(), QString("QTextEdit{background: #000060; color: yellow;}"));
    // Reset leaves no style sheet at all, not the one from before.
    editor.slotReset();
    QCOMPARE(qApp->styleSheet(), QString());
}

void TestCssEditor::toolTipsInfo()
{
    QWidget outer;
    outer.setObjectName("Outer");
    outer.setToolTip("Old");
    auto* pInner = new QLabel(&outer);
    pInner->setObjectName("Inner");
    auto* pUnnamed = new QLabel(&outer);
    pUnnamed->setToolTip("Mine");
    outer.show();

    CssEditor editor;
    editor.document()->setObjectName("Doc");
    editor.show();
    editor.slotApplyToolTipsInfo();
    QCOMPARE(outer.toolTip(), QString("QWidget\nOuter\nOld"));
    QCOMPARE(pInner->toolTip(), QString("QLabel\nInner\n"));
    QCOMPARE(pUnnamed->toolTip(), QString("Mine"));
    QCOMPARE(editor.document()->toolTip(), QString());

    editor.slotApplyToolTipsInfo();
    QCOMPARE(outer.toolTip(), QString("QWidget\nOuter\nQWidget\nOuter\nOld"));
}

void TestCssEditor::saveOnNewDocumentAsksForName()
{
    CssEditor editor;
    QSignalSpy spy(editor.document(), SIGNAL(changeWindowTitle(const QString&)));
    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::reject(), 3000);
    editor.document()->slotSave();
    QCOMPARE(answerer.answeredClassName(), QString("QFileDialog"));
    QVERIFY(editor.document()->fileName().isEmpty());
    QCOMPARE(spy.count(), 0);
}

void TestCssEditor::saveAndLoad()
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath("style.css");
    {
        CssEditor editor;
        editor.document()->setPlainText("QLabel{color: red;}\n");
        QMTest::ModalAnswerer answerer(chooseFile(strPath), 3000);
        editor.document()->slotSave();
        QVERIFY(answerer.answered());
        QCOMPARE(editor.document()->fileName(), strPath);
        QCOMPARE(editor.windowTitle(), strPath);
        QCOMPARE(QMTest::readFile(strPath), QByteArray("QLabel{color: red;}\n"));
    }
    CssEditor editor;
    QVERIFY(loadThroughDialog(editor, strPath));
    QCOMPARE(editor.document()->toPlainText(), QString("QLabel{color: red;}\n"));
    QCOMPARE(editor.windowTitle(), strPath);

    // A later save goes to the same file without asking.
    editor.document()->setPlainText("QLabel{}");
    editor.document()->slotSave();
    QCOMPARE(QMTest::readFile(strPath), QByteArray("QLabel{}"));
}

void TestCssEditor::failedSaveKeepsTheTitle()
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath("style.css");
    QFile::remove(strPath);
    QVERIFY(QMTest::writeFile(strPath, "old"));
    CssEditor editor;
    QVERIFY(loadThroughDialog(editor, strPath));
    editor.setWindowTitle("before");

    // The file's place is taken by a folder: the save cannot happen.
    QVERIFY(QFile::remove(strPath));
    QVERIFY(QDir().mkdir(strPath));
    QSignalSpy spy(editor.document(), SIGNAL(changeWindowTitle(const QString&)));
    editor.document()->setPlainText("new");
    editor.document()->slotSave();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(editor.windowTitle(), QString("before"));
    QVERIFY(QFileInfo(strPath).isDir());
}

void TestCssEditor::failedWriteKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath("style.css");
    QVERIFY(QMTest::writeFile(strPath, "old"));
    CssEditor editor;
    QVERIFY(loadThroughDialog(editor, strPath));
    editor.setWindowTitle("before");
    editor.document()->setPlainText(QString(200, QLatin1Char('x')));
    QSignalSpy spy(editor.document(), SIGNAL(changeWindowTitle(const QString&)));

    // The file opens, but writing fails part-way, as on a full disk: a
    // process file-size limit of 16 bytes (its signal ignored) does that.
    rlimit limitBefore{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limitBefore), 0);
    rlimit limitSmall = limitBefore;
    limitSmall.rlim_cur = 16;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limitSmall), 0);
    editor.document()->slotSave();
    setrlimit(RLIMIT_FSIZE, &limitBefore);
    std::signal(SIGXFSZ, previousHandler);

    QCOMPARE(spy.count(), 0);
    QCOMPARE(editor.windowTitle(), QString("before"));
    QCOMPARE(QMTest::readFile(strPath), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList("style.css"));
}

void TestCssEditor::savesWhereNoTemporaryFileCanBeMade()
{
    // A file the user may write, in a folder where he may not create files.
    QTemporaryDir dir;
    const QString strPath = dir.filePath("style.css");
    QVERIFY(QMTest::writeFile(strPath, "old"));
    QVERIFY(QFile::setPermissions(strPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther
                                               | QFileDevice::WriteOther));
    CssEditor editor;
    QVERIFY(loadThroughDialog(editor, strPath));
    QCOMPARE(editor.document()->toPlainText(), QString("old"));
    QSignalSpy spy(editor.document(), SIGNAL(changeWindowTitle(const QString&)));
    editor.document()->setPlainText("new");

    // Root may create files anywhere: save as an ordinary user then.
    const bool bRoot = geteuid() == 0;
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                                  | QFileDevice::ExeOther));
    const bool bUserNow = !bRoot || (setegid(65534) == 0 && seteuid(65534) == 0);
    editor.document()->slotSave();
    // Back to root before anything can end the test early.
    const bool bRootAgain = !bRoot || (seteuid(0) == 0 && setegid(0) == 0);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(bUserNow);
    QVERIFY(bRootAgain);

    QCOMPARE(QMTest::readFile(strPath), QByteArray("new"));
    QCOMPARE(spy.count(), 1);
}

void TestCssEditor::layoutAtMinimumSize()
{
    CssEditor editor;
    QCOMPARE(DialogLayoutCheck::checkAtMinimumSize(&editor), QStringList());
}

QMTEST_APP_MAIN(TestCssEditor)
#include "tst_csseditor.moc"
