#ifndef QMMULTIMEDIA_AFTRANSCODER_H
#define QMMULTIMEDIA_AFTRANSCODER_H

#include <QObject>
#include <QString>
#include <QStringList>

namespace QMMultiMedia {

// Describes the MPEG-4 audio file type of Apple's Core Audio: its code,
// name, extensions and data formats. It encodes nothing on this platform.
class AFTransCoder : public QObject
{
public:
    explicit AFTransCoder(QObject *parent = nullptr);

    void setQuality(const int &value);
    void setBitRate(const int &value);

    QString fileTypeCode() const;
    QString fileTypeName() const;
    QStringList extensions() const;
    // Four-character codes; "aac " keeps its trailing blank.
    QStringList dataFormats() const;

    // Writes "!!!END" to the debug stream and nothing else.
    void encode();

protected:
    QString m_strFile;
    int m_nQuality = 127;
    int m_nBitRate = 128000;
};

} // namespace QMMultiMedia

#endif
