#pragma once

#include <QObject>
#include <QSharedMemory>
#include <QString>

class QLocalServer;

namespace QMRequest {

// Lets one instance of a program run per key: the first instance holds a
// shared-memory segment and a local server named by the key; later ones see
// isRunning() and can pass a text to the first with sendMessage(); the
// server only accepts connections of the same user. Leftovers
// of a first instance that crashed (a segment nobody holds, a stale socket
// file) do not block later starts.
class SingleAppCheck : public QObject
{
    Q_OBJECT
public:
    explicit SingleAppCheck(const QString& key, QObject* parent = nullptr);

    bool isRunning() const;
    // Delivers the text to the first instance; false when this instance is
    // the first or the text could not be delivered.
    bool sendMessage(const QString& text);

signals:
    void messageAvailable(QString text);

public slots:
    void slotReceiveMessage();

private:
    bool running = false;
    QString key;
    QSharedMemory sharedMemory;
    QLocalServer* localServer = nullptr;
};

} // namespace QMRequest
