// SPDX-License-Identifier: MIT
#pragma once

// The graph window, drawn with QPainter: population, births and deaths; the
// number of colours and the share of the most common one; the colour
// families stacked to 100 %. Every pixel column draws the least and the
// greatest value of the generations it covers, so the cost of a drawing
// depends on the window's width, not on the length of the run, and no spike
// is lost. Pointing at the graph shows the values of that generation.

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "platform/services.h"

namespace platform::qt {

// Draws `series` into `painter` over `area`; `pointerX` (-1 for none) marks
// the generation pointed at and shows its values.
void PaintGraph(QPainter& painter, const QRect& area, const analysis::GraphSeries* series, int pointerX);

class GraphPlot : public QWidget {
public:
    explicit GraphPlot(QWidget* parent = nullptr);
    void setSeries(const analysis::GraphSeries* series) { series_ = series; }
    QImage picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const analysis::GraphSeries* series_ = nullptr;
    int pointerX_ = -1;
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
    std::array<int, 4> geometry() const override;
    void setGeometry(const std::array<int, 4>& geometry) override;

    QWidget* widget() const;

private:
    class Frame;
    std::unique_ptr<Frame> frame_;
    GraphPlot* plot_ = nullptr;
    GraphEvents* events_ = nullptr;
    QTimer redraw_;
};

}  // namespace platform::qt
