#ifndef QMMULTIMEDIA_METATAGSBASE_H
#define QMMULTIMEDIA_METATAGSBASE_H

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>
#include <QVector>

namespace QMMultiMedia {

// The descriptive tags of one media file and their ID3v2.4 form (UTF-8 text
// frames with synchsafe sizes, no padding). Writing puts the tag in front of
// a file and replaces it only once the new content is complete: a failure
// leaves the file as it was. Pictures read out of a tag are refused over
// 8192 x 8192 before decoding. Subclasses read and save their own formats.
class MetaTagsBase : public QObject
{
    Q_OBJECT

public:
    explicit MetaTagsBase(QObject *parent = nullptr);

    virtual bool readTags(const QString &path) = 0;
    virtual bool saveTags(const QString &path) = 0;

    QString artist() const;
    QString album() const;
    int tempo() const;
    QString keySignature() const;
    QString timeSignature() const;
    QString trackNumber() const;
    QString discNumber() const;
    QString year() const;
    QString composer() const;
    QString lyricist() const;
    QString genre() const;
    QString title() const;
    QString recordedDate() const;
    QString comments() const;
    QString copyright() const;
    QString sourceEncoder() const;
    QString encodingApplication() const;
    QString nominalBitRate() const;
    QString channelLayout() const;
    QString approximateDurationInSeconds() const;
    QString sourceBitDepth() const;
    QString isrc() const;
    QString subTitle() const;
    QImage picture() const;

    void setEncodingApplication(const QString &text);

    // Empties every tag (the tempo becomes -1, the picture null); the genre
    // lists stay.
    void clear();
    // True when any tag holds something; the input file and the picture
    // format do not count.
    bool hasTags() const;
    void dump() const;

    // The whole tag in a new buffer that the caller releases with delete[];
    // its length goes to *size. Null (and size 0) when the tag would exceed
    // the 256 MB that an ID3v2 size can state.
    char *buildId3Tag(unsigned int *size) const;
    // Puts the tag in front of the file's content (a tag already there stays
    // behind the new one). False when the file cannot be read or replaced;
    // the file is then unchanged.
    bool writeTagToFile(const QString &path) const;

    // Undoes ID3v2 unsynchronisation: drops every zero byte that directly
    // follows a byte 0xFF.
    static QByteArray removeUnsynchronisation(const QByteArray &data);
    // The picture of an APIC frame's data: PNG, JPEG, GIF or BMP, the
    // formats tags carry. Unsynchronised data is cleaned first, falling back
    // to the data as given when the cleaned bytes do not load. Null when
    // nothing loads, or when the picture declares no size or one over 8192
    // pixels either way (checked before decoding).
    static QImage imageFromPictureData(const QByteArray &data, bool unsynchronised);

protected:
    QByteArray id3Tag() const;

    QString m_strInputFile;
    QString m_strArtist;
    QString m_strAlbum;
    QString m_strAlbumArtist;
    int m_nTempo = -1;
    QString m_strKeySignature;
    QString m_strCreator;
    QString m_strTimeSignature;
    QString m_strTrackNumber;
    QString m_strDiscNumber;
    QString m_strYear;
    QString m_strComposer;
    QString m_strLyricist;
    QString m_strGenre;
    QString m_strGrouping;
    QString m_strTitle;
    QString m_strRecordedDate;
    QString m_strComments;
    QString m_strCopyright;
    QString m_strSourceEncoder;
    QString m_strEncodingApplication;
    QString m_strNominalBitRate;
    QString m_strChannelLayout;
    QString m_strApproximateDurationInSeconds;
    QString m_strSourceBitDepth;
    QString m_strISRC;
    QString m_strSubTitle;
    QImage m_imgPicture;
    // Image format name the picture is written in: "JPEG", else PNG.
    QString m_strPicType;
    // ID3v1 genres, codes 0 to 125 in code order.
    QVector<QString> m_vecMusicGenres;
    QVector<QString> m_vecVideoGenres;
};

} // namespace QMMultiMedia

#endif
