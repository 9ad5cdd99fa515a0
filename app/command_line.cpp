// SPDX-License-Identifier: MIT
#include "app/command_line.h"

#include <charconv>

namespace app {

namespace {
constexpr const char* kHelp =
    "Usage: kaleidomat [--seed S] [--lang en|ja] [FILE]\n"
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
    "  --lang L   the window's language for this run: en (English) or ja\n"
    "             (Japanese); the language chosen in the menu (表示, 言語)\n"
    "             stays as it was\n"
    "  --help     prints this text and exits\n"
    "  --version  prints the version and exits\n"
    "\n"
    "The keys + and - move a run one rung up or down the speed ladder (menu 実行,\n"
    "速度). The speed, 立体表示, 点滅を抑える, the language, the recent files and the windows'\n"
    "places are kept in\n"
    "$XDG_CONFIG_HOME/kaleidomat/kaleidomat.conf (normally ~/.config/kaleidomat/).\n";
}  // namespace

std::optional<std::string> InformationRequest(const std::vector<std::string>& arguments, const std::string& version) {
    if (arguments.size() != 1) return std::nullopt;
    if (arguments[0] == "--help") return std::string(kHelp);
    if (arguments[0] == "--version") return "kaleidomat " + version + "\n";
    return std::nullopt;
}

namespace {
// An option of the start, "--name value" or "--name=value", at arguments[next]:
// its value, with `next` moved past it; nothing when it is not that option,
// and an empty value that `error` explains when it has none.
std::optional<std::string> OptionValue(const std::vector<std::string>& arguments, std::size_t& next,
                                       const std::string& name, std::string& error) {
    if (next >= arguments.size()) return std::nullopt;
    const std::string& argument = arguments[next];
    if (argument == name) {
        if (next + 1 >= arguments.size()) {
            error = name + " needs a value";
            return std::string();
        }
        next += 2;
        return arguments[next - 1];
    }
    if (argument.rfind(name + "=", 0) != 0) return std::nullopt;
    ++next;
    return argument.substr(name.size() + 1);
}
}  // namespace

StartArguments ParseStartArguments(const std::vector<std::string>& arguments) {
    StartArguments result;
    std::size_t next = 0;
    for (bool more = true; more && result.error.empty();) {
        more = false;
        if (!result.seed) {
            if (const auto text = OptionValue(arguments, next, "--seed", result.error)) {
                if (!result.error.empty()) return result;
                uint64_t value = 0;
                const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
                if (text->empty() || error != std::errc() || end != text->data() + text->size()) {
                    result.error = "--seed needs a whole number from 0 to 18446744073709551615, not '" + *text + "'";
                    return result;
                }
                result.seed = value;
                more = true;
            }
        }
        if (!result.language) {
            if (const auto text = OptionValue(arguments, next, "--lang", result.error)) {
                if (!result.error.empty()) return result;
                if (*text == "en") result.language = platform::Language::English;
                else if (*text == "ja") result.language = platform::Language::Japanese;
                else {
                    result.error = "--lang needs en or ja, not '" + *text + "'";
                    return result;
                }
                more = true;
            }
        }
    }
    if (!result.error.empty()) return result;
    result.rest.assign(arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end());
    return result;
}

}  // namespace app
