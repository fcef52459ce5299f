#include "UrlRecorder.h"

#include "UrlOpener.h"

#include <QDesktopServices>

namespace QMTest {

namespace {
const char* const kSchemes[] = {"http", "https", "mailto", "file", "ms-windows-store", "macappstore"};
}

UrlRecorder::UrlRecorder(QObject* pParent)
    : QObject(pParent)
{
    Platform::setUrlOpenHook([this](const QUrl& url) {
        open(url);
        return m_bAnswer;
    });
    for (const char* szScheme : kSchemes)
        QDesktopServices::setUrlHandler(QLatin1String(szScheme), this, "open");
}

UrlRecorder::~UrlRecorder()
{
    Platform::setUrlOpenHook(Platform::UrlOpenHook());
    for (const char* szScheme : kSchemes)
        QDesktopServices::unsetUrlHandler(QLatin1String(szScheme));
}

QList<QUrl> UrlRecorder::urls() const
{
    return m_urls;
}

QUrl UrlRecorder::last() const
{
    return m_urls.isEmpty() ? QUrl() : m_urls.last();
}

int UrlRecorder::count() const
{
    return m_urls.size();
}

void UrlRecorder::clear()
{
    m_urls.clear();
}

void UrlRecorder::setAnswer(bool bOpened)
{
    m_bAnswer = bOpened;
}

void UrlRecorder::open(const QUrl& url)
{
    m_urls.append(url);
}

}  // namespace QMTest
