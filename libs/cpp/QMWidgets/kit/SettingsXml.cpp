#include "SettingsXml.h"

#include "SettingsWidget.h"

#include <QDomDocument>
#include <QPointer>
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

} // namespace

QByteArray writeSettingsXml(const QList<SettingsWidget*>& pages)
{
    // An empty document-type name: no DOCTYPE line is written.
    QDomDocument document(QString{});
    QDomElement root = document.createElement(QStringLiteral("Settings"));
    document.appendChild(root);
    for (SettingsWidget* pPage : pages)
        root.appendChild(pPage->writeSettings(document));
    // UTF-8 whatever the locale: the reader takes a file without declaration
    // as UTF-8, so any other encoding would corrupt non-ASCII values.
    return document.toString(1).toUtf8();
}

bool readSettingsXml(const QByteArray& xml, const QList<SettingsWidget*>& pages)
{
    if (xml.size() > kMaxSettingsFileSize)
        return false;
    if (!isAcceptable(xml))
        return false;
    QDomDocument document;
    if (!document.setContent(xml, false))
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
