#pragma once

#include <QDate>
#include <QFileDialog>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The thin platform layer of the framework: static helpers for what the
// desktop offers (file manager, pixel ratio, file dialogs, autostart, review
// request) and a single instance that turns the session's logoff and power
// notices into signals.
class Os : public QObject
{
    Q_OBJECT

public:
    // A platform notice in the shape of a Win32 message; the desktop's own
    // notices are translated into these before they reach nativeEventHook.
    struct NativeMessage {
        quint32 message = 0;
        quintptr wParam = 0;
        qintptr lParam = 0;
    };
    static constexpr quint32 kEndSession = 0x0016;      // WM_ENDSESSION
    static constexpr quint32 kPowerBroadcast = 0x0218;  // WM_POWERBROADCAST
    static constexpr quintptr kPowerSuspend = 4;        // PBT_APMSUSPEND
    static constexpr quintptr kPowerResumeAutomatic = 0x12;  // PBT_APMRESUMEAUTOMATIC

    ~Os() override;

    static Os* instance();
    static bool nativeEventHook(const NativeMessage& message);

    // Shows the file in the file manager without waiting for it: true when
    // the request went out (should the file manager refuse it later, the
    // folder opens instead), else the result of opening the folder.
    static bool showFileInExplorer(const QString path);
    // The path as handed to the file manager: every "//" made "/" in one
    // pass, then native separators.
    static QString fileManagerPath(const QString& strPath);
    static double devicePixelRatio();
    static QString getOpenFileName(QWidget* pParent, const QString caption, const QString dir, const QString filter,
                                   QString* pSelectedFilter = nullptr,
                                   QFileDialog::Options options = QFileDialog::Options());
    static QString getSaveFileName(QWidget* pParent, const QString caption, const QString dir, const QString filter,
                                   QString* pSelectedFilter = nullptr,
                                   QFileDialog::Options options = QFileDialog::Options());
    static QStringList getOpenFileNames(QWidget* pParent, const QString caption, const QString dir,
                                        const QString filter, QString* pSelectedFilter = nullptr,
                                        QFileDialog::Options options = QFileDialog::Options());

    // What a file dialog is asked for, as the three calls above receive it.
    struct FileDialogRequest {
        enum Kind { OpenFile, OpenFiles, SaveFile };
        Kind kind = OpenFile;
        QWidget* pParent = nullptr;
        QString caption;
        QString dir;
        QString filter;
    };
    // Answers file dialogs in place of the user: the chosen paths, none for a
    // cancelled dialog. Tests script their answers through it, since a real
    // dialog waits for a person. An empty hook restores the dialogs; the
    // previous hook is returned.
    using FileDialogHook = std::function<QStringList(const FileDialogRequest&)>;
    static FileDialogHook setFileDialogHook(FileDialogHook hook);
    static void setAutostart(bool bOn);
    static bool isAutostartEnabled();
    static QString autostartEntryName();
    static QString libraryFileName(const QString name);
    static int windowsVersion();

    // Review request: asks for a store review at most once per run, within a
    // yearly limit.
    static void requestReview(bool force);
    static void showReviewDialog();
    static int requestedReviewsCalls();
    static int requestedReviewsCount();
    static QDate requestedReviewsLastDate();
    static bool isReviewLimitReached();
    static int remainingReviewRequests();
    static void setReviewCallsPeriod(const int& n);
    // Forgets this run's review request and period, so tests can start afresh.
    static void resetReviewRequestForTests();

    bool inStandBy = false;

signals:
    void atSwitchToStandBy();
    void atWakeUpFromStandBy();
    void atUserLogout();
    void atWorkspaceChanged();

private:
    explicit Os(QObject* pParent = nullptr);
    void watchSession();

    static Os* s_pInstance;
    static bool reviewRequestedThisRun;
    static int reviewCallsPeriod;
};
