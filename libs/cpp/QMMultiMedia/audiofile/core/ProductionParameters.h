#pragma once

#include <QString>

// The defaults of the current production, one record per process: the video
// frame rate that timecode falls back to when a file carries none, a sample
// rate, a sample size and a project name. Not locked: set it up before
// readers and writers run on other threads.
namespace QMMultiMedia {

class ProductionParameters
{
public:
    // Made on the first call with 30 fps, 48000 Hz, 24 bits and no name, and
    // never destroyed.
    static ProductionParameters& instance();

    float fps() const { return m_fFps; }
    void setFps(float fps) { m_fFps = fps; }
    int sampleRate() const { return m_nSampleRate; }
    void setSampleRate(int rate) { m_nSampleRate = rate; }
    int bitsPerSample() const { return m_nBitsPerSample; }
    void setBitsPerSample(int bits) { m_nBitsPerSample = bits; }
    QString projectName() const { return m_strProjectName; }
    void setProjectName(const QString& name) { m_strProjectName = name; }

    void dumpInfo() const;

private:
    ProductionParameters() = default;
    ProductionParameters(const ProductionParameters&) = delete;
    ProductionParameters& operator=(const ProductionParameters&) = delete;

    float m_fFps = 30.0f;
    qint32 m_nSampleRate = 48000;
    qint32 m_nBitsPerSample = 24;
    QString m_strProjectName;
};

float productionFps();
int productionSampleRate();
int productionBitsPerSample();
QString productionProjectName();

// The frame rate every timecode text is made at: the given rate (a file's or
// a record's) when it is at least 1, otherwise the production's. Broadcast
// records without a rate hold -1, which no timecode can be counted in.
float effectiveFps(float fps);

}  // namespace QMMultiMedia
