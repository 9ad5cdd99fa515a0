// SPDX-License-Identifier: MIT
// Clipboard cell block decoder: any bytes are refused or give a block whose
// encoding is exactly the bytes it was read from (padding aside).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <variant>

#include "fuzz/fuzz_check.h"
#include "io/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto decoded = io::DecodeCellBlock({data, size});
    const auto* block = std::get_if<io::CellBlock>(&decoded);
    if (!block) return 0;

    FUZZ_CHECK(block->w >= 1 && block->w <= io::kMaxBlockSide && block->h >= 1 && block->h <= io::kMaxBlockSide);
    FUZZ_CHECK(block->entries.size() == static_cast<std::size_t>(block->w) * block->h);
    const auto encoded = io::EncodeCellBlock(*block);
    FUZZ_CHECK(encoded.size() <= size && std::equal(encoded.begin(), encoded.end(), data));
    return 0;
}
