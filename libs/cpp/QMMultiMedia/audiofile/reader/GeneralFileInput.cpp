#include "GeneralFileInput.h"

#include "AiffInput.h"
#include "WaveInput.h"

#include <cstring>

namespace QMMultiMedia {

namespace {

const FileInfo& defaultFileInfo()
{
    static const FileInfo info;
    return info;
}

const Peak kZeroPeak(0.0f, 0.0f);

}  // namespace

GeneralFileInput::GeneralFileInput() = default;

GeneralFileInput::~GeneralFileInput()
{
    m_inner = MTools::Handle<FileInput>();
}

bool GeneralFileInput::open(const char*)
{
    return false;
}

bool GeneralFileInput::openChecked(const char* path, bool skipExtensionCheck)
{
    MTools::Handle<FileInput> wave(new WaveInput);
    bool opened = wave->openChecked(path, skipExtensionCheck);
    if (opened) {
        m_inner = wave;
    } else {
        wave = MTools::Handle<FileInput>();
        MTools::Handle<FileInput> aiff(new AiffInput);
        opened = aiff->openChecked(path, skipExtensionCheck);
        if (opened)
            m_inner = aiff;
    }
    if (!m_inner.isNull()) {
        setSettings(m_inner->settings());
        m_info = *m_inner->fileInfo();
        m_envelope = m_inner->envelope();
        m_ebuInfo = m_inner->ebuInfo();
    }
    return opened;
}

const char* GeneralFileInput::extensions() const
{
    return "";
}

QString GeneralFileInput::fileTypeName() const
{
    static const char* const kNames[] = {"BWF", "WAVE", "AIFF", "UNKNOWN"};
    return QString::fromLatin1(kNames[fileType()]);
}

int GeneralFileInput::fileType() const
{
    if (m_inner.isNull())
        return Unknown;
    const char* name = m_inner->name();
    if (name && std::strcmp(name, "WaveInput") == 0)
        return m_inner->ebuInfo().isNull() ? Wave : Bwf;
    if (name && std::strcmp(name, "AiffInput") == 0)
        return Aiff;
    return Unknown;
}

int GeneralFileInput::bitsPerSample() const
{
    return m_inner.isNull() ? 0 : m_inner->bitsPerSample();
}

int GeneralFileInput::sampleRate() const
{
    return m_inner.isNull() ? 0 : m_inner->sampleRate();
}

int GeneralFileInput::channels() const
{
    return m_inner.isNull() ? 0 : m_inner->channels();
}

void GeneralFileInput::dumpInfo()
{
    if (!m_inner.isNull())
        m_inner->dumpInfo();
}

const char* GeneralFileInput::name() const
{
    return m_inner.isNull() ? nullptr : m_inner->name();
}

int GeneralFileInput::sampleFormat() const
{
    return m_inner.isNull() ? 0 : m_inner->sampleFormat();
}

void GeneralFileInput::buildPeaks()
{
    if (!m_inner.isNull())
        m_inner->buildPeaks();
}

const Peak* GeneralFileInput::peak(const PeakRequest& request)
{
    return m_inner.isNull() ? &kZeroPeak : m_inner->peak(request);
}

int GeneralFileInput::readBytes(char* buffer, int count)
{
    return m_inner.isNull() ? 0 : m_inner->readBytes(buffer, count);
}

int GeneralFileInput::readRaw(MTools::Handle<RawBuffer> buffer)
{
    return m_inner.isNull() ? 0 : m_inner->readRaw(buffer);
}

int GeneralFileInput::readBuffer(MTools::Handle<AudioFloatBuffer> buffer)
{
    return m_inner.isNull() ? 0 : m_inner->readBuffer(buffer);
}

int GeneralFileInput::readBufferAt(MTools::Handle<AudioFloatBuffer> buffer, int startFrame)
{
    return m_inner.isNull() ? 0 : m_inner->readBufferAt(buffer, startFrame);
}

int GeneralFileInput::read(float* data, int count)
{
    return m_inner.isNull() ? 0 : m_inner->read(data, count);
}

int GeneralFileInput::seekBytes(qint64 offset)
{
    return m_inner.isNull() ? 0 : m_inner->seekBytes(offset);
}

qint64 GeneralFileInput::tellBytes()
{
    return m_inner.isNull() ? 0 : m_inner->tellBytes();
}

int GeneralFileInput::flush()
{
    return m_inner.isNull() ? 0 : m_inner->flush();
}

int GeneralFileInput::rewind()
{
    return m_inner.isNull() ? 0 : m_inner->rewind();
}

qint64 GeneralFileInput::filePosition()
{
    return m_inner.isNull() ? 0 : m_inner->filePosition();
}

int GeneralFileInput::seekFrames(int frame, int channels)
{
    return m_inner.isNull() ? 0 : m_inner->seekFrames(frame, channels);
}

int GeneralFileInput::seekFrame(int frame)
{
    return m_inner.isNull() ? 0 : m_inner->seekFrame(frame);
}

int GeneralFileInput::seekAndRead(int frame, float* data, int frames, int channels)
{
    return m_inner.isNull() ? 0 : m_inner->seekAndRead(frame, data, frames, channels);
}

int GeneralFileInput::readFrames(float* data, int frames, int channels)
{
    return m_inner.isNull() ? 0 : m_inner->readFrames(data, frames, channels);
}

bool GeneralFileInput::saveEnvelope(const char* path, int format)
{
    return !m_inner.isNull() && m_inner->saveEnvelope(path, format);
}

bool GeneralFileInput::loadEnvelope(const char* path)
{
    return !m_inner.isNull() && m_inner->loadEnvelope(path);
}

bool GeneralFileInput::saveInfo(const char* path)
{
    return !m_inner.isNull() && m_inner->saveInfo(path);
}

bool GeneralFileInput::loadInfo(const char* path)
{
    return !m_inner.isNull() && m_inner->loadInfo(path);
}

MTools::Handle<EBUInfo> GeneralFileInput::ebuInfo() const
{
    return m_inner.isNull() ? MTools::Handle<EBUInfo>() : m_inner->ebuInfo();
}

MTools::Handle<EBUEnvelope> GeneralFileInput::envelope() const
{
    return m_inner.isNull() ? MTools::Handle<EBUEnvelope>() : m_inner->envelope();
}

const FileInfo* GeneralFileInput::fileInfo() const
{
    return m_inner.isNull() ? &defaultFileInfo() : m_inner->fileInfo();
}

MTools::Handle<PeakVector> GeneralFileInput::peakVector() const
{
    return m_inner.isNull() ? MTools::Handle<PeakVector>() : m_inner->peakVector();
}

FILE* GeneralFileInput::file() const
{
    return m_inner.isNull() ? nullptr : m_inner->file();
}

int GeneralFileInput::close()
{
    return m_inner.isNull() ? 0 : m_inner->close();
}

int GeneralFileInput::ltcStatus(int channel)
{
    return m_inner.isNull() ? -1 : m_inner->ltcStatus(channel);
}

LTCData GeneralFileInput::ltcAt(int audioFrame)
{
    return m_inner.isNull() ? LTCData(-1, QString(), 30.0f) : m_inner->ltcAt(audioFrame);
}

qint64 GeneralFileInput::frameOfTimecode(int hours, int minutes, int seconds, int frames)
{
    return m_inner.isNull() ? -1 : m_inner->frameOfTimecode(hours, minutes, seconds, frames);
}

qint64 GeneralFileInput::frameOfTimecodeText(const QString& text)
{
    return m_inner.isNull() ? -1 : m_inner->frameOfTimecodeText(text);
}

bool GeneralFileInput::hasLtc()
{
    return !m_inner.isNull() && m_inner->hasLtc();
}

int GeneralFileInput::ltcChannel()
{
    return m_inner.isNull() ? -1 : m_inner->ltcChannel();
}

float GeneralFileInput::ltcFps()
{
    return m_inner.isNull() ? 0.0f : m_inner->ltcFps();
}

}  // namespace QMMultiMedia
