#include "AppUpdate.h"

#include "App.h"
#include "AppUpdateDialog.h"
#include "Downloader.h"
#include "SystemInfo.h"
#include "WebHosts.h"

#include <QCoreApplication>
#include <QDebug>
#include <QPixmap>
#include <QTimer>

// The dialog's pictures live in this static library; its resource
// registration is only linked in when something refers to it.
// (Q_INIT_RESOURCE has to be used at global scope.)
static void initAppUpdateResources()
{
    Q_INIT_RESOURCE(AppUpdate);
}

namespace AppUpdate {

QString newVersionText;

namespace {

const int kDefaultFetchTimeoutMs = 7000;
// The record is some 40 bytes; a longer answer is no record and fails as
// one that never came.
const qint64 kRecordLimitBytes = 4 * 1024;
const int kMaxVersionLength = 32;
int g_fetchTimeoutMs = kDefaultFetchTimeoutMs;
CheckOutcome g_lastOutcome = CheckOutcome::Record;

// The last-notification date is kept in a scrambled form of our own under a
// neutral key, so that it is not simply edited to silence the check.
const char* const kLastCheckKey = "ucs";
const char kScramble = 0x5A;

QByteArray scrambled(QByteArray bytes)
{
    for (char& c : bytes)
        c = static_cast<char>(c ^ kScramble);
    return bytes;
}

QString textUpToZero(const QByteArray& bytes)
{
    const int zero = bytes.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero));
}

QString lowerAppName()
{
    return QCoreApplication::applicationName().toLower();
}

// Digits, letters, '.', '-' and '_', as in "2.0" or "1.4.2-beta_3": text that
// a dialog shows as it is, kept short.
bool looksLikeVersion(const QString& text)
{
    if (text.isEmpty() || text.size() > kMaxVersionLength)
        return false;
    for (const QChar c : text) {
        const bool plain = (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                           || (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                           || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                           || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('_');
        if (!plain)
            return false;
    }
    return true;
}

} // namespace

QString windowsVersionTag(int windowsVersion)
{
    return QStringLiteral("00_") + QString::number(windowsVersion, 16).toUpper();
}

QString windowsVersionTag()
{
    return windowsVersionTag(Platform::windowsVersion());
}

QString fetchBuildInfo(const QString& serverBase)
{
    QMRequest::Downloader downloader;
    downloader.setSizeLimit(kRecordLimitBytes);
    const QString path = QStringLiteral("/apps/buildsinfo/") + lowerAppName() + QStringLiteral("_win");
    // Bound to the local downloader: once it is gone, a pending timer reaches nothing.
    QTimer::singleShot(g_fetchTimeoutMs, &downloader, SLOT(slotAbort()));
    return textUpToZero(downloader.download(serverBase + path));
}

QString fetchBuildInfoAnyServer()
{
    const QString answer = fetchBuildInfo(Platform::webHost(Platform::WebHost::BuildsPrimary));
    if (!answer.isEmpty())
        return answer;
    return fetchBuildInfo(Platform::webHost(Platform::WebHost::BuildsFallback));
}

namespace {

struct Verdict
{
    bool hasVersion = false;  // a "build" field held a version
    bool newer = false;
};

// Reads the record; sets newVersionText to the last version it holds.
Verdict judge(const QString& answer, const QDate& buildDate, const QString& systemTag)
{
    Verdict verdict;
    if (!answer.contains(QLatin1String("build:")))
        return verdict;

    QString cleaned = answer;
    cleaned.remove(QLatin1Char('\n'));
    cleaned.remove(QLatin1Char('\t'));
    cleaned.remove(QLatin1Char('\r'));
    cleaned.remove(QLatin1Char(' '));

    QDate releaseDate;
    bool suitsSystem = false;
    const QStringList fields = cleaned.split(QLatin1Char(';'));
    for (const QString& field : fields) {
        const QStringList pieces = field.split(QLatin1Char(':'));
        if (pieces.size() < 2)
            continue;
        qDebug() << pieces;
        const QString& key = pieces.first();
        const QString& value = pieces.last();
        if (key == QLatin1String("build")) {
            if (looksLikeVersion(value)) {
                newVersionText = value;
                verdict.hasVersion = true;
            }
        } else if (key == QLatin1String("date")) {
            releaseDate = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
        } else if (key == QLatin1String("windows") && !suitsSystem) {
            suitsSystem = (value.contains(QLatin1Char('_')) && !(systemTag < value))
                          || value == QLatin1String("all");
        }
    }
    verdict.newer = verdict.hasVersion && releaseDate.isValid() && buildDate < releaseDate && suitsSystem;
    return verdict;
}

} // namespace

bool isNewerBuild(const QString& answer, const QDate& buildDate, const QString& systemTag)
{
    return judge(answer, buildDate, systemTag).newer;
}

bool isNewerBuildAvailable()
{
    const QString answer = fetchBuildInfoAnyServer();
    const Verdict verdict = judge(answer, QMWidgets::App::buildDate(), windowsVersionTag());
    // No answer, or one without a version, tells nothing about updates.
    if (answer.isEmpty())
        g_lastOutcome = CheckOutcome::NoAnswer;
    else if (!verdict.hasVersion)
        g_lastOutcome = CheckOutcome::NoVersionRecord;
    else
        g_lastOutcome = CheckOutcome::Record;
    return verdict.newer;
}

CheckOutcome lastCheckOutcome()
{
    return g_lastOutcome;
}

bool lastCheckFailed()
{
    return g_lastOutcome != CheckOutcome::Record;
}

void showUpdateResult(bool newer)
{
    initAppUpdateResources();
    AppUpdateDialog dialog;
    QString picture;
    if (newer) {
        dialog.setText(AppUpdateDialog::tr("<CENTER><H2>The newer version ")
                       + newVersionText.toHtmlEscaped()
                       + AppUpdateDialog::tr(" of ") + QCoreApplication::applicationName()
                       + AppUpdateDialog::tr(" is available.<br>Get the newest version?</H2></CENTER>"));
        picture = QStringLiteral(":/update_available.png");
    } else if (g_lastOutcome == CheckOutcome::NoAnswer) {
        dialog.setText(AppUpdateDialog::tr("<CENTER><H2>The check for updates failed.<br>"
                                           "The update server could not be reached; please try again later."
                                           "<br>Go to the app web page anyway?</H2></CENTER>"));
        picture = QStringLiteral(":/update_not_available.png");
    } else if (g_lastOutcome == CheckOutcome::NoVersionRecord) {
        dialog.setText(AppUpdateDialog::tr("<CENTER><H2>The check for updates failed.<br>"
                                           "The update server answered without a version record;<br>"
                                           "please try again later."
                                           "<br>Go to the app web page anyway?</H2></CENTER>"));
        picture = QStringLiteral(":/update_not_available.png");
    } else {
        dialog.setText(AppUpdateDialog::tr("<CENTER><H2>You are using the latest version available."
                                           "<br>Go to the app web page anyway?</H2></CENTER>"));
        picture = QStringLiteral(":/update_not_available.png");
    }
    dialog.setPixmap(QPixmap(picture));
    dialog.exec();
}

void checkOnStart(const QDate& today)
{
    const QString format = QMWidgets::App::dateFormat();
    const QString stored = lastCheckDate();
    const QDate last = QDate::fromString(stored, format);
    if (stored.isEmpty() || !last.isValid()) {
        storeLastCheckDate(today.toString(format));
        return;
    }
    // Nothing is stored when no newer build is found, so every start checks
    // again until one is reported.
    if (last.daysTo(today) > 5 && isNewerBuildAvailable()) {
        showUpdateResult(true);
        storeLastCheckDate(today.toString(format));
    }
}

void storeLastCheckDate(const QString& date)
{
    const QByteArray hidden = scrambled(date.toUtf8()).toBase64();
    QMWidgets::App::instance()->setSettingsValue(QLatin1String(kLastCheckKey), QString::fromLatin1(hidden));
}

QString lastCheckDate()
{
    const QString hidden = QMWidgets::App::instance()->settingsValue(QLatin1String(kLastCheckKey)).toString();
    if (hidden.isEmpty())
        return QString();
    return QString::fromUtf8(scrambled(QByteArray::fromBase64(hidden.toLatin1())));
}

QString updatePageUrl()
{
    QString base = Platform::webHost(Platform::WebHost::BuildsPrimary);
    // A base stored without a scheme would give a relative URL that opens nothing.
    if (!base.contains(QLatin1String("://")))
        base.prepend(QLatin1String("http://"));
    return base + QStringLiteral("/apps/updatepage.php?appname=") + lowerAppName();
}

int fetchTimeout()
{
    return g_fetchTimeoutMs;
}

void setFetchTimeout(int milliseconds)
{
    g_fetchTimeoutMs = milliseconds > 0 ? milliseconds : kDefaultFetchTimeoutMs;
}

} // namespace AppUpdate
