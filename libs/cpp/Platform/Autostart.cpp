#include "Autostart.h"

#include "SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace Platform {

namespace {

// A value as the desktop entry format writes it: a backslash, a line
// break, a tab and a carriage return by their escapes (a raw line break
// would end the value and start a key of its own), and leading blanks as
// "\s", which readers would drop.
QString escapeValue(const QString& strValue)
{
    QString strEscaped;
    bool bLeading = true;
    for (const QChar ch : strValue) {
        switch (ch.unicode()) {
        case '\\': strEscaped += QStringLiteral("\\\\"); break;
        case '\n': strEscaped += QStringLiteral("\\n"); break;
        case '\t': strEscaped += QStringLiteral("\\t"); break;
        case '\r': strEscaped += QStringLiteral("\\r"); break;
        case ' ': strEscaped += bLeading ? QStringLiteral("\\s") : QStringLiteral(" "); break;
        default: strEscaped += ch; break;
        }
        bLeading = bLeading && ch == QLatin1Char(' ');
    }
    return strEscaped;
}

// Undoes escapeValue(); a backslash before any other character stays.
QString unescapeValue(const QString& strValue)
{
    QString strText;
    for (int i = 0; i < strValue.size(); ++i) {
        const QChar ch = strValue.at(i);
        const QChar next = i + 1 < strValue.size() ? strValue.at(i + 1) : QChar();
        const int nEscape = QStringLiteral("sntr\\").indexOf(next);
        if (ch != QLatin1Char('\\') || nEscape < 0) {
            strText += ch;
            continue;
        }
        strText += QStringLiteral(" \n\t\r\\").at(nEscape);
        ++i;
    }
    return strText;
}

// Undoes the "%%" escape of an Exec argument; other field codes stay.
QString unescapePercent(const QString& strArgument)
{
    QString strPlain;
    for (int i = 0; i < strArgument.size(); ++i) {
        strPlain += strArgument.at(i);
        if (strArgument.at(i) == QLatin1Char('%') && i + 1 < strArgument.size()
            && strArgument.at(i + 1) == QLatin1Char('%'))
            ++i;
    }
    return strPlain;
}

// The arguments of an Exec value whose string escapes are undone: split at
// blanks outside quotes; inside quotes a backslash keeps the quote,
// backtick, dollar or backslash after it; then the "%%" escape is undone.
QStringList execArguments(const QString& strExec)
{
    QStringList arguments;
    QString strArgument;
    bool bInArgument = false;
    bool bQuoted = false;
    for (int i = 0; i < strExec.size(); ++i) {
        const QChar ch = strExec.at(i);
        if (bQuoted) {
            const bool bEscape = ch == QLatin1Char('\\') && i + 1 < strExec.size()
                                 && QStringLiteral("\"`$\\").contains(strExec.at(i + 1));
            if (bEscape)
                strArgument += strExec.at(++i);
            else if (ch == QLatin1Char('"'))
                bQuoted = false;
            else
                strArgument += ch;
        } else if (ch == QLatin1Char(' ')) {
            if (bInArgument)
                arguments << unescapePercent(strArgument);
            strArgument.clear();
            bInArgument = false;
        } else {
            bInArgument = true;
            if (ch == QLatin1Char('"'))
                bQuoted = true;
            else
                strArgument += ch;
        }
    }
    if (bInArgument)
        arguments << unescapePercent(strArgument);
    return arguments;
}

// The value of a key of the [Desktop Entry] group as the file holds it
// (escapes not undone); empty when the file or the key is missing.
QString desktopEntryValue(const QString& strPath, const QString& strKey)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    bool bInGroup = false;
    while (!file.atEnd()) {
        QString strLine = QString::fromUtf8(file.readLine());
        while (strLine.endsWith(QLatin1Char('\n')) || strLine.endsWith(QLatin1Char('\r')))
            strLine.chop(1);
        if (strLine.startsWith(QLatin1Char('['))) {
            bInGroup = strLine == QLatin1String("[Desktop Entry]");
            continue;
        }
        const int nEquals = strLine.indexOf(QLatin1Char('='));
        if (!bInGroup || strLine.startsWith(QLatin1Char('#')) || nEquals < 0
            || strLine.left(nEquals).trimmed() != strKey)
            continue;
        // Blanks after the equals sign do not belong to the value.
        int nStart = nEquals + 1;
        while (nStart < strLine.size() && QStringLiteral(" \t").contains(strLine.at(nStart)))
            ++nStart;
        return strLine.mid(nStart);
    }
    return QString();
}

}  // namespace

QString autostartEntryPath(const QString& strEntryName)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/")
           + strEntryName + QStringLiteral(".desktop");
}

QString quoteExecArgument(const QString& strArgument)
{
    QString strQuoted;
    bool bNeedsQuotes = strArgument.isEmpty();
    for (const QChar ch : strArgument) {
        switch (ch.unicode()) {
        case '"': case '`': case '$': case '\\':
            strQuoted += QLatin1Char('\\');
            strQuoted += ch;
            bNeedsQuotes = true;
            break;
        case '%':
            strQuoted += QStringLiteral("%%");
            break;
        case ' ': case '\t': case '\n': case '\r': case '\'': case '>': case '<': case '~': case '|':
        case '&': case ';': case '*': case '?': case '#': case '(': case ')':
            strQuoted += ch;
            bNeedsQuotes = true;
            break;
        default:
            strQuoted += ch;
            break;
        }
    }
    if (bNeedsQuotes)
        strQuoted = QLatin1Char('"') + strQuoted + QLatin1Char('"');
    // The entry's own escapes come on top, read back before the quoting: a
    // backslash of the quoting is written twice, a line break as "\n".
    return escapeValue(strQuoted);
}

bool writeAutostartEntry(const QString& strEntryName, const QString& strName, const QString& strExecutable)
{
    const QString strPath = autostartEntryPath(strEntryName);
    QDir().mkpath(QFileInfo(strPath).absolutePath());
    MTools::SafeSave file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream << "[Desktop Entry]\n"
           << "Type=Application\n"
           << "Name=" << escapeValue(strName) << "\n"
           << "Exec=" << quoteExecArgument(strExecutable) << "\n"
           << "X-GNOME-Autostart-enabled=true\n";
    stream.flush();
    return stream.status() == QTextStream::Ok && file.commit();
}

bool removeAutostartEntry(const QString& strEntryName)
{
    const QString strPath = autostartEntryPath(strEntryName);
    return !QFile::exists(strPath) || QFile::remove(strPath);
}

QString autostartEntryCommand(const QString& strEntryName)
{
    const QString strExec = desktopEntryValue(autostartEntryPath(strEntryName), QStringLiteral("Exec"));
    return execArguments(unescapeValue(strExec)).value(0);
}

}  // namespace Platform
