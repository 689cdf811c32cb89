#include "app/gui/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <unistd.h>

namespace pw {
namespace {

QString RuntimeDir() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir;
}

}  // namespace

QString InstanceName() {
    return QStringLiteral("%1-%2").arg(QString::fromLatin1(kInstanceMutexName)).arg(getuid());
}

SingleInstance::SingleInstance(QString name, QString runtimeDir)
    : name_(std::move(name)), dir_(runtimeDir.isEmpty() ? RuntimeDir() : std::move(runtimeDir)) {}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

bool SingleInstance::Acquire() {
    QDir().mkpath(dir_);
    auto lock = std::make_unique<QLockFile>(LockPath());
    // Held for the whole run: only the lock of a process that no longer runs is stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return false;
    lock_ = std::move(lock);
    return true;
}

bool SingleInstance::Listen(std::function<void()> activate) {
    if (!lock_ || server_) return false;
    activate_ = std::move(activate);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left behind by a crashed instance would block the name; the lock says it is
    // ours now.
    QLocalServer::removeServer(SocketPath());
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    return server_->listen(SocketPath());
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        // The later start may be gone already; what it wrote is still there.
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Serve(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        Serve(socket);
    }
}

void SingleInstance::Serve(QLocalSocket* socket) {
    while (socket->canReadLine()) {
        if (socket->readLine().trimmed() == kRequestActivate && activate_) activate_();
    }
    if (socket->bytesAvailable() > 256) socket->abort();  // no request is that long
}

bool SingleInstance::AskRunningToActivate(int connectTimeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(connectTimeoutMs)) return false;
    // The request waits in the socket until the running instance reads it.
    socket.write(QByteArray(kRequestActivate) + '\n');
    socket.waitForBytesWritten(connectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

}  // namespace pw
