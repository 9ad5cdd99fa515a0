// SPDX-License-Identifier: MIT
#include "io/life_import.h"

#include <algorithm>
#include <string>

#include "io/formats.h"
#include "io/golly_formats.h"

namespace io {

namespace {

// Boards up to this side come in steps of ten.
constexpr int kLargestTenStep = 200;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

bool startsWith(std::span<const uint8_t> bytes, std::string_view signature) {
    return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
}

}  // namespace

LifeTextKind GuessLifeTextKind(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // The first character that is not white space tells, where it can.
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    const std::string_view start = text.substr(static_cast<std::size_t>(first - text.begin()), 10);
    if (start.substr(0, 4) == "[M2]") return LifeTextKind::Macrocell;
    if (start == "#Life 1.05") return LifeTextKind::Life105;
    if (start == "#Life 1.06") return LifeTextKind::Life106;
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
    switch (GuessLifeTextKind(text)) {
        case LifeTextKind::Rle: return ParseRle(text);
        case LifeTextKind::Plaintext: return ParsePlaintext(text);
        case LifeTextKind::Macrocell: return ParseMacrocell(text);
        case LifeTextKind::Life105: return ParseLife105(text);
        case LifeTextKind::Life106: return ParseLife106(text);
    }
    return ParseRle(text);
}

std::variant<LifeGrid, TextError> ReadLifePattern(std::span<const uint8_t> bytes) {
    if (!IsGzip(bytes)) return ParseLifeText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    auto text = Gunzip(bytes);
    if (auto* error = std::get_if<TextError>(&text)) return std::move(*error);
    return ParseLifeText(std::get<std::string>(text));
}

bool HasProgramSignature(std::span<const uint8_t> bytes) {
    return startsWith(bytes, kBoardSignature) || startsWith(bytes, kPatternSignature);
}

int32_t SmallestBoardSide(int width, int height) {
    const int extent = std::max(width, height);
    if (extent <= kLargestTenStep) return std::max((extent + 9) / 10 * 10, 10);
    int32_t side = 256;
    while (side < extent && side < kMaxTextPatternSide) side *= 2;
    return side;
}

int32_t ImportBoardSide(const LifeGrid& grid, int32_t current) {
    if (grid.torusSide > 0) return grid.torusSide;
    const bool small = grid.width <= kLargestTenStep && grid.height <= kLargestTenStep;
    if (small && grid.width <= current && grid.height <= current) return current;
    return SmallestBoardSide(grid.width, grid.height);
}

}  // namespace io
