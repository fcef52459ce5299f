#include "NativeWebViewInternal.h"

#include "WebViewInQt.h"

namespace QMWebView {

NativeWebViewInternal::NativeWebViewInternal(QWidget* parent)
    : QLabel(parent, Qt::WindowFlags())
    , view(new WebViewInQt(this))
{
    view->move(0, 0);
    connect(view, SIGNAL(loadFinish(QString,QString)), this, SLOT(slotLoadFinish(QString,QString)));
    connect(view, SIGNAL(loadStart(QString,QString)), this, SLOT(slotLoadStart(QString,QString)));
    connect(view, SIGNAL(urlChanged(QString)), this, SLOT(slotUrlChanged(QString)));
    connect(view, SIGNAL(loadError()), this, SLOT(slotLoadError()));
}

NativeWebViewInternal::~NativeWebViewInternal() = default;

void NativeWebViewInternal::load(const QString& url)
{
    view->load(url);
}

void NativeWebViewInternal::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    view->resize(width(), height());
}

void NativeWebViewInternal::slotLoadStart(const QString url, const QString html)
{
    emit loadStart(url, html);
}

void NativeWebViewInternal::slotLoadFinish(const QString url, const QString html)
{
    emit loadFinish(url, html);
}

void NativeWebViewInternal::slotLoadError()
{
    emit loadError();
}

void NativeWebViewInternal::slotUrlChanged(const QString strUrl)
{
    emit urlChanged(strUrl);
}

} // namespace QMWebView
