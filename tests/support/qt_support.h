#pragma once
// Support of the widget tests: the one offscreen QApplication of a test program, waiting on
// the event loop for a condition, acting on a modal window once its exec() shows it, and
// screenshots in the build folder.
#include <QApplication>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace pw::test {

// One QApplication for the whole test program (offscreen), with a per-user profile of this
// process alone.
void EnsureQtApp();

// Spins the event loop until cond holds or ms pass.
bool WaitFor(const std::function<bool()>& cond, int ms = 3000);

// Runs act once on the first shown top-level window of type T (a dialog opened with exec()
// later on), from the event loop that shows it. Returns a flag that turns true once act ran;
// when the caller drops it, act is dropped too.
template <class T>
std::shared_ptr<bool> WhenShown(std::function<void(T&)> act) {
    auto done = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, act = std::move(act), flag = std::weak_ptr<bool>(done)] {
        const std::shared_ptr<bool> wanted = flag.lock();
        if (!wanted) return timer->deleteLater();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<T*>(w);
            if (window == nullptr || !window->isVisible()) continue;
            timer->stop();
            timer->deleteLater();
            *wanted = true;
            act(*window);
            return;
        }
    });
    timer->start();
    return done;
}

// Saves what w shows as "<build folder>/screenshots/<name>.png"; false when it could not.
bool SaveScreenshot(QWidget& w, const QString& name);

}  // namespace pw::test
