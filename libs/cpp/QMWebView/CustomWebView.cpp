#include "CustomWebView.h"

#include "ReplyReader.h"

#include <QDebug>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace {

const qint64 kDefaultPageLimit = 4 * 1024 * 1024;
qint64 g_pageLimit = kDefaultPageLimit;

} // namespace

CustomWebView::CustomWebView(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , m_pNetwork(new QNetworkAccessManager(this))
{
    setControl(QStringLiteral("8856F961-340A-11D0-A96B-00C04FD705A2"));
    connect(m_pNetwork, &QNetworkAccessManager::finished, this, &CustomWebView::finished);
}

// Replies still in flight go with the network manager, a child of this widget.
CustomWebView::~CustomWebView() = default;

bool CustomWebView::setControl(const QString& controlId)
{
    m_strControl = controlId;
    return true;
}

QString CustomWebView::control() const
{
    return m_strControl;
}

QVariant CustomWebView::dynamicCall(const char* function, const QVariant& argument)
{
    const QByteArray signature = QMetaObject::normalizedSignature(function);
    if (signature == "Navigate(QString)") {
        navigate(argument.toString());
        return QVariant();
    }
    qDebug() << "CustomWebView: unsupported call" << function;
    return QVariant();
}

void CustomWebView::navigate(const QString& url)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QMRequest::ReplyReader::prepare(request);
    QMRequest::ReplyReader::attach(m_pNetwork->get(request), g_pageLimit, nullptr, m_nDeadlineMs);
}

int CustomWebView::deadline() const
{
    return QMRequest::ReplyReader::deadlineOr(m_nDeadlineMs);
}

void CustomWebView::setDeadline(int milliseconds)
{
    m_nDeadlineMs = qMax(0, milliseconds);
}

void CustomWebView::finished(QNetworkReply* reply)
{
    reply->deleteLater();
    const QString url = reply->url().toString();
    QMRequest::ReplyReader* reader = QMRequest::ReplyReader::of(reply);
    if (reader)
        reader->readRest();
    if (reply->error() != QNetworkReply::NoError || !reader || !reader->withinBounds()) {
        emit navigateError(url);
        return;
    }
    m_strLocation = url;
    m_strHtml = QString::fromUtf8(reader->body());
    emit navigateComplete(m_strLocation, m_strHtml);
}

QString CustomWebView::locationUrl() const
{
    return m_strLocation;
}

QString CustomWebView::html() const
{
    return m_strHtml;
}

bool CustomWebView::translateKeyEvent(int message, int keycode) const
{
    Q_UNUSED(keycode);
    if (message >= 0x100 && message <= 0x109)
        return true;
    return false;  // the host's own default: leave other messages to Qt
}

qint64 CustomWebView::pageLimit()
{
    return g_pageLimit;
}

void CustomWebView::setPageLimit(qint64 bytes)
{
    g_pageLimit = bytes > 0 ? bytes : kDefaultPageLimit;
}
