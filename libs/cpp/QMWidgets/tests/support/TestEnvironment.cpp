#include "TestEnvironment.h"

#include "App.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace QMTest {

namespace {
std::unique_ptr<QTemporaryDir>& homeDir()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}
}  // namespace

void prepareEnvironment()
{
    if (homeDir())
        return;
    homeDir().reset(new QTemporaryDir(QDir::tempPath() + QStringLiteral("/zintrop-test-XXXXXX")));
    const QString strHome = homeDir()->path();
    const QByteArray home = QFile::encodeName(strHome);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/.config");
    qputenv("XDG_DATA_HOME", home + "/.local/share");
    qputenv("XDG_CACHE_HOME", home + "/.cache");
    qputenv("XDG_CONFIG_DIRS", home + "/etc-xdg");
    qputenv("XDG_DATA_DIRS", home + "/usr-share");
    QDir().mkpath(strHome + QStringLiteral("/runtime"));
    QFile::setPermissions(strHome + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", home + "/runtime");
    // Bus addresses that fail at once: no test talks to the user's desktop.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home + "/no-session-bus");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + home + "/no-system-bus");
    qunsetenv("DISPLAY");
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANG", "C.UTF-8");
}

QString temporaryHome()
{
    return homeDir() ? homeDir()->path() : QString();
}

void clearSettings()
{
    QMWidgets::App* pApp = QMWidgets::App::instance();
    if (!pApp || !pApp->settings())
        return;
    pApp->settings()->clear();
    pApp->settings()->sync();
}

}  // namespace QMTest
