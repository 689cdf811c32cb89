#include "app/gui/request_wait.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include "ui/base/tr.h"

namespace pw {
namespace {

// Events by which a user starts something.
bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod:
    case QEvent::NativeGesture:
    case QEvent::Gesture:
        return true;
    default:
        return false;
    }
}

}  // namespace

RequestProgress::RequestProgress(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("requestProgress"));
    setAccessibleName(Purseward::tr("Request under way"));
    label_ = new QLabel(this);
    label_->setAccessibleName(Purseward::tr("Request progress"));
    cancel_ = new QPushButton(Purseward::tr("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("requestCancel"));
    cancel_->setAccessibleName(Purseward::tr("Cancel the request"));
    cancel_->setToolTip(Purseward::tr("Cancel the request (Esc)"));
    cancel_->setAutoDefault(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label_, 1);
    layout->addWidget(cancel_);
    connect(cancel_, &QPushButton::clicked, this, &RequestProgress::CancelPressed);
    hide();
}

void RequestProgress::SetProgress(const std::string& waitingFor, std::uint64_t received) {
    const QString what =
        waitingFor.empty() ? Purseward::tr("the server") : QString::fromStdString(waitingFor);
    label_->setText(Purseward::tr("Waiting for %1: %2 bytes received")
                        .arg(what)
                        .arg(static_cast<qulonglong>(received)));
}

QString RequestProgress::Text() const { return label_->text(); }

RequestWaiter::RequestWaiter(QWidget& window, RequestProgress& progress)
    : QObject(&window), window_(&window), progress_(progress) {
    connect(&progress_, &RequestProgress::CancelPressed, this, &RequestWaiter::Cancel);
}

RequestWaiter::~RequestWaiter() = default;

std::string RequestWaiter::Run(const RequestTopic& topic, const BackgroundTransfer::Work& work) {
    if (current_ != nullptr) {
        // Nothing of ours starts a request during a wait; should one come, it blocks as
        // requests always did rather than nest a second wait.
        TransferControl control(topic.sendsMoney);
        return work(control);
    }
    QEventLoop loop;
    BackgroundTransfer transfer(work, topic.sendsMoney, [&loop] {
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    current_ = &transfer;
    waitingFor_ = topic.waitingFor;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    QTimer poll;
    poll.setInterval(kPollMs);
    connect(&poll, &QTimer::timeout, this, [this] {
        if (current_) progress_.SetProgress(waitingFor_, current_->Control().Received());
    });
    QTimer show;
    show.setSingleShot(true);
    connect(&show, &QTimer::timeout, this, [this, &poll] {
        if (!current_) return;
        progress_.SetProgress(waitingFor_, current_->Control().Received());
        progress_.show();
        poll.start();
    });
    show.start(kShowAfterMs);
    emit WaitStarted();

    if (!transfer.Finished()) loop.exec();
    // The loop also ends when the program is told to quit: the request then ends too.
    if (!transfer.Finished()) transfer.Control().Cancel();

    poll.stop();
    show.stop();
    progress_.hide();
    QApplication::restoreOverrideCursor();
    qApp->removeEventFilter(this);
    current_ = nullptr;
    emit WaitEnded();
    // Messages and the traffic text of the request, before the caller goes on.
    std::string result = transfer.Finish();

    // What the wait held back runs from the event loop, after the caller's step.
    auto held = std::move(afterWait_);
    afterWait_.clear();
    for (auto& entry : held) RunAtTopLevel(std::move(entry.second));
    return result;
}

// Held actions run from the program's own event loop, never inside a message box, dialog or
// wait that a handler of ours still has open.
void RequestWaiter::RunAtTopLevel(std::function<void()> fn, int delayMs) {
    QTimer::singleShot(delayMs, this, [this, fn = std::move(fn)]() mutable {
        if (Waiting() || QThread::currentThread()->loopLevel() > 1) {
            RunAtTopLevel(std::move(fn), 100);
            return;
        }
        fn();
    });
}

void RequestWaiter::Cancel() {
    if (current_) current_->Control().Cancel();
}

void RequestWaiter::AfterWait(const std::string& key, std::function<void()> fn) {
    if (!Waiting()) {
        fn();
        return;
    }
    for (const auto& entry : afterWait_) {
        if (entry.first == key) return;
    }
    afterWait_.emplace_back(key, std::move(fn));
}

bool RequestWaiter::IsCancelControl(QObject* object) const {
    QWidget* cancel = progress_.CancelButton();
    return object == cancel;
}

bool RequestWaiter::eventFilter(QObject* watched, QEvent* event) {
    if (!current_) return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::Close && watched == window_.data()) {
        // The window closes once the request has ended; its own close handler asks first.
        event->ignore();
        QPointer<QWidget> window = window_;
        AfterWait("close", [window] {
            if (window) window->close();
        });
        return true;
    }
    if (type == QEvent::Close && event->spontaneous() && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        // Another window of ours stays until the request has ended; it can be closed then.
        event->ignore();
        return true;
    }
    // Once the transfer has ended, only a box of ours that opened meanwhile can be open and
    // take input (it is modal); it must not be held off, or the wait could never end.
    if (current_->Finished()) return false;
    if (!IsInput(type)) return false;
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        Cancel();
        return true;
    }
    // Only widgets and actions take input; the native windows hand it on to them.
    if (!watched->isWidgetType() && type != QEvent::Shortcut) return false;
    if (IsCancelControl(watched) && type != QEvent::Shortcut) return false;
    event->accept();
    return true;
}

}  // namespace pw
