// SPDX-License-Identifier: MIT
// The graph window's drawing: after a million generations a spike of one
// generation is still drawn, one or two pixel columns wide; at the smallest
// size every legend entry is drawn.

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

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
        analysis::Sample s;  // of a run without lineage, as measured
        for (const analysis::Line l : {analysis::SurvivorsRed, analysis::SurvivorsGreen, analysis::SurvivorsBlue})
            s.values[l] = std::nan("");
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

// At the plot's smallest size, with founders' shares: the legends wrap, and
// every family's box (灰色 the last of them), both founders' and the rest's
// are drawn (the band holds only red cells, so the others' colours come
// from the legend alone), whichever channel is shown.
TEST(GraphWindow, EveryLegendEntryShowsAtTheSmallestSize) {
    analysis::GraphSeries series;
    analysis::Sample s;
    for (int64_t g = 0; g < 3000; ++g) {
        s.values[analysis::Population] = 500;
        s.values[analysis::Colours] = 6500.0 / (1 + g);
        for (const analysis::Line l : {analysis::SurvivorsRed, analysis::SurvivorsGreen, analysis::SurvivorsBlue})
            s.values[l] = 2;
        s.shares[0] = 1;
        for (auto& top : s.founders) top = {{{1, 0.6f}, {2, 0.3f}}};
        series.add(s);
    }
    for (int channel = 0; channel < 3; ++channel) {
        QImage image(platform::qt::GraphPlot::kMinimumWidth, platform::qt::GraphPlot::kMinimumHeight,
                     QImage::Format_RGB32);
        QPainter painter(&image);
        platform::qt::PaintGraph(painter, image.rect(), &series, -1, channel);
        painter.end();
        std::set<QRgb> seen;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) seen.insert(image.pixel(x, y));
        for (const analysis::Family& f : analysis::kFamilies)
            EXPECT_TRUE(seen.count(qRgb(f.red, f.green, f.blue))) << f.name << " " << channel;
        for (const QRgb founder : {qRgb(78, 121, 167), qRgb(242, 142, 43), qRgb(200, 200, 200)})
            EXPECT_TRUE(seen.count(founder)) << channel;
    }
}

}  // namespace
