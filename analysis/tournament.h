// SPDX-License-Identifier: MIT
#pragma once

// Founder tournaments: K groups of founders, each its own colour, laid out on
// a board and run until every colour channel descends from one group
// (fixation), the board dies out, or a number of generations has passed. A
// seed decides everything (the layout and every random draw of the run), so
// one seed gives one row of results, the same on every machine and in every
// thread. Standard C++ only.
//
// The groups follow the engine's lineage (engine/lineage.h): every start
// founder is in the group of its place in the layout; a newborn's channel
// belongs to the group of the parent that gave it; a mutant keeps, per
// channel, the group of the founder it would have inherited, so that a colour
// appearing out of nowhere still counts for the lineage it was born into; a
// cell that auto-stimulation brings to life has no parents and takes, per
// channel, the group of its first live neighbour in the step's order of
// parents (ascending position in the board's array, after wrapping), which
// was live before it.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/board.h"
#include "engine/random_sequence.h"

namespace analysis {

inline constexpr int kMinGroups = 2;
inline constexpr int kMaxGroups = 12;
inline constexpr int kChannels = 3;  // red, green, blue

// Where each group's founders start.
enum class Layout {
    Halves,     // K vertical bands of equal width (two halves for K = 2)
    Quadrants,  // K rectangles in a grid of about √K rows (four quadrants for K = 4)
    Stripes,    // vertical stripes four columns wide, the groups in turn
    Checker,    // squares of four by four cells, group (column + row) mod K
    Scatter,    // every founder in a group of its own random choice
};

// "halves", "quadrants", "stripes", "checker", "scatter".
const char* LayoutName(Layout layout);
std::optional<Layout> LayoutFromName(const std::string& name);

// The colour of group g (0 .. kMaxGroups - 1): twelve colours far apart.
struct GroupColour {
    uint8_t red, green, blue;
};
GroupColour ColourOfGroup(int group);

struct TournamentSettings {
    int groups = 2;
    Layout layout = Layout::Halves;
    int32_t densityPerTenThousand = 2000;  // a cell starts live with probability D / 10000
    int32_t size = 64;                     // side of the board
    int32_t generations = 1000;            // at most this many generations
    bool asWindow = false;                 // the window's rule: auto-stimulation after every step
};

// How a run ended.
enum class Ending {
    Fixation,    // every channel of every live cell descends from one group
    Extinction,  // no live cell left
    Limit,       // neither, after the last generation
};
const char* EndingName(Ending ending);

struct TournamentResult {
    uint64_t seed = 0;
    int32_t generationsRun = 0;
    Ending ending = Ending::Limit;
    int32_t population = 0;
    int32_t colours = 0;    // distinct colours among the live cells
    double shannon = 0.0;   // Shannon diversity of those colours (natural logarithm)
    // Per channel: the group (0 ..) that holds every live cell's channel and
    // the generation it first did, or -1 for both while the channel is mixed
    // (or the board is empty). A held channel stays held: every newborn,
    // mutant and stimulated cell takes its group from a live cell.
    std::array<int, kChannels> holder{-1, -1, -1};
    std::array<int32_t, kChannels> heldSince{-1, -1, -1};
    // Live cells per group and channel at the end.
    std::vector<std::array<int32_t, kChannels>> counts;
};

// The board a seed starts from and each cell's group (-1 for a dead cell):
// one fraction per cell in column order decides whether it lives, below the
// density; for Scatter one more then picks its group. The random sequence is
// left where the run goes on from it.
struct TournamentStart {
    engine::Board board;
    std::vector<int8_t> groups;
};
TournamentStart LayOutFounders(const TournamentSettings& settings, engine::RandomSequence& random);

// One whole run of `seed`.
TournamentResult RunTournament(const TournamentSettings& settings, uint64_t seed);
// The run from a start made otherwise, `random` where that start left it.
TournamentResult RunTournament(const TournamentSettings& settings, TournamentStart start, engine::RandomSequence& random);

// The CSV header and a result's row (both end with a newline). The columns:
// version, the settings, seed, generations_run, end, population, colours,
// shannon, per channel its holder (group number from 1, 0 for none) and the
// generation it was first held (empty for none), then per group its share of
// the live cells for each channel. Numbers are printed exactly as the
// integers and correctly rounded decimals they are, so a row's bytes do not
// depend on the machine.
std::string TournamentHeader(const TournamentSettings& settings);
std::string TournamentRow(const std::string& version, const TournamentSettings& settings, const TournamentResult& result);

// The part of every row before the seed: version and settings.
std::string TournamentRowPrefix(const std::string& version, const TournamentSettings& settings);

// The density's ten-thousandths as a decimal: 2000 -> "0.2000".
std::string DensityText(int32_t perTenThousand);

}  // namespace analysis
