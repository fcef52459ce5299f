#include "ProductionParameters.h"

#include <QDebug>

namespace QMMultiMedia {

ProductionParameters& ProductionParameters::instance()
{
    static ProductionParameters* const pInstance = new ProductionParameters;
    return *pInstance;
}

void ProductionParameters::dumpInfo() const
{
    qDebug() << "---Production Parameters Begin ---";
    qDebug() << "Fps:" << m_fFps;
    qDebug() << "SampleRate:" << m_nSampleRate;
    qDebug() << "BitsPerSample:" << m_nBitsPerSample;
    qDebug() << "ProjectName:" << m_strProjectName;
    qDebug() << "---Production Parameters End ---";
}

float productionFps()
{
    return ProductionParameters::instance().fps();
}

int productionSampleRate()
{
    return ProductionParameters::instance().sampleRate();
}

int productionBitsPerSample()
{
    return ProductionParameters::instance().bitsPerSample();
}

QString productionProjectName()
{
    return ProductionParameters::instance().projectName();
}

float effectiveFps(float fps)
{
    // Written so that a NaN rate falls back too.
    return fps >= 1.0f ? fps : productionFps();
}

}  // namespace QMMultiMedia
