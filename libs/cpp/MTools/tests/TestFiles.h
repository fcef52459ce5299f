#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Whole-file reads and writes for setting up and checking saves, through a
// plain QFile so that the code under test is not used to check itself.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// The file's bytes; empty when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
