// Events, signals, the main widget with its overlay, the build date, the
// widget functions and the virtual operations of the application object.
#include "App.h"

#include "BlenderWidget.h"
#include "UrlOpener.h"
#include "WebHosts.h"

#include <QDebug>
#include <QFileOpenEvent>
#include <QMouseEvent>
#include <QWidget>

namespace QMWidgets {

// The compiler's date of the latest build, from a source the build
// regenerates each day (BuildDate.cmake), so it is never older than the build.
const char* compilerBuildDate();

bool App::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::FileOpen) {
        emit fileOpenRequest(static_cast<QFileOpenEvent*>(pEvent)->file());
        return true;
    }
    return QApplication::event(pEvent);
}

bool App::notify(QObject* pReceiver, QEvent* pEvent)
{
    // Runs for every event in the process, the batch thread's included: one
    // switch on the type, nothing else.
    switch (pEvent->type()) {
    case QEvent::ApplicationActivate:
        m_bInactive = false;
        emit applicationActivated();
        break;
    case QEvent::MouseButtonPress:
        emit mouseButtonPress();
        break;
    case QEvent::ApplicationDeactivate:
        m_bInactive = true;
        emit applicationDeactivated();
        break;
    case QEvent::Expose:
        emit applicationExposed();
        break;
    default:
        break;
    }
    return QApplication::notify(pReceiver, pEvent);
}

bool App::isInactive() const
{
    return m_bInactive;
}

QWidget* App::mainWidget() const
{
    return m_pMainWidget.data();
}

void App::setMainWidget(QWidget* pWidget)
{
    m_pMainWidget = pWidget;
    auto* pBlender = new BlenderWidget(nullptr);
    pBlender->setObjectName(QStringLiteral("MainWidgetBlender"));
    pBlender->setParent(pWidget);
    pBlender->setAutoFillBackground(true);
    pBlender->hide();
    m_pBlenderWidget = pBlender;
}

void App::slotSetBlendMainWidget(bool bOn)
{
    if (!m_pMainWidget || !m_pBlenderWidget)
        return;
    if (!bOn) {
        m_pBlenderWidget->hide();
        return;
    }
    m_pBlenderWidget->setFixedSize(m_pMainWidget->size());
    m_pBlenderWidget->show();
    m_pBlenderWidget->raise();
}

QString App::aboutQtText() const
{
    return m_strAboutQtText;
}

void App::appendAboutQtText(const QString& strText)
{
    m_strAboutQtText += strText;
}

void App::setAboutQtText(const QString& strText)
{
    m_strAboutQtText = strText;
}

void App::slotCheckUpdate()
{
    qDebug() << "Not implemented";
}

void App::slotShowMoreApps()
{
    const QString strLink = QStringLiteral("ms-windows-store://publisher/?name=")
                            + Platform::webHost(Platform::WebHost::PublisherName);
    Platform::openLink(strLink);
}

bool App::hasPromotedApp() const
{
    return !m_strPromotedAppText1.isEmpty() || !m_strPromotedLink.isEmpty();
}

QString App::storeLinkForApp(const QString& strLink) const
{
    QString strText = strLink;
    if (strText.endsWith(QLatin1Char('/')))
        strText.chop(1);
    const QString strKey = strText.split(QLatin1Char('/')).last().toLower();
    const auto it = m_mapStoreIds.constFind(strKey);
    if (it == m_mapStoreIds.constEnd())
        return QString();
    return QStringLiteral("ms-windows-store://pdp/?productid=") + it.value();
}

QString App::storeIdForApp(const QString& strAppId) const
{
    return m_mapStoreIds.value(strAppId);
}

QString App::ownStoreId() const
{
    return storeIdForApp(QCoreApplication::applicationName().toLower());
}

QString App::buildDateText()
{
    return buildDateTextFrom(compilerBuildDate());
}

QString App::buildDateTextFrom(const char* szCompilerDate)
{
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    QString strText = QString::fromLatin1(szCompilerDate).simplified();
    strText.replace(QLatin1Char(' '), QLatin1Char('/'));
    for (int i = 0; i < 12; ++i)
        strText.replace(QLatin1String(kMonths[i]), QString::number(i + 1));
    return strText;
}

QDate App::buildDate()
{
    return QDate::fromString(buildDateText(), QStringLiteral("M/d/yyyy"));
}

void App::postMousePress(QWidget* pWidget, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    if (!pWidget)
        return;
    QCoreApplication::postEvent(pWidget, new QMouseEvent(QEvent::MouseButtonPress, QPointF(x, y), button, buttons,
                                                         Qt::NoModifier));
}

void App::postMouseRelease(QWidget* pWidget, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    if (!pWidget)
        return;
    QCoreApplication::postEvent(pWidget, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(x, y), button, buttons,
                                                         Qt::NoModifier));
}

QPoint App::clickPoint(QWidget* pWidget, int x, int y)
{
    if (!pWidget)
        return QPoint(x, y);
    return QPoint(x < 0 ? pWidget->width() / 2 : x, y < 0 ? pWidget->height() / 2 : y);
}

void App::postMouseClick(QWidget* pWidget, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    if (!pWidget)
        return;
    const QPoint point = clickPoint(pWidget, x, y);
    postMousePress(pWidget, point.x(), point.y(), button, buttons);
    postMouseRelease(pWidget, point.x(), point.y(), button, buttons);
}

QWidget* App::findWidgetByClassName(const QString& strClassName)
{
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    for (QWidget* pTop : topLevels) {
        if (QLatin1String(pTop->metaObject()->className()) == strClassName)
            return pTop;
    }
    for (QWidget* pTop : topLevels) {
        const QList<QWidget*> descendants = pTop->findChildren<QWidget*>();
        for (QWidget* pChild : descendants) {
            if (QLatin1String(pChild->metaObject()->className()) == strClassName)
                return pChild;
        }
    }
    return nullptr;
}

bool App::isDescendantOf(QWidget* pWidget, QObject* pAncestor)
{
    if (!pWidget || !pAncestor)
        return false;
    return pAncestor->findChildren<QWidget*>().contains(pWidget);
}

void App::fillStoreIdMap()
{
    // Placeholder entries: the maker's applications and their Store product
    // ids are deployment data. The lookup rule is what matters here.
    static const char* const kEntries[][2] = {
        {"zintrop lite", "9ZNTRPLT0001"},
        {"zintroplite", "9ZNTRPLT0001"},
        {"zintrop", "9ZNTRP000002"},
        {"sampleviewer", "9SMPLVWR0003"},
        {"sampleaudio", "9SMPLD000004"},
    };
    for (const auto& entry : kEntries)
        m_mapStoreIds.insert(QLatin1String(entry[0]), QLatin1String(entry[1]));
}

}  // namespace QMWidgets
