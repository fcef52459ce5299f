#pragma once

#include <QByteArray>
#include <QVector>
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
    // The same with a big-endian size (AIFF).
    Bytes& beChunk(const char* id, const QByteArray& body);
    Bytes& beChunk(const char* id, quint32 statedSize, const QByteArray& body);
    operator QByteArray() const { return m_bytes; }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// "RIFF", the size of what follows, "WAVE" and the chunks.
QByteArray riff(const QByteArray& chunks);
// The 16-byte body of a "fmt " chunk.
QByteArray fmtBody(int tag, int channels, int rate, int bits);
// "FORM", the size of what follows, "AIFF" and the chunks.
QByteArray aiff(const QByteArray& chunks);
// The 18-byte body of a "COMM" chunk; rate10 is the 80-bit extended rate.
QByteArray commBody(int channels, quint32 frames, int bits, const QByteArray& rate10);
// 80-bit extended rates as the AIFF format stores them.
QByteArray rate44100();
QByteArray rate48000();

// Runs a program (30 s at most); its standard output, or a null array when
// it could not run or failed.
QByteArray runTool(const QString& program, const QStringList& arguments);
bool haveTool(const QString& program);
// The samples sox decodes from a file, as signed 32-bit values (a 16-bit
// sample s is s << 16); empty when sox fails.
QVector<qint32> soxSamples(const QString& path);

// Runs the function in a child process whose address space may grow by at
// most extraBytes; true when it returned true. Under AddressSanitizer, whose
// shadow memory rules out such a limit, it runs here and answers its result.
bool staysWithin(qint64 extraBytes, const std::function<bool()>& function);

// Runs the function in a child process, which is killed when it has not
// ended within the given time; true when it returned true in time.
// *pTimedOut (when given) tells whether it was killed.
bool finishesWithin(int milliseconds, const std::function<bool()>& function, bool* pTimedOut = nullptr);

}  // namespace AudioTest
