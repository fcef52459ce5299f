#include "BatchThread.h"

BatchThread::BatchThread(QObject* parent)
    : QThread(parent)
{
}

void BatchThread::run()
{
    exec();
}
