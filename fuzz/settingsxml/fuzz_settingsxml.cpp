// The settings import reads files from anywhere: any bytes must end without
// a fault, reach the pages only when they parse, and what the pages then
// hold must export to a file that imports to the same values.
// The export writes whatever the pages hold: the same bytes, taken as
// UTF-16 values of every kind of node, must export to a file that imports
// to the same values, minus the characters XML 1.0 cannot carry.
#include "../FuzzCheck.h"
#include "SettingsWidget.h"
#include "SettingsXml.h"

#include <QApplication>
#include <QByteArray>
#include <QDomElement>
#include <QStringList>

#include <cstdint>

namespace {

// A page that keeps the attributes, the text and the child names of what
// reaches it, and writes them back.
class Page : public QMWidgets::SettingsWidget
{
public:
    explicit Page(const QString& strName)
        : m_strName(strName)
    {
    }

    void readSettings(const QDomNode& node) override
    {
        const QDomElement element = node.toElement();
        m_strValue = element.attribute(QStringLiteral("v"));
        m_strText = element.text();
        m_slChildren.clear();
        for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
            m_slChildren << child.tagName();
        ++m_nReads;
    }
    QDomElement writeSettings(QDomDocument& document) override
    {
        QDomElement element = document.createElement(m_strName);
        element.setAttribute(QStringLiteral("v"), m_strValue);
        element.appendChild(document.createTextNode(m_strText));
        return element;
    }
    QString settingsName() override { return m_strName; }

    void reset()
    {
        m_strValue.clear();
        m_strText.clear();
        m_slChildren.clear();
        m_nReads = 0;
    }

    QString m_strName;
    QString m_strValue;
    QString m_strText;
    QStringList m_slChildren;
    int m_nReads = 0;
};

QList<Page*>& pages()
{
    static QList<Page*> s_pages;
    return s_pages;
}

QList<QMWidgets::SettingsWidget*> asSettings(const QList<Page*>& list)
{
    QList<QMWidgets::SettingsWidget*> result;
    for (Page* pPage : list)
        result << pPage;
    return result;
}

// The input's values: little-endian UTF-16 code units as they come (lone
// surrogates and non-characters included), split at '|' into an attribute
// value, a text, a CDATA section, a comment and a name.
struct Values
{
    QString strAttribute;
    QString strText;
    QString strCdata;
    QString strComment;
    QString strName;
    bool bNamed = false;  // a fifth field: a page named after it takes part
};

Values valuesOf(const QByteArray& bytes)
{
    QString strUnits;
    for (int i = 0; i + 1 < bytes.size(); i += 2)
        strUnits += QChar(ushort(uchar(bytes.at(i)) | uchar(bytes.at(i + 1)) << 8));
    const QStringList fields = strUnits.split(QLatin1Char('|'));
    return {fields.value(0), fields.value(1), fields.value(2), fields.value(3), fields.value(4), fields.size() > 4};
}

// The text as XML 1.0 can carry it: its characters (the Char production)
// and nothing else.
QString xmlChars(const QString& str)
{
    QString result;
    for (int i = 0; i < str.size(); ++i) {
        const ushort unit = str.at(i).unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < str.size() && str.at(i + 1).isLowSurrogate()) {
            result += str.mid(i, 2);
            ++i;
        } else if (unit == 0x9 || unit == 0xA || unit == 0xD || (unit >= 0x20 && unit < 0xD800)
                   || (unit >= 0xE000 && unit <= 0xFFFD)) {
            result += QChar(unit);
        }
    }
    return result;
}

// A page that writes the values into the nodes they are meant for, and
// keeps what comes back.
class ValuesPage : public QMWidgets::SettingsWidget
{
public:
    void readSettings(const QDomNode& node) override
    {
        const QDomElement element = node.toElement();
        m_read.strAttribute = element.attribute(QStringLiteral("v"));
        m_read.strText.clear();
        for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
            if (child.isText())  // blank text comes back as CDATA
                m_read.strText += child.toText().data();
        }
        m_read.strCdata = element.firstChildElement(QStringLiteral("c")).text();
        ++m_nReads;
    }
    QDomElement writeSettings(QDomDocument& document) override
    {
        QDomElement element = document.createElement(settingsName());
        element.setAttribute(QStringLiteral("v"), m_written.strAttribute);
        element.appendChild(document.createTextNode(m_written.strText));
        QDomElement cdata = document.createElement(QStringLiteral("c"));
        cdata.appendChild(document.createCDATASection(m_written.strCdata));
        element.appendChild(cdata);
        element.appendChild(document.createComment(m_written.strComment));
        element.appendChild(document.createProcessingInstruction(QStringLiteral("pi"), m_written.strComment));
        return element;
    }
    QString settingsName() override { return QStringLiteral("values"); }

    Values m_written;
    Values m_read;
    int m_nReads = 0;
};

// A page that names an element and an attribute after the input.
class NamesPage : public QMWidgets::SettingsWidget
{
public:
    void readSettings(const QDomNode& node) override
    {
        const QDomElement element = node.toElement();
        m_bChildRead = !element.firstChildElement(m_strName).isNull();
        m_strAttributeRead = element.attribute(m_strName);
        ++m_nReads;
    }
    QDomElement writeSettings(QDomDocument& document) override
    {
        QDomElement element = document.createElement(settingsName());
        element.setAttribute(m_strName, m_strValue);
        element.appendChild(document.createElement(m_strName));
        return element;
    }
    QString settingsName() override { return QStringLiteral("names"); }

    QString m_strName;
    QString m_strValue;
    bool m_bChildRead = false;
    QString m_strAttributeRead;
    int m_nReads = 0;
};

// A name every XML reader takes: an ASCII letter or '_', then letters,
// digits, '_', '-' and '.'.
bool isPlainName(const QString& strName)
{
    if (strName.isEmpty())
        return false;
    for (int i = 0; i < strName.size(); ++i) {
        const ushort unit = strName.at(i).unicode();
        const bool bLetter = (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z') || unit == '_';
        const bool bOther = (unit >= '0' && unit <= '9') || unit == '-' || unit == '.';
        if (!bLetter && !(i > 0 && bOther))
            return false;
    }
    return true;
}

void checkExportThenImport(const QByteArray& bytes)
{
    const Values values = valuesOf(bytes);
    ValuesPage written;
    written.m_written = values;
    NamesPage writtenNames;
    writtenNames.m_strName = values.strName;
    writtenNames.m_strValue = values.strAttribute;
    QList<QMWidgets::SettingsWidget*> writtenPages{&written};
    if (values.bNamed)
        writtenPages.prepend(&writtenNames);
    const QByteArray exported = QMWidgets::writeSettingsXml(writtenPages);

    ValuesPage read;
    NamesPage readNames;
    readNames.m_strName = values.strName;
    FUZZ_CHECK(QMWidgets::readSettingsXml(exported, {&readNames, &read}));
    FUZZ_CHECK(read.m_nReads == 1);
    FUZZ_CHECK(read.m_read.strAttribute == xmlChars(values.strAttribute));
    FUZZ_CHECK(read.m_read.strText == xmlChars(values.strText));
    FUZZ_CHECK(read.m_read.strCdata == xmlChars(values.strCdata));
    if (values.bNamed && isPlainName(values.strName)) {
        FUZZ_CHECK(readNames.m_nReads == 1);
        FUZZ_CHECK(readNames.m_bChildRead);
        FUZZ_CHECK(readNames.m_strAttributeRead == xmlChars(values.strAttribute));
    }
}

} // namespace

// The widget pages need an application object; the font set-up it starts
// keeps a few fontconfig and offscreen-platform blocks for the whole run.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libqoffscreen.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int s_argc = 1;
    static char s_name[] = "fuzz-settingsxml";
    static char* s_argv[] = {s_name, nullptr};
    static QApplication s_app(s_argc, s_argv);
    for (const char* szName : {"a", "b", "Settings", "page"})
        pages() << new Page(QString::fromLatin1(szName));
    return 0;
}

namespace {

void checkImportThenExport(const QByteArray& bytes)
{
    for (Page* pPage : pages())
        pPage->reset();
    if (!QMWidgets::readSettingsXml(bytes, asSettings(pages()))) {
        for (Page* pPage : pages())
            FUZZ_CHECK(pPage->m_nReads == 0);  // a file that does not parse reached a page
        return;
    }

    // What was imported exports to a file that imports the same values.
    const QByteArray exported = QMWidgets::writeSettingsXml(asSettings(pages()));
    static QList<Page*> s_check;
    if (s_check.isEmpty()) {
        for (Page* pPage : pages())
            s_check << new Page(pPage->m_strName);
    }
    for (Page* pPage : s_check)
        pPage->reset();
    FUZZ_CHECK(QMWidgets::readSettingsXml(exported, asSettings(s_check)));
    for (int i = 0; i < pages().size(); ++i) {
        FUZZ_CHECK(s_check.at(i)->m_strValue == pages().at(i)->m_strValue);
        FUZZ_CHECK(s_check.at(i)->m_strText == pages().at(i)->m_strText);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    checkImportThenExport(bytes);
    checkExportThenImport(bytes);
    return 0;
}
