#include "JavaScriptMinifier.h"

#include <QtTest>

class TestJavaScriptMinifier : public QObject
{
    Q_OBJECT

private slots:
    void minify_data();
    void minify();
    void cutOffInputEnds_data();
    void cutOffInputEnds();
    void objectIsReusable();
};

void TestJavaScriptMinifier::minify_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("minified");
    QTest::newRow("statement") << "var a = 1 ;" << "\nvar a=1;";
    QTest::newRow("block comment")
        << "var x = 1; /* c */ var y = 2;\n" << "\nvar x=1;var y=2;";
    QTest::newRow("line comment with blanks before it")
        << "a = b; // note\nc = d;" << "\na=b;c=d;";
    QTest::newRow("plus before increment") << "a + ++b" << "\na+ ++b";
    QTest::newRow("minus before negation") << "a - -b" << "\na- -b";
    QTest::newRow("escaped quote in string") << "x = 'it\\'s' ;" << "\nx='it\\'s';";
    QTest::newRow("blanks in string") << "y = \"a  b\" ;" << "\ny=\"a  b\";";
    QTest::newRow("blanks in template") << "s = `a  ${ b }`;" << "\ns=`a  ${ b }`;";
    QTest::newRow("braces on lines") << "if (a)\n{\n  b();\n}" << "\nif(a)\n{b();}";
    QTest::newRow("byte-order mark") << QString::fromLatin1("\xEF\xBB\xBFvar a;") << "\nvar a;";
    QTest::newRow("leading i-diaeresis eats three")
        << QString::fromLatin1("\xEF" "12x=1;") << "\nx=1;";
    QTest::newRow("euro sign becomes ?")
        << QString::fromUtf8("s = \"\u20ac\";") << "\ns=\"?\";";
    QTest::newRow("Latin-1 kept") << QString::fromUtf8("s = \"\u00e9\";")
                                  << QString::fromUtf8("\ns=\"\u00e9\";");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("closing brace") << "}" << "}";
    QTest::newRow("parenthesis") << "(a)" << "\n(a)";
    QTest::newRow("line feeds collapse") << "a\n\n\n  b" << "\na\nb";
    QTest::newRow("line feeds after ; go") << "a;\n\n  b;" << "\na;b;";
    QTest::newRow("carriage returns") << "a\r\n\r\nb" << "\na\nb";
    QTest::newRow("tab is a blank") << "var\tb;" << "\nvar b;";
    QTest::newRow("blanks around ( , )") << "f ( a , b )" << "\nf(a,b)";
    QTest::newRow("division") << "x = y / 2 / z;" << "\nx=y/2/z;";
    QTest::newRow("regular expression")
        << "x = a.replace( / +/g, \"\")" << "\nx=a.replace(/ +/g,\"\")";
    QTest::newRow("regular expression with class")
        << "r = /[/\\]]+\\//;" << "\nr=/[/\\]]+\\//;";
    QTest::newRow("line feed kept before increment") << "a = b\n++c" << "\na=b\n++c";
    QTest::newRow("only a comment") << "// nothing here" << "";
}

void TestJavaScriptMinifier::minify()
{
    QFETCH(QString, source);
    QFETCH(QString, minified);
    QCOMPARE(MTools::minifyJavaScript(source), minified);
}

void TestJavaScriptMinifier::cutOffInputEnds_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("minified");
    QTest::newRow("string") << "x = 'abc" << "\nx='abc";
    QTest::newRow("string after backslash") << "x = 'abc\\" << "\nx='abc\\";
    QTest::newRow("template") << "t = `a${1}" << "\nt=`a${1}";
    QTest::newRow("block comment") << "a /* never" << "\na";
    QTest::newRow("block comment ending in *") << "a /* never *" << "\na";
    QTest::newRow("regular expression") << "x = /ab" << "\nx=/ab";
    QTest::newRow("regular expression after backslash") << "x = /ab\\" << "\nx=/ab\\";
    QTest::newRow("character class") << "x = /ab[c" << "\nx=/ab[c";
    QTest::newRow("character class after backslash") << "x = /[\\" << "\nx=/[\\";
}

void TestJavaScriptMinifier::cutOffInputEnds()
{
    QFETCH(QString, source);
    QFETCH(QString, minified);
    QCOMPARE(MTools::minifyJavaScript(source), minified);
}

void TestJavaScriptMinifier::objectIsReusable()
{
    MTools::JavaScriptMinifier minifier;
    const QString source = QStringLiteral("var a = 1 ; // one\nvar b = 'two';");
    const QString once = minifier.minify(source);
    QCOMPARE(once, QStringLiteral("\nvar a=1;var b='two';"));
    QCOMPARE(minifier.minify(source), once);
    // A run cut off inside a comment leaves nothing behind for the next one.
    QCOMPARE(minifier.minify(QStringLiteral("a = b /")), QStringLiteral("\na=b/"));
    QCOMPARE(minifier.minify(QStringLiteral("x /* open")), QStringLiteral("\nx"));
    QCOMPARE(minifier.minify(QStringLiteral("{c}")), QStringLiteral("\n{c}"));
}

QTEST_GUILESS_MAIN(TestJavaScriptMinifier)
#include "tst_JavaScriptMinifier.moc"
