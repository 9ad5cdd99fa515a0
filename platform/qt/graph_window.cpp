// SPDX-License-Identifier: MIT
#include "platform/qt/graph_window.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/qt/qt_strings.h"
#include "ui/texts.h"

namespace platform::qt {

namespace {

using analysis::Bucket;
using analysis::GraphSeries;
using analysis::kFamilies;
using analysis::kFamilyCount;

QString text(const char* s) { return QString::fromUtf8(s); }

struct LineStyle {
    analysis::Line line;
    const char* name;
    QColor colour;
};

const LineStyle kLines[] = {
    {analysis::Population, texts::kGraphPopulation, QColor(31, 95, 191)},
    {analysis::Births, texts::kGraphBirths, QColor(42, 157, 58)},
    {analysis::Deaths, texts::kGraphDeaths, QColor(192, 57, 43)},
    {analysis::Colours, texts::kGraphColours, QColor(217, 102, 31)},
    {analysis::TopShare, texts::kGraphTopShare, QColor(123, 63, 160)},
};

QColor familyColour(int f) { return QColor(kFamilies[f].red, kFamilies[f].green, kFamilies[f].blue); }

QString number(double v) {
    if (std::abs(v - std::round(v)) < 1e-9) return QString::number(static_cast<long long>(std::llround(v)));
    return QString::number(v, 'g', 4);
}

// One pixel column (or, for a short run, one generation) of the graph.
struct Column {
    int x, width;
    Bucket b;
};

// A panel: its rectangle and the value at its top (the bottom is 0).
struct Panel {
    QRect r;
    double top;
    int y(double v) const { return r.bottom() - static_cast<int>(std::lround(v / top * (r.height() - 1))); }
};

void drawLine(QPainter& p, const std::vector<Column>& cols, const Panel& panel, analysis::Line line, QColor colour,
              double scale, bool joined) {
    // A one-pixel pen for the columns' extremes: the quickest to draw.
    p.setPen(QPen(colour, joined ? 1.5 : 0));
    bool havePrevious = false;
    QPoint previous;
    for (const Column& c : cols) {
        const analysis::Extent& e = c.b.lines[line];
        // Columns a fast run left unmeasured are bridged: the line goes on.
        if (c.b.count == 0 || e.empty()) continue;
        const double lastValue = std::isnan(c.b.last.values[line]) ? (e.low + e.high) / 2 : c.b.last.values[line];
        const QPoint here(c.x, panel.y(lastValue * scale));
        if (joined) {
            // A short run: a line from generation to generation.
            if (havePrevious) p.drawLine(previous, here);
            else p.drawPoint(here);
        } else {
            // The column's extremes, reaching to the column before so the line stays whole.
            int high = panel.y(e.high * scale), low = panel.y(e.low * scale);
            if (havePrevious && c.x - previous.x() > 1) {
                p.drawLine(previous, QPoint(c.x, (high + low) / 2));  // across unmeasured columns
            } else if (havePrevious) {
                high = std::min(high, previous.y());
                low = std::max(low, previous.y());
            }
            p.drawLine(c.x, high, c.x, low);
        }
        previous = here;
        havePrevious = true;
    }
}

// Where the graph's parts go: the legend of the lines on top, three panels
// (the counts; the colours and the top share; the colour families), the
// generation axis and the legend of the families below, with the value
// axes' ticks.
struct GraphLayout {
    QRect area;
    int left, right, width;
    Panel a, b;
    QRect c;
    std::vector<double> ticksA, ticksB;
};

GraphLayout layOut(const QRect& area, const GraphSeries& series) {
    const int left = area.left() + 62, right = area.right() - 58;
    const int top = area.top() + 26, bottom = area.bottom() - 58;
    const int gap = 12, height = std::max(60, bottom - top - 2 * gap);
    const int hA = height * 46 / 100, hB = height * 27 / 100, hC = height - hA - hB;
    const int width = std::max(1, right - left + 1);
    const auto high = [&](analysis::Line l) {
        const analysis::Extent e = series.extent(l);
        return e.empty() ? 0.0 : e.high;
    };
    const double maxA =
        std::max(1.0, std::max({high(analysis::Population), high(analysis::Births), high(analysis::Deaths)}));
    const double maxB = std::max(1.0, high(analysis::Colours));
    std::vector<double> ticksA = analysis::AxisTicks(0, maxA, std::max(2, hA / 40));
    std::vector<double> ticksB = analysis::AxisTicks(0, maxB, std::max(2, hB / 35));
    const Panel a{QRect(left, top, width, hA), std::max(maxA, ticksA.back())};
    const Panel b{QRect(left, top + hA + gap, width, hB), std::max(maxB, ticksB.back())};
    const QRect c(left, top + hA + hB + 2 * gap, width, hC);
    return GraphLayout{area, left, right, width, a, b, c, std::move(ticksA), std::move(ticksB)};
}

// The graph's columns: for a run no longer than the graph is wide, one per
// generation, spread over the width (joined: drawn as lines from one to the
// next); otherwise one per pixel column, each covering its share of the run.
std::vector<Column> makeColumns(const GraphSeries& series, int left, int width, bool joined) {
    const int64_t n = series.size();
    std::vector<Column> cols;
    if (joined) {
        for (int64_t i = 0; i < n; ++i) {
            const int x = left + static_cast<int>(n == 1 ? 0 : i * (width - 1) / (n - 1));
            const int next = left + static_cast<int>(n == 1 ? width : (i + 1) * (width - 1) / (n - 1));
            cols.push_back({x, std::max(1, next - x), series.span(i, i + 1)});
        }
    } else {
        for (int c = 0; c < width; ++c)
            cols.push_back({left + c, 1, series.span(c * n / width, (c + 1) * n / width)});
    }
    return cols;
}

// Grid lines and the value axes: counts on the left, the share on the
// right, each label in its line's colour where a panel has two.
void drawValueAxes(QPainter& p, const GraphLayout& g) {
    const Panel &a = g.a, &b = g.b;
    const QRect& c = g.c;
    p.setPen(QColor(225, 225, 225));
    for (double v : g.ticksA) p.drawLine(g.left, a.y(v), g.right, a.y(v));
    for (double v : g.ticksB) p.drawLine(g.left, b.y(v), g.right, b.y(v));
    const auto leftLabel = [&](int y, const QString& s, QColor colour) {
        p.setPen(colour);
        p.drawLine(g.left - 4, y, g.left - 1, y);
        p.drawText(QRect(g.area.left(), y - 8, g.left - g.area.left() - 6, 16), Qt::AlignRight | Qt::AlignVCenter, s);
    };
    const auto rightLabel = [&](int y, const QString& s, QColor colour) {
        p.setPen(colour);
        p.drawLine(g.right + 1, y, g.right + 4, y);
        p.drawText(QRect(g.right + 6, y - 8, g.area.right() - g.right - 6, 16), Qt::AlignLeft | Qt::AlignVCenter, s);
    };
    for (double v : g.ticksA) leftLabel(a.y(v), number(v), Qt::black);
    for (double v : g.ticksB) leftLabel(b.y(v), number(v), kLines[3].colour);
    for (int percent : {0, 50, 100}) rightLabel(b.y(percent / 100.0 * b.top), QString::number(percent) + " %", kLines[4].colour);
    for (int percent : {0, 50, 100})
        leftLabel(c.bottom() - percent * (c.height() - 1) / 100, QString::number(percent) + " %", Qt::black);
}

// The colour families: each column stacked to 100 % from the bottom,
// written into a picture of the band pixel by pixel (far quicker than a
// rectangle per family and column).
void drawFamilyBand(QPainter& p, const GraphLayout& g, const std::vector<Column>& cols) {
    QImage band(g.c.size(), QImage::Format_RGB32);
    band.fill(Qt::white);
    std::array<QRgb, kFamilyCount> familyRgb{};
    for (int f = 0; f < kFamilyCount; ++f) familyRgb[f] = familyColour(f).rgb();
    // A column left unmeasured shows the one before it.
    const std::array<float, kFamilyCount>* shares = nullptr;
    for (const Column& col : cols) {
        if (col.b.count > 0) shares = &col.b.shares;
        if (!shares) continue;
        float total = 0;
        for (float s : *shares) total += s;
        if (total <= 0) continue;
        double below = 0;
        for (int f = 0; f < kFamilyCount; ++f) {
            const double above = below + (*shares)[f] / total;
            const int y0 = band.height() - static_cast<int>(std::lround(above * band.height()));
            const int y1 = band.height() - static_cast<int>(std::lround(below * band.height()));
            for (int y = std::max(y0, 0); y < std::min(y1, band.height()); ++y) {
                auto* row = reinterpret_cast<QRgb*>(band.scanLine(y));
                for (int x = col.x - g.left; x < std::min(col.x - g.left + col.width, band.width()); ++x)
                    row[x] = familyRgb[f];
            }
            below = above;
        }
    }
    p.drawImage(g.c.topLeft(), band);
}

// The lines over the panels, smoothed only where they join generations, and
// the panels' frames on top.
void drawLinesAndFrames(QPainter& p, const GraphLayout& g, const std::vector<Column>& cols, bool joined) {
    p.setRenderHint(QPainter::Antialiasing, joined);
    drawLine(p, cols, g.a, analysis::Deaths, kLines[2].colour, 1, joined);
    drawLine(p, cols, g.a, analysis::Births, kLines[1].colour, 1, joined);
    drawLine(p, cols, g.a, analysis::Population, kLines[0].colour, 1, joined);
    drawLine(p, cols, g.b, analysis::TopShare, kLines[4].colour, g.b.top, joined);
    drawLine(p, cols, g.b, analysis::Colours, kLines[3].colour, 1, joined);
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    for (const QRect& r : {g.a.r, g.b.r, g.c}) p.drawRect(r.adjusted(0, 0, -1, -1));
}

// The generation axis below the band.
void drawGenerationAxis(QPainter& p, const GraphLayout& g, const GraphSeries& series) {
    const int64_t n = series.size();
    const int32_t first = series.firstGeneration();
    const auto xOf = [&](double generation) {
        return g.left +
               static_cast<int>(std::lround(n <= 1 ? 0 : (generation - first) * (g.width - 1) / double(n - 1)));
    };
    p.setPen(Qt::black);
    for (double generation : analysis::AxisTicks(first, first + double(n - 1), std::max(2, g.width / 90))) {
        const int x = xOf(generation);
        p.drawLine(x, g.c.bottom() + 1, x, g.c.bottom() + 4);
        p.drawText(QRect(x - 40, g.c.bottom() + 5, 80, 14), Qt::AlignHCenter | Qt::AlignTop, number(generation));
    }
    p.drawText(QRect(g.left, g.c.bottom() + 19, g.width, 14), Qt::AlignHCenter | Qt::AlignTop,
               text(texts::kGraphAxisGeneration));
}

// The legends: the lines on top, the families at the bottom.
void drawLegends(QPainter& p, const GraphLayout& g, const QFontMetrics& metrics) {
    int x = g.left;
    for (const LineStyle& l : kLines) {
        p.setPen(QPen(l.colour, 2));
        p.drawLine(x, g.area.top() + 12, x + 16, g.area.top() + 12);
        p.setPen(Qt::black);
        const QString name = text(l.name) + (l.line == analysis::TopShare ? QStringLiteral(" (%)") : QString());
        p.drawText(x + 20, g.area.top() + 16, name);
        x += 20 + metrics.horizontalAdvance(name) + 16;
    }
    x = g.left;
    const int legendY = g.area.bottom() - 18;
    p.drawText(x, legendY + 11, text(texts::kGraphFamilies));
    x += metrics.horizontalAdvance(text(texts::kGraphFamilies)) + 8;
    for (int f = 0; f < kFamilyCount; ++f) {
        p.fillRect(x, legendY + 2, 10, 10, familyColour(f));
        const QString name = text(texts::kFamilyNames[f]);
        p.drawText(x + 13, legendY + 11, name);
        x += 13 + metrics.horizontalAdvance(name) + 8;
    }
}

// What the box at the pointer says of a generation: its number, each
// line's value and the three largest families.
QStringList describeSample(const analysis::Sample& s) {
    QStringList lines{text(texts::kGraphGeneration) + QStringLiteral(" ") + QString::number(s.generation)};
    for (const LineStyle& l : kLines) {
        const double v = s.values[l.line];
        const QString value = std::isnan(v)                     ? QStringLiteral("-")
                              : l.line == analysis::TopShare ? QString::number(100 * v, 'f', 1) + " %"
                                                              : number(v);
        lines << text(l.name) + QStringLiteral(" ") + value;
    }
    std::array<int, kFamilyCount> order{};
    for (int f = 0; f < kFamilyCount; ++f) order[f] = f;
    std::sort(order.begin(), order.end(), [&](int i, int j) { return s.shares[i] > s.shares[j]; });
    for (int k = 0; k < 3 && s.shares[order[k]] > 0; ++k)
        lines << text(texts::kFamilyNames[order[k]]) + QStringLiteral(" ") + QString::number(100 * s.shares[order[k]], 'f', 1) + " %";
    return lines;
}

// The generation pointed at: a line through the panels and a box with its
// values beside it (on the left where the right has no room).
void drawPointedGeneration(QPainter& p, const GraphLayout& g, const std::vector<Column>& cols, int pointerX,
                           const QFontMetrics& metrics) {
    const Column* pointed = nullptr;
    for (const Column& col : cols)
        if (pointerX >= col.x && pointerX < col.x + col.width && col.b.count > 0) pointed = &col;
    if (!pointed) return;
    p.setPen(QPen(QColor(0, 0, 0, 120), 1, Qt::DashLine));
    p.drawLine(pointed->x, g.a.r.top(), pointed->x, g.c.bottom());
    const QStringList lines = describeSample(pointed->b.last);
    int boxWidth = 0;
    for (const QString& l : lines) boxWidth = std::max(boxWidth, metrics.horizontalAdvance(l));
    boxWidth += 12;
    const int boxHeight = static_cast<int>(lines.size()) * 14 + 8;
    int boxX = pointed->x + 10;
    if (boxX + boxWidth > g.right) boxX = pointed->x - 10 - boxWidth;
    const QRect box(boxX, g.a.r.top() + 6, boxWidth, boxHeight);
    p.fillRect(box, QColor(255, 255, 240, 235));
    p.setPen(Qt::gray);
    p.drawRect(box);
    p.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i) p.drawText(box.left() + 6, box.top() + 16 + 14 * i, lines[i]);
}

}  // namespace

void PaintGraph(QPainter& p, const QRect& area, const GraphSeries* series, int pointerX) {
    p.fillRect(area, Qt::white);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    const QFontMetrics metrics(font);
    if (!series || series->size() == 0) {
        p.setPen(Qt::darkGray);
        p.drawText(area, Qt::AlignCenter, text(texts::kGraphEmpty));
        return;
    }
    const GraphLayout layout = layOut(area, *series);
    const bool joined = series->size() <= layout.width;
    const std::vector<Column> cols = makeColumns(*series, layout.left, layout.width, joined);
    drawValueAxes(p, layout);
    drawFamilyBand(p, layout, cols);
    drawLinesAndFrames(p, layout, cols, joined);
    drawGenerationAxis(p, layout, *series);
    drawLegends(p, layout, metrics);
    drawPointedGeneration(p, layout, cols, pointerX, metrics);
}

// ---- the plot --------------------------------------------------------------------

GraphPlot::GraphPlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(420, 300);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage GraphPlot::picture() const {
    QImage image(size(), QImage::Format_RGB32);
    QPainter p(&image);
    PaintGraph(p, image.rect(), series_, -1);
    return image;
}

void GraphPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintGraph(p, rect(), series_, pointerX_);
}

void GraphPlot::mouseMoveEvent(QMouseEvent* event) {
    pointerX_ = static_cast<int>(event->position().x());
    update();
}

void GraphPlot::leaveEvent(QEvent*) {
    pointerX_ = -1;
    update();
}

// ---- the window ------------------------------------------------------------------

class QtGraphWindow::Frame : public QWidget {
public:
    std::function<void()> onClose;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (onClose) onClose();
        event->accept();
    }
};

QtGraphWindow::QtGraphWindow() : frame_(std::make_unique<Frame>()) {
    frame_->setWindowTitle(text(texts::kGraphTitle));
    frame_->setObjectName(QStringLiteral("graphWindow"));
    // Closing the main window ends the program, also while the graph is open.
    frame_->setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(frame_.get());
    plot_ = new GraphPlot(frame_.get());
    layout->addWidget(plot_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const std::pair<const char*, GraphExport> exports[] = {
        {texts::kGraphExportCsv, GraphExport::Csv},
        {texts::kGraphExportPng, GraphExport::Png},
        {texts::kGraphExportSvg, GraphExport::Svg},
    };
    for (const auto& [caption, kind] : exports) {
        auto* button = new QPushButton(text(caption), frame_.get());
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, frame_.get(), [this, kind = kind] {
            if (events_) events_->graphExportRequested(kind);
        });
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    frame_->resize(760, 540);
    frame_->onClose = [this] {
        if (events_) events_->graphClosed();
    };
    redraw_.setSingleShot(true);
    QObject::connect(&redraw_, &QTimer::timeout, plot_, [this] { plot_->update(); });
}

QtGraphWindow::~QtGraphWindow() { events_ = nullptr; }

QWidget* QtGraphWindow::widget() const { return frame_.get(); }

void QtGraphWindow::setVisible(bool visible) {
    if (visible) {
        frame_->show();
        frame_->raise();
        plot_->update();
    } else {
        frame_->hide();
    }
}

bool QtGraphWindow::visible() const { return frame_->isVisible(); }

void QtGraphWindow::showSeries(const analysis::GraphSeries* series) {
    plot_->setSeries(series);
    plot_->update();
}

void QtGraphWindow::seriesChanged() {
    if (frame_->isVisible() && !redraw_.isActive()) redraw_.start(kRedrawMs);
}

std::vector<uint8_t> QtGraphWindow::picturePng() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    plot_->picture().save(&buffer, "PNG");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

std::array<int, 4> QtGraphWindow::geometry() const {
    const QRect r = frame_->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

void QtGraphWindow::setGeometry(const std::array<int, 4>& g) { frame_->setGeometry(g[0], g[1], g[2], g[3]); }

}  // namespace platform::qt
