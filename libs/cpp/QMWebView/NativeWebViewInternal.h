#pragma once

#include <QLabel>
#include <QString>

namespace QMWebView {

class WebViewInQt;

// Carries the framed control at its full size and relays its signals.
class NativeWebViewInternal : public QLabel
{
    Q_OBJECT
public:
    explicit NativeWebViewInternal(QWidget* parent = nullptr);
    ~NativeWebViewInternal() override;

    void load(const QString& url);

signals:
    void loadStart(const QString strUrl, const QString strHtml);
    void loadFinish(const QString strUrl, const QString strHtml);
    void loadError();
    void urlChanged(const QString strUrl);

public slots:
    void slotLoadStart(const QString url, const QString html);
    void slotLoadFinish(const QString url, const QString html);
    void slotLoadError();
    void slotUrlChanged(const QString strUrl);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    WebViewInQt* view = nullptr;
};

} // namespace QMWebView
