// SPDX-License-Identifier: MIT
#pragma once

// Reading tournament rows back and summing them up: per set of settings and
// per group and channel, how often the group came to hold the channel, with
// a 95 % Wilson interval, and how long that took; how many runs died out.
// Standard C++ only.

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/tournament.h"

namespace analysis {

// What a summary needs of one row.
struct TournamentRecord {
    std::string version;
    std::string settings;  // groups,layout,density,size,generations,as_window as written
    int groups = 0;
    uint64_t seed = 0;
    int32_t generationsRun = 0;
    Ending ending = Ending::Limit;
    std::array<int, kChannels> holder{-1, -1, -1};  // group from 0, -1 for none
    std::array<int32_t, kChannels> heldSince{-1, -1, -1};
};

// Whether a line (without its newline) is a header of a tournament table.
bool IsTournamentHeader(std::string_view line);

// One row; nullopt with the reason in `problem` when the line is not one.
std::optional<TournamentRecord> ParseTournamentRow(std::string_view line, std::string& problem);

// The score interval of Wilson for `successes` out of `trials` at the normal
// quantile z (1.96 for 95 %); {0, 1} for no trials.
struct Interval {
    double low = 0.0, high = 1.0;
};
Interval WilsonInterval(int64_t successes, int64_t trials, double z = 1.959963984540054);

struct ChannelWins {
    int group = 0;    // from 0
    int channel = 0;  // 0 red, 1 green, 2 blue
    int64_t wins = 0;
    double rate = 0.0;
    Interval interval;
    std::optional<double> meanHeldSince, medianHeldSince;  // over the won runs
};

struct TournamentSummary {
    std::string settings;
    std::set<std::string> versions;
    int groups = 0;
    int64_t runs = 0, fixations = 0, extinctions = 0, limits = 0;
    std::optional<double> meanFixation, medianFixation;  // generations run, over the runs ending in fixation
    std::vector<ChannelWins> wins;                        // group by group, red, green, blue
};

// One summary per set of settings, in the order they first appear. The
// records must not repeat a seed within a set of settings (the caller says
// which files did).
std::vector<TournamentSummary> SummarizeTournaments(const std::vector<TournamentRecord>& records);

// The summaries as text for a person, and as an SVG chart of every win rate
// with its interval.
std::string SummaryText(const std::vector<TournamentSummary>& summaries);
std::string SummarySvg(const std::vector<TournamentSummary>& summaries);

}  // namespace analysis
