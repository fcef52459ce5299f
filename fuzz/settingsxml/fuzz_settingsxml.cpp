// The settings import reads files from anywhere: any bytes must end without
// a fault, reach the pages only when they parse, and what the pages then
// hold must export to a file that imports to the same values.
#include "SettingsWidget.h"
#include "SettingsXml.h"

#include <QApplication>
#include <QByteArray>
#include <QDomElement>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    for (Page* pPage : pages())
        pPage->reset();
    if (!QMWidgets::readSettingsXml(bytes, asSettings(pages()))) {
        for (Page* pPage : pages()) {
            if (pPage->m_nReads != 0)
                std::abort();  // a file that does not parse reached a page
        }
        return 0;
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
    if (!QMWidgets::readSettingsXml(exported, asSettings(s_check)))
        std::abort();
    for (int i = 0; i < pages().size(); ++i) {
        if (s_check.at(i)->m_strValue != pages().at(i)->m_strValue)
            std::abort();
    }
    return 0;
}
