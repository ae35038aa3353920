// The channel between starts of the trainer in one folder: the trainer that
// holds the folder listens on a local socket, a later start connects and asks
// it to come to the front. Loaded by the first start once its window is up,
// and by a later start at once.
#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMetaObject>
#include <QPointer>

namespace {
constexpr char kRequest[] = "activate";
constexpr int kIoMs = 1000;
} // namespace

// Listens on `name` and calls the slot activate() of `receiver` for each
// request. Returns the server, a child of `receiver`, or null when it cannot
// listen.
extern "C" Q_DECL_EXPORT QObject* cxbListenForActivation(const QString& name, QObject* receiver) {
    auto* server = new QLocalServer(receiver);
    // Made with the user's umask, which leaves other users unable to connect.
    if (!server->listen(name)) {
        // A socket left by a trainer that was killed. The caller holds the
        // folder's lock, so no other trainer of the folder listens there.
        QLocalServer::removeServer(name);
        if (!server->listen(name)) {
            qWarning("cannot listen on %s: %s", qPrintable(name), qPrintable(server->errorString()));
            delete server;
            return nullptr;
        }
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [server, receiver] {
        while (QLocalSocket* socket = server->nextPendingConnection()) {
            auto read = [socket, receiver] {
                while (socket->canReadLine())
                    if (socket->readLine().trimmed() == kRequest) QMetaObject::invokeMethod(receiver, "activate");
            };
            QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
            QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket, read] {
                read();
                socket->deleteLater();
            });
        }
    });
    return server;
}

// Asks the trainer listening on `name` to come to the front; true when the
// request was handed over.
extern "C" Q_DECL_EXPORT bool cxbRequestActivation(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kIoMs)) return false;
    socket.write(kRequest);
    socket.write("\n");
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(kIoMs)) {
    }
    const bool sent = socket.bytesToWrite() == 0;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kIoMs);
    return sent;
}
