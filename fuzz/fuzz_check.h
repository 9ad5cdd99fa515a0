// SPDX-License-Identifier: MIT
#pragma once

// Stops the fuzzer with a crash report when an invariant does not hold.
#define FUZZ_CHECK(condition)        \
    do {                             \
        if (!(condition)) __builtin_trap(); \
    } while (false)
