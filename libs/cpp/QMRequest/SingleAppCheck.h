#pragma once

#include <QObject>
#include <QSharedMemory>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace QMRequest {

// Lets one instance of a program run per key and user: the first instance
// holds a shared-memory segment and a local server named by the key; later
// ones see isRunning() and can pass a text to the first with sendMessage().
// Leftovers of a first instance that crashed (a segment nobody holds, a
// stale socket file) do not block later starts.
//
// Both live where only the user can reach them: in $XDG_RUNTIME_DIR when it
// is a real 0700 folder of the user's, else in a private folder of the
// user's own under the temporary folder, named with the user id
// ("SingleAppCheck-<uid>", see MTools::PrivateFolder). The segment is keyed
// by a file there, so another user's instance under the same key is never
// taken for this user's. Each side checks that the other end of the socket
// is the same user before it sends or takes a message.
//
// The first instance never waits for a message: it reads each connection as
// its bytes arrive, any number at once. A connection has 2 s from its
// acceptance to send its text and close, and may send no more than 4 MiB;
// past either it is cut off and nothing arrives from it.
//
// When the guard cannot be set up (no such folder, or the first instance
// cannot listen) hasError() is true and errorString() says why: isRunning()
// is then false and no message arrives; the caller decides whether to run
// without the guard.
class SingleAppCheck : public QObject
{
    Q_OBJECT
public:
    explicit SingleAppCheck(const QString& key, QObject* parent = nullptr);

    bool isRunning() const;
    bool hasError() const;
    QString errorString() const;
    // Delivers the text whole (1 byte to 4 MiB of UTF-8) to the first
    // instance; false when this instance is the first or the text could not
    // be delivered. Blocks for at most 3 s.
    bool sendMessage(const QString& text);

signals:
    void messageAvailable(QString text);

public slots:
    void slotReceiveMessage();

private:
    void watchConnection(QLocalSocket* socket);

    bool running = false;
    QString key;
    QSharedMemory sharedMemory;
    QLocalServer* localServer = nullptr;
    QString serverName;  // the socket's full path
    QString errorText;
};

} // namespace QMRequest
