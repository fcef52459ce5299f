#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <functional>

// The cached peak envelope of one audio file, in a folder that many files
// share: a private folder of this user's (see MTools::PrivateFolder), so
// that nobody else can plant a link, a pipe or a forged file there. The
// body, with the layout of a "levl" chunk, is <name>.bef; beside it,
// <name>.origin records the source it was made from: the path, and the
// size, modification and status-change times and inode of the file that was
// read. A body answers for its source only while that record is exactly the
// one of the file open now; a body without one (an old cache, or one whose
// making was cut short) is to be rebuilt. Both are read only when they are
// regular files of this user's, opened without following a link or waiting
// on a pipe, and written under a fresh name that then takes their place.
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
    // folder: where the caches lie, a private folder of this user's; empty
    // when there is none, and then there is no cache: nothing is read or
    // written. sourcePath: the audio file's absolute path.
    EnvelopeCache(const QString& folder, const QString& sourcePath);

    bool isValid() const;
    // Both empty without a folder.
    QString bodyPath() const;
    QString recordPath() const;

    // The name that a source's files take in a folder, without an ending:
    // the path with the characters of replaced as '_', cut as above, then
    // '.' and the hash. Caches replace ":./"; temporary files keep the dots.
    static QString fileNameFor(const QString& sourcePath, const QString& replaced = QStringLiteral(":./"));

    // The record of the file open as stream (opened from the source path) as
    // it stands now; empty when the system cannot tell.
    QByteArray sourceRecord(FILE* stream) const;
    // true when the stored record is exactly the given one, which is not
    // empty. Reads no more than that record's size and one byte.
    bool holds(const QByteArray& record) const;
    // The body, open for reading; null when it is missing or not a regular
    // file of this user's. The caller closes it.
    FILE* openBody() const;
    // Writes the body through write (true when it wrote all) under a fresh
    // name, which then takes the body's place; false, and the old body kept,
    // on failure.
    bool storeBody(const std::function<bool(FILE*)>& write) const;
    // Writes the record beside the body in the same way; false, and no
    // record, on failure.
    bool store(const QByteArray& record) const;
    // Removes the record: the body then answers for no file.
    void forget() const;

private:
    bool replace(const QString& target, const std::function<bool(FILE*)>& write) const;

    QString m_strFolder;
    QString m_strSourcePath;
    QString m_strStem;  // the folder and <name>, without an ending
};

}  // namespace QMMultiMedia
