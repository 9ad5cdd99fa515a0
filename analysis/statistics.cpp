// SPDX-License-Identifier: MIT
#include "analysis/statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/generation_step.h"
#include "engine/stimulation.h"

namespace analysis {

namespace {

// The family of every colour with 5 bits a channel, red in the top bits,
// computed once from the middle of each cube of colours.
const std::array<uint8_t, 32768>& familyTable() {
    static const std::array<uint8_t, 32768> table = [] {
        std::array<uint8_t, 32768> t{};
        for (int i = 0; i < 32768; ++i) {
            const double r = ((i >> 10) & 31) * 8 + 4, g = ((i >> 5) & 31) * 8 + 4, b = (i & 31) * 8 + 4;
            const double high = std::max({r, g, b}), low = std::min({r, g, b}), chroma = high - low;
            if (chroma < 32 || chroma * 5 < high) {
                t[i] = kGreyFamily;
                continue;
            }
            double hue = high == r ? (g - b) / chroma : high == g ? (b - r) / chroma + 2 : (r - g) / chroma + 4;
            hue *= 60;
            if (hue < 0) hue += 360;
            t[i] = static_cast<uint8_t>(static_cast<int>((hue + 15) / 30) % 12);
        }
        return t;
    }();
    return table;
}

std::string number(double value, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

int HueFamily(uint8_t red, uint8_t green, uint8_t blue) {
    return familyTable()[(red >> 3) << 10 | (green >> 3) << 5 | blue >> 3];
}

Sample GenerationStats::sample() const {
    Sample s;
    s.generation = generation;
    s.values[Population] = population;
    s.values[Births] = births < 0 ? std::nan("") : births;
    s.values[Deaths] = deaths < 0 ? std::nan("") : deaths;
    s.values[Colours] = colours;
    s.values[TopShare] = topShare;
    s.values[Shannon] = shannon;
    s.values[Simpson] = simpson;
    for (const Line l : {SurvivorsRed, SurvivorsGreen, SurvivorsBlue}) s.values[l] = std::nan("");
    for (int f = 0; f < kFamilyCount; ++f) s.shares[f] = static_cast<float>(familyShare(f));
    return s;
}

// One pass over the board: live cells, their colours and families, and the
// changes against the live cells of the board before.
GenerationStats Meter::measure(const engine::Board& board, bool follows) {
    const auto& table = familyTable();
    GenerationStats row;
    row.generation = board.Generation;
    const std::size_t n = board.Cells.size();
    const bool compare = follows && wasLive_.size() == n;
    wasLive_.resize(n);
    colours_.clear();
    for (std::size_t i = 0; i < n; ++i) {
        // Most of a board is dead and stays dead: eight such cells at a time.
        if ((i & 7) == 0 && i + 8 <= n) {
            unsigned states = 0, was = 0;
            for (std::size_t k = 0; k < 8; ++k) {
                states |= board.Cells[i + k].State;
                was |= wasLive_[i + k];
            }
            if ((states | was) == 0) {
                i += 7;
                continue;
            }
        }
        const engine::CellRecord& c = board.Cells[i];
        const uint8_t live = c.State != 0;
        if (compare) {
            row.births += live & (wasLive_[i] ^ 1);
            row.deaths += (live ^ 1) & wasLive_[i];
        }
        wasLive_[i] = live;
        if (!live) continue;
        colours_.push_back(static_cast<uint32_t>(c.Red) << 16 | static_cast<uint32_t>(c.Green) << 8 | c.Blue);
        ++row.families[table[(c.Red >> 3) << 10 | (c.Green >> 3) << 5 | c.Blue >> 3]];
    }
    std::sort(colours_.begin(), colours_.end());
    row.population = static_cast<int32_t>(colours_.size());
    std::size_t top = 0;
    const double total = static_cast<double>(colours_.size());
    double squares = 0;
    for (std::size_t i = 0; i < colours_.size();) {
        std::size_t j = i;
        while (j < colours_.size() && colours_[j] == colours_[i]) ++j;
        ++row.colours;
        top = std::max(top, j - i);
        const double p = static_cast<double>(j - i) / total;
        row.shannon -= p * std::log(p);
        squares += p * p;
        i = j;
    }
    row.topShare = colours_.empty() ? 0.0 : static_cast<double>(top) / total;
    row.shannon = std::max(row.shannon, 0.0);  // not -0 for a single colour
    row.simpson = colours_.empty() ? 0.0 : std::max(1.0 - squares, 0.0);
    return row;
}

ColourMix MeasureColourMix(const engine::Board& board) {
    std::vector<uint32_t> colours;
    for (const engine::CellRecord& c : board.Cells)
        if (c.State != 0)
            colours.push_back(static_cast<uint32_t>(c.Red) << 16 | static_cast<uint32_t>(c.Green) << 8 | c.Blue);
    std::sort(colours.begin(), colours.end());
    ColourMix mix;
    // Summed in the colours' order, so that the result does not depend on
    // where the cells stand.
    const double total = static_cast<double>(colours.size());
    for (std::size_t i = 0; i < colours.size();) {
        std::size_t j = i;
        while (j < colours.size() && colours[j] == colours[i]) ++j;
        const double p = static_cast<double>(j - i) / total;
        mix.shannon -= p * std::log(p);
        ++mix.colours;
        i = j;
    }
    if (mix.shannon <= 0.0) mix.shannon = 0.0;  // not -0 for a single colour
    return mix;
}

std::vector<GenerationStats> RunStatistics(engine::Board board, int32_t generations, engine::RandomSequence& random,
                                           bool stimulate) {
    std::vector<GenerationStats> rows;
    rows.reserve(static_cast<std::size_t>(generations) + 1);
    Meter meter;
    rows.push_back(meter.measure(board, false));
    engine::Stepper stepper;
    // The window counts the loaded board once when it draws it.
    if (stimulate) engine::RecordPopulation(board, board.countLive());
    for (int32_t g = 0; g < generations; ++g) {
        if (stimulate) engine::StepAndStimulate(stepper, board, random);
        else stepper.ReCalc(board, random);
        rows.push_back(meter.measure(board, true));
    }
    return rows;
}

std::string StatisticsCsv(const std::vector<GenerationStats>& rows, bool families) {
    std::string out = "generation,population,births,deaths,colours,top_colour_share";
    if (families)
        for (const Family& f : kFamilies) out += std::string(",") + f.name;
    out += '\n';
    for (const GenerationStats& r : rows) {
        // Births and deaths not measured (the generation before was not) stay empty.
        const auto change = [](int32_t n) { return n < 0 ? std::string() : std::to_string(n); };
        out += std::to_string(r.generation) + ',' + std::to_string(r.population) + ',' + change(r.births) + ',' +
               change(r.deaths) + ',' + std::to_string(r.colours) + ',' + number(r.topShare, "%.4f");
        if (families)
            for (int f = 0; f < kFamilyCount; ++f) out += ',' + number(r.familyShare(f), "%.4f");
        out += '\n';
    }
    return out;
}

namespace {

// The SVG chart of a run: the lines of population and distinct colours in
// a frame with a value axis on either side, the colour families as a band
// below it, the legend above. Sizes and places in the picture's units.
constexpr double kSvgWidth = 640, kSvgHeight = 520, kLeft = 70, kRight = 570, kTop = 50, kBottom = 300;
constexpr double kBandTop = 330, kBandBottom = 430;
constexpr const char* kPopulationColour = "#1f5fbf";
constexpr const char* kColoursColour = "#d9661f";

std::string svgText(double x, double y, const std::string& s, const std::string& extra = "") {
    return "<text x=\"" + number(x, "%.1f") + "\" y=\"" + number(y, "%.1f") + "\"" + extra + ">" + s + "</text>\n";
}

std::string svgSegment(double x1, double y1, double x2, double y2, const char* colour) {
    return "<line x1=\"" + number(x1, "%.1f") + "\" y1=\"" + number(y1, "%.1f") + "\" x2=\"" + number(x2, "%.1f") +
           "\" y2=\"" + number(y2, "%.1f") + "\" stroke=\"" + colour + "\"/>\n";
}

std::string svgLabel(double v) { return number(v, std::abs(v - std::round(v)) < 1e-9 ? "%.0f" : "%g"); }

// Where the rows go on the chart: the generation axis's range, the values
// at the top of the frame and the rows drawn.
struct SvgChart {
    const std::vector<GenerationStats>& rows;
    bool ordered;  // false: the generation counter restarted, rows go by position
    double xFirst, xLast;
    int32_t maxPopulation, maxColours;
    std::vector<std::size_t> shown;

    double px(std::size_t i) const {
        const double x = ordered ? rows[i].generation : static_cast<double>(i);
        return kLeft + (x - xFirst) / (xLast - xFirst) * (kRight - kLeft);
    }
    static double py(double value, double max) { return kBottom - value / max * (kBottom - kTop); }
};

SvgChart placeRows(const std::vector<GenerationStats>& rows) {
    // A run from the start (generation 0 or 1) has its axis begin at 0, with a tick there.
    const double first = rows.front().generation == 1 ? 0 : rows.front().generation;
    const double last = std::max<double>(rows.back().generation, first + 1);
    int32_t maxPopulation = 1, maxColours = 1;
    for (const GenerationStats& r : rows) {
        maxPopulation = std::max(maxPopulation, r.population);
        maxColours = std::max(maxColours, r.colours);
    }
    // The rows in order of position: a run whose generation counter restarts
    // (auto-stimulation does that) is drawn by its rows' order.
    const bool ordered = std::is_sorted(rows.begin(), rows.end(), [](const GenerationStats& a, const GenerationStats& b) {
        return a.generation < b.generation;
    });
    // At most about a thousand points a line: a chart this size shows no more.
    const std::size_t stride = std::max<std::size_t>(1, rows.size() / 1000);
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < rows.size(); i += stride) shown.push_back(i);
    if (shown.back() != rows.size() - 1) shown.push_back(rows.size() - 1);
    return SvgChart{rows,       ordered,    ordered ? first : 0, ordered ? last : std::max<double>(1, rows.size() - 1),
                    maxPopulation, maxColours, std::move(shown)};
}

// The frame: the left axis in the population's colour, the right one in the
// colours', each with its ticks and labels; the generation axis's ticks on
// the frame and the band, labelled below the band.
std::string svgAxes(const SvgChart& chart) {
    std::string svg = svgSegment(kLeft, kBottom, kRight, kBottom, "black");
    svg += svgSegment(kLeft, kTop, kLeft, kBottom, kPopulationColour);
    svg += svgSegment(kRight, kTop, kRight, kBottom, kColoursColour);
    const auto py = [](double value, double max) { return SvgChart::py(value, max); };
    for (double v : AxisTicks(0, chart.maxPopulation, 5)) {
        svg += svgSegment(kLeft - 5, py(v, chart.maxPopulation), kLeft, py(v, chart.maxPopulation), kPopulationColour);
        svg += svgText(kLeft - 8, py(v, chart.maxPopulation) + 4, svgLabel(v),
                       std::string(" fill=\"") + kPopulationColour + "\" text-anchor=\"end\"");
    }
    for (double v : AxisTicks(0, chart.maxColours, 5)) {
        svg += svgSegment(kRight, py(v, chart.maxColours), kRight + 5, py(v, chart.maxColours), kColoursColour);
        svg += svgText(kRight + 8, py(v, chart.maxColours) + 4, svgLabel(v), std::string(" fill=\"") + kColoursColour + "\"");
    }
    for (double v : AxisTicks(chart.xFirst, chart.xLast, 6)) {
        const double x = kLeft + (v - chart.xFirst) / (chart.xLast - chart.xFirst) * (kRight - kLeft);
        svg += svgSegment(x, kBandBottom, x, kBandBottom + 5, "black");
        svg += svgSegment(x, kBottom, x, kBottom + 4, "black");
        svg += svgText(x, kBandBottom + 18, svgLabel(v), " text-anchor=\"middle\"");
    }
    return svg;
}

// One line of values over the shown rows, scaled to max at the frame's top.
template <typename Value>
std::string svgLine(const SvgChart& chart, Value value, double max, const char* colour) {
    std::string points;
    for (std::size_t i : chart.shown)
        points += number(chart.px(i), "%.1f") + ',' + number(SvgChart::py(value(chart.rows[i]), max), "%.1f") + ' ';
    return std::string("<polyline fill=\"none\" stroke=\"") + colour + "\" stroke-width=\"1.5\" points=\"" + points +
           "\"/>\n";
}

// The colour families stacked to 100 %, one polygon each, in a framed band.
std::string svgFamilyBand(const SvgChart& chart) {
    std::string svg;
    for (int f = 0; f < kFamilyCount; ++f) {
        std::string upper, lower;
        for (std::size_t i : chart.shown) {
            double below = 0;
            for (int g = 0; g < f; ++g) below += chart.rows[i].familyShare(g);
            const double above = below + chart.rows[i].familyShare(f);
            const auto y = [&](double share) { return kBandBottom - share * (kBandBottom - kBandTop); };
            upper += number(chart.px(i), "%.1f") + ',' + number(y(above), "%.1f") + ' ';
            lower = number(chart.px(i), "%.1f") + ',' + number(y(below), "%.1f") + ' ' + lower;
        }
        const Family& family = kFamilies[f];
        svg += "<polygon fill=\"rgb(" + std::to_string(family.red) + "," + std::to_string(family.green) + "," +
               std::to_string(family.blue) + ")\" stroke=\"none\" points=\"" + upper + lower + "\"><title>" +
               family.name + "</title></polygon>\n";
    }
    svg += "<rect x=\"" + number(kLeft, "%.0f") + "\" y=\"" + number(kBandTop, "%.0f") + "\" width=\"" +
           number(kRight - kLeft, "%.0f") + "\" height=\"" + number(kBandBottom - kBandTop, "%.0f") +
           "\" fill=\"none\" stroke=\"black\"/>\n";
    svg += svgText(kLeft - 8, kBandTop + 4, "100 %", " text-anchor=\"end\"");
    svg += svgText(kLeft - 8, kBandBottom + 4, "0 %", " text-anchor=\"end\"");
    // The band's title above it, inside the picture; its colours named below the chart.
    svg += svgText(kLeft, kBandTop - 8, "colour families");
    constexpr int kPerRow = 7;
    constexpr double kEntryWidth = (kRight - kLeft) / kPerRow;
    for (int f = 0; f < kFamilyCount; ++f) {
        const Family& family = kFamilies[f];
        const double x = kLeft + (f % kPerRow) * kEntryWidth, y = kBandBottom + 58 + (f / kPerRow) * 17;
        svg += "<rect x=\"" + number(x, "%.1f") + "\" y=\"" + number(y - 9, "%.1f") +
               "\" width=\"10\" height=\"10\" fill=\"rgb(" + std::to_string(family.red) + "," +
               std::to_string(family.green) + "," + std::to_string(family.blue) + ")\"/>\n";
        svg += svgText(x + 14, y, family.name, " font-size=\"11\"");
    }
    return svg;
}

// The legend names each line and its axis; the generation axis's title.
std::string svgLegend(const SvgChart& chart) {
    std::string svg = svgSegment(kLeft, 24, kLeft + 24, 24, kPopulationColour);
    svg += svgText(kLeft + 30, 28, "population (left axis)", std::string(" fill=\"") + kPopulationColour + "\"");
    svg += svgSegment(kRight - 190, 24, kRight - 166, 24, kColoursColour);
    svg += svgText(kRight - 160, 28, "distinct colours (right axis)", std::string(" fill=\"") + kColoursColour + "\"");
    svg += svgText((kLeft + kRight) / 2, kBandBottom + 36,
                   chart.ordered ? "generation" : "generations run (the counter restarted on the way)",
                   " text-anchor=\"middle\"");
    return svg;
}

}  // namespace

std::string StatisticsSvg(const std::vector<GenerationStats>& rows) {
    if (rows.empty()) return {};
    const SvgChart chart = placeRows(rows);
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"520\" viewBox=\"0 0 " +
                      number(kSvgWidth, "%.0f") + ' ' + number(kSvgHeight, "%.0f") +
                      "\" font-family=\"sans-serif\" font-size=\"12\">\n"
                      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += svgAxes(chart);
    svg += svgLine(chart, [](const GenerationStats& r) { return double(r.population); }, chart.maxPopulation,
                   kPopulationColour);
    svg += svgLine(chart, [](const GenerationStats& r) { return double(r.colours); }, chart.maxColours, kColoursColour);
    svg += svgFamilyBand(chart);
    svg += svgLegend(chart);
    svg += "</svg>\n";
    return svg;
}

std::string StatisticsSummary(const std::vector<GenerationStats>& rows) {
    if (rows.empty()) return "\n";
    const GenerationStats &first = rows.front(), &last = rows.back();
    int32_t least = first.population, most = first.population;
    int64_t births = 0, deaths = 0;
    for (const GenerationStats& r : rows) {
        least = std::min(least, r.population);
        most = std::max(most, r.population);
        births += std::max(r.births, 0);
        deaths += std::max(r.deaths, 0);
    }
    return "generations " + std::to_string(first.generation) + " to " + std::to_string(last.generation) +
           ": population " + std::to_string(first.population) + " to " + std::to_string(last.population) + " (least " +
           std::to_string(least) + ", most " + std::to_string(most) + "), " + std::to_string(births) + " births, " +
           std::to_string(deaths) + " deaths, colours " + std::to_string(first.colours) + " to " +
           std::to_string(last.colours) + ", most common colour " + number(100.0 * last.topShare, "%.1f") +
           " % at the end\n";
}

}  // namespace analysis
