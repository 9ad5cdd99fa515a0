// SPDX-License-Identifier: MIT
// gzip: any bytes are refused or unpack to at most the bound given, and what
// they unpack to is read as a pattern like any file.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "fuzz/fuzz_text_check.h"
#include "io/golly_formats.h"
#include "io/life_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // A bound below the fuzzer's allocation limit; the program's own is 64 MiB.
    constexpr std::size_t kBound = 4 << 20;
    const auto unpacked = io::Gunzip(std::span<const uint8_t>(data, size), kBound);
    if (const auto* error = std::get_if<io::TextError>(&unpacked)) {
        FUZZ_CHECK(!error->message.empty());
        return 0;
    }
    const std::string& text = std::get<std::string>(unpacked);
    FUZZ_CHECK(text.size() <= kBound);
    CheckedGrid(io::ParseLifeText(text));
    return 0;
}
