// SPDX-License-Identifier: MIT
#pragma once

// The arguments the window program answers on standard output, before any
// window (and without a display): --help and --version, each alone.

#include <optional>
#include <string>
#include <vector>

namespace app {

// The text to print for `arguments` (those after the program's name), or
// nothing when the program is to start its window; then every argument
// still belongs to the board file's path.
std::optional<std::string> InformationRequest(const std::vector<std::string>& arguments, const std::string& version);

}  // namespace app
