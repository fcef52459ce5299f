#pragma once

#include <QImage>
#include <QString>

namespace MGraphX {

// One still frame of an animated-frame container: the picture, its name, the
// image format it is stored in ("PNG" unless set), a duration, a background
// flag and, once stored, the byte range of its encoding in the file.
class XaniFrame
{
public:
    XaniFrame() = default;
    XaniFrame(const XaniFrame&) = default;
    XaniFrame& operator=(const XaniFrame&) = default;

    QImage image() const { return m_image; }
    void setImage(const QImage& image) { m_image = image; }
    QString name() const { return m_strName; }
    void setName(const QString& strName) { m_strName = strName; }
    QString format() const { return m_strFormat; }
    void setFormat(const QString& strFormat) { m_strFormat = strFormat; }
    int duration() const { return m_nDuration; }
    void setDuration(int nDuration) { m_nDuration = nDuration; }
    bool background() const { return m_bBackground; }
    void setBackground(bool bBackground) { m_bBackground = bBackground; }
    qint64 start() const { return m_nStart; }
    void setStart(const qint64& nStart) { m_nStart = nStart; }
    qint64 size() const { return m_nSize; }
    void setSize(const qint64& nSize) { m_nSize = nSize; }

    // The name up to its first '.', or the whole name when it has none.
    QString baseName() const { return m_strName.section(QLatin1Char('.'), 0, 0); }

private:
    QImage m_image;
    QString m_strName;
    QString m_strFormat = QStringLiteral("PNG");
    int m_nDuration = -1;
    bool m_bBackground = false;
    qint64 m_nStart = -1;
    qint64 m_nSize = -1;
};

} // namespace MGraphX
