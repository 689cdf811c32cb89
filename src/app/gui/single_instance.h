#pragma once
// One running instance per user: a lock file held for the life of the process and a local
// socket through which a later start asks the running one to bring its window forward.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

namespace pw {

// "Purseward-088FA840-B10D-11D3-BC36-2009_10_04".
inline constexpr const char kInstanceMutexName[] = "Purseward-088FA840-B10D-11D3-BC36-2009_10_04";

// The per-user name of the lock and the socket: the mutex text, "-" and the user id.
QString InstanceName();

// What the running instance answers.
inline constexpr const char kAnswerShown[] = "shown";
inline constexpr const char kAnswerNoWindow[] = "no window";
inline constexpr const char kRequestActivate[] = "activate";

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // name: the lock and socket name (InstanceName() in the program, a test's own in tests).
    // lockDir: where the lock file lives (default: the runtime or temporary directory).
    explicit SingleInstance(QString name, QString lockDir = QString());
    ~SingleInstance() override;

    // Takes the lock; true when no other instance holds it. The first instance then listens
    // for later starts; activate is called for each and says whether a window was brought
    // forward (false: none yet).
    bool Acquire(std::function<bool()> activate);

    // A later start: asks the running instance to show its window. True only when it answered
    // that it did, within timeoutMs; false when it has no window, cannot be reached or keeps
    // silent.
    bool AskRunningToActivate(int timeoutMs = 1000) const;

    bool IsPrimary() const { return primary_; }
    QString LockPath() const;  // known once Acquire ran

private:
    void OnConnection();

    QString name_;
    QString lockDir_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    std::function<bool()> activate_;
    bool primary_ = false;
};

}  // namespace pw
