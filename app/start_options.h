// SPDX-License-Identifier: MIT
#pragma once

// The window program's options in front of the board file: "--seed S" (or
// "--seed=S") fixes the random sequence instead of the clock, so a run can
// be repeated.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct StartArguments {
    std::optional<uint64_t> seed;
    std::vector<std::string> rest;  // the arguments after the options: the board file's path
    std::string error;              // why the options are wrong; empty when they are right
};

// `arguments` without the program's name.
StartArguments ParseStartArguments(const std::vector<std::string>& arguments);

}  // namespace app
