#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;

// The browser control that the web views host. It keeps the control's calling
// interface (a control id and dynamicCall("Navigate(const QString&)", url))
// and really requests the page over HTTP, reporting it as loaded or failed.
// It displays nothing: the program only uses it to request pages.
class CustomWebView : public QWidget
{
    Q_OBJECT
public:
    explicit CustomWebView(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~CustomWebView() override;

    // The id of the control to host; stored for callers that ask for it.
    bool setControl(const QString& controlId);
    QString control() const;

    // Understands "Navigate(const QString&)" with the URL text as argument;
    // other calls are refused with an invalid result.
    QVariant dynamicCall(const char* function, const QVariant& argument = QVariant());

    // Starts a GET of the page and returns at once; redirects are followed
    // as a browser does. Earlier navigations still in flight finish too. A
    // page past pageLimit() bytes, or one not in whole within deadline() of
    // its start, fails.
    void navigate(const QString& url);

    // How long one page may take to load, redirects included, in
    // milliseconds: QMRequest::ReplyReader::transferTimeout() (30 s) unless
    // set; 0 or less restores that. It holds for the navigations started
    // after it was set.
    int deadline() const;
    void setDeadline(int milliseconds);

    // The address and text of the last page that loaded.
    QString locationUrl() const;
    QString html() const;

    // Keyboard messages (0x100 to 0x109) always go to the control, so keys
    // such as arrows and Tab work inside the page.
    virtual bool translateKeyEvent(int message, int keycode) const;

    // For every view: the most bytes a page may have, 4 MiB unless a test
    // changes it (0 or less restores that).
    static qint64 pageLimit();
    static void setPageLimit(qint64 bytes);

signals:
    void navigateComplete(const QString& url, const QString& html);
    void navigateError(const QString& url);

private:
    void finished(QNetworkReply* reply);

    QString m_strControl;
    QString m_strLocation;
    QString m_strHtml;
    QNetworkAccessManager* m_pNetwork = nullptr;
    int m_nDeadlineMs = 0;  // 0: the shared bound
};
