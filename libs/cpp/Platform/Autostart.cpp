#include "Autostart.h"

#include "SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace Platform {

QString autostartEntryPath(const QString& strEntryName)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/")
           + strEntryName + QStringLiteral(".desktop");
}

QString quoteExecArgument(const QString& strArgument)
{
    QString strEscaped;
    bool bNeedsQuotes = strArgument.isEmpty();
    for (const QChar ch : strArgument) {
        switch (ch.unicode()) {
        case '"': case '`': case '$': case '\\':
            strEscaped += QLatin1Char('\\');
            strEscaped += ch;
            bNeedsQuotes = true;
            break;
        case '%':
            strEscaped += QStringLiteral("%%");
            break;
        case ' ': case '\t': case '\n': case '\r': case '\'': case '>': case '<': case '~': case '|':
        case '&': case ';': case '*': case '?': case '#': case '(': case ')':
            strEscaped += ch;
            bNeedsQuotes = true;
            break;
        default:
            strEscaped += ch;
            break;
        }
    }
    if (!bNeedsQuotes)
        return strEscaped;
    // The desktop entry format reads the line through its own escapes first,
    // so each backslash of the quoting doubles once more.
    strEscaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    // A line break cannot stand in the entry's value: it would end the line
    // and start a new key. The format's own escapes stand for it.
    strEscaped.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    strEscaped.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return QLatin1Char('"') + strEscaped + QLatin1Char('"');
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
           << "Name=" << strName << "\n"
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
    QFile file(autostartEntryPath(strEntryName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    while (!file.atEnd()) {
        const QString strLine = QString::fromUtf8(file.readLine()).trimmed();
        if (strLine.startsWith(QLatin1String("Exec=")))
            return strLine.mid(5);
    }
    return QString();
}

}  // namespace Platform
