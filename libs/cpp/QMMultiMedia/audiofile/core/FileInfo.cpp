#include "FileInfo.h"

#include <QDebug>

namespace QMMultiMedia {

FileInfo::FileInfo() = default;

FileInfo::~FileInfo() = default;

void FileInfo::dumpInfo() const
{
    qDebug() << "----- File Info Begin ------";
    qDebug() << "URI Path = " << m_url;
    qDebug() << "Comment = " << m_strComment;
    qDebug() << "Data Offset = " << quint64(m_nDataOffset);
    qDebug() << "Number Of Samples = " << quint64(m_nNumberOfSamples);
    qDebug() << "File Size = " << quint64(m_nFileSize);
    qDebug() << "Data Size = " << quint64(m_nDataSize);
    qDebug() << "Size Offset = " << quint64(m_nSizeOffset);
    qDebug() << "Compression = " << quint64(m_nCompression);
    qDebug() << "----- File Info End ------";
}

}  // namespace QMMultiMedia
