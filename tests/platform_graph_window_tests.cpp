// SPDX-License-Identifier: MIT
// The graph window's drawing: after a million generations a spike of one
// generation is still drawn, one or two pixel columns wide.

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include "platform/qt/graph_window.h"

namespace {

// The pixel columns in which the population's line reaches the upper half of
// its panel (the top quarter of the picture, below the legend).
int columnsReachingHigh(const analysis::GraphSeries& series) {
    QImage image(740, 460, QImage::Format_RGB32);
    QPainter painter(&image);
    platform::qt::PaintGraph(painter, image.rect(), &series, -1);
    painter.end();
    const QRgb blue = qRgb(31, 95, 191);
    int columns = 0;
    for (int x = 0; x < image.width(); ++x) {
        bool high = false;
        for (int y = 24; y < image.height() / 4 && !high; ++y) high = image.pixel(x, y) == blue;
        columns += high;
    }
    return columns;
}

TEST(GraphWindow, ASpikeOfOneGenerationStaysVisibleInALongRun) {
    for (const bool spike : {true, false}) {
        analysis::GraphSeries series;
        analysis::Sample s;
        for (int64_t g = 0; g < 1'000'000; ++g) {
            s.values[analysis::Population] = spike && g == 612'345 ? 5000 : 1000 + g % 13;
            s.shares[0] = 1;
            series.add(s);
        }
        // Without the spike the scale tops out near 1000 and the line runs along the top.
        if (spike) {
            const int columns = columnsReachingHigh(series);
            EXPECT_GE(columns, 1);
            EXPECT_LE(columns, 2);
        } else {
            EXPECT_GT(columnsReachingHigh(series), 500);
        }
    }
}

}  // namespace
