#pragma once
// Waiting for a request on the user-interface thread: the transfer runs on a thread of its
// own while a local event loop keeps the windows painted and answering the desktop. Input to
// the program's windows is held off meanwhile, except for the Cancel button of the progress
// strip (and Escape, which presses it). A close of the main window that comes during the wait
// is carried out once the request has ended.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "accounts/tab_host.h"
#include "net/transfer.h"

class QLabel;
class QPushButton;
class QTimer;

namespace pw {

// The status-line strip of a waiting request: what it waits for, the bytes so far, Cancel.
class RequestProgress : public QWidget {
    Q_OBJECT
public:
    explicit RequestProgress(QWidget* parent = nullptr);
    void SetProgress(const std::string& waitingFor, std::uint64_t received);
    QString Text() const;
    QPushButton* CancelButton() const { return cancel_; }

signals:
    void CancelPressed();

private:
    QLabel* label_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

class RequestWaiter : public QObject {
    Q_OBJECT
public:
    // The strip shows after this long; its byte count is read this often.
    static constexpr int kShowAfterMs = 500;
    static constexpr int kPollMs = 100;

    // window: the main window, whose close waits for the request; progress: its strip.
    RequestWaiter(QWidget& window, RequestProgress& progress);
    ~RequestWaiter() override;

    // Runs work on a thread of its own and returns its result once it has ended, after the
    // actions its thread deferred (messages, traffic text) have run here. On the window's
    // thread only; a call made while another waits runs work here without a wait.
    std::string Run(const RequestTopic& topic, const BackgroundTransfer::Work& work);

    bool Waiting() const { return current_ != nullptr; }
    // Presses Cancel of the waiting request (nothing when none waits).
    void Cancel();
    // Runs fn once the wait has ended (at once when none waits). An action whose key is
    // already held is not added twice.
    void AfterWait(const std::string& key, std::function<void()> fn);

signals:
    void WaitStarted();
    void WaitEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsCancelControl(QObject* object) const;
    void RunAtTopLevel(std::function<void()> fn, int delayMs = 0);

    QPointer<QWidget> window_;
    RequestProgress& progress_;
    BackgroundTransfer* current_ = nullptr;
    std::string waitingFor_;
    std::vector<std::pair<std::string, std::function<void()>>> afterWait_;
};

}  // namespace pw
