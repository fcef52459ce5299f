#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

namespace QMWebView {

class NativeWebViewInternal;

// The web view the rest of a program uses. load() requests the page and
// emits loadStarted() at once; it works hidden as well.
class NativeWebView : public QWidget
{
    Q_OBJECT
public:
    explicit NativeWebView(QWidget* parent = nullptr);
    ~NativeWebView() override;

    void load(const QUrl& url);

signals:
    void loadStarted();
    void loadFinished(bool ok);
    void urlChanged(const QString strUrl);

public slots:
    void slotLoadStart(const QString strUrl, const QString strHtml);
    void slotLoadFinish(const QString strUrl, const QString strHtml);
    void slotLoadError();

private:
    NativeWebViewInternal* internal = nullptr;
};

} // namespace QMWebView
