#include "SettingsXml.h"

#include "SettingsWidget.h"

#include <QDomDocument>
#include <QPointer>
#include <QTextStream>
#include <QXmlStreamReader>

namespace QMWidgets {

namespace {

// Whether the text is a well-formed document the import may hand to the
// document parser: nested no deeper than kMaxSettingsNesting (the document
// parser descends recursively, the stream reader does not), without a
// document type (the export never writes one, and its entities could build
// what no size limit catches), and without references to entities that
// are not declared (the document parser would drop them silently and hand
// the pages a shortened value).
bool isAcceptable(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    int nDepth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++nDepth > kMaxSettingsNesting)
                return false;
            break;
        case QXmlStreamReader::EndElement:
            --nDepth;
            break;
        case QXmlStreamReader::DTD:
            return false;
        default:
            break;
        }
    }
    return !reader.hasError();
}

// The parse of the import, shared with the export's own check.
bool parseSettings(const QByteArray& xml, QDomDocument* pDocument)
{
    return xml.size() <= kMaxSettingsFileSize && isAcceptable(xml) && pDocument->setContent(xml, false);
}

bool isReadable(const QByteArray& xml)
{
    QDomDocument document;
    return parseSettings(xml, &document);
}

// XML 1.0's Char production below U+10000, surrogates excluded. Every
// character a surrogate pair stands for (U+10000 to U+10FFFF) is allowed.
bool isXmlBmpChar(ushort unit)
{
    return unit == 0x9 || unit == 0xA || unit == 0xD || (unit >= 0x20 && unit <= 0xD7FF)
           || (unit >= 0xE000 && unit <= 0xFFFD);
}

// The text without what XML 1.0 cannot carry, not even as a character
// reference: C0 controls other than tab, line feed and carriage return,
// U+FFFE, U+FFFF and halves of surrogate pairs that stand alone.
QString xmlCharsOnly(const QString& str)
{
    QString result;
    result.reserve(str.size());
    for (int i = 0; i < str.size(); ++i) {
        const QChar ch = str.at(i);
        if (ch.isHighSurrogate() && i + 1 < str.size() && str.at(i + 1).isLowSurrogate()) {
            result += ch;
            result += str.at(++i);
        } else if (isXmlBmpChar(ch.unicode())) {
            result += ch;
        }
    }
    return result;
}

QString withoutSequence(QString str, const QString& strSequence, const QString& strBroken)
{
    while (str.contains(strSequence))
        str.replace(strSequence, strBroken);
    return str;
}

bool isPlainText(const QDomNode& node)
{
    return node.isText() && !node.isCDATASection();
}

// The import's parser drops character data between two tags when all of it
// is white space by QChar::isSpace: the indentation, but also a value of
// blanks or no-break spaces. Such a run of text nodes is written as CDATA
// sections, which it keeps.
void keepBlankText(QDomElement& element)
{
    QDomNode node = element.firstChild();
    while (!node.isNull()) {
        if (!isPlainText(node)) {
            node = node.nextSibling();
            continue;
        }
        QDomNode end = node;
        QString strRun;
        for (; isPlainText(end); end = end.nextSibling()) {
            QDomText text = end.toText();
            text.setData(xmlCharsOnly(text.data()));
            strRun += text.data();
        }
        const bool bBlank = !strRun.isEmpty() && strRun.trimmed().isEmpty();
        while (node != end) {
            const QDomNode next = node.nextSibling();
            if (bBlank)
                element.replaceChild(element.ownerDocument().createCDATASection(node.toText().data()), node);
            node = next;
        }
    }
}

// Makes every value below the element writable as XML that reads back the
// same: characters XML cannot carry are dropped, blank text is kept as
// CDATA, a CDATA section holding "]]>" is split in two there (a reader
// joins them again in text()), and "--" in comments and "?>" in processing
// instructions, which would end them early, get a blank between.
// Attribute values need no more: the writer escapes tab, line feed and
// carriage return in them, so attribute-value normalisation keeps them.
void makeWritable(QDomElement top)
{
    QDomNode node = top;
    while (!node.isNull()) {
        if (node.isElement()) {
            QDomElement element = node.toElement();
            const QDomNamedNodeMap attributes = element.attributes();
            for (int i = 0; i < attributes.count(); ++i) {
                QDomAttr attribute = attributes.item(i).toAttr();
                attribute.setValue(xmlCharsOnly(attribute.value()));
            }
            keepBlankText(element);
        } else if (node.isCDATASection()) {
            QDomCDATASection cdata = node.toCDATASection();
            const QString strData = xmlCharsOnly(cdata.data());
            const int nEnd = strData.indexOf(QLatin1String("]]>"));
            cdata.setData(nEnd < 0 ? strData : strData.left(nEnd + 2));
            if (nEnd >= 0) {
                // The rest is visited next and split again where needed.
                node.parentNode().insertAfter(node.ownerDocument().createCDATASection(strData.mid(nEnd + 2)), node);
            }
        } else if (node.isComment()) {
            QDomComment comment = node.toComment();
            comment.setData(withoutSequence(xmlCharsOnly(comment.data()), QStringLiteral("--"), QStringLiteral("- -")));
        } else if (node.isProcessingInstruction()) {
            QDomProcessingInstruction instruction = node.toProcessingInstruction();
            instruction.setData(
                withoutSequence(xmlCharsOnly(instruction.data()), QStringLiteral("?>"), QStringLiteral("? >")));
        }
        // On in document order, without recursion: a page may nest deeply.
        if (node.hasChildNodes()) {
            node = node.firstChild();
            continue;
        }
        while (node != top && node.nextSibling().isNull())
            node = node.parentNode();
        node = node == top ? QDomNode() : node.nextSibling();
    }
}

// A page element as the export would write it, alone under the root.
QByteArray alone(const QDomNode& element)
{
    QString strText;
    QTextStream stream(&strText);
    element.save(stream, 1);
    stream.flush();
    return (QStringLiteral("<Settings>") + strText + QStringLiteral("</Settings>")).toUtf8();
}

} // namespace

QByteArray writeSettingsXml(const QList<SettingsWidget*>& pages)
{
    // An empty document-type name: no DOCTYPE line is written.
    QDomDocument document(QString{});
    QDomElement root = document.createElement(QStringLiteral("Settings"));
    document.appendChild(root);
    for (SettingsWidget* pPage : pages)
        root.appendChild(pPage->writeSettings(document));
    makeWritable(root);
    // UTF-8 whatever the locale: the reader takes a file without declaration
    // as UTF-8, so any other encoding would corrupt non-ASCII values.
    QByteArray xml = document.toString(1).toUtf8();
    if (isReadable(xml))
        return xml;
    // A page built what no value mending helps (a name XML does not allow,
    // a reference to an entity, nesting beyond the import's limit): its
    // element is left out, so that the other pages' settings still import.
    for (QDomNode child = root.firstChild(); !child.isNull();) {
        const QDomNode next = child.nextSibling();
        if (!isReadable(alone(child)))
            root.removeChild(child);
        child = next;
    }
    return document.toString(1).toUtf8();
}

bool readSettingsXml(const QByteArray& xml, const QList<SettingsWidget*>& pages)
{
    QDomDocument document;
    if (!parseSettings(xml, &document))
        return false;
    // A page may go away while another one reads (its owner reacting to an
    // imported value); it is then skipped.
    QList<QPointer<SettingsWidget>> livePages;
    for (SettingsWidget* pPage : pages)
        livePages << pPage;
    const QDomElement root = document.documentElement();
    for (QDomNode child = root.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (!child.isElement())
            continue;
        const QString strTag = child.toElement().tagName();
        for (const QPointer<SettingsWidget>& pPage : livePages) {
            if (pPage && pPage->settingsName() == strTag)
                pPage->readSettings(child);
        }
    }
    return true;
}

} // namespace QMWidgets
