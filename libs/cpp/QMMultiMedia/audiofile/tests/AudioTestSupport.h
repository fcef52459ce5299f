#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>

// Fixtures of the audio-file tests: capture of the debug and error lines the
// library writes, file bytes, little-endian fields, and a byte builder for
// RIFF-style headers.
namespace AudioTest {

// Collects the debug lines written while it lives, whatever the logging rules
// of the environment say.
class CapturedDebug
{
public:
    CapturedDebug();
    ~CapturedDebug();
    QStringList lines() const;
};

// Collects what is written to the standard error stream while it lives.
class CapturedStderr
{
public:
    CapturedStderr();
    ~CapturedStderr();
    // Ends the capture (if not ended yet) and answers the text.
    QString text();

private:
    int m_nSaved = -1;
    QString m_strPath;
    QString m_strText;
};

// Runs the function in a child process; true when it aborted. The child's
// error output goes to *pOutput.
bool aborts(const std::function<void()>& function, QString* pOutput);

QByteArray fileBytes(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
quint32 le32(const QByteArray& bytes, int offset);
quint16 le16(const QByteArray& bytes, int offset);

// Builds bytes field by field: b.tag("RIFF").le32(36).tag("WAVE")...
class Bytes
{
public:
    Bytes& tag(const char* fourChars);
    Bytes& le16(quint32 value);
    Bytes& le32(quint32 value);
    Bytes& be16(quint32 value);
    Bytes& be32(quint32 value);
    Bytes& raw(const QByteArray& bytes);
    Bytes& zeros(int count);
    // id, the body's size as stated (the body's real size by default), the
    // body and a pad byte after an odd body.
    Bytes& chunk(const char* id, const QByteArray& body);
    Bytes& chunk(const char* id, quint32 statedSize, const QByteArray& body);
    operator QByteArray() const { return m_bytes; }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

}  // namespace AudioTest
