#include "App.h"

#include "TranslationsManager.h"
#include "WebHosts.h"

#include <QDateTime>
#include <QDebug>
#include <QDesktopWidget>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <cstdlib>

namespace QMWidgets {

QList<App::StartUpHook> App::startUpHooks;

namespace {

QString firstLocation(QStandardPaths::StandardLocation location)
{
    return QStandardPaths::standardLocations(location).value(0);
}

QString orgAppFolder(QStandardPaths::StandardLocation location)
{
    return firstLocation(location) + QLatin1Char('/') + QCoreApplication::organizationName() + QLatin1Char('/')
           + QCoreApplication::applicationName() + QLatin1Char('/');
}

QString pathFor(const QString& strPath, bool bCreate)
{
    if (bCreate)
        App::ensurePathExists(strPath);
    return strPath;
}

}  // namespace

App::App(int& argc, char** argv, const QString& strOrganisation, const QString& strApplication)
    : QApplication(argc, argv)
    , m_strLanguageCode(QStringLiteral("en"))
{
    // The names come first so that the first-run test looks at the folders
    // this program really creates, whatever the executable is called.
    QCoreApplication::setOrganizationName(strOrganisation);
    QCoreApplication::setApplicationName(strApplication);
    m_bFirstRun = detectFirstRun();

    m_strLastOpenDirectory = workDirectory(true);
    m_strLastSaveDirectory = m_strLastOpenDirectory;

    m_strSettingsOrganisation = strOrganisation;
    m_strSettingsApplication = strApplication;
    m_pSettings = new QSettings(strOrganisation, strApplication, this);

    m_strResourcesPath = QCoreApplication::applicationDirPath() + QStringLiteral("/Resources/");

    // Published on the application object for libraries that reach the
    // framework through QtCore alone (the audio-file library's broadcast-wave
    // description); a dynamic property leaves the class's own interface as it is.
    setProperty("buildDateText", buildDateText());

    m_strAboutQtText = tr("<H3>This Application Uses:</H3>");
    m_strAboutQtText += QStringLiteral("Qt ") + QString::number(QT_VERSION_MAJOR) + QStringLiteral(" Toolkit<BR>");
    m_strAboutQtText += QStringLiteral("under LGPLv3 <A HREF=\"file://") + m_strResourcesPath
                        + QStringLiteral("LICENSE.LGPL\">(more)</A><BR>");
    m_strAboutQtText += QStringLiteral("the Qt source code is available on<br>");
    const QString strToolkitSite = Platform::toolkitSite();
    m_strAboutQtText += QStringLiteral("<A HREF=\"") + strToolkitSite + QStringLiteral("\">") + strToolkitSite
                        + QStringLiteral("</A><BR>");

    for (StartUpHook hook : qAsConst(startUpHooks)) {
        if (hook)
            hook();
    }

    fillStoreIdMap();
}

App::~App() = default;

App* App::instance()
{
    // A cast that checks: a plain QApplication taken for an App would hand
    // out members it does not have.
    return qobject_cast<App*>(QCoreApplication::instance());
}

// ---- settings ------------------------------------------------------------

QString App::effectiveKey(const QString& strKey) const
{
    if (m_bNoSettingsPrefix)
        return strKey;
    return QCoreApplication::applicationName() + QLatin1Char('/') + strKey;
}

QVariant App::settingsValue(const QString& strKey, const QVariant& defaultValue) const
{
    const QString strFullKey = effectiveKey(strKey);
    if (QThread::currentThread() == thread())
        return m_pSettings->value(strFullKey, defaultValue);
    // QSettings objects are reentrant, not thread-safe: a worker thread gets
    // its own view of the same store.
    QSettings local(m_strSettingsOrganisation, m_strSettingsApplication);
    return local.value(strFullKey, defaultValue);
}

void App::setSettingsValue(const QString& strKey, const QVariant& value)
{
    const QString strFullKey = effectiveKey(strKey);
    if (QThread::currentThread() == thread()) {
        m_pSettings->setValue(strFullKey, value);
        m_pSettings->sync();
        return;
    }
    QSettings local(m_strSettingsOrganisation, m_strSettingsApplication);
    local.setValue(strFullKey, value);
    local.sync();
}

void App::setSettingsWithoutPrefix(bool bOn)
{
    m_bNoSettingsPrefix = bOn;
}

QSettings* App::settings() const
{
    return m_pSettings;
}

void App::beginSettingsGroup(const QString& strGroup)
{
    m_pSettings->beginGroup(strGroup);
}

void App::endSettingsGroup()
{
    m_pSettings->endGroup();
}

QStringList App::settingsChildKeys() const
{
    return m_pSettings->childKeys();
}

bool App::isAppFirstStart()
{
    if (settingsValue(QStringLiteral("AppFirstStart"), true).toBool()) {
        setSettingsValue(QStringLiteral("AppFirstStart"), false);
        return true;
    }
    return false;
}

void App::markInitialized()
{
    if (isStoreBuild())
        return;
    if (!settingsValue(QStringLiteral("Initialized"), false).toBool()) {
        QTimer::singleShot(1000, this, SLOT(slotStartCount()));
        setSettingsValue(QStringLiteral("Initialized"), true);
    }
}

// ---- folders and files -----------------------------------------------------

QString App::supportDirectory(bool bCreate)
{
    return pathFor(firstLocation(QStandardPaths::AppDataLocation), bCreate);
}

QString App::dataDirectory(bool bCreate)
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    return pathFor(firstLocation(QStandardPaths::DataLocation) + QLatin1Char('/'), bCreate);
    QT_WARNING_POP
}

QString App::documentsDirectory(bool bCreate)
{
    return pathFor(orgAppFolder(QStandardPaths::DocumentsLocation), bCreate);
}

QString App::cachesDirectory(bool bCreate)
{
    return pathFor(firstLocation(QStandardPaths::CacheLocation), bCreate);
}

QString App::picturesDirectory(bool bCreate)
{
    return pathFor(orgAppFolder(QStandardPaths::PicturesLocation), bCreate);
}

QString App::musicDirectory(bool bCreate)
{
    return pathFor(orgAppFolder(QStandardPaths::MusicLocation), bCreate);
}

QString App::moviesDirectory(bool bCreate)
{
    return pathFor(orgAppFolder(QStandardPaths::MoviesLocation), bCreate);
}

QString App::workDirectory(bool bCreate)
{
    return pathFor(QDir::homePath() + QLatin1Char('/') + QCoreApplication::applicationName() + QLatin1Char('/'),
                   bCreate);
}

QString App::downloadsDirectory(bool bCreate)
{
    return workDirectory(bCreate);
}

void App::ensurePathExists(const QString& strPath)
{
    if (strPath.isEmpty())
        return;
    QDir dir(strPath);
    if (!dir.exists())
        dir.mkpath(QStringLiteral("."));
}

void App::dumpDirectories()
{
    qDebug() << "supportDirectory:" << supportDirectory(false);
    qDebug() << "dataDirectory:" << dataDirectory(false);
    qDebug() << "cachesDirectory:" << cachesDirectory(false);
    qDebug() << "documentsDirectory:" << documentsDirectory(false);
    qDebug() << "workDirectory:" << workDirectory(false);
    qDebug() << "picturesDirectory:" << picturesDirectory(false);
    qDebug() << "musicDirectory:" << musicDirectory(false);
    qDebug() << "moviesDirectory:" << moviesDirectory(false);
    qDebug() << "downloadsDirectory:" << downloadsDirectory(false);
}

bool App::detectFirstRun()
{
    const QStringList slFolders = {supportDirectory(false), documentsDirectory(false), cachesDirectory(false),
                                   dataDirectory(false),    workDirectory(false),      picturesDirectory(false),
                                   musicDirectory(false),   moviesDirectory(false),    downloadsDirectory(false)};
    for (const QString& strFolder : slFolders) {
        if (!strFolder.isEmpty() && QFileInfo::exists(strFolder))
            return false;
    }
    return true;
}

bool App::isFirstRun() const
{
    return m_bFirstRun;
}

QString App::resourcesPath() const
{
    return m_strResourcesPath;
}

void App::setLastOpenPath(const QString& strFilePath)
{
    m_strLastOpenDirectory = QFileInfo(strFilePath).absolutePath();
}

void App::setLastSavePath(const QString& strFilePath)
{
    m_strLastSaveDirectory = QFileInfo(strFilePath).absolutePath();
}

QString App::lastOpenDirectory() const
{
    return m_strLastOpenDirectory;
}

QString App::lastSaveDirectory() const
{
    return m_strLastSaveDirectory;
}

bool App::copyFileToDirectory(const QString& strSource, const QString& strDirectory, const QString& strName)
{
    ensurePathExists(strDirectory);
    const QString strTargetName = strName.isEmpty() ? QFileInfo(strSource).fileName() : strName;
    const QString strTarget = strDirectory + QLatin1Char('/') + strTargetName;
    if (QFileInfo::exists(strTarget))
        return true;

    QFile source(strSource);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    // Created here or not at all: a file that appeared since the test above
    // is left as it is, and a link in its place is never written through.
    QFile target(strTarget);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        source.close();
        return QFileInfo::exists(strTarget);
    }

    // Block by block, so that a file of any size fits in memory and a short
    // write (full disk, size limit) is noticed rather than reported as done.
    constexpr qint64 kBlockSize = 1 << 20;
    QByteArray block;
    bool bOk = true;
    while (bOk && !source.atEnd()) {
        block = source.read(kBlockSize);
        if (block.isEmpty()) {
            bOk = source.atEnd();  // an empty read before the end is a read error
            break;
        }
        bOk = target.write(block) == block.size();
    }
    if (bOk && source.error() != QFileDevice::NoError)
        bOk = false;
    source.close();
    if (bOk)
        bOk = target.flush();
    target.close();
    if (bOk && target.error() != QFileDevice::NoError)
        bOk = false;
    if (!bOk) {
        target.remove();
        return false;
    }
    return true;
}

bool App::copyFileToSupportDirectory(const QString& strSource, const QString& strName)
{
    return copyFileToDirectory(strSource, supportDirectory(true), strName);
}

QString App::dateFormat()
{
    return QStringLiteral("yyyy-MM-dd");
}

QString App::applicationIdentifier()
{
    const QStringList slParts = QCoreApplication::organizationDomain().split(QLatin1Char('.'));
    return slParts.last() + QLatin1Char('.') + slParts.first() + QLatin1Char('.')
           + QCoreApplication::applicationName();
}

// ---- build channel -------------------------------------------------------

bool App::isIndependentBuild() const
{
    return m_bIndependentBuild;
}

bool App::isStoreBuild()
{
    App* pApp = instance();
    if (pApp && pApp->m_bIndependentBuild)
        return false;
    const QString strResources =
        pApp ? pApp->m_strResourcesPath : QCoreApplication::applicationDirPath() + QStringLiteral("/Resources/");
    return !QFile::exists(strResources + QStringLiteral("independent"));
}

bool App::isAutoUpdateAllowed()
{
    return !QFile::exists(QStringLiteral("noautoupdate"));
}

bool App::isCommunityHidden() const
{
    return m_bCommunityHidden;
}

void App::setCommunityHidden(bool bHidden)
{
    m_bCommunityHidden = bHidden;
}

// ---- language and screen -------------------------------------------------

QString App::language()
{
    TranslationsManager::instance();
    App* pApp = instance();
    return pApp ? pApp->m_strLanguageCode : QStringLiteral("en");
}

void App::setLanguageCode(const QString& strCode)
{
    m_strLanguageCode = strCode;
}

QString App::languagePathPart() const
{
    if (m_strLanguageCode.contains(QStringLiteral("en")))
        return QString();
    return m_strLanguageCode + QLatin1Char('/');
}

double App::devicePixelRatio()
{
    QScreen* pScreen = QGuiApplication::primaryScreen();
    return pScreen ? pScreen->devicePixelRatio() : 1.0;
}

namespace {
QRect desktopGeometry()
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QDesktopWidget* pDesktop = QApplication::desktop();
    return pDesktop ? pDesktop->geometry() : QRect();
    QT_WARNING_POP
}
}  // namespace

bool App::isSmallScreen()
{
    return isSmallSize(desktopGeometry().size());
}

bool App::isSmallSize(const QSize& size)
{
    return size.width() < 480 || size.height() < 480;
}

int App::screenShortSide()
{
    const QRect rect = desktopGeometry();
    return qMin(rect.width(), rect.height());
}

int App::screenLongSide()
{
    const QRect rect = desktopGeometry();
    return qMax(rect.width(), rect.height());
}

bool App::isLandscape()
{
    QScreen* pScreen = QGuiApplication::primaryScreen();
    return pScreen ? pScreen->isLandscape(Qt::PrimaryOrientation) : true;
}

bool App::isPortrait()
{
    return !isLandscape();
}

// ---- message handlers -----------------------------------------------------

void App::silentMessageHandler(QtMsgType, const QMessageLogContext&, const QString&)
{
}

void App::fileMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& strMessage)
{
    QFile file(supportDirectory(true) + QStringLiteral("/protocol.log"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    const QString strStamp = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yy-hh:mm"));
    const QString strFile = QString::fromUtf8(context.file ? context.file : "");
    const char* szLevel = nullptr;
    switch (type) {
    case QtDebugMsg: szLevel = " Debug: "; break;
    case QtWarningMsg: szLevel = " Warning: "; break;
    case QtCriticalMsg: szLevel = " Critical: "; break;
    case QtFatalMsg: szLevel = " Fatal: "; break;
    default: break;
    }
    if (szLevel) {
        QTextStream stream(&file);
        stream << strStamp << szLevel << strMessage << ", " << strFile << Qt::endl;
    }
    file.close();
    if (type == QtFatalMsg)
        std::abort();
}

void App::installDefaultMessageHandler()
{
    qInstallMessageHandler(nullptr);
}

void App::installSilentMessageHandler()
{
    qInstallMessageHandler(silentMessageHandler);
}

void App::installFileMessageHandler()
{
    qInstallMessageHandler(fileMessageHandler);
}

void App::addStartUpHook(StartUpHook hook)
{
    startUpHooks.append(hook);
}

}  // namespace QMWidgets
