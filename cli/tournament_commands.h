// SPDX-License-Identifier: MIT
#pragma once

// kaleidomat-cli tournament and summarize: many seeded runs of founder
// groups on all cores, in slices and resumable, and their summary.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/command_line.h"

namespace cli {

// The option checks of the command table: "" when the value is right.
std::string SeedsProblem(const std::string& text);
std::string ChunkProblem(const std::string& text);
std::string DensityProblem(const std::string& text);
std::string LayoutProblem(const std::string& text);

// "1-5,9,12-13" as the seeds in that order. Throws UsageError for a malformed
// list, a range that runs backwards, a seed listed twice or more than
// kMaxSeeds seeds.
inline constexpr std::size_t kMaxSeeds = 10000000;
std::vector<uint64_t> ParseSeeds(const std::string& text);

// The i-th (from 1) of n slices of `count` items as [first, end): equal in
// size to within one, in order, together all of them.
std::pair<std::size_t, std::size_t> ChunkBounds(std::size_t count, std::size_t i, std::size_t n);

int TournamentCommand(const Arguments& args, std::ostream& out, std::ostream& err);
int SummarizeCommand(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace cli
