#pragma once

#include <QByteArray>
#include <QString>

namespace QMTest {

// Writes the bytes to the file, replacing what it held; false when the file
// cannot be opened or not all bytes are written.
bool writeFile(const QString& strPath, const QByteArray& bytes);

// The whole content of the file; empty when it cannot be opened.
QByteArray readFile(const QString& strPath);

}  // namespace QMTest
