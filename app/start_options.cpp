// SPDX-License-Identifier: MIT
#include "app/start_options.h"

#include <charconv>

namespace app {

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
