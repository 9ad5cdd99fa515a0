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
#include "app/window_controller.h"
#include "support/fakes.h"

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

// In a window grown wider, the board is centred; 50 cells on 480 pixels (or
// 960 device pixels) are not whole pixels, and a pointer on any pixel of
// the board lies on the cell drawn there (the read-out names it).
TEST(BoardLayout, PointerLiesOnTheCellDrawnUnderIt) {
    platform::qt::QtMainWindow window;
    fakes::FakeDialogs dialogs;
    fakes::FakeClipboard clipboard;
    fakes::FakeFileSystem files;
    app::WindowController form(app::WindowController::Services{window, dialogs, clipboard, files}, app::WindowController::Options{"", 5});
    window.setEvents(&form);
    form.start();
    window.show();
    platform::qt::BoardView& view = *window.boardView();
    window.widget()->resize(900, window.widget()->height());
    for (QDeadlineTimer deadline(5000); view.width() < 800 && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const QRect area = view.drawingArea();
    const int pixels = window.boardPixelWidth();
    EXPECT_EQ(area, QRect((view.width() - 480) / 2, 2, 480, 480));
    for (int p = 0; p < area.width(); ++p) {  // along the diagonal, every logical pixel
        const QPointF at(area.left() + p, area.top() + p);
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &move);
        const int pixel = p * pixels / area.width(), cell = std::stoi(window.panelText(platform::Panel::Pointer).substr(4));
        const platform::PixelRect drawn = display::CellPixelRect(cell, cell, 50, pixels, pixels);
        ASSERT_TRUE(drawn.left <= pixel && pixel < drawn.right) << "pixel " << pixel << " taken for cell " << cell;
    }
}

// A position in the picture's pixels names the cell drawn there and whether it
// is on the board at all; a drag goes on beyond the edges, and a press before
// the board's size is known lies on no cell. The first of the buttons held
// is the one reported.
TEST(BoardLayout, PositionsBecomeCellsAndButtons) {
    using platform::PointedCell;
    using platform::qt::cellAtPicturePosition;
    EXPECT_EQ(cellAtPicturePosition({455.3, 455.9}, 480, 50), (PointedCell{47, 47, true}));
    EXPECT_EQ(cellAtPicturePosition({479.9, 290}, 480, 50), (PointedCell{49, 30, true}));
    for (const QPointF off : {QPointF(480, 290), QPointF(290, 480), QPointF(-0.5, 3), QPointF(603, -40),
                              QPointF(qQNaN(), 3)})
        EXPECT_EQ(cellAtPicturePosition(off, 480, 50), PointedCell{}) << off.x() << ", " << off.y();
    EXPECT_EQ(cellAtPicturePosition({10, 10}, 480, 0), PointedCell{});

    using platform::MouseButton;
    using platform::qt::mouseButton;
    EXPECT_EQ(mouseButton(Qt::LeftButton | Qt::RightButton), MouseButton::Left);
    EXPECT_EQ(mouseButton(Qt::RightButton | Qt::MiddleButton), MouseButton::Right);
    EXPECT_EQ(mouseButton(Qt::BackButton), MouseButton::None);
    EXPECT_TRUE(platform::qt::mouseModifiers(Qt::ShiftModifier | Qt::ControlModifier).shift);
}
