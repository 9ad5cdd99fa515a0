// SPDX-License-Identifier: MIT
// Board data file decoder: any bytes are refused or give a consistent board
// that saves back to a file which loads as the same board.

#include <cstddef>
#include <cstdint>
#include <variant>

#include "fuzz/fuzz_check.h"
#include "io/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto decoded = io::DecodeBoardFile({data, size});
    const auto* loaded = std::get_if<io::LoadedBoard>(&decoded);
    if (!loaded) return 0;

    const auto side = static_cast<std::size_t>(loaded->GridMax) + 1;
    FUZZ_CHECK(loaded->GridMax >= engine::kMinGridMax && loaded->GridMax <= engine::kMaxGridMax);
    FUZZ_CHECK(loaded->cells.size() == side * side);
    FUZZ_CHECK(static_cast<std::size_t>(loaded->population) == (size - io::kBoardHeaderSize) / io::kBoardRecordSize);
    for (const engine::CellRecord& c : loaded->cells) {
        FUZZ_CHECK(c.State == 0 || c.State == 1);
        FUZZ_CHECK(c.State == 1 || (c.Red == 0 && c.Green == 0 && c.Blue == 0));
    }

    engine::Board board;
    board.create(loaded->GridMax);
    board.Cells = loaded->cells;
    const auto saved = io::EncodeBoardFile(board);
    const auto reloaded = io::DecodeBoardFile(saved);
    const auto* again = std::get_if<io::LoadedBoard>(&reloaded);
    FUZZ_CHECK(again && again->GridMax == loaded->GridMax && again->cells == loaded->cells);
    FUZZ_CHECK(again->population == board.countLive());
    return 0;
}
