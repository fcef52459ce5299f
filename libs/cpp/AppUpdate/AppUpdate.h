#pragma once

#include <QDate>
#include <QString>

// The check for newer builds of the running application: a short
// build-information record is fetched from the maker's server (a fallback
// server when the first answer is empty), and AppUpdateDialog offers the
// update page. Everything runs on the GUI thread; a fetch waits in a nested
// event loop, so the interface stays alive.
namespace AppUpdate {

// The last version read from a "build" field; kept across checks.
extern QString newVersionText;

// "00_" followed by the upper-case hexadecimal digits of the Windows version
// number ("00_90" for Windows 7, "00_0" where there is no Windows).
QString windowsVersionTag();
QString windowsVersionTag(int windowsVersion);

// The answer of one server: empty when the fetch failed or timed out, or
// when the answer was not 200 or longer than a record can be (4 KiB).
QString fetchBuildInfo(const QString& serverBase);
// The primary server's answer, or the fallback's when the first is empty.
QString fetchBuildInfoAnyServer();

// Fetches the record and decides whether a newer build for this system exists.
bool isNewerBuildAvailable();
// The decision for one answer, build date and system tag. A "build" value
// counts only when it looks like a version (1 to 32 digits, letters, '.', '-'
// and '_'); only then is it kept in newVersionText. Without one nothing is
// newer.
bool isNewerBuild(const QString& answer, const QDate& buildDate, const QString& systemTag);
// What the last isNewerBuildAvailable() got from the servers.
enum class CheckOutcome {
    Record,           // a build record: it tells whether a newer build exists
    NoAnswer,         // neither server answered (or both answered nothing)
    NoVersionRecord,  // a server answered, but without a version
};
CheckOutcome lastCheckOutcome();
// True when the last isNewerBuildAvailable() got no build record, so it could
// not tell whether a newer build exists.
bool lastCheckFailed();

// Shows AppUpdateDialog modally: the newer build, or that this is the latest
// version, or, when the check asked for failed, what went wrong (no answer,
// or an answer without a version).
void showUpdateResult(bool newer);

// The check made on start: at most once every five days since the last
// notification, and it shows the dialog only when a newer build exists.
void checkOnStart(const QDate& today = QDate::currentDate());

void storeLastCheckDate(const QString& date);
QString lastCheckDate();

// The update page: the primary server base (given "http://" when it has no
// scheme) + "/apps/updatepage.php?appname=" + the lower-case application name.
QString updatePageUrl();

// How long one server may take to answer; 7000 ms unless a test shortens it.
int fetchTimeout();
void setFetchTimeout(int milliseconds);

} // namespace AppUpdate
