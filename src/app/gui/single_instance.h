#pragma once
// One running instance per user: a lock file held for the life of the process, and a local
// socket on which the running instance listens once its main window is shown. Both live in
// the per-user runtime folder. A later start that finds the socket listening knows a window
// exists without waiting for an answer (the running instance may be busy for seconds): it
// leaves its request to bring the window forward and ends.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

namespace pw {

// "Purseward-088FA840-B10D-11D3-BC36-2009_10_04".
inline constexpr const char kInstanceMutexName[] = "Purseward-088FA840-B10D-11D3-BC36-2009_10_04";

// The per-user name of the lock and the socket: the mutex text, "-" and the user id.
QString InstanceName();

// The request a later start leaves with the running instance.
inline constexpr const char kRequestActivate[] = "activate";

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the lock and socket name (InstanceName() in the program, a test's own in tests).
    // runtimeDir: where the lock and the socket live (default: the per-user runtime folder).
    explicit SingleInstance(QString name, QString runtimeDir = QString());
    ~SingleInstance() override;

    // Takes the lock; true when no other instance holds it.
    bool Acquire();

    // The instance holding the lock, once its window is shown: later starts find it from now
    // on; activate runs (on this thread, when it is free) for each of their requests.
    bool Listen(std::function<void()> activate);

    // A later start: true when the running instance has a window (its socket takes the
    // connection); the request to bring the window forward is then left with it. No answer
    // is awaited. False when no window exists yet (nobody listens): this start goes on.
    bool AskRunningToActivate(int connectTimeoutMs = 2000) const;

    bool IsPrimary() const { return lock_ != nullptr; }
    QString LockPath() const { return dir_ + QLatin1Char('/') + name_ + ".lock"; }
    QString SocketPath() const { return dir_ + QLatin1Char('/') + name_; }

private:
    void OnConnection();
    void Serve(QLocalSocket* socket);

    QString name_;
    QString dir_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<void()> activate_;
};

}  // namespace pw
