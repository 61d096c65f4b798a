#include "InstanceChannel.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QCryptographicHash>

#include "core/platform/Folders.h"

namespace pemo {

namespace {
constexpr int kTimeoutMs = 2000;
}

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

QString InstanceChannel::serverName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = QStringLiteral("user");
    // One channel per user and program folder: separate installations run separately.
    const QByteArray folder = QCryptographicHash::hash(programFolder().toUtf8(),
                                                       QCryptographicHash::Sha1).toHex().left(12);
    return QStringLiteral("pemo-open-%1-%2").arg(user, QString::fromLatin1(folder));
}

bool InstanceChannel::handOver(const QString& path) {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(kTimeoutMs)) return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kTimeoutMs)) return false;
    // The running program answers once it has taken the path.
    return socket.waitForReadyRead(kTimeoutMs) && socket.readAll().startsWith("ok");
}

bool InstanceChannel::listen() {
    server_ = new QLocalServer(this);
    if (!server_->listen(serverName())) {
        // The name stays with a program that still answers on it; only a server left
        // behind by a crashed instance is cleared away.
        QLocalSocket probe;
        probe.connectToServer(serverName());
        if (probe.waitForConnected(kTimeoutMs)) return false;
        QLocalServer::removeServer(serverName());
        if (!server_->listen(serverName())) return false;
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) return;
                const QString path = QString::fromUtf8(socket->readLine()).trimmed();
                socket->write("ok\n");
                socket->flush();
                socket->disconnectFromServer();
                // Opening may show a modal box, whose event loop deletes this connection
                // once the second start has gone; the request waits until the handler
                // has returned.
                if (!path.isEmpty()) {
                    QMetaObject::invokeMethod(
                        this, [this, path] { emit openRequested(path); }, Qt::QueuedConnection);
                }
            });
        }
    });
    return true;
}

}  // namespace pemo
