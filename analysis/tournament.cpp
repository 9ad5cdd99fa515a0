// SPDX-License-Identifier: MIT
#include "analysis/tournament.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <unordered_map>

#include "analysis/statistics.h"
#include "engine/generation_step.h"
#include "engine/lineage.h"
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

namespace {

// The group of every live cell's channels through the engine's lineage. The
// lineage keeps the group of start founders and passes it on to newborns and
// mutations; stimulated founders, which it gives no group, get theirs here,
// and so do mutations below them.
class FounderGroups {
public:
    FounderGroups(const engine::Board& board, const std::vector<int8_t>& groups) {
        lineage_.start(board, [&](int32_t x, int32_t y) { return groups[board.index(x, y)]; });
        seen_ = lineage_.foundersMade();
    }

    void step(engine::Stepper& stepper, engine::Board& board, engine::RandomSequence& random) {
        lineage_.step(stepper, board, random);
        learnNewFounders(board);
    }

    int autoStimulate(engine::Board& board, engine::RandomSequence& random) {
        const int stimulated = lineage_.autoStimulate(board, random);
        if (stimulated > 0) learnNewFounders(board);
        return stimulated;
    }

    // Live cells per group and channel.
    void count(std::vector<std::array<int32_t, kChannels>>& counts) {
        lineage_.tally();
        for (auto& c : counts) c = {0, 0, 0};
        for (const engine::Founder& f : lineage_.founders())
            for (std::size_t c = 0; c < kChannels; ++c) {
                if (f.live[c] == 0) continue;
                const int g = groupOf(f, static_cast<int>(c));
                if (g >= 0) counts[static_cast<std::size_t>(g)][c] += f.live[c];
            }
        // Groups of founders that have gone are no longer asked for.
        if (extra_.size() > 64 && extra_.size() > 2 * lineage_.founders().size())
            std::erase_if(extra_, [&](const auto& entry) { return lineage_.founder(entry.first) == nullptr; });
    }

private:
    int groupOf(const engine::Founder& f, int channel) const {
        if (f.group[static_cast<std::size_t>(channel)] != engine::kNoGroup) return f.group[static_cast<std::size_t>(channel)];
        const auto it = extra_.find(f.id);
        return it == extra_.end() ? -1 : it->second[static_cast<std::size_t>(channel)];
    }

    int groupOf(engine::FounderId id, int channel) const {
        const engine::Founder* f = lineage_.founder(id);
        return f ? groupOf(*f, channel) : -1;
    }

    // The first live neighbour of (x, y) in the step's order of parents,
    // leaving out the cells in `pending`; -1 for none.
    static std::size_t firstLiveNeighbour(const engine::Board& board, int32_t x, int32_t y,
                                          const std::vector<std::size_t>& pending) {
        const int32_t n = board.side();
        std::array<std::size_t, 8> around{};
        std::size_t k = 0;
        for (int32_t dx = -1; dx <= 1; ++dx)
            for (int32_t dy = -1; dy <= 1; ++dy)
                if (dx != 0 || dy != 0) around[k++] = board.index((x + dx + n) % n, (y + dy + n) % n);
        std::sort(around.begin(), around.end());
        for (std::size_t i : around)
            if (board.Cells[i].State != 0 && std::find(pending.begin(), pending.end(), i) == pending.end()) return i;
        return static_cast<std::size_t>(-1);
    }

    void learnNewFounders(const engine::Board& board) {
        std::vector<const engine::Founder*> stimulated;
        for (engine::FounderId id = seen_ + 1; id <= lineage_.foundersMade(); ++id) {
            const engine::Founder* f = lineage_.founder(id);
            if (!f) continue;
            if (f->kind == engine::FounderKind::Stimulation) {
                stimulated.push_back(f);
            } else if (f->kind == engine::FounderKind::Mutation &&
                       std::find(f->group.begin(), f->group.end(), engine::kNoGroup) != f->group.end()) {
                // Below a stimulated founder: the engine knew no group to pass on.
                auto& groups = extra_[id];
                for (int c = 0; c < kChannels; ++c)
                    groups[static_cast<std::size_t>(c)] = static_cast<int8_t>(groupOf(f->ancestor[static_cast<std::size_t>(c)], c));
            }
        }
        seen_ = lineage_.foundersMade();
        // At most two stimulated cells, each beside a cell that was live
        // before it; the second may touch only the first, which settles first.
        std::vector<std::size_t> pending;
        for (const engine::Founder* f : stimulated) pending.push_back(board.index(f->x, f->y));
        for (bool settled = true; settled && !pending.empty();) {
            settled = false;
            for (const engine::Founder* f : stimulated) {
                const std::size_t cell = board.index(f->x, f->y);
                if (std::find(pending.begin(), pending.end(), cell) == pending.end()) continue;
                const std::size_t from = firstLiveNeighbour(board, f->x, f->y, pending);
                if (from == static_cast<std::size_t>(-1)) continue;
                const int32_t fx = static_cast<int32_t>(from / static_cast<std::size_t>(board.side()));
                const int32_t fy = static_cast<int32_t>(from % static_cast<std::size_t>(board.side()));
                auto& groups = extra_[f->id];
                for (int c = 0; c < kChannels; ++c)
                    groups[static_cast<std::size_t>(c)] = static_cast<int8_t>(groupOf(lineage_.founderAt(fx, fy, c), c));
                std::erase(pending, cell);
                settled = true;
            }
        }
    }

    engine::Lineage lineage_;
    engine::FounderId seen_ = 0;
    std::unordered_map<engine::FounderId, std::array<int8_t, kChannels>> extra_;
};

// ---- a run --------------------------------------------------------------------------

// The live cells per group and channel; fills in the holders.
void takeStock(const engine::Board& board, FounderGroups& groups, int32_t generation, TournamentResult& result) {
    groups.count(result.counts);
    const int32_t population = board.countLive();
    result.population = population;
    for (std::size_t c = 0; c < kChannels; ++c) {
        if (result.holder[c] >= 0 || population == 0) continue;
        for (std::size_t g = 0; g < result.counts.size(); ++g)
            if (result.counts[g][c] == population) {
                result.holder[c] = static_cast<int>(g);
                result.heldSince[c] = generation;
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
    FounderGroups groups(board, start.groups);
    engine::Stepper stepper;
    TournamentResult result;
    result.counts.resize(static_cast<std::size_t>(settings.groups));
    if (settings.asWindow) {
        // As the window runs a board it has just shown.
        board.Generation = 0;
        engine::RecordPopulation(board, board.countLive());
    }
    takeStock(board, groups, 0, result);
    int32_t generation = 0;
    while (!finished(result) && generation < settings.generations) {
        groups.step(stepper, board, random);
        if (settings.asWindow) {
            // As engine::StepAndStimulate: the drawing's count, then stimulation.
            engine::RecordPopulation(board, board.countLive());
            groups.autoStimulate(board, random);
        }
        ++generation;
        takeStock(board, groups, generation, result);
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
