#pragma once

#include <QString>
#include <QUrl>

// The bookkeeping record of one audio file: where it is, its comment, and the
// positions and sizes a reader or writer keeps. Which position dataOffset and
// fileSize stand for is up to the reader or writer that fills them.
namespace QMMultiMedia {

class FileInfo
{
public:
    FileInfo();
    virtual ~FileInfo();
    FileInfo(const FileInfo& other) = default;
    FileInfo& operator=(const FileInfo& other) = default;

    QUrl url() const { return m_url; }
    void setUrl(const QUrl& url) { m_url = url; }
    QString& comment() { return m_strComment; }
    const QString& comment() const { return m_strComment; }
    void setComment(const QString& comment) { m_strComment = comment; }
    qint64 dataOffset() const { return m_nDataOffset; }
    void setDataOffset(qint64 offset) { m_nDataOffset = offset; }
    qint64 numberOfSamples() const { return m_nNumberOfSamples; }
    void setNumberOfSamples(qint64 count) { m_nNumberOfSamples = count; }
    qint64 fileSize() const { return m_nFileSize; }
    void setFileSize(qint64 size) { m_nFileSize = size; }
    qint64 dataSize() const { return m_nDataSize; }
    void setDataSize(qint64 size) { m_nDataSize = size; }
    qint64 sizeOffset() const { return m_nSizeOffset; }
    void setSizeOffset(qint64 offset) { m_nSizeOffset = offset; }
    qint64 compression() const { return m_nCompression; }
    void setCompression(qint64 compression) { m_nCompression = compression; }

    void dumpInfo() const;

private:
    QUrl m_url;
    QString m_strComment;
    qint64 m_nDataOffset = 0;
    qint64 m_nNumberOfSamples = 0;
    qint64 m_nFileSize = 0;
    qint64 m_nDataSize = 0;
    qint64 m_nSizeOffset = 0;
    qint64 m_nCompression = 0;
};

}  // namespace QMMultiMedia
