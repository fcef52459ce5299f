#pragma once

#include <QFrame>
#include <QString>

class CustomWebView;

namespace QMWebView {

// A frame around the browser control.
class WebViewInQt : public QFrame
{
    Q_OBJECT
public:
    explicit WebViewInQt(QWidget* parent = nullptr);
    ~WebViewInQt() override;

    void load(const QString& url);

    void emitLoadStart(const QString& strUrl, const QString& strHtml);
    void emitLoadFinish(const QString& strUrl, const QString& strHtml);
    void emitLoadError();
    void emitUrlChanged(const QString& strUrl);

signals:
    void loadStart(const QString strUrl, const QString strHtml);
    void loadFinish(const QString strUrl, const QString strHtml);
    void loadError();
    void urlChanged(const QString strUrl);

private:
    CustomWebView* webView = nullptr;
};

} // namespace QMWebView
