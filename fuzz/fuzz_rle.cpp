// SPDX-License-Identifier: MIT
// RLE reader: any text is refused or gives a pattern that is written as RLE
// within the line limit and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz/fuzz_text_check.h"
#include "io/life_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = io::ParseRle(text);
    const io::LifeGrid* grid = CheckedGrid(parsed);
    if (!grid) return 0;

    const std::string written = io::WriteRle(*grid);
    std::size_t lineStart = written.find('\n') + 1;  // the header may be longer
    while (lineStart < written.size()) {
        const std::size_t end = written.find('\n', lineStart);
        FUZZ_CHECK(end != std::string::npos && end - lineStart <= 70);
        lineStart = end + 1;
    }
    const auto reread = io::ParseRle(written);
    const auto* again = std::get_if<io::LifeGrid>(&reread);
    FUZZ_CHECK(again && *again == *grid);
    return 0;
}
