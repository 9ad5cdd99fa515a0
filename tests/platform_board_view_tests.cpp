// SPDX-License-Identifier: MIT
// The board view gathers the parts of many pictures and repaints them later:
// what reaches the screen is still the last picture, pixel for pixel.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QScreen>
#include <gtest/gtest.h>
#include <random>

#include "platform/qt/board_view.h"

TEST(BoardView, ScreenShowsTheLastPictureAfterPartialUpdates) {
    platform::qt::BoardView view;
    view.show();
    platform::PixelImage picture;
    picture.resize(480, 480);
    view.showImage(picture);
    std::mt19937 random(5);
    for (int round = 0; round < 60; ++round) {  // small parts here and there, across tile edges
        std::vector<platform::PixelRect> changed;
        for (int left = round % 11, top = round; left + 3 <= 480; left += 23, top = (top + 181) % 476) {
            changed.push_back({left, top, left + 3, top + 4});
            for (int i = 0; i < 12; ++i) picture.at(left + i % 3, top + i / 3) = 0xFF000000u | (random() & 0xFFFFFFu);
        }
        view.showImagePart(picture, changed);
        if (round % 8 == 0) QCoreApplication::processEvents();
    }
    const QImage expected(reinterpret_cast<const uchar*>(picture.pixels.data()), 480, 480, QImage::Format_RGB32);
    auto onScreen = [&] {  // the window's pixels as the platform holds them
        const QImage all = view.screen()->grabWindow(view.winId()).toImage();
        return all.copy(view.drawingArea()).convertToFormat(QImage::Format_RGB32);
    };
    for (QDeadlineTimer deadline(5000); onScreen() != expected && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(onScreen() == expected);
}
