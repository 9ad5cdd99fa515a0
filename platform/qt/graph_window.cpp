// SPDX-License-Identifier: MIT
#include "platform/qt/graph_window.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/qt/qt_strings.h"
#include "platform/qt/qt_translations.h"
#include "ui/texts.h"

namespace platform::qt {

namespace {

using analysis::Bucket;
using analysis::GraphSeries;
using analysis::kFamilies;
using analysis::kFamilyCount;

QString text(const char* s) { return TranslatedText(s); }  // in the language in use

struct LineStyle {
    analysis::Line line;
    const char* name;
    QColor colour;
    Qt::PenStyle style = Qt::SolidLine;
};

// Deaths are dashed, so that where they run along the births both show.
const LineStyle kLines[] = {
    {analysis::Population, texts::kGraphPopulation, QColor(31, 95, 191)},
    {analysis::Births, texts::kGraphBirths, QColor(42, 157, 58)},
    {analysis::Deaths, texts::kGraphDeaths, QColor(192, 57, 43), Qt::DashLine},
    {analysis::Colours, texts::kGraphColours, QColor(217, 102, 31)},
    {analysis::TopShare, texts::kGraphTopShare, QColor(123, 63, 160)},
    {analysis::Shannon, texts::kGraphShannon, QColor(20, 130, 130)},
    {analysis::Simpson, texts::kGraphSimpson, QColor(170, 40, 120), Qt::DashLine},
};
const LineStyle& style(analysis::Line line) {
    for (const LineStyle& l : kLines)
        if (l.line == line) return l;
    return kLines[0];
}
bool isShare(analysis::Line line) { return line == analysis::TopShare; }

// The founders' band: the largest founders in these colours, the rest grey.
constexpr int kShownFounders = 8;
const QColor kFounderColours[kShownFounders] = {
    QColor(78, 121, 167), QColor(242, 142, 43), QColor(225, 87, 89),  QColor(118, 183, 178),
    QColor(89, 161, 79),  QColor(237, 201, 72), QColor(176, 122, 161), QColor(255, 157, 167),
};
const QColor kOtherFounders(200, 200, 200);

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

// A panel: its rectangle and the value at its top (the bottom is 0, or 1
// on a logarithmic panel).
struct Panel {
    QRect r;
    double top = 1;
    bool log = false;
    int y(double v) const {
        const double f = log ? std::log10(std::max(v, 1.0)) / std::log10(std::max(top, 10.0)) : v / top;
        return r.bottom() - static_cast<int>(std::lround(f * (r.height() - 1)));
    }
};

// A line's values on a panel; `scale` turns them into the panel's (a share
// drawn against a panel whose top is `scale`).
void drawLine(QPainter& p, const std::vector<Column>& cols, const Panel& panel, analysis::Line line, double scale,
              bool joined) {
    const LineStyle& st = style(line);
    const bool dashed = st.style != Qt::SolidLine;
    // A one-pixel pen for the columns' extremes: the quickest to draw.
    p.setPen(QPen(st.colour, joined ? 1.5 : 0, joined ? st.style : Qt::SolidLine));
    const auto y = [&](double v) { return panel.y(v * scale); };
    bool havePrevious = false;
    QPoint previous;
    for (const Column& c : cols) {
        const analysis::Extent& e = c.b.lines[line];
        // Columns a fast run left unmeasured are bridged: the line goes on.
        if (c.b.count == 0 || e.empty()) continue;
        const double lastValue = std::isnan(c.b.last.values[line]) ? (e.low + e.high) / 2 : c.b.last.values[line];
        const QPoint here(c.x, y(lastValue));
        if (joined) {
            // A short run: a line from generation to generation.
            if (havePrevious) p.drawLine(previous, here);
            else p.drawPoint(here);
        } else {
            // The column's extremes, reaching to the column before so the
            // line stays whole; a dashed line leaves out every other four
            // columns.
            int high = y(e.high), low = y(e.low);
            const bool gap = dashed && (c.x / 4) % 2 == 1;
            if (havePrevious && c.x - previous.x() > 1) {
                if (!gap) p.drawLine(previous, QPoint(c.x, (high + low) / 2));  // across unmeasured columns
            } else if (havePrevious) {
                high = std::min(high, previous.y());
                low = std::max(low, previous.y());
            }
            if (!gap) p.drawLine(c.x, high, c.x, low);
        }
        previous = here;
        havePrevious = true;
    }
}

// A legend: entries laid out left to right, wrapped onto more rows where
// the width ends, so that none is cut off however narrow the window.
struct LegendEntry {
    QString name;
    std::function<void(QPainter&, int x, int y)> mark;  // draws the mark at (x, y), the row's top left
    int markWidth;
};
constexpr int kLegendRow = 16;

std::vector<QPoint> flowLegend(const std::vector<LegendEntry>& entries, int left, int width, const QFontMetrics& m) {
    std::vector<QPoint> at;
    int x = 0, row = 0;
    for (const LegendEntry& e : entries) {
        const int w = e.markWidth + 4 + m.horizontalAdvance(e.name);
        if (x > 0 && x + w > width) {
            x = 0;
            ++row;
        }
        at.emplace_back(left + x, row * kLegendRow);
        x += w + 12;
    }
    return at;
}
int legendRows(const std::vector<QPoint>& at) { return at.empty() ? 0 : at.back().y() / kLegendRow + 1; }

void drawLegend(QPainter& p, const std::vector<LegendEntry>& entries, const std::vector<QPoint>& at, int top,
                const QFontMetrics& m) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int x = at[i].x(), y = top + at[i].y();
        entries[i].mark(p, x, y);
        p.setPen(Qt::black);
        p.drawText(x + entries[i].markWidth + 4, y + 4 + m.ascent(), entries[i].name);
    }
}

LegendEntry lineEntry(const LineStyle& l) {
    const QString name = text(l.name) + (isShare(l.line) ? QStringLiteral(" (%)") : QString());
    return {name, [l](QPainter& p, int x, int y) {
                p.setPen(QPen(l.colour, 2, l.style));
                p.drawLine(x, y + 9, x + 18, y + 9);
            },
            18};
}
LegendEntry boxEntry(const QString& name, QColor colour) {
    return {name, [colour](QPainter& p, int x, int y) { p.fillRect(x, y + 4, 10, 10, colour); }, 10};
}
LegendEntry textEntry(const QString& name) {
    return {name, [](QPainter&, int, int) {}, -4};
}

// The founders shown in the band of `channel`: the kShownFounders with the
// largest share in any column, in the order of their numbers (the oldest
// at the bottom).
std::vector<uint64_t> shownFounders(const std::vector<Column>& cols, int channel) {
    std::vector<analysis::FounderShare> peak;
    for (const Column& c : cols)
        for (const analysis::FounderShare& f : c.b.founders[channel]) {
            if (f.founder == 0) break;
            auto it = std::find_if(peak.begin(), peak.end(), [&](const auto& g) { return g.founder == f.founder; });
            if (it == peak.end()) peak.push_back(f);
            else it->share = std::max(it->share, f.share);
        }
    std::sort(peak.begin(), peak.end(), [](const auto& a, const auto& b) {
        return a.share != b.share ? a.share > b.share : a.founder < b.founder;
    });
    std::vector<uint64_t> shown;
    for (std::size_t i = 0; i < peak.size() && i < kShownFounders; ++i) shown.push_back(peak[i].founder);
    std::sort(shown.begin(), shown.end());
    return shown;
}

// Where the graph's parts go: the legend of the lines on top, the panels
// (the counts; the colours, logarithmic, and the top share; the diversity;
// the colour families; the founders' shares when the lineage is followed),
// the generation axis and the legend of the bands below, with the value
// axes' ticks.
struct GraphLayout {
    QRect area;
    int left, right, width;
    Panel a, b, d;
    QRect c, f;  // f is empty without founders
    std::vector<double> ticksA, ticksB, ticksD;
    std::vector<LegendEntry> topLegend, bottomLegend;
    std::vector<QPoint> topAt, bottomAt;
    int bottomLegendTop;
};

std::vector<LegendEntry> bandLegend(const std::vector<Column>& cols, int channel,
                                    bool founders, const std::vector<uint64_t>& shown) {
    std::vector<LegendEntry> e{textEntry(text(texts::kGraphFamilies))};
    for (int f = 0; f < kFamilyCount; ++f) e.push_back(boxEntry(text(texts::kFamilyNames[f]), familyColour(f)));
    if (!founders) return e;
    e.push_back(textEntry(text(texts::kGraphFounders) + QStringLiteral(" (") + text(texts::kGraphChannelNames[channel]) +
                          QStringLiteral(")")));
    for (std::size_t i = 0; i < shown.size(); ++i)
        e.push_back(boxEntry(text(texts::kGraphFounderPrefix) + QString::number(shown[i]), kFounderColours[i]));
    e.push_back(boxEntry(text(texts::kGraphOtherFounders), kOtherFounders));
    // The survivors of the last generation recorded.
    const analysis::Sample* last = nullptr;
    for (auto it = cols.rbegin(); it != cols.rend() && !last; ++it)
        if (it->b.count > 0) last = &it->b.last;
    if (last) {
        QString survivors = text(texts::kGraphSurvivors);
        for (int c = 0; c < analysis::kLineageChannels; ++c) {
            const double v = last->values[analysis::SurvivorsRed + c];
            survivors += QStringLiteral(" ") + text(texts::kGraphChannelNames[c]) + QStringLiteral(" ") +
                         (std::isnan(v) ? QStringLiteral("-") : number(v));
        }
        e.push_back(textEntry(survivors));
    }
    return e;
}

GraphLayout layOut(const QRect& area, const GraphSeries& series, const std::vector<Column>& cols, int channel,
                   const QFontMetrics& m) {
    GraphLayout g;
    g.area = area;
    g.left = area.left() + 62;
    g.right = area.right() - 58;
    g.width = std::max(1, g.right - g.left + 1);
    const bool founders = !series.extent(analysis::SurvivorsRed).empty();
    for (const LineStyle& l : kLines) g.topLegend.push_back(lineEntry(l));
    g.bottomLegend = bandLegend(cols, channel, founders, founders ? shownFounders(cols, channel) : std::vector<uint64_t>{});
    const int legendLeft = area.left() + 8, legendWidth = area.width() - 16;
    g.topAt = flowLegend(g.topLegend, legendLeft, legendWidth, m);
    g.bottomAt = flowLegend(g.bottomLegend, legendLeft, legendWidth, m);
    const int top = area.top() + 6 + kLegendRow * legendRows(g.topAt) + 6;
    g.bottomLegendTop = area.bottom() - 4 - kLegendRow * legendRows(g.bottomAt);
    const int bottom = g.bottomLegendTop - 36;  // the generation axis
    const int panels = founders ? 5 : 4, gap = 10;
    const int height = std::max(100, bottom - top - (panels - 1) * gap);
    // Parts of the height, in percent: counts, colours, diversity, families, founders.
    const std::array<int, 5> part = founders ? std::array{30, 19, 15, 18, 18} : std::array{38, 23, 16, 23, 0};
    std::array<int, 5> h{};
    for (int i = 0; i < 5; ++i) h[i] = height * part[i] / 100;
    std::array<int, 5> y{};
    y[0] = top;
    for (int i = 1; i < 5; ++i) y[i] = y[i - 1] + h[i - 1] + gap;

    const auto high = [&](analysis::Line l) {
        const analysis::Extent e = series.extent(l);
        return e.empty() ? 0.0 : e.high;
    };
    const double maxA =
        std::max(1.0, std::max({high(analysis::Population), high(analysis::Births), high(analysis::Deaths)}));
    g.ticksA = analysis::AxisTicks(0, maxA, std::max(2, h[0] / 40));
    g.ticksB = analysis::LogAxisTicks(high(analysis::Colours));
    const double maxD = std::max(1.0, high(analysis::Shannon));
    g.ticksD = analysis::AxisTicks(0, maxD, std::max(2, h[2] / 30));
    g.a = Panel{QRect(g.left, y[0], g.width, h[0]), std::max(maxA, g.ticksA.back())};
    g.b = Panel{QRect(g.left, y[1], g.width, h[1]), g.ticksB.back(), true};
    g.d = Panel{QRect(g.left, y[2], g.width, h[2]), std::max(maxD, g.ticksD.back())};
    g.c = QRect(g.left, y[3], g.width, h[3]);
    if (founders) g.f = QRect(g.left, y[4], g.width, h[4]);
    return g;
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

// Grid lines and the value axes: counts on the left, shares on the right,
// each label in its line's colour where a panel has two.
void drawValueAxes(QPainter& p, const GraphLayout& g) {
    const Panel &a = g.a, &b = g.b, &d = g.d;
    p.setPen(QColor(225, 225, 225));
    for (double v : g.ticksA) p.drawLine(g.left, a.y(v), g.right, a.y(v));
    for (double v : g.ticksB) p.drawLine(g.left, b.y(v), g.right, b.y(v));
    for (double v : g.ticksD) p.drawLine(g.left, d.y(v), g.right, d.y(v));
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
    // Every decade is labelled; the 2 and 5 between them only while there is room.
    for (double v : g.ticksB) {
        const bool decade = std::abs(std::log10(v) - std::round(std::log10(v))) < 1e-9;
        if (decade || b.r.height() >= 80) leftLabel(b.y(v), number(v), style(analysis::Colours).colour);
    }
    for (double v : g.ticksD) leftLabel(d.y(v), number(v), style(analysis::Shannon).colour);
    for (int percent : {0, 50, 100}) rightLabel(b.y(0) - percent * (b.r.height() - 1) / 100, QString::number(percent) + " %", style(analysis::TopShare).colour);
    for (int tenth : {0, 5, 10})
        rightLabel(d.r.bottom() - tenth * (d.r.height() - 1) / 10, number(tenth / 10.0), style(analysis::Simpson).colour);
    for (const QRect& band : {g.c, g.f}) {
        if (band.isEmpty()) continue;
        for (int percent : {0, 50, 100})
            leftLabel(band.bottom() - percent * (band.height() - 1) / 100, QString::number(percent) + " %", Qt::black);
    }
}

// A band stacked to 100 % from the bottom, written into a picture pixel by
// pixel (far quicker than a rectangle per part and column). `parts` gives
// a column's shares and their colours, or false for a column to fill as
// the one before it.
void drawBand(QPainter& p, const QRect& r, const GraphLayout& g, const std::vector<Column>& cols,
              const std::function<bool(const Column&, std::vector<std::pair<double, QRgb>>&)>& parts) {
    QImage band(r.size(), QImage::Format_RGB32);
    band.fill(Qt::white);
    std::vector<std::pair<double, QRgb>> shares, previous;
    bool have = false;
    for (const Column& col : cols) {
        shares.clear();
        if (col.b.count > 0 && parts(col, shares)) {
            previous = shares;
            have = true;
        }
        // A column left unmeasured shows the one before it.
        if (!have) continue;
        double total = 0;
        for (const auto& s : previous) total += s.first;
        if (total <= 0) continue;
        double below = 0;
        for (const auto& [share, rgb] : previous) {
            const double above = below + share / total;
            const int y0 = band.height() - static_cast<int>(std::lround(above * band.height()));
            const int y1 = band.height() - static_cast<int>(std::lround(below * band.height()));
            for (int y = std::max(y0, 0); y < std::min(y1, band.height()); ++y) {
                auto* row = reinterpret_cast<QRgb*>(band.scanLine(y));
                for (int x = col.x - g.left; x < std::min(col.x - g.left + col.width, band.width()); ++x)
                    row[x] = rgb;
            }
            below = above;
        }
    }
    p.drawImage(r.topLeft(), band);
}

void drawFamilyBand(QPainter& p, const GraphLayout& g, const std::vector<Column>& cols) {
    std::array<QRgb, kFamilyCount> familyRgb{};
    for (int f = 0; f < kFamilyCount; ++f) familyRgb[f] = familyColour(f).rgb();
    drawBand(p, g.c, g, cols, [&](const Column& col, std::vector<std::pair<double, QRgb>>& parts) {
        for (int f = 0; f < kFamilyCount; ++f) parts.emplace_back(col.b.shares[f], familyRgb[f]);
        return true;
    });
}

// The founders' shares of the channel: the founders shown, the oldest at the
// bottom, the rest of the live cells as one grey band on top.
void drawFounderBand(QPainter& p, const GraphLayout& g, const std::vector<Column>& cols, int channel) {
    if (g.f.isEmpty()) return;
    const std::vector<uint64_t> shown = shownFounders(cols, channel);
    drawBand(p, g.f, g, cols, [&](const Column& col, std::vector<std::pair<double, QRgb>>& parts) {
        float live = 0;
        for (float s : col.b.shares) live += s;
        if (col.b.lines[analysis::SurvivorsRed].empty()) return false;
        if (live <= 0) return true;  // an empty board: nothing to stack
        double rest = 1;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            double share = 0;
            for (const analysis::FounderShare& f : col.b.founders[channel])
                if (f.founder == shown[i]) share = f.share;
            parts.emplace_back(share, kFounderColours[i].rgb());
            rest -= share;
        }
        parts.emplace_back(std::max(rest, 0.0), kOtherFounders.rgb());
        return true;
    });
}

// The lines over the panels, smoothed only where they join generations, and
// the panels' frames on top. Births are drawn before the dashed deaths, so
// that each shows where they meet.
void drawLinesAndFrames(QPainter& p, const GraphLayout& g, const std::vector<Column>& cols, bool joined) {
    p.setRenderHint(QPainter::Antialiasing, joined);
    drawLine(p, cols, g.a, analysis::Births, 1, joined);
    drawLine(p, cols, g.a, analysis::Deaths, 1, joined);
    drawLine(p, cols, g.a, analysis::Population, 1, joined);
    // The share against the logarithmic panel: drawn on a linear panel of the same rectangle.
    drawLine(p, cols, Panel{g.b.r, 1}, analysis::TopShare, 1, joined);
    drawLine(p, cols, g.b, analysis::Colours, 1, joined);
    drawLine(p, cols, Panel{g.d.r, 1}, analysis::Simpson, 1, joined);
    drawLine(p, cols, g.d, analysis::Shannon, 1, joined);
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    for (const QRect& r : {g.a.r, g.b.r, g.d.r, g.c, g.f})
        if (!r.isEmpty()) p.drawRect(r.adjusted(0, 0, -1, -1));
}

// The generation axis below the bands.
void drawGenerationAxis(QPainter& p, const GraphLayout& g, const GraphSeries& series) {
    const int64_t n = series.size();
    const int32_t first = series.firstGeneration();
    const int axis = (g.f.isEmpty() ? g.c : g.f).bottom();
    const auto xOf = [&](double generation) {
        return g.left +
               static_cast<int>(std::lround(n <= 1 ? 0 : (generation - first) * (g.width - 1) / double(n - 1)));
    };
    p.setPen(Qt::black);
    for (double generation : analysis::AxisTicks(first, first + double(n - 1), std::max(2, g.width / 90))) {
        const int x = xOf(generation);
        p.drawLine(x, axis + 1, x, axis + 4);
        p.drawText(QRect(x - 40, axis + 5, 80, 14), Qt::AlignHCenter | Qt::AlignTop, number(generation));
    }
    p.drawText(QRect(g.left, axis + 19, g.width, 14), Qt::AlignHCenter | Qt::AlignTop,
               text(texts::kGraphAxisGeneration));
}

// What the box at the pointer says of a generation: its number, each
// line's value, the three largest families and, with the lineage, the
// survivors and the three largest founders of the channel shown.
QStringList describeSample(const analysis::Sample& s, int channel) {
    QStringList lines{text(texts::kGraphGeneration) + QStringLiteral(" ") + QString::number(s.generation)};
    for (const LineStyle& l : kLines) {
        const double v = s.values[l.line];
        const QString value = std::isnan(v)  ? QStringLiteral("-")
                              : isShare(l.line) ? QString::number(100 * v, 'f', 1) + " %"
                              : l.line == analysis::Shannon || l.line == analysis::Simpson ? QString::number(v, 'f', 3)
                                                                                             : number(v);
        lines << text(l.name) + QStringLiteral(" ") + value;
    }
    std::array<int, kFamilyCount> order{};
    for (int f = 0; f < kFamilyCount; ++f) order[f] = f;
    std::sort(order.begin(), order.end(), [&](int i, int j) { return s.shares[i] > s.shares[j]; });
    for (int k = 0; k < 3 && s.shares[order[k]] > 0; ++k)
        lines << text(texts::kFamilyNames[order[k]]) + QStringLiteral(" ") + QString::number(100 * s.shares[order[k]], 'f', 1) + " %";
    if (std::isnan(s.values[analysis::SurvivorsRed])) return lines;
    QString survivors = text(texts::kGraphSurvivors);
    for (int c = 0; c < analysis::kLineageChannels; ++c)
        survivors += QStringLiteral(" ") + text(texts::kGraphChannelNames[c]) + QStringLiteral(" ") +
                     number(s.values[analysis::SurvivorsRed + c]);
    lines << survivors;
    for (int k = 0; k < 3 && s.founders[channel][k].founder != 0; ++k)
        lines << text(texts::kGraphFounderPrefix) + QString::number(s.founders[channel][k].founder) +
                     QStringLiteral(" ") + QString::number(100 * s.founders[channel][k].share, 'f', 1) + " %";
    return lines;
}

// The generation pointed at: a line through the panels and a box with its
// values beside it (on the left where the right has no room).
void drawPointedGeneration(QPainter& p, const GraphLayout& g, const std::vector<Column>& cols, int pointerX,
                           int channel, const QFontMetrics& metrics) {
    const Column* pointed = nullptr;
    for (const Column& col : cols)
        if (pointerX >= col.x && pointerX < col.x + col.width && col.b.count > 0) pointed = &col;
    if (!pointed) return;
    p.setPen(QPen(QColor(0, 0, 0, 120), 1, Qt::DashLine));
    p.drawLine(pointed->x, g.a.r.top(), pointed->x, (g.f.isEmpty() ? g.c : g.f).bottom());
    const QStringList lines = describeSample(pointed->b.last, channel);
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

void PaintGraph(QPainter& p, const QRect& area, const GraphSeries* series, int pointerX, int channel) {
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
    channel = std::clamp(channel, 0, analysis::kLineageChannels - 1);
    // The columns depend on the panels' width only, which the legends do not change.
    const int left = area.left() + 62, width = std::max(1, area.right() - 58 - left + 1);
    const bool joined = series->size() <= width;
    const std::vector<Column> cols = makeColumns(*series, left, width, joined);
    const GraphLayout layout = layOut(area, *series, cols, channel, metrics);
    drawValueAxes(p, layout);
    drawFamilyBand(p, layout, cols);
    drawFounderBand(p, layout, cols, channel);
    drawLinesAndFrames(p, layout, cols, joined);
    drawGenerationAxis(p, layout, *series);
    drawLegend(p, layout.topLegend, layout.topAt, area.top() + 4, metrics);
    drawLegend(p, layout.bottomLegend, layout.bottomAt, layout.bottomLegendTop, metrics);
    drawPointedGeneration(p, layout, cols, pointerX, channel, metrics);
}

// ---- the plot --------------------------------------------------------------------

GraphPlot::GraphPlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage GraphPlot::picture() const {
    QImage image(size(), QImage::Format_RGB32);
    QPainter p(&image);
    PaintGraph(p, image.rect(), series_, -1, channel_);
    return image;
}

void GraphPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintGraph(p, rect(), series_, pointerX_, channel_);
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
    std::function<void()> onLanguageChange;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (onClose) onClose();
        event->accept();
    }
    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::LanguageChange && onLanguageChange) onLanguageChange();
    }
};

QtGraphWindow::QtGraphWindow() : frame_(std::make_unique<Frame>()) {
    frame_->setObjectName(QStringLiteral("graphWindow"));
    // Closing the main window ends the program, also while the graph is open.
    frame_->setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(frame_.get());
    plot_ = new GraphPlot(frame_.get());
    layout->addWidget(plot_, 1);
    auto* buttons = new QHBoxLayout;
    // The channel whose founders the graph shows and the lineage export writes.
    auto* channelLabel = channelLabel_ = new QLabel(frame_.get());
    auto* channel = channel_ = new QComboBox(frame_.get());
    channel->setObjectName(QStringLiteral("founderChannel"));
    for (std::size_t i = 0; i < std::size(texts::kGraphChannelNames); ++i) channel->addItem(QString());
    channelLabel->setBuddy(channel);
    QObject::connect(channel, &QComboBox::currentIndexChanged, plot_, [this](int index) {
        plot_->setChannel(std::max(index, 0));
        plot_->update();
    });
    buttons->addWidget(channelLabel);
    buttons->addWidget(channel);
    buttons->addStretch(1);
    const std::pair<const char*, GraphExport> exports[] = {
        {texts::kGraphExportCsv, GraphExport::Csv},
        {texts::kGraphExportPng, GraphExport::Png},
        {texts::kGraphExportSvg, GraphExport::Svg},
        {texts::kGraphExportLineage, GraphExport::Lineage},
    };
    for (const auto& [caption, kind] : exports) {
        auto* button = new QPushButton(frame_.get());
        exportButtons_.emplace_back(button, caption);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, frame_.get(), [this, kind = kind] {
            if (events_) events_->graphExportRequested(kind);
        });
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    frame_->resize(760, 640);
    frame_->onClose = [this] {
        if (events_) events_->graphClosed();
    };
    showTexts();
    frame_->onLanguageChange = [this] {
        showTexts();
        plot_->update();  // its legends and axes are drawn in the language in use
    };
    redraw_.setSingleShot(true);
    QObject::connect(&redraw_, &QTimer::timeout, plot_, [this] {
        plot_->update();
        describePlot();
    });
}

QtGraphWindow::~QtGraphWindow() { events_ = nullptr; }

void QtGraphWindow::showTexts() {
    frame_->setWindowTitle(text(texts::kGraphTitle));
    channelLabel_->setText(text(texts::kGraphFounderChannel));
    for (int i = 0; i < channel_->count(); ++i) channel_->setItemText(i, text(texts::kGraphChannelNames[i]));
    for (const auto& [button, caption] : exportButtons_) button->setText(text(caption));
    plot_->setAccessibleName(text(texts::kAccessGraphPlotName));
    channel_->setAccessibleName(text(texts::kGraphFounderChannel));
    describePlot();
}

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
    describePlot();
}

void QtGraphWindow::describePlot() {
    // What the graph shows, and how many generations it holds, for screen readers.
    QString description = text(texts::kAccessGraphPlotDescription);
    if (const analysis::GraphSeries* series = plot_->series())
        description += text(texts::kAccessGraphRecorded) + QString::number(series->size());
    if (plot_->accessibleDescription() != description) plot_->setAccessibleDescription(description);
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

int QtGraphWindow::founderChannel() const { return plot_->channel(); }

std::array<int, 4> QtGraphWindow::geometry() const {
    const QRect r = frame_->geometry();
    return {r.x(), r.y(), r.width(), r.height()};
}

void QtGraphWindow::setGeometry(const std::array<int, 4>& g) { frame_->setGeometry(g[0], g[1], g[2], g[3]); }

}  // namespace platform::qt
