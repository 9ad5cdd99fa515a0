// SPDX-License-Identifier: MIT
// Remembered window geometry against the screens there are now: a window
// comes back no larger than its screen, no smaller than its smallest size,
// and where the user can reach it; a damaged value is ignored.

#include <sys/resource.h>

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <gtest/gtest.h>

#include "platform/qt/qt_main_window.h"
#include "platform/qt/window_geometry.h"

namespace {

using platform::qt::FitToScreens;

TEST(WindowGeometry, FitsTheSavedRectangleToTheScreens) {
    const QList<QRect> one{{0, 0, 1920, 1050}};
    // A left screen at a negative offset and a right one lower down.
    const QList<QRect> three{{-1280, 0, 1280, 1024}, {0, 0, 1920, 1050}, {1920, 200, 1280, 800}};
    const QSize smallest(500, 400);
    struct Case {
        const char* what;
        QList<QRect> screens;
        QRect saved;
        QRect expected;
    };
    const Case cases[] = {
        {"on the screen: kept", one, {100, 80, 800, 600}, {100, 80, 800, 600}},
        {"huge: the screen's size", one, {0, 0, 99999, 99999}, {0, 0, 1920, 1050}},
        {"below the screen: moved up", one, {100, 1200, 800, 600}, {100, 450, 800, 600}},
        {"far left: moved right", one, {-5000, 10, 800, 600}, {0, 10, 800, 600}},
        {"tiny: its smallest size", one, {100, 80, 20, 10}, {100, 80, 500, 400}},
        {"title bar above the screen", one, {100, -30, 800, 600}, {100, 0, 800, 600}},
        {"mostly off the right edge", one, {1700, 80, 800, 600}, {1120, 80, 800, 600}},
        {"on the left screen: kept", three, {-1000, 100, 800, 600}, {-1000, 100, 800, 600}},
        {"across two screens: kept", three, {-300, 100, 800, 600}, {-300, 100, 800, 600}},
        {"huge on the right screen", three, {2000, 300, 9000, 9000}, {1920, 200, 1280, 800}},
        {"above the lower screen", three, {2500, 50, 600, 500}, {2500, 200, 600, 500}},
        {"in the gap below the left screen", three, {-1000, 1040, 600, 500}, {-1000, 524, 600, 500}},
        {"nowhere near: the nearest screen", three, {90000, 90000, 600, 500}, {2600, 500, 600, 500}},
        {"extreme coordinates", one, {1000000000, -1000000000, 600, 500}, {1320, 0, 600, 500}},
    };
    for (const Case& c : cases) EXPECT_EQ(FitToScreens(c.saved, c.screens, smallest), c.expected) << c.what;

    // A smallest size beyond the screen wins (the window cannot be smaller),
    // and the window starts at the screen's corner.
    EXPECT_EQ(FitToScreens({300, 300, 900, 900}, {{0, 0, 640, 480}}, smallest.expandedTo({700, 500})),
              QRect(0, 0, 700, 500));
    // Damaged values, or no screen at all: nothing to restore.
    EXPECT_EQ(FitToScreens({0, 0, 0, 600}, one, smallest), std::nullopt);
    EXPECT_EQ(FitToScreens({0, 0, 800, -5}, one, smallest), std::nullopt);
    EXPECT_EQ(FitToScreens({0, 0, 800, 600}, {}, smallest), std::nullopt);
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A settings file holding a window of 99,999 x 99,999 pixels (or garbage)
// must not stop the program from starting: the window shows at the screen's
// size, and no picture of the remembered size is ever made.
TEST(WindowGeometry, AHugeRememberedWindowOpensAtTheScreensSize) {
    QMainWindow source;
    source.setGeometry(0, 0, 99999, 99999);
    const QByteArray huge = source.saveGeometry();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();

    const long before = PeakKilobytes();
    for (const bool maximised : {false, true}) {
        platform::qt::QtMainWindow window;
        QMainWindow& frame = *window.widget();
        const QSize first = frame.size();
        EXPECT_FALSE(platform::qt::RestoreFittedGeometry(frame, "not a geometry"));
        EXPECT_EQ(frame.size(), first);
        ASSERT_TRUE(platform::qt::RestoreFittedGeometry(frame, huge));
        if (maximised) frame.setWindowState(Qt::WindowMaximized);
        window.show();
        QCoreApplication::processEvents();
        if (maximised) frame.setWindowState(Qt::WindowNoState);
        QCoreApplication::processEvents();
        frame.repaint();
        // Where the window system puts the frame is its own affair.
        const QRect shown = frame.geometry();
        EXPECT_TRUE(screen.contains(shown.topLeft()));
        EXPECT_LE(shown.width(), screen.width());
        EXPECT_LE(shown.height(), screen.height());
    }
    EXPECT_LT(PeakKilobytes() - before, 200 * 1024);  // 99,999^2 pixels would be 40 GB
}

}  // namespace
