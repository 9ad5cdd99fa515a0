// SPDX-License-Identifier: MIT
// The board view gathers the parts of many pictures and repaints them later:
// what reaches the screen is still the last picture, pixel for pixel.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QScreen>
#include <gtest/gtest.h>
#include <random>

#include "platform/qt/board_view.h"
#include "platform/qt/qt_main_window.h"
#include "support/fakes.h"
#include "support/form_access.h"

// Also run on a screen of two device pixels per logical pixel, where the
// picture (960 pixels a side) must reach the screen's pixels one to one.
TEST(BoardView, ScreenShowsTheLastPictureAfterPartialUpdates) {
    platform::qt::BoardView view;
    view.show();
    const int n = view.pictureSize();
    ASSERT_EQ(n, qRound(480 * view.devicePixelRatioF()));
    platform::PixelImage picture;
    picture.resize(n, n);
    view.showImage(picture);
    std::mt19937 random(5);
    for (int round = 0; round < 60; ++round) {  // small parts here and there, across tile edges
        std::vector<platform::PixelRect> changed;
        for (int left = round % 11, top = round; left + 3 <= n; left += 23, top = (top + 181) % (n - 4)) {
            changed.push_back({left, top, left + 3, top + 4});
            for (int i = 0; i < 12; ++i) picture.at(left + i % 3, top + i / 3) = 0xFF000000u | (random() & 0xFFFFFFu);
        }
        view.showImagePart(picture, changed);
        if (round % 8 == 0) QCoreApplication::processEvents();
    }
    const QImage expected(reinterpret_cast<const uchar*>(picture.pixels.data()), n, n, QImage::Format_RGB32);
    auto onScreen = [&] {  // the window's pixels as the platform holds them
        // (the offscreen platform grabs logical pixels only: at another ratio,
        // the widget's own painting at device pixels)
        const QImage all = view.devicePixelRatioF() == 1 ? view.screen()->grabWindow(view.winId()).toImage()
                                                          : view.grab().toImage();
        const QRect area(view.drawingArea().topLeft() * view.devicePixelRatioF(), QSize(n, n));
        return all.copy(area).convertToFormat(QImage::Format_RGB32);
    };
    for (QDeadlineTimer deadline(5000); onScreen() != expected && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(onScreen() == expected);
}

// A window grown to a size where cells are not whole pixels: the board is
// the largest square between the toolbar and the status bar, centred; a
// pointer on any of its pixels lies on the cell drawn there (the read-out
// names it), and a press beside the board selects nothing.
TEST(BoardLayout, PointerLiesOnTheCellDrawnUnderIt) {
    platform::qt::QtMainWindow window;
    fakes::FakeDialogs dialogs;
    fakes::FakeClipboard clipboard;
    fakes::FakeFileSystem files;
    app::Form1 form(app::Form1::Services{window, dialogs, clipboard, files}, app::Form1::Options{"", 5});
    window.setEvents(&form);
    form.Form_Load();
    window.show();
    platform::qt::BoardView& view = *window.boardView();
    const qreal dpr = view.devicePixelRatioF();
    for (int height = 700; window.boardPixelWidth() % 50 == 0 || view.height() < 600; height += 3) {
        window.widget()->resize(1000, height);
        for (QDeadlineTimer deadline(5000); view.height() < 600 && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ASSERT_GE(view.height(), 600);
    }
    const QRect area = view.drawingArea();
    const int pixels = window.boardPixelWidth();
    EXPECT_EQ(area.width(), view.height() - 2 * platform::qt::BoardView::kBorder);
    EXPECT_EQ(area.left(), (view.width() - area.width()) / 2);
    EXPECT_EQ(pixels, qRound(area.width() * dpr));
    auto mouse = [&](QEvent::Type type, int x, int y, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(x, y), view.mapToGlobal(QPointF(x, y)), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    };
    for (int p = 0; p < area.width(); ++p) {  // along the diagonal, every logical pixel
        mouse(QEvent::MouseMove, area.left() + p, area.top() + p, Qt::NoButton);
        const int pixel = static_cast<int>(p * dpr);
        int x = -1, y = -1;
        ASSERT_EQ(std::sscanf(window.panelText(3).c_str(), "x = %d, y = %d", &x, &y), 2);
        ASSERT_EQ(x, y);
        const platform::PixelRect drawn = display::CellPixelRect(x, y, 50, pixels, pixels);
        ASSERT_TRUE(drawn.left <= pixel && pixel < drawn.right) << "pixel " << pixel << " lies on cell " << x;
    }
    const app::Selection& selection = app::Form1::TestAccess::selection(form);
    for (int x : {area.left() - 10, area.left()}) {
        mouse(QEvent::MouseButtonPress, x, area.top(), Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, x, area.top(), Qt::LeftButton);
        EXPECT_EQ(selection.SelLeft, x < area.left() ? -1 : 0) << x;
    }
    window.setEvents(nullptr);
}
