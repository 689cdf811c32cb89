#include "qt_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

namespace pw::test {

void EnsureQtApp() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "purseward_gui_test";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // The per-user profile of this test process alone: never the user's, and not shared with
    // test processes that run at the same time.
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir profileDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profileDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, profileDir.path());
}

bool WaitFor(const std::function<bool()>& cond, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!cond()) {
        if (timer.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

bool SaveScreenshot(QWidget& w, const QString& name) {
    const QString dir = QStringLiteral(PW_SUPPORT_BINARY_DIR "/screenshots");
    return QDir().mkpath(dir) && w.grab().save(dir + '/' + name + QStringLiteral(".png"));
}

}  // namespace pw::test
