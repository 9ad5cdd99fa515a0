// SPDX-License-Identifier: MIT
#pragma once

// The window program's command line. --help and --version, each alone, are
// answered on standard output before any window (and without a display);
// otherwise "--seed S" (or "--seed=S") in front of the board file fixes the
// random sequence instead of the clock, so that a run can be repeated, and
// "--lang en|ja" (or "--lang=…"), in either order with it, chooses the
// window's language for this run alone.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace app {

// The text to print for `arguments` (those after the program's name), or
// nothing when the program is to start its window; then every argument
// still belongs to the board file's path.
std::optional<std::string> InformationRequest(const std::vector<std::string>& arguments, const std::string& version);

// The options in front of the board file.
struct StartArguments {
    std::optional<uint64_t> seed;
    std::optional<platform::Language> language;  // --lang: this run's language, not remembered
    std::vector<std::string> rest;  // the arguments after the options: the board file's path
    std::string error;              // why the options are wrong; empty when they are right
};

// `arguments` without the program's name.
StartArguments ParseStartArguments(const std::vector<std::string>& arguments);

}  // namespace app
