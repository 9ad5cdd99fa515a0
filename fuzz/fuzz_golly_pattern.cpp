// SPDX-License-Identifier: MIT
// Macrocell, Life 1.05 and Life 1.06 readers, chosen by the text's first line
// as for a file: any text is refused or gives a pattern that is written as
// RLE and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fuzz/fuzz_text_check.h"
#include "io/golly_formats.h"
#include "io/life_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& parsed : {io::ParseMacrocell(text), io::ParseLife105(text), io::ParseLife106(text)}) {
        const io::LifeGrid* grid = CheckedGrid(parsed);
        if (!grid) continue;
        const auto reread = io::ParseRle(io::WriteRle(*grid));
        const auto* again = std::get_if<io::LifeGrid>(&reread);
        FUZZ_CHECK(again && *again == *grid);
    }
    return 0;
}
