#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

// The cached peak envelope of one audio file, in a folder that many files
// share. The body, with the layout of a "levl" chunk, is <name>.bef; beside
// it, <name>.origin records the source it was made from: the path, and the
// size, modification and status-change times and inode of the file that was
// read. A body answers for its source only while that record is exactly the
// one of the file open now; a body without one (an old cache, or one whose
// making was cut short) is to be rebuilt.
//
// <name> is the source's path with ':', '.' and '/' as '_', cut at the front
// so that both file names fit in 255 bytes, then '.' and 16 hex digits of the
// SHA-256 of the path. Paths that read alike get names of their own; were
// two ever to hash alike, the record, which holds the whole path, would still
// keep one from taking the other's body.
namespace QMMultiMedia {

class EnvelopeCache
{
public:
    // folder: where the caches lie; sourcePath: the audio file's absolute
    // path.
    EnvelopeCache(const QString& folder, const QString& sourcePath);

    QString bodyPath() const;
    QString recordPath() const;

    // The record of the file open as stream (opened from the source path) as
    // it stands now; empty when the system cannot tell.
    QByteArray sourceRecord(FILE* stream) const;
    // true when the stored record is exactly the given one, which is not
    // empty. Reads no more than that record's size and one byte.
    bool holds(const QByteArray& record) const;
    // Writes the record beside the body; false, and no record, on failure.
    bool store(const QByteArray& record) const;
    // Removes the record: the body then answers for no file.
    void forget() const;

private:
    QString m_strSourcePath;
    QString m_strStem;  // the folder and <name>, without an ending
};

}  // namespace QMMultiMedia
