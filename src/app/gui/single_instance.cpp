#include "app/gui/single_instance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <unistd.h>

namespace pw {

QString InstanceName() {
    return QStringLiteral("%1-%2").arg(QString::fromLatin1(kInstanceMutexName)).arg(getuid());
}

SingleInstance::SingleInstance(QString name, QString lockDir)
    : name_(std::move(name)), lockDir_(std::move(lockDir)) {}

SingleInstance::~SingleInstance() {
    if (server_) server_->close();
}

QString SingleInstance::LockPath() const { return lockDir_ + QLatin1Char('/') + name_ + ".lock"; }

bool SingleInstance::Acquire(std::function<bool()> activate) {
    if (lockDir_.isEmpty()) {
        lockDir_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (lockDir_.isEmpty()) lockDir_ = QDir::tempPath();
    }
    QDir().mkpath(lockDir_);
    lock_ = std::make_unique<QLockFile>(LockPath());
    // Held for the whole run: only the lock of a process that no longer runs is stale.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    primary_ = true;
    activate_ = std::move(activate);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left behind by a crashed instance would block the name.
    QLocalServer::removeServer(name_);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
    server_->listen(name_);
    return true;
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            if (!socket->canReadLine()) return;
            const QByteArray request = socket->readLine().trimmed();
            QByteArray answer = kAnswerNoWindow;
            if (request == kRequestActivate && activate_ && activate_()) answer = kAnswerShown;
            socket->write(answer + '\n');
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

bool SingleInstance::AskRunningToActivate(int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(QByteArray(kRequestActivate) + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!socket.waitForReadyRead(timeoutMs)) break;
        answer += socket.readAll();
    }
    return answer.trimmed() == kAnswerShown;
}

}  // namespace pw
