#pragma once

#include <QThread>

class BatchWorker;

// The thread of one batch: an event loop that delivers the worker's queued
// slot calls. It does not own its worker.
class BatchThread : public QThread
{
    Q_OBJECT
public:
    explicit BatchThread(QObject* parent = nullptr);

    void setWorker(BatchWorker* worker) { m_pWorker = worker; }
    BatchWorker* worker() const { return m_pWorker; }

protected:
    void run() override;

private:
    BatchWorker* m_pWorker = nullptr;
};
