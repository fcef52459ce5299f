#ifndef QMMULTIMEDIA_LAMETRANSCODER_H
#define QMMULTIMEDIA_LAMETRANSCODER_H

#include <QObject>
#include <QString>
#include <QStringList>

namespace QMMultiMedia {

// Hands a fixed test sound to an external MP3 encoder: "test.wav" in the
// application's support folder becomes "test.mp3" beside it. A developer's
// check that the encoder runs; no setting is read. The encoder is started
// directly with its arguments, never through a shell, so no character of a
// path is ever interpreted.
class LameTransCoder : public QObject
{
public:
    explicit LameTransCoder(QObject *parent = nullptr);

    // The encoder program and its arguments; the last argument is the output
    // file.
    virtual QString program() const;
    QStringList arguments() const;

    // Writes "Command:" with the command and "!!!END" to the debug stream and
    // starts the encoder detached; false when it cannot be started.
    bool encode();

private:
    QString m_strFile;
};

} // namespace QMMultiMedia

#endif
