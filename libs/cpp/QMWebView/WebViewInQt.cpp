#include "WebViewInQt.h"

#include "CustomWebView.h"

#include <QHBoxLayout>
#include <QVariant>

namespace QMWebView {

WebViewInQt::WebViewInQt(QWidget* parent)
    : QFrame(parent, Qt::WindowFlags())
{
    webView = new CustomWebView(nullptr, Qt::WindowFlags());
    auto* layout = new QHBoxLayout;
    layout->addWidget(webView);
    setLayout(layout);
}

WebViewInQt::~WebViewInQt() = default;

void WebViewInQt::load(const QString& url)
{
    webView->dynamicCall("Navigate(const QString&)", url);
}

void WebViewInQt::emitLoadStart(const QString& strUrl, const QString& strHtml)
{
    emit loadStart(strUrl, strHtml);
}

void WebViewInQt::emitLoadFinish(const QString& strUrl, const QString& strHtml)
{
    emit loadFinish(strUrl, strHtml);
}

void WebViewInQt::emitLoadError()
{
    emit loadError();
}

void WebViewInQt::emitUrlChanged(const QString& strUrl)
{
    emit urlChanged(strUrl);
}

} // namespace QMWebView
