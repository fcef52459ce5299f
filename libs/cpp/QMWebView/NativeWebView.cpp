#include "NativeWebView.h"

#include "NativeWebViewInternal.h"

#include <QVBoxLayout>

namespace QMWebView {

NativeWebView::NativeWebView(QWidget* parent)
    : QWidget(parent, Qt::WindowFlags())
    , internal(new NativeWebViewInternal(this))
{
    auto* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(internal);
    setLayout(layout);

    connect(internal, SIGNAL(loadStart(QString,QString)), this, SLOT(slotLoadStart(QString,QString)));
    connect(internal, SIGNAL(loadFinish(QString,QString)), this, SLOT(slotLoadFinish(QString,QString)));
    connect(internal, SIGNAL(loadError()), this, SLOT(slotLoadError()));
    connect(internal, SIGNAL(urlChanged(QString)), this, SIGNAL(urlChanged(QString)));
}

NativeWebView::~NativeWebView() = default;

void NativeWebView::load(const QUrl& url)
{
    internal->load(url.toString());
    emit loadStarted();
}

void NativeWebView::slotLoadStart(const QString strUrl, const QString strHtml)
{
    Q_UNUSED(strUrl);
    Q_UNUSED(strHtml);
    emit loadStarted();
}

void NativeWebView::slotLoadFinish(const QString strUrl, const QString strHtml)
{
    Q_UNUSED(strUrl);
    Q_UNUSED(strHtml);
    emit loadFinished(true);
}

void NativeWebView::slotLoadError()
{
    emit loadFinished(false);
}

} // namespace QMWebView
