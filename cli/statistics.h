// SPDX-License-Identifier: MIT
#pragma once

// Statistics of a run: per generation the population, births, deaths, how
// many distinct colours the live cells have and the share of the most common
// one, and three ways to show them (a CSV table, an SVG chart, one line).

#include <cstdint>
#include <string>
#include <vector>

#include "engine/board.h"
#include "engine/random_sequence.h"

namespace cli {

struct GenerationStats {
    int32_t generation = 0;
    int32_t population = 0;
    int32_t births = 0;  // since the previous row; 0 in the first
    int32_t deaths = 0;
    int32_t colours = 0;     // distinct colours among the live cells
    double topShare = 0.0;   // live cells of the most common colour / population; 0 when empty
};

// The board as it is, then after each of `generations` steps: generations + 1 rows.
std::vector<GenerationStats> RunStatistics(engine::Board board, int32_t generations, engine::RandomSequence& random);

// "generation,population,births,deaths,colours,top_colour_share", then one line per row.
std::string StatisticsCsv(const std::vector<GenerationStats>& rows);

// A line chart of the population and the number of colours over the generations.
std::string StatisticsSvg(const std::vector<GenerationStats>& rows);

// One line: the range of generations, the population at both ends and its
// extremes, all births and deaths, the colours at both ends.
std::string StatisticsSummary(const std::vector<GenerationStats>& rows);

}  // namespace cli
