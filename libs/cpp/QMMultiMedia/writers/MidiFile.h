#ifndef QMMULTIMEDIA_MIDIFILE_H
#define QMMULTIMEDIA_MIDIFILE_H

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace QMMultiMedia {

// Writes small Standard MIDI Files (format 1, 96 ticks per quarter note): a
// tempo track (4/4 at 120 beats per minute) and one bar of a chord on a
// General MIDI instrument, with the building blocks public. Instrument 0 is
// "None", 1 to 128 the programs 0 to 127; notes run from "C-1" (0) to "G9".
// Without an open file every writing call does nothing and answers 1.
class MidiFile : public QObject
{
    Q_OBJECT

public:
    explicit MidiFile(QObject *parent = nullptr);
    ~MidiFile() override;

    // The whole file. Names that are empty or not note names are skipped.
    // "None" plays on the synthesizer's current program. False when the
    // instrument lies outside the table (nothing is written then), when the
    // file cannot be created or when a write fails.
    bool write(const QStringList &notes, const QString &path, int instrument);

    // Creates or truncates the file and writes the header chunk; 0 on
    // success, 1 when the file cannot be opened.
    int open(const QString &path);
    void close();
    int beginTrack();
    // The end-of-track event, then the track's length patched in after its
    // "MTrk".
    int endTrack();
    // Delta time and three bytes, each byte taken modulo 256.
    int writeEvent(quint32 delta, int status, int data1, int data2);
    int writeMetaEvent(int type, quint32 length, const unsigned char *data);
    // A denominator that is no power of two from 1 to 128 is written as 4.
    int writeTimeSignature(int numerator, int denominator);
    // Refused (2) below 4 beats per minute: slower tempos do not fit the
    // event's three bytes.
    int writeTempo(int beatsPerMinute);
    int writeProgramChange(int channel, int program);

    int noteNumber(const QString &name) const;
    QStringList noteNames() const;
    QStringList instrumentNames() const;

    // Most significant group first, bit 7 set on every byte but the last;
    // out must hold 4 bytes. Values above 268435455 give no bytes (0).
    static int encodeVarLen(quint32 value, unsigned char *out);
    // Reverses a zero-terminated byte string in place.
    static void reverseString(char *text);
    // "testMelodie.mid" in the working folder: the tempo track and an empty
    // second track.
    static bool writeTestFile();

private:
    bool putBytes(const unsigned char *bytes, size_t count);
    bool putVarLen(quint32 value);

    std::FILE *m_pFile = nullptr;
    qint32 m_nTrackStart = 0;
    QStringList m_slNoteNames;
    QStringList m_slInstruments;
    // Set by a write that did not go through; cleared by open().
    bool m_bWriteFailed = false;
};

} // namespace QMMultiMedia

#endif
