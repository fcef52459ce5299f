#include "Os.h"

#include "Autostart.h"
#include "FileManager.h"
#include "SessionWatcher.h"
#include "SystemInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

Os* Os::s_pInstance = nullptr;

namespace {

Os::FileDialogHook& fileDialogHookRef()
{
    static Os::FileDialogHook hook;
    return hook;
}

// The hook's answer when one is installed; no value means the real dialog runs.
bool answeredByHook(Os::FileDialogRequest::Kind kind, QWidget* pParent, const QString& caption,
                    const QString& dir, const QString& filter, QStringList* pAnswer)
{
    if (!fileDialogHookRef())
        return false;
    Os::FileDialogRequest request;
    request.kind = kind;
    request.pParent = pParent;
    request.caption = caption;
    request.dir = dir;
    request.filter = filter;
    *pAnswer = fileDialogHookRef()(request);
    return true;
}

// Runs a file dialog that belongs to the window; the chosen paths, or none
// when it is cancelled.
QStringList chosenFiles(QWidget* pParent, const QString& caption, const QString& dir, const QString& filter,
                        QFileDialog::FileMode fileMode, QFileDialog::AcceptMode acceptMode,
                        QFileDialog::Options options)
{
    QFileDialog dialog(pParent, caption, dir, filter);
    dialog.setFileMode(fileMode);
    // Open is the dialog's own mode: only saving needs setting.
    if (acceptMode != QFileDialog::AcceptOpen)
        dialog.setAcceptMode(acceptMode);
    dialog.setOptions(options);
    if (dialog.exec() == QDialog::Accepted)
        return dialog.selectedFiles();
    return QStringList();
}

} // namespace

Os::Os(QObject* pParent)
    : QObject(pParent)
{
}

Os::~Os()
{
    if (s_pInstance == this)
        s_pInstance = nullptr;
}

Os* Os::instance()
{
    if (!s_pInstance) {
        s_pInstance = new Os();
        s_pInstance->watchSession();
    }
    return s_pInstance;
}

void Os::watchSession()
{
    // The desktop's notices become the messages the hook understands, so
    // the standby state logic is the same whatever delivered them.
    auto* pWatcher = new Platform::SessionWatcher(this);
    connect(pWatcher, &Platform::SessionWatcher::sessionEnding, this, [] {
        NativeMessage message;
        message.message = kEndSession;
        nativeEventHook(message);
    });
    connect(pWatcher, &Platform::SessionWatcher::suspending, this, [] {
        NativeMessage message;
        message.message = kPowerBroadcast;
        message.wParam = kPowerSuspend;
        nativeEventHook(message);
    });
    connect(pWatcher, &Platform::SessionWatcher::resumed, this, [] {
        NativeMessage message;
        message.message = kPowerBroadcast;
        message.wParam = kPowerResumeAutomatic;
        nativeEventHook(message);
    });
}

bool Os::nativeEventHook(const NativeMessage& message)
{
    Os* pOs = s_pInstance;
    if (!pOs)
        return false;
    if (message.message == kEndSession) {
        emit pOs->atUserLogout();
    } else if (message.message == kPowerBroadcast) {
        if (message.wParam == kPowerSuspend) {
            if (!pOs->inStandBy) {
                pOs->inStandBy = true;
                emit pOs->atSwitchToStandBy();
            }
        } else if (message.wParam == kPowerResumeAutomatic) {
            if (pOs->inStandBy) {
                pOs->inStandBy = false;
                emit pOs->atWakeUpFromStandBy();
            }
        }
    }
    return false;
}

QString Os::fileManagerPath(const QString& strPath)
{
    QString strCopy = strPath;
    strCopy.replace(QStringLiteral("//"), QStringLiteral("/"));
    return QDir::toNativeSeparators(strCopy);
}

bool Os::showFileInExplorer(const QString path)
{
    // The folder as given, before the separators are touched.
    const QString strFolder = QFileInfo(path).absoluteDir().absolutePath();
    // The file manager is asked without waiting, so the window never stops
    // for it; only a real refusal (no such service, an error answer) opens
    // the folder instead, never a slow answer.
    if (Platform::showItemInFileManager(fileManagerPath(path), [strFolder] { Platform::openFolder(strFolder); }))
        return true;
    // No session bus: open the folder in the desktop's handler.
    return Platform::openFolder(strFolder);
}

double Os::devicePixelRatio()
{
    return 1.0;
}

Os::FileDialogHook Os::setFileDialogHook(FileDialogHook hook)
{
    FileDialogHook previous = fileDialogHookRef();
    fileDialogHookRef() = std::move(hook);
    return previous;
}

QString Os::getOpenFileName(QWidget* pParent, const QString caption, const QString dir, const QString filter,
                            QString* pSelectedFilter, QFileDialog::Options options)
{
    QStringList answer;
    if (answeredByHook(FileDialogRequest::OpenFile, pParent, caption, dir, filter, &answer))
        return answer.value(0);
    if (!pParent)
        return QFileDialog::getOpenFileName(nullptr, caption, dir, filter, pSelectedFilter, options);
    return chosenFiles(pParent, caption, dir, filter, QFileDialog::ExistingFile, QFileDialog::AcceptOpen, options)
        .value(0);
}

QString Os::getSaveFileName(QWidget* pParent, const QString caption, const QString dir, const QString filter,
                            QString* pSelectedFilter, QFileDialog::Options options)
{
    QStringList answer;
    if (answeredByHook(FileDialogRequest::SaveFile, pParent, caption, dir, filter, &answer))
        return answer.value(0);
    if (!pParent)
        return QFileDialog::getSaveFileName(nullptr, caption, dir, filter, pSelectedFilter, options);
    return chosenFiles(pParent, caption, dir, filter, QFileDialog::AnyFile, QFileDialog::AcceptSave, options).value(0);
}

QStringList Os::getOpenFileNames(QWidget* pParent, const QString caption, const QString dir, const QString filter,
                                 QString* pSelectedFilter, QFileDialog::Options options)
{
    QStringList answer;
    if (answeredByHook(FileDialogRequest::OpenFiles, pParent, caption, dir, filter, &answer))
        return answer;
    if (!pParent)
        return QFileDialog::getOpenFileNames(nullptr, caption, dir, filter, pSelectedFilter, options);
    return chosenFiles(pParent, caption, dir, filter, QFileDialog::ExistingFiles, QFileDialog::AcceptOpen, options);
}

QString Os::autostartEntryName()
{
    // One entry per application, so that programs of the same framework do
    // not overwrite each other's entry.
    QString strName = QCoreApplication::organizationName() + QLatin1Char('-') + QCoreApplication::applicationName();
    strName = strName.toLower();
    strName.replace(QLatin1Char(' '), QLatin1Char('-'));
    strName.replace(QLatin1Char('/'), QLatin1Char('-'));
    return strName;
}

void Os::setAutostart(bool bOn)
{
    if (bOn) {
        Platform::writeAutostartEntry(autostartEntryName(), QCoreApplication::applicationName(),
                                      QCoreApplication::applicationFilePath());
    } else {
        Platform::removeAutostartEntry(autostartEntryName());
    }
}

bool Os::isAutostartEnabled()
{
    return !Platform::autostartEntryCommand(autostartEntryName()).isEmpty();
}

QString Os::libraryFileName(const QString name)
{
    return QStringLiteral("lib") + name + QStringLiteral(".so");
}

int Os::windowsVersion()
{
    return Platform::windowsVersion();
}
