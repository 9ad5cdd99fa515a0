// SPDX-License-Identifier: MIT
#include "cli/statistics.h"

#include <algorithm>
#include <cstdio>

#include "engine/rules.h"

namespace cli {

namespace {

// Population, distinct colours and the most common colour's share.
void measure(const engine::Board& board, GenerationStats& row, std::vector<uint32_t>& colours) {
    colours.clear();
    for (const engine::CellRecord& c : board.Cells)
        if (c.State != 0)
            colours.push_back(static_cast<uint32_t>(c.Red & 0xFF) << 16 | static_cast<uint32_t>(c.Green & 0xFF) << 8 |
                              static_cast<uint32_t>(c.Blue & 0xFF));
    std::sort(colours.begin(), colours.end());
    row.population = static_cast<int32_t>(colours.size());
    row.colours = 0;
    std::size_t top = 0;
    for (std::size_t i = 0; i < colours.size();) {
        std::size_t j = i;
        while (j < colours.size() && colours[j] == colours[i]) ++j;
        ++row.colours;
        top = std::max(top, j - i);
        i = j;
    }
    row.topShare = colours.empty() ? 0.0 : static_cast<double>(top) / static_cast<double>(colours.size());
}

std::string number(double value, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::vector<GenerationStats> RunStatistics(engine::Board board, int32_t generations, engine::RandomSequence& random) {
    std::vector<GenerationStats> rows;
    rows.reserve(static_cast<std::size_t>(generations) + 1);
    std::vector<uint32_t> colours;
    std::vector<uint8_t> wasLive(board.Cells.size());
    GenerationStats row;
    row.generation = board.Generation;
    measure(board, row, colours);
    rows.push_back(row);
    engine::Stepper stepper;
    for (int32_t g = 0; g < generations; ++g) {
        for (std::size_t i = 0; i < board.Cells.size(); ++i) wasLive[i] = board.Cells[i].State != 0;
        stepper.ReCalc(board, random);
        row = GenerationStats{};
        row.generation = board.Generation;
        for (std::size_t i = 0; i < board.Cells.size(); ++i) {
            const bool live = board.Cells[i].State != 0;
            row.births += live && !wasLive[i];
            row.deaths += !live && wasLive[i];
        }
        measure(board, row, colours);
        rows.push_back(row);
    }
    return rows;
}

std::string StatisticsCsv(const std::vector<GenerationStats>& rows) {
    std::string out = "generation,population,births,deaths,colours,top_colour_share\n";
    for (const GenerationStats& r : rows)
        out += std::to_string(r.generation) + ',' + std::to_string(r.population) + ',' + std::to_string(r.births) +
               ',' + std::to_string(r.deaths) + ',' + std::to_string(r.colours) + ',' + number(r.topShare, "%.4f") +
               '\n';
    return out;
}

std::string StatisticsSvg(const std::vector<GenerationStats>& rows) {
    constexpr double kWidth = 640, kHeight = 360, kLeft = 70, kRight = 570, kTop = 40, kBottom = 300;
    if (rows.empty()) return {};
    const double first = rows.front().generation;
    const double last = std::max<double>(rows.back().generation, first + 1);
    int32_t maxPopulation = 1, maxColours = 1;
    for (const GenerationStats& r : rows) {
        maxPopulation = std::max(maxPopulation, r.population);
        maxColours = std::max(maxColours, r.colours);
    }
    const auto px = [&](double generation) { return kLeft + (generation - first) / (last - first) * (kRight - kLeft); };
    const auto py = [&](double value, double max) { return kBottom - value / max * (kBottom - kTop); };
    // At most about a thousand points a line: a chart this size shows no more.
    const std::size_t stride = std::max<std::size_t>(1, rows.size() / 1000);
    const auto line = [&](auto value, double max, const char* colour) {
        std::string points;
        const auto add = [&](const GenerationStats& r) {
            points += number(px(r.generation), "%.1f") + ',' + number(py(value(r), max), "%.1f") + ' ';
        };
        for (std::size_t i = 0; i < rows.size(); i += stride) add(rows[i]);
        if ((rows.size() - 1) % stride != 0) add(rows.back());
        return std::string("<polyline fill=\"none\" stroke=\"") + colour + "\" stroke-width=\"1.5\" points=\"" + points +
               "\"/>\n";
    };
    const auto text = [](double x, double y, const std::string& s, const char* extra = "") {
        return "<text x=\"" + number(x, "%.1f") + "\" y=\"" + number(y, "%.1f") + "\"" + extra + ">" + s + "</text>\n";
    };
    const std::string axes = number(kLeft, "%.0f") + ',' + number(kTop, "%.0f") + ' ' + number(kLeft, "%.0f") + ',' +
                             number(kBottom, "%.0f") + ' ' + number(kRight, "%.0f") + ',' + number(kBottom, "%.0f") +
                             ' ' + number(kRight, "%.0f") + ',' + number(kTop, "%.0f");
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"360\" viewBox=\"0 0 " +
                      number(kWidth, "%.0f") + ' ' + number(kHeight, "%.0f") +
                      "\" font-family=\"sans-serif\" font-size=\"12\">\n"
                      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
                      "<polyline fill=\"none\" stroke=\"black\" points=\"" + axes + "\"/>\n";
    svg += line([](const GenerationStats& r) { return double(r.population); }, maxPopulation, "#1f5fbf");
    svg += line([](const GenerationStats& r) { return double(r.colours); }, maxColours, "#d9661f");
    svg += text(kLeft, 24, "population", " fill=\"#1f5fbf\"");
    svg += text(kRight, 24, "distinct colours", " fill=\"#d9661f\" text-anchor=\"end\"");
    svg += text(kLeft - 6, kBottom + 4, "0", " text-anchor=\"end\"");
    svg += text(kLeft - 6, kTop + 4, std::to_string(maxPopulation), " text-anchor=\"end\"");
    svg += text(kRight + 6, kBottom + 4, "0");
    svg += text(kRight + 6, kTop + 4, std::to_string(maxColours));
    svg += text(kLeft, kBottom + 18, std::to_string(rows.front().generation), " text-anchor=\"middle\"");
    svg += text(kRight, kBottom + 18, std::to_string(rows.back().generation), " text-anchor=\"middle\"");
    svg += text((kLeft + kRight) / 2, kBottom + 40, "generation", " text-anchor=\"middle\"");
    svg += text(20, (kTop + kBottom) / 2, "population",
                " fill=\"#1f5fbf\" text-anchor=\"middle\" transform=\"rotate(-90 20 170)\"");
    svg += text(kWidth - 20, (kTop + kBottom) / 2, "distinct colours",
                " fill=\"#d9661f\" text-anchor=\"middle\" transform=\"rotate(90 620 170)\"");
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
        births += r.births;
        deaths += r.deaths;
    }
    return "generations " + std::to_string(first.generation) + " to " + std::to_string(last.generation) +
           ": population " + std::to_string(first.population) + " to " + std::to_string(last.population) + " (least " +
           std::to_string(least) + ", most " + std::to_string(most) + "), " + std::to_string(births) + " births, " +
           std::to_string(deaths) + " deaths, colours " + std::to_string(first.colours) + " to " +
           std::to_string(last.colours) + ", most common colour " + number(100.0 * last.topShare, "%.1f") +
           " % at the end\n";
}

}  // namespace cli
