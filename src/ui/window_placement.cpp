#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace pw {
namespace {

constexpr int kStateNormal = 1;
constexpr int kStateMinimised = 2;
constexpr int kStateMaximised = 3;

bool OnSomeScreen(const QRect& r) {
    const auto screens = QGuiApplication::screens();
    for (const QScreen* s : screens) {
        if (s->availableGeometry().intersects(r)) return true;
    }
    return false;
}

}  // namespace

void SaveWindowPlacement(const QWidget& window, const QString& group) {
    QSettings profile(QString::fromLatin1(kProfileOrganization),
                      QString::fromLatin1(kProfileApplication));
    // The normal geometry is what comes back when the window is restored.
    QRect r = window.normalGeometry();
    if (!r.isValid()) r = window.geometry();
    int state = kStateNormal;
    if (window.isMaximized()) state = kStateMaximised;
    else if (window.isMinimized()) state = kStateMinimised;
    profile.beginGroup(group);
    profile.setValue(QStringLiteral("Left"), r.left());
    profile.setValue(QStringLiteral("Top"), r.top());
    profile.setValue(QStringLiteral("Right"), r.left() + r.width());
    profile.setValue(QStringLiteral("Bottom"), r.top() + r.height());
    profile.setValue(QStringLiteral("State"), state);
    profile.endGroup();
    profile.sync();
}

bool RestoreWindowPlacement(QWidget& window, const QString& group) {
    QSettings profile(QString::fromLatin1(kProfileOrganization),
                      QString::fromLatin1(kProfileApplication));
    profile.beginGroup(group);
    bool okL = false, okT = false, okR = false, okB = false;
    const int left = profile.value(QStringLiteral("Left")).toInt(&okL);
    const int top = profile.value(QStringLiteral("Top")).toInt(&okT);
    const int right = profile.value(QStringLiteral("Right")).toInt(&okR);
    const int bottom = profile.value(QStringLiteral("Bottom")).toInt(&okB);
    const int state = profile.value(QStringLiteral("State"), kStateNormal).toInt();
    profile.endGroup();
    if (!(okL && okT && okR && okB)) return false;
    const QRect r(left, top, right - left, bottom - top);
    if (r.width() <= 0 || r.height() <= 0) return false;
    const QSize size = r.size().expandedTo(window.minimumSizeHint()).boundedTo(window.maximumSize());
    if (OnSomeScreen(r)) window.setGeometry(QRect(r.topLeft(), size));
    else window.resize(size);
    // A window stored minimised comes back normal: nothing may start out of sight.
    if (state == kStateMaximised) window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}

}  // namespace pw
