#include "MidiFile.h"

#include <QFile>

#include <cstring>

namespace QMMultiMedia {

namespace {

const char *const kPitchNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};

const char *const kPrograms[128] = {
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Acoustic Grand Piano"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Bright Acoustic Piano"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Electric Grand Piano"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Honky-tonk Piano"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Electric Piano 1"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Electric Piano 2"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Harpsichord"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Clavinet"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Celesta"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Glockenspiel"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Music Box"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Vibraphone"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Marimba"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Xylophone"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Tubular Bells"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Dulcimer"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Drawbar Organ"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Percussive Organ"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Rock Organ"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Church Organ"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Reed Organ"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Accordion"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Harmonica"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Tango Accordion"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Acoustic Guitar (nylon)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Acoustic Guitar (steel)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Electric Guitar (jazz)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Electric Guitar (clean)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Electric Guitar (mute)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Overdriven Guitar"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Distortion Guitar"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Guitar Harmonics"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Acoustic Bass"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Electric Bass (finger)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Electric Bass (pick)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Fretless Bass"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Slap Bass 1"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Slap Bass 2"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Synth Bass 1"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Synth Bass 2"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Violin"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Viola"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Cello"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Contrabass"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Tremolo Strings"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pizzicato Strings"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Orchestral Harp"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Timpani"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "String Ensemble 1"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "String Ensemble 2"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "SynthStrings 1"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "SynthStrings 2"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Choir Aahs"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Voice Oohs"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Synth Voice"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Orchestra Hit"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Trumpet"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Trombone"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Tuba"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Muted Trumpet"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "French Horn"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Brass Section"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "SynthBrass 1"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "SynthBrass 2"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Soprano Sax"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Alto Sax"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Tenor Sax"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Baritone Sax"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Oboe"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "English Horn"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Bassoon"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Clarinet"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Piccolo"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Flute"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Recorder"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pan Flute"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Blown Bottle"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Shakuhachi"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Whistle"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Ocarina"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Lead 1 (square)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Lead 2 (sawtooth)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Lead 3 (calliope)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Lead 4 (chiff)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Lead 5 (charang)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Lead 6 (voice)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Lead 7 (fifths)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Lead 8 (bass+lead)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pad 1 (new age)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pad 2 (warm)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pad 3 (polysynth)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pad 4 (choir)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pad 5 (bowed)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pad 6 (metallic)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pad 7 (halo)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Pad 8 (sweep)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "FX 1 (rain)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "FX 2 (soundtrack)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "FX 3 (crystal)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "FX 4 (atmosphere)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "FX 5 (brightness)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "FX 6 (goblins)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "FX 7 (echoes)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "FX 8 (sci-fi)"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Sitar"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Banjo"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Shamisen"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Koto"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Kalimba"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Bag pipe"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Fiddle"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Shanai"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Tinkle Bell"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Agogo"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Steel Drums"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Woodblock"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Taiko Drum"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Melodic Tom"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Synth Drum"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Reverse Cymbal"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Guitar Fret Noise"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Breath Noise"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Seashore"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Bird Tweet"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Telephone Ring"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Helicopter"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Applause"),
    QT_TRANSLATE_NOOP("QMMultiMedia::MidiFile", "Gunshot")};

constexpr quint32 kMaxVarLen = 0x0FFFFFFF;
constexpr int kTicksPerQuarter = 96;
// One 4/4 bar: four quarter notes.
constexpr quint32 kChordTicks = 4 * kTicksPerQuarter;
constexpr int kVelocity = 80;
constexpr quint32 kMaxTempo = 0xFFFFFF;

} // namespace

MidiFile::MidiFile(QObject *parent)
    : QObject(parent)
{
    for (int n = 0; n < 128; ++n)
        m_slNoteNames.append(QLatin1String(kPitchNames[n % 12]) + QString::number(n / 12 - 1));
    m_slInstruments.append(QStringLiteral("None"));
    for (const char *program : kPrograms)
        m_slInstruments.append(tr(program));
}

MidiFile::~MidiFile()
{
    close();
}

bool MidiFile::putBytes(const unsigned char *bytes, size_t count)
{
    if (count > 0 && std::fwrite(bytes, 1, count, m_pFile) != count)
        m_bWriteFailed = true;
    return !m_bWriteFailed;
}

bool MidiFile::putVarLen(quint32 value)
{
    unsigned char bytes[4];
    return putBytes(bytes, size_t(encodeVarLen(value, bytes)));
}

int MidiFile::open(const QString &path)
{
    close();
    m_pFile = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!m_pFile)
        return 1;
    m_bWriteFailed = false;
    static const unsigned char header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, kTicksPerQuarter};
    putBytes(header, sizeof header);
    return 0;
}

void MidiFile::close()
{
    if (!m_pFile)
        return;
    if (std::fclose(m_pFile) != 0)
        m_bWriteFailed = true;
    m_pFile = nullptr;
}

int MidiFile::beginTrack()
{
    if (!m_pFile)
        return 1;
    m_nTrackStart = qint32(std::ftell(m_pFile));
    char length[5] = {0, 0, 0, 0, 0};
    reverseString(length);
    putBytes(reinterpret_cast<const unsigned char *>("MTrk"), 4);
    putBytes(reinterpret_cast<const unsigned char *>(length), 4);
    return 0;
}

int MidiFile::endTrack()
{
    if (!m_pFile)
        return 1;
    writeMetaEvent(0x2F, 0, nullptr);
    const long end = std::ftell(m_pFile);
    const quint32 length = quint32(end - m_nTrackStart - 8);
    const unsigned char bytes[4] = {uchar(length >> 24), uchar(length >> 16), uchar(length >> 8), uchar(length)};
    if (end < 0 || std::fseek(m_pFile, m_nTrackStart + 4, SEEK_SET) != 0)
        m_bWriteFailed = true;
    else
        putBytes(bytes, 4);
    if (std::fseek(m_pFile, 0, SEEK_END) != 0)
        m_bWriteFailed = true;
    return 0;
}

int MidiFile::writeEvent(quint32 delta, int status, int data1, int data2)
{
    if (!m_pFile)
        return 1;
    putVarLen(delta);
    const unsigned char bytes[3] = {uchar(status), uchar(data1), uchar(data2)};
    putBytes(bytes, 3);
    return 0;
}

int MidiFile::writeMetaEvent(int type, quint32 length, const unsigned char *data)
{
    if (!m_pFile)
        return 1;
    const unsigned char start[3] = {0x00, 0xFF, uchar(type)};
    putBytes(start, 3);
    putVarLen(length);
    if (data)
        putBytes(data, length);
    return 0;
}

int MidiFile::writeTimeSignature(int numerator, int denominator)
{
    int power = 2;
    for (int p = 0; p <= 7; ++p) {
        if (denominator == (1 << p))
            power = p;
    }
    // 24 MIDI clocks per metronome click, 8 thirty-second notes per quarter.
    const unsigned char data[4] = {uchar(numerator), uchar(power), 24, 8};
    return writeMetaEvent(0x58, 4, data);
}

int MidiFile::writeTempo(int beatsPerMinute)
{
    if (!m_pFile)
        return 1;
    if (beatsPerMinute <= 0 || quint32(60000000 / beatsPerMinute) > kMaxTempo)
        return 2;
    const quint32 perQuarter = quint32(60000000 / beatsPerMinute);
    const unsigned char data[3] = {uchar(perQuarter >> 16), uchar(perQuarter >> 8), uchar(perQuarter)};
    return writeMetaEvent(0x51, 3, data);
}

int MidiFile::writeProgramChange(int channel, int program)
{
    if (!m_pFile)
        return 1;
    const unsigned char bytes[3] = {0x00, uchar(0xC0 | (channel & 0x0F)), uchar(program & 0x7F)};
    putBytes(bytes, 3);
    return 0;
}

int MidiFile::noteNumber(const QString &name) const
{
    return m_slNoteNames.indexOf(name);
}

QStringList MidiFile::noteNames() const
{
    return m_slNoteNames;
}

QStringList MidiFile::instrumentNames() const
{
    return m_slInstruments;
}

int MidiFile::encodeVarLen(quint32 value, unsigned char *out)
{
    if (value > kMaxVarLen)
        return 0;
    int count = 1;
    while (count < 4 && (value >> (7 * count)) != 0)
        ++count;
    for (int i = 0; i < count; ++i) {
        const int shift = 7 * (count - 1 - i);
        out[i] = uchar((value >> shift) & 0x7F);
        if (i < count - 1)
            out[i] |= 0x80;
    }
    return count;
}

void MidiFile::reverseString(char *text)
{
    if (!text)
        return;
    size_t i = 0;
    size_t j = std::strlen(text);
    while (j > i + 1) {
        --j;
        const char c = text[i];
        text[i] = text[j];
        text[j] = c;
        ++i;
    }
}

bool MidiFile::write(const QStringList &notes, const QString &path, int instrument)
{
    if (instrument < 0 || instrument >= m_slInstruments.size())
        return false;
    if (open(path) != 0)
        return false;

    beginTrack();
    writeTimeSignature(4, 4);
    writeTempo(120);
    endTrack();

    beginTrack();
    // The name's length is its byte count: a translated name may need more
    // bytes than characters.
    const QByteArray name = m_slInstruments.at(instrument).toLocal8Bit();
    writeMetaEvent(0x04, quint32(name.size()), reinterpret_cast<const unsigned char *>(name.constData()));
    // Entry n of the table is General MIDI program n - 1; "None" leaves the
    // program alone.
    if (instrument > 0)
        writeProgramChange(0, instrument - 1);

    QList<int> chord;
    for (const QString &note : notes) {
        const int number = note.isEmpty() ? -1 : noteNumber(note);
        if (number >= 0)
            chord.append(number);
    }
    for (int number : qAsConst(chord))
        writeEvent(0, 0x90, number, kVelocity);
    bool first = true;
    for (int number : qAsConst(chord)) {
        writeEvent(first ? kChordTicks : 0, 0x80, number, 0);
        first = false;
    }
    endTrack();
    close();
    return !m_bWriteFailed;
}

bool MidiFile::writeTestFile()
{
    MidiFile file;
    if (file.open(QStringLiteral("testMelodie.mid")) != 0)
        return false;
    file.beginTrack();
    file.writeTimeSignature(4, 4);
    file.writeTempo(120);
    file.endTrack();
    file.beginTrack();
    file.endTrack();
    file.close();
    return !file.m_bWriteFailed;
}

} // namespace QMMultiMedia
