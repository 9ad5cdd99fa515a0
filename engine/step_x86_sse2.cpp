// SPDX-License-Identifier: MIT
// The scan of the board in SSE2, groups of 16 cells (every x86-64 processor
// has SSE2; 32-bit builds compile this file for it and ask the processor).

#include "engine/step_x86_scan_sse2.h"

namespace engine {

int32_t scanSse2(const CellRecord* cells, int32_t count, uint64_t* bits, ScanCheck& check) {
    return scanBlocks(cells, count, bits, check, [](const CellRecord*, int32_t, uint64_t*, ScanCheck&) { return 0; });
}

}  // namespace engine
