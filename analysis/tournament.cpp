// SPDX-License-Identifier: MIT
#include "analysis/tournament.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "analysis/statistics.h"
#include "engine/generation_step.h"
#include "engine/rules.h"
#include "engine/stimulation.h"

namespace analysis {

namespace {

constexpr const char* kChannelNames[kChannels] = {"red", "green", "blue"};

// Far apart to the eye and in hue, the first ones most of all: a two-group
// tournament is red against blue.
constexpr std::array<GroupColour, kMaxGroups> kGroupColours{{
    {230, 25, 75},    // red
    {0, 130, 200},    // blue
    {60, 180, 75},    // green
    {255, 225, 25},   // yellow
    {145, 30, 180},   // purple
    {70, 240, 240},   // cyan
    {245, 130, 48},   // orange
    {240, 50, 230},   // magenta
    {210, 245, 60},   // lime
    {250, 190, 190},  // pink
    {0, 128, 128},    // teal
    {170, 110, 40},   // brown
}};

constexpr int kStripeWidth = 4;
constexpr int kCheckerSide = 4;

// The group of cell (x, y) on a board of side n, for every layout but Scatter.
int groupAt(Layout layout, int groups, int32_t n, int32_t x, int32_t y) {
    switch (layout) {
        case Layout::Halves:
            return static_cast<int>(static_cast<int64_t>(x) * groups / n);
        case Layout::Quadrants: {
            // About √K rows of rectangles; the first K mod rows rows hold one more.
            int rows = 1;
            while ((rows + 1) * (rows + 1) <= groups) ++rows;
            const int row = static_cast<int>(static_cast<int64_t>(y) * rows / n);
            const int base = groups / rows, extra = groups % rows;
            const int inRow = base + (row < extra ? 1 : 0);
            const int first = row * base + std::min(row, extra);
            return first + static_cast<int>(static_cast<int64_t>(x) * inRow / n);
        }
        case Layout::Stripes:
            return (x / kStripeWidth) % groups;
        case Layout::Checker:
            return (x / kCheckerSide + y / kCheckerSide) % groups;
        case Layout::Scatter:
            break;
    }
    return 0;
}

std::string decimal(double value, int places) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", places, value);
    return text;
}

}  // namespace

const char* LayoutName(Layout layout) {
    switch (layout) {
        case Layout::Halves: return "halves";
        case Layout::Quadrants: return "quadrants";
        case Layout::Stripes: return "stripes";
        case Layout::Checker: return "checker";
        case Layout::Scatter: return "scatter";
    }
    return "";
}

std::optional<Layout> LayoutFromName(const std::string& name) {
    for (Layout l : {Layout::Halves, Layout::Quadrants, Layout::Stripes, Layout::Checker, Layout::Scatter})
        if (name == LayoutName(l)) return l;
    return std::nullopt;
}

GroupColour ColourOfGroup(int group) { return kGroupColours[static_cast<std::size_t>(group)]; }

const char* EndingName(Ending ending) {
    switch (ending) {
        case Ending::Fixation: return "fixation";
        case Ending::Extinction: return "extinction";
        case Ending::Limit: return "limit";
    }
    return "";
}

std::string DensityText(int32_t perTenThousand) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%04d", perTenThousand / 10000, perTenThousand % 10000);
    return text;
}

TournamentStart LayOutFounders(const TournamentSettings& settings, engine::RandomSequence& random) {
    TournamentStart start;
    const int32_t n = settings.size;
    start.board.create(n - 1);
    start.board.Generation = 1;
    start.groups.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), -1);
    // The density as a bound on the 24 bits of a fraction: exact, no float.
    const uint64_t below = (static_cast<uint64_t>(settings.densityPerTenThousand) << 24) / 10000;
    for (int32_t x = 0; x < n; ++x) {
        for (int32_t y = 0; y < n; ++y) {
            if (random.nextBits() >= below) continue;
            const int group = settings.layout == Layout::Scatter
                                  ? engine::ScaledDraw(random.next(), settings.groups)
                                  : groupAt(settings.layout, settings.groups, n, x, y);
            const GroupColour c = kGroupColours[static_cast<std::size_t>(group)];
            start.board.cell(x, y) = engine::CellRecord(1, c.red, c.green, c.blue);
            start.groups[start.board.index(x, y)] = static_cast<int8_t>(group);
        }
    }
    start.board.Population() = start.board.countLive();
    return start;
}

// ---- groups -------------------------------------------------------------------

GroupTracker::GroupTracker(const engine::Board& board, const std::vector<int8_t>& groups)
    : side_(board.side()), groups_(groups.size() * kChannels), wasLive_(groups.size()) {
    for (std::size_t i = 0; i < groups.size(); ++i)
        for (int c = 0; c < kChannels; ++c) groups_[i * kChannels + c] = groups[i];
}

void GroupTracker::beforeStep(const engine::Board& board) {
    for (std::size_t i = 0; i < wasLive_.size(); ++i) wasLive_[i] = board.Cells[i].State != 0;
}

// The first live neighbour of `cell` in `live` by ascending position after
// wrapping, after skipping `skip` of them; -1 when there is none.
int GroupTracker::firstLiveNeighbour(std::size_t cell, const std::vector<uint8_t>& live, int skip) const {
    const int32_t n = side_;
    const int32_t x = static_cast<int32_t>(cell / static_cast<std::size_t>(n));
    const int32_t y = static_cast<int32_t>(cell % static_cast<std::size_t>(n));
    std::array<std::size_t, 8> around{};
    int k = 0;
    for (int32_t dx = -1; dx <= 1; ++dx)
        for (int32_t dy = -1; dy <= 1; ++dy)
            if (dx != 0 || dy != 0)
                around[static_cast<std::size_t>(k++)] =
                    static_cast<std::size_t>((x + dx + n) % n) * static_cast<std::size_t>(n) +
                    static_cast<std::size_t>((y + dy + n) % n);
    std::sort(around.begin(), around.end());
    for (std::size_t neighbour : around)
        if (live[neighbour] && skip-- == 0) return static_cast<int>(neighbour);
    return -1;
}

void GroupTracker::afterStep(const engine::Board& board) {
    // Newborns first, from the live cells before the step; the step's order of
    // parents is that of the board before it.
    const std::size_t count = wasLive_.size();
    std::vector<std::size_t> born;
    for (std::size_t i = 0; i < count; ++i)
        if (board.Cells[i].State != 0 && !wasLive_[i]) born.push_back(i);
    std::vector<int8_t> inherited(born.size() * kChannels);
    for (std::size_t b = 0; b < born.size(); ++b)
        for (int c = 0; c < kChannels; ++c) {
            const int parent = firstLiveNeighbour(born[b], wasLive_, c);
            inherited[b * kChannels + static_cast<std::size_t>(c)] =
                parent < 0 ? -1 : groups_[static_cast<std::size_t>(parent) * kChannels + static_cast<std::size_t>(c)];
        }
    for (std::size_t b = 0; b < born.size(); ++b)
        for (int c = 0; c < kChannels; ++c)
            groups_[born[b] * kChannels + static_cast<std::size_t>(c)] = inherited[b * kChannels + static_cast<std::size_t>(c)];
    for (std::size_t i = 0; i < count; ++i) {
        wasLive_[i] = board.Cells[i].State != 0;
        if (!wasLive_[i])
            for (int c = 0; c < kChannels; ++c) groups_[i * kChannels + static_cast<std::size_t>(c)] = -1;
    }
}

void GroupTracker::afterStimulation(const engine::Board& board) {
    // At most two cells, each touching a cell that was live before it; the
    // second may touch only the first, so passes go on while one settles.
    for (bool settled = true; settled;) {
        settled = false;
        for (std::size_t i = 0; i < wasLive_.size(); ++i) {
            if (board.Cells[i].State == 0 || wasLive_[i]) continue;
            const int from = firstLiveNeighbour(i, wasLive_, 0);
            if (from < 0) continue;
            for (std::size_t c = 0; c < kChannels; ++c)
                groups_[i * kChannels + c] = groups_[static_cast<std::size_t>(from) * kChannels + c];
            wasLive_[i] = 1;
            settled = true;
        }
    }
}

// ---- a run --------------------------------------------------------------------------

namespace {

// Counts per group and channel of the live cells; fills in the holders.
void takeStock(const engine::Board& board, const GroupTracker& tracker, int32_t generation, TournamentResult& result) {
    for (auto& c : result.counts) c = {0, 0, 0};
    int32_t population = 0;
    for (std::size_t i = 0; i < board.Cells.size(); ++i) {
        if (board.Cells[i].State == 0) continue;
        ++population;
        for (int c = 0; c < kChannels; ++c) {
            const int g = tracker.group(i, c);
            if (g >= 0) ++result.counts[static_cast<std::size_t>(g)][static_cast<std::size_t>(c)];
        }
    }
    result.population = population;
    for (int c = 0; c < kChannels; ++c) {
        if (result.holder[static_cast<std::size_t>(c)] >= 0 || population == 0) continue;
        for (std::size_t g = 0; g < result.counts.size(); ++g)
            if (result.counts[g][static_cast<std::size_t>(c)] == population) {
                result.holder[static_cast<std::size_t>(c)] = static_cast<int>(g);
                result.heldSince[static_cast<std::size_t>(c)] = generation;
            }
    }
}

bool finished(const TournamentResult& result) {
    if (result.population == 0) return true;
    return std::all_of(result.holder.begin(), result.holder.end(), [](int g) { return g >= 0; });
}

}  // namespace

TournamentResult RunTournament(const TournamentSettings& settings, uint64_t seed) {
    engine::RandomSequence random(seed);
    TournamentResult result = RunTournament(settings, LayOutFounders(settings, random), random);
    result.seed = seed;
    return result;
}

TournamentResult RunTournament(const TournamentSettings& settings, TournamentStart start, engine::RandomSequence& random) {
    engine::Board& board = start.board;
    GroupTracker tracker(board, start.groups);
    engine::Stepper stepper;
    TournamentResult result;
    result.counts.resize(static_cast<std::size_t>(settings.groups));
    if (settings.asWindow) {
        // As the window runs a board it has just shown.
        board.Generation = 0;
        engine::RecordPopulation(board, board.countLive());
    }
    takeStock(board, tracker, 0, result);
    int32_t generation = 0;
    while (!finished(result) && generation < settings.generations) {
        tracker.beforeStep(board);
        stepper.ReCalc(board, random);
        tracker.afterStep(board);
        if (settings.asWindow) {
            engine::RecordPopulation(board, board.countLive());
            if (engine::AutoStimulate(board, random) > 0) tracker.afterStimulation(board);
        }
        ++generation;
        takeStock(board, tracker, generation, result);
    }
    result.generationsRun = generation;
    result.ending = result.population == 0 ? Ending::Extinction : finished(result) ? Ending::Fixation : Ending::Limit;
    const ColourMix mix = MeasureColourMix(board);
    result.colours = mix.colours;
    result.shannon = mix.shannon;
    return result;
}

// ---- the table ---------------------------------------------------------------------

std::string TournamentHeader(const TournamentSettings& settings) {
    std::string header =
        "version,groups,layout,density,size,generations,as_window,seed,generations_run,end,population,colours,shannon";
    for (const char* channel : kChannelNames) header += std::string(",") + channel + "_holder," + channel + "_held_since";
    for (int g = 1; g <= settings.groups; ++g)
        for (const char* channel : kChannelNames) header += ",g" + std::to_string(g) + "_" + channel;
    return header + "\n";
}

std::string TournamentRowPrefix(const std::string& version, const TournamentSettings& settings) {
    return version + "," + std::to_string(settings.groups) + "," + LayoutName(settings.layout) + "," +
           DensityText(settings.densityPerTenThousand) + "," + std::to_string(settings.size) + "," +
           std::to_string(settings.generations) + "," + (settings.asWindow ? "1" : "0") + ",";
}

std::string TournamentRow(const std::string& version, const TournamentSettings& settings, const TournamentResult& r) {
    // Built by appending: GCC 12 warns falsely about chains of operator+ here.
    std::string row = TournamentRowPrefix(version, settings);
    for (const std::string& field : {std::to_string(r.seed), std::to_string(r.generationsRun), std::string(EndingName(r.ending)),
                                     std::to_string(r.population), std::to_string(r.colours), decimal(r.shannon, 6)}) {
        row += field;
        row += ',';
    }
    for (std::size_t c = 0; c < kChannels; ++c) {
        row += std::to_string(r.holder[c] + 1);
        row += ',';
        if (r.holder[c] >= 0) row += std::to_string(r.heldSince[c]);
        row += ',';
    }
    for (const auto& counts : r.counts)
        for (int32_t count : counts) {
            row += decimal(r.population == 0 ? 0.0 : static_cast<double>(count) / r.population, 6);
            row += ',';
        }
    row.back() = '\n';
    return row;
}

}  // namespace analysis
