// SPDX-License-Identifier: MIT
// Plaintext reader: any text is refused or gives a pattern that is written as
// plaintext and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz/fuzz_text_check.h"
#include "io/life_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = io::ParsePlaintext(text);
    const io::LifeGrid* grid = CheckedGrid(parsed);
    if (!grid) return 0;

    const auto reread = io::ParsePlaintext(io::WritePlaintext(*grid, "fuzz"));
    const auto* again = std::get_if<io::LifeGrid>(&reread);
    FUZZ_CHECK(again && *again == *grid);
    return 0;
}
