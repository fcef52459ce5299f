#include "SettingsXml.h"

#include "SettingsWidget.h"

#include <QDomDocument>
#include <QPointer>
#include <QTextCodec>

namespace QMWidgets {

namespace {

constexpr int kRefused = -1;

// Just past the end of the tag whose name starts at nFrom: the first '>'
// outside quoted values. kRefused for a tag that never ends or holds a '<'
// (no well-formed tag does).
int skipTag(const QByteArray& text, int nFrom, bool* pSelfClosing)
{
    char cQuote = 0;
    char cLast = 0;
    for (int i = nFrom; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '<')
            return kRefused;
        if (cQuote) {
            if (c == cQuote)
                cQuote = 0;
        } else if (c == '"' || c == '\'') {
            cQuote = c;
        } else if (c == '>') {
            *pSelfClosing = cLast == '/';
            return i + 1;
        }
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            cLast = c;
    }
    return kRefused;
}

// Just past the terminator searched from nFrom, or kRefused.
int skipPast(const QByteArray& text, int nFrom, const char* szTerminator)
{
    const int nAt = text.indexOf(szTerminator, nFrom);
    return nAt < 0 ? kRefused : nAt + int(qstrlen(szTerminator));
}

// The deepest element nesting of the text, read from its markup alone so
// that it is known before any parsing; comments, CDATA sections and
// processing instructions are stepped over. kRefused for markup no settings
// file holds: a document type (its entities could nest elements where this
// count cannot see them) or markup left open.
int deepestNesting(const QByteArray& raw)
{
    // UTF-16 text is counted on its UTF-8 form.
    QByteArray text = raw;
    const bool bLittleBom = raw.startsWith("\xff\xfe");
    const bool bBigBom = raw.startsWith("\xfe\xff");
    if (raw.size() >= 2 && (bLittleBom || bBigBom || raw.at(0) == 0 || raw.at(1) == 0)) {
        const bool bBigEndian = bBigBom || (!bLittleBom && raw.at(0) == 0);
        text = QTextCodec::codecForName(bBigEndian ? "UTF-16BE" : "UTF-16LE")->toUnicode(raw).toUtf8();
    }
    int nDepth = 0;
    int nDeepest = 0;
    int i = text.indexOf('<');
    while (i >= 0) {
        const QByteArray head = text.mid(i, 9);
        bool bSelfClosing = false;
        if (head.startsWith("<!--")) {
            i = skipPast(text, i + 4, "-->");
        } else if (head.startsWith("<![CDATA[")) {
            i = skipPast(text, i + 9, "]]>");
        } else if (head.startsWith("<?")) {
            i = skipPast(text, i + 2, "?>");
        } else if (head.startsWith("<!")) {
            return kRefused;
        } else if (head.startsWith("</")) {
            nDepth = qMax(0, nDepth - 1);
            i = skipTag(text, i + 2, &bSelfClosing);
        } else {
            i = skipTag(text, i + 1, &bSelfClosing);
            if (!bSelfClosing)
                nDeepest = qMax(nDeepest, ++nDepth);
        }
        if (i == kRefused)
            return kRefused;
        i = text.indexOf('<', i);
    }
    return nDeepest;
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
    const int nNesting = deepestNesting(xml);
    if (nNesting == kRefused || nNesting > kMaxSettingsNesting)
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
