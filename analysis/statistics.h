// SPDX-License-Identifier: MIT
#pragma once

// Statistics of a run: per generation the population, births, deaths, how
// many distinct colours the live cells have, the share of the most common
// one and how many live cells fall in each colour family; and three ways to
// show them (a CSV table, an SVG chart, one line). The window's graph and
// kaleidomat-cli measure with the same code.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/graph_series.h"
#include "engine/board.h"
#include "engine/random_sequence.h"

namespace analysis {

// The family of a colour: one of the twelve hues, or kGreyFamily when the
// colour is close to grey (its strongest and weakest channel differ by less
// than a fifth of the strongest, or by less than 32). One table lookup, on
// the colour with 5 bits a channel.
int HueFamily(uint8_t red, uint8_t green, uint8_t blue);

struct GenerationStats {
    int32_t generation = 0;
    int32_t population = 0;
    int32_t births = 0;  // since the previous generation; 0 in the first row, -1 when not known
    int32_t deaths = 0;
    int32_t colours = 0;     // distinct colours among the live cells
    double topShare = 0.0;   // live cells of the most common colour / population; 0 when empty
    // The diversity of the live cells' colours, each distinct colour value
    // (red, green, blue) a kind, with p its share of the live cells:
    // Shannon's -Σ p ln p and Simpson's 1 - Σ p², the chance that two cells
    // drawn at random (the same one may be drawn twice) differ in colour.
    // Both 0 for one colour or none.
    double shannon = 0.0;
    double simpson = 0.0;
    std::array<int32_t, kFamilyCount> families{};  // live cells per colour family

    double familyShare(int family) const {
        return population == 0 ? 0.0 : static_cast<double>(families[family]) / population;
    }
    // The row as a point of the graph.
    Sample sample() const;
};

// Measures boards one after another. Births and deaths are counted against
// the board measured before when `follows` says it is the generation before
// (and it has the same size); otherwise they are 0.
class Meter {
public:
    GenerationStats measure(const engine::Board& board, bool follows);

private:
    std::vector<uint8_t> wasLive_;
    std::vector<uint32_t> colours_;
};

// How mixed the live cells' colours are: the number of distinct colours and
// Shannon's diversity of their frequencies, -Σ p ln p (0 for one colour or
// none; ln of the count when all are equally common).
struct ColourMix {
    int32_t colours = 0;
    double shannon = 0.0;
};
ColourMix MeasureColourMix(const engine::Board& board);

// The board as it is, then after each of `generations` steps: generations + 1
// rows. With `stimulate` every step is followed by the window's
// auto-stimulation, as in a run with 変化を促す switched on.
std::vector<GenerationStats> RunStatistics(engine::Board board, int32_t generations, engine::RandomSequence& random,
                                           bool stimulate = false);

// "generation,population,births,deaths,colours,top_colour_share", then one
// line per row; with `families`, one more column per colour family
// ("red", ..., "grey": its share of the live cells).
std::string StatisticsCsv(const std::vector<GenerationStats>& rows, bool families = false);

// A chart of the population and the number of colours over the generations,
// each with its own axis in its colour, and below it the share of each
// colour family stacked to 100 %.
std::string StatisticsSvg(const std::vector<GenerationStats>& rows);

// One line: the range of generations, the population at both ends and its
// extremes, all births and deaths, the colours at both ends.
std::string StatisticsSummary(const std::vector<GenerationStats>& rows);

}  // namespace analysis
