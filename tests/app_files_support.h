#pragma once

// Byte builders for board and pattern files written by hand, so the tests
// check the program's files against the layout rather than against the
// program's own encoder.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace files_test {

using Bytes = std::vector<uint8_t>;

inline void putText(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }
inline void put16(Bytes& out, int v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
inline void put32(Bytes& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
}

struct Record {
    int x, y;
    uint8_t r, g, b;
};

inline Bytes boardFile(int32_t gridMax, std::initializer_list<Record> records) {
    Bytes out;
    putText(out, "Chromatessellator Data");
    put32(out, gridMax);
    for (const Record& rec : records) {
        put16(out, rec.x);
        put16(out, rec.y);
        out.insert(out.end(), {rec.r, rec.g, rec.b});
    }
    return out;
}

// A w x h pattern whose entry (dx, dy) is given by `entry`, column by column.
template <typename EntryFn>
Bytes patternFile(int w, int h, EntryFn entry) {
    Bytes out;
    putText(out, "Chromatessellator PatternData");
    put16(out, w);
    put16(out, h);
    for (int dx = 0; dx < w; ++dx)
        for (int dy = 0; dy < h; ++dy) {
            const std::array<uint8_t, 4> e = entry(dx, dy);
            out.insert(out.end(), e.begin(), e.end());
        }
    return out;
}

}  // namespace files_test
