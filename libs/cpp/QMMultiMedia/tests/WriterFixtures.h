#ifndef QMMULTIMEDIA_TESTS_WRITERFIXTURES_H
#define QMMULTIMEDIA_TESTS_WRITERFIXTURES_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace WriterFixtures {

// The bytes of a hex fixture: pairs of hex digits separated by white space;
// lines starting with '#' are comments. Empty when the file cannot be read
// or holds anything else.
QByteArray hexFile(const QString &path);

// Hex digits of the bytes, blank-separated, for readable failure messages.
QString hex(const QByteArray &bytes);

// Runs an installed program with arguments (no shell) and returns its
// standard output; *ok tells whether it started and exited with status 0
// within 20 seconds.
QString runTool(const QString &program, const QStringList &arguments, bool *ok);

// The debug lines (qDebug only) that the action writes, in order; nothing
// else is kept, and the previous message handler is back afterwards.
QStringList debugLinesOf(const std::function<void()> &action);

} // namespace WriterFixtures

#endif
