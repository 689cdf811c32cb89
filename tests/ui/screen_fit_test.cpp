// Windows open inside the free area of the screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <memory>

#include "ui/screen_fit.h"

namespace pw {
namespace {

TEST(ScreenFit, WindowsShrinkToTheAreaAndMoveOntoIt) {
    const QRect area(0, 30, 1280, 994);  // a 1280x1024 screen under a 30-pixel panel
    struct Case {
        QRect frame;
        QSize minimum;
        QRect expected;
    };
    const Case cases[] = {
        {{100, 100, 800, 600}, {0, 0}, {100, 100, 800, 600}},     // fits: unchanged
        {{20, 40, 1320, 700}, {0, 0}, {0, 40, 1280, 700}},        // too wide
        {{0, 0, 600, 400}, {0, 0}, {0, 30, 600, 400}},            // under the panel
        {{5000, 4000, 600, 400}, {0, 0}, {680, 624, 600, 400}},   // a vanished screen
        {{-900, -900, 600, 400}, {0, 0}, {0, 30, 600, 400}},
        {{300, 300, 2000, 2000}, {0, 0}, {0, 30, 1280, 994}},     // larger both ways
        {{0, 30, 2000, 500}, {1400, 0}, {0, 30, 1400, 500}},      // cannot be narrower
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitIntoArea(c.frame, area, c.minimum), c.expected)
            << c.frame.x() << "," << c.frame.y() << " " << c.frame.width() << "x"
            << c.frame.height();
}

TEST(ScreenFit, EveryShownWindowLiesInsideTheScreen) {
    int argc = 1;
    char name[] = "screen_fit_test";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    std::unique_ptr<QObject> filter(InstallScreenFit(app));
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect placed : {QRect(area.topLeft(), area.size() * 2),
                               QRect(area.right() + 500, area.bottom() + 500, 200, 100)}) {
        QWidget window;
        window.setGeometry(placed);
        window.show();
        QApplication::processEvents();
        EXPECT_TRUE(area.contains(window.frameGeometry())) << window.frameGeometry().x();
    }
}

}  // namespace
}  // namespace pw
