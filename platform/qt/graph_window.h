// SPDX-License-Identifier: MIT
#pragma once

// The graph window, drawn with QPainter: population, births and deaths; the
// number of colours (on a logarithmic axis) and the share of the most common
// one; Shannon's and Simpson's diversity of the colours; the colour families
// stacked to 100 %; and while the lineage is followed, the largest founders'
// shares of one channel stacked to 100 % (a Muller plot), chosen in the
// window. Every pixel column draws the least and the
// greatest value of the generations it covers, so the cost of a drawing
// depends on the window's width, not on the length of the run, and no spike
// is lost. Pointing at the graph shows the values of that generation.

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "platform/services.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace platform::qt {

// Draws `series` into `painter` over `area`; `pointerX` (-1 for none) marks
// the generation pointed at and shows its values; `channel` (0 red, 1 green,
// 2 blue) is the one whose founders are shown.
void PaintGraph(QPainter& painter, const QRect& area, const analysis::GraphSeries* series, int pointerX,
                int channel = 0);

class GraphPlot : public QWidget {
public:
    explicit GraphPlot(QWidget* parent = nullptr);
    // The smallest size: every part of the graph keeps room to be read.
    static constexpr int kMinimumWidth = 440, kMinimumHeight = 440;

    void setSeries(const analysis::GraphSeries* series) { series_ = series; }
    const analysis::GraphSeries* series() const { return series_; }
    void setChannel(int channel) { channel_ = channel; }
    int channel() const { return channel_; }
    QImage picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const analysis::GraphSeries* series_ = nullptr;
    int pointerX_ = -1;
    int channel_ = 0;
};

class QtGraphWindow : public platform::GraphWindow {
public:
    // At most this many drawings a second while a run feeds the graph.
    static constexpr int kRedrawMs = 200;

    QtGraphWindow();
    ~QtGraphWindow() override;

    void setEvents(GraphEvents* events) override { events_ = events; }
    void setVisible(bool visible) override;
    bool visible() const override;
    void showSeries(const analysis::GraphSeries* series) override;
    void seriesChanged() override;
    std::vector<uint8_t> picturePng() override;
    int founderChannel() const override;
    std::array<int, 4> geometry() const override;
    void setGeometry(const std::array<int, 4>& geometry) override;

    QWidget* widget() const;

private:
    class Frame;
    void showTexts();  // the title, the channel selector and the export buttons, in the language in use
    void describePlot();  // the plot's description, with the generations recorded
    std::unique_ptr<Frame> frame_;
    QLabel* channelLabel_ = nullptr;
    QComboBox* channel_ = nullptr;
    std::vector<std::pair<QPushButton*, const char*>> exportButtons_;
    GraphPlot* plot_ = nullptr;
    GraphEvents* events_ = nullptr;
    QTimer redraw_;
};

}  // namespace platform::qt
