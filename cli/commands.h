// SPDX-License-Identifier: MIT
#pragma once

// kaleidomat-cli: a headless tool over the engine and the file formats.

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file could not be read, used or written
inline constexpr int kExitUsage = 2;    // the command line is wrong

// Runs the tool with `args` (without the program name); normal output goes to
// `out`, messages to `err`. Returns the exit status.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cli
