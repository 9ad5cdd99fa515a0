// SPDX-License-Identifier: MIT
#include "io/life_import.h"

#include <algorithm>
#include <string>

#include "io/formats.h"

namespace io {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

bool startsWith(std::span<const uint8_t> bytes, std::string_view signature) {
    return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
}

}  // namespace

LifeTextKind GuessLifeTextKind(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // The first character that is not white space tells, where it can.
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    if (first != text.end()) {
        if (*first == '#') return LifeTextKind::Rle;
        if (*first == '!') return LifeTextKind::Plaintext;
        if (*first == 'x' || *first == 'X') {
            const auto next = std::find_if_not(first + 1, text.end(), isBlank);
            if (next != text.end() && *next == '=') return LifeTextKind::Rle;
        }
    }
    return std::holds_alternative<LifeGrid>(ParsePlaintext(text)) ? LifeTextKind::Plaintext : LifeTextKind::Rle;
}

std::variant<LifeGrid, TextError> ParseLifeText(std::string_view text) {
    return GuessLifeTextKind(text) == LifeTextKind::Rle ? ParseRle(text) : ParsePlaintext(text);
}

bool HasProgramSignature(std::span<const uint8_t> bytes) {
    return startsWith(bytes, kBoardSignature) || startsWith(bytes, kPatternSignature);
}

int32_t SmallestBoardSide(int width, int height) {
    const int extent = std::max(width, height);
    return std::clamp((extent + 9) / 10 * 10, 10, kMaxTextPatternSide);
}

}  // namespace io
