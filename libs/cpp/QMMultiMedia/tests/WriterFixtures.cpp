#include "WriterFixtures.h"

#include <QFile>
#include <QProcess>

#include <cctype>

namespace WriterFixtures {

namespace {

QStringList s_debugLines;

void collectDebug(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg)
        s_debugLines.append(text);
}

} // namespace

QByteArray hexFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QByteArray();
    QByteArray digits;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith('#'))
            digits += line.simplified().replace(' ', "");
    }
    if (digits.size() % 2 != 0)
        return QByteArray();
    for (char c : qAsConst(digits)) {
        if (!isxdigit(uchar(c)))
            return QByteArray();
    }
    return QByteArray::fromHex(digits);
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString runTool(const QString &program, const QStringList &arguments, bool *ok)
{
    QProcess process;
    process.start(program, arguments);
    const bool done = process.waitForFinished(20000);
    if (!done)
        process.kill();
    *ok = done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!*ok)
        qWarning("%s: %s", qPrintable(program), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList debugLinesOf(const std::function<void()> &action)
{
    s_debugLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectDebug);
    action();
    qInstallMessageHandler(previous);
    const QStringList lines = s_debugLines;
    s_debugLines.clear();
    return lines;
}

} // namespace WriterFixtures
