#include "ui/screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace pw {

QRect FitIntoArea(const QRect& frame, const QRect& area, const QSize& minimum) {
    if (!area.isValid()) return frame;
    const QSize size(std::max(std::min(frame.width(), area.width()), minimum.width()),
                     std::max(std::min(frame.height(), area.height()), minimum.height()));
    QRect out(frame.topLeft(), size);
    // Right and bottom first, so that a window larger than the area keeps its top left corner
    // (title bar and menus) on the screen.
    if (out.right() > area.right()) out.moveRight(area.right());
    if (out.bottom() > area.bottom()) out.moveBottom(area.bottom());
    if (out.left() < area.left()) out.moveLeft(area.left());
    if (out.top() < area.top()) out.moveTop(area.top());
    return out;
}

void FitToScreen(QWidget& window) {
    if (!window.isWindow() || window.isMaximized() || window.isFullScreen()) return;
    QScreen* screen = window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    // What the window manager's frame adds on each side (nothing before the first show).
    const int extraW = frame.width() - inner.width(), extraH = frame.height() - inner.height();
    const QSize minimum(window.minimumWidth() + extraW, window.minimumHeight() + extraH);
    const QRect fitted = FitIntoArea(frame, area, minimum);
    if (fitted == frame) return;
    window.resize(fitted.width() - extraW, fitted.height() - extraH);
    window.move(fitted.topLeft());
}

namespace {

class ScreenFitFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            const Qt::WindowType type = w->windowType();
            if (w->isWindow() && type != Qt::Popup && type != Qt::ToolTip &&
                type != Qt::SplashScreen)
                FitToScreen(*w);
        }
        return false;
    }
};

}  // namespace

QObject* InstallScreenFit(QApplication& app) {
    auto* filter = new ScreenFitFilter(&app);
    app.installEventFilter(filter);
    return filter;
}

}  // namespace pw
