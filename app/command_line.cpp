// SPDX-License-Identifier: MIT
#include "app/command_line.h"

#include <charconv>

namespace app {

namespace {
constexpr const char* kHelp =
    "Usage: kaleidomat [--seed S] [FILE]\n"
    "       kaleidomat --help | --version\n"
    "\n"
    "Conway's Life on a coloured toroidal board, in a window.\n"
    "\n"
    "  FILE       a file to open at start-up: a board (.hxa), or a Life pattern\n"
    "             in RLE (.rle) or plaintext (.cells), which opens as a new\n"
    "             board; the arguments after the program's name, joined by\n"
    "             single blanks, are one path\n"
    "  --seed S   starts the random sequence from the whole number S instead\n"
    "             of the clock, so that a run can be repeated\n"
    "  --help     prints this text and exits\n"
    "  --version  prints the version and exits\n"
    "\n"
    "The keys + and - move a run one rung up or down the speed ladder (menu 実行,\n"
    "速度). The speed, 立体表示, 点滅を抑える, the recent files and the windows'\n"
    "places are kept in\n"
    "$XDG_CONFIG_HOME/kaleidomat/kaleidomat.conf (normally ~/.config/kaleidomat/).\n";
}  // namespace

std::optional<std::string> InformationRequest(const std::vector<std::string>& arguments, const std::string& version) {
    if (arguments.size() != 1) return std::nullopt;
    if (arguments[0] == "--help") return std::string(kHelp);
    if (arguments[0] == "--version") return "kaleidomat " + version + "\n";
    return std::nullopt;
}

StartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
    StartArguments result;
    std::size_t next = 0;
    if (!arguments.empty() && (arguments[0] == "--seed" || arguments[0].rfind("--seed=", 0) == 0)) {
        std::string text;
        if (arguments[0] == "--seed") {
            if (arguments.size() < 2) {
                result.error = "--seed needs a value";
                return result;
            }
            text = arguments[1];
            next = 2;
        } else {
            text = arguments[0].substr(7);
            next = 1;
        }
        uint64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
            result.error = "--seed needs a whole number from 0 to 18446744073709551615, not '" + text + "'";
            return result;
        }
        result.seed = value;
    }
    result.rest.assign(arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end());
    return result;
}

}  // namespace app
