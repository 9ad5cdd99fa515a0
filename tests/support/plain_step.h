// SPDX-License-Identifier: MIT
#pragma once

// The generation step written out literally, four passes over the work board
// `Tally` (an array of the board's shape, which the caller keeps), as slow and
// as obvious as possible. Tests compare engine::ReCalc against it cell by cell
// and draw by draw; the benchmark measures how much faster the engine is.

#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/board.h"
#include "engine/rules.h"

namespace plain {

// Pass 1: every field of every work record to 0, as one block.
inline void Clear(std::vector<engine::CellRecord>& Tally) {
    std::memset(static_cast<void*>(Tally.data()), 0, Tally.size() * sizeof(engine::CellRecord));
}

// Pass 2: every live cell adds 9 to its own count and takes its own colour
// there, and adds 1 to each of its eight neighbours on the torus; the
// neighbour whose count that raises to 1, 2 or 3 hands over its red, green or
// blue respectively.
inline void Spread(const engine::Board& b, std::vector<engine::CellRecord>& Tally) {
    const int32_t g = b.GridMax;
    auto wrap = [g](int32_t v) {
        if (v == -1) return g;
        if (v == g + 1) return 0;
        return v;
    };
    for (int32_t x = 0; x <= g; ++x) {
        for (int32_t y = 0; y <= g; ++y) {
            const engine::CellRecord p = b.Cells[b.index(x, y)];
            if (p.State == 0) continue;
            for (int32_t dx = -1; dx <= 1; ++dx) {
                for (int32_t dy = -1; dy <= 1; ++dy) {
                    if (dx == 0 && dy == 0) {
                        engine::CellRecord& t = Tally[b.index(x, y)];
                        t.State += 9;
                        std::memcpy(&t.Red, &p.Red, 3);  // the three colour fields as one block
                        continue;
                    }
                    engine::CellRecord& t = Tally[b.index(wrap(x + dx), wrap(y + dy))];
                    t.State += 1;
                    switch (t.State) {
                        case 1: t.Red = p.Red; break;
                        case 2: t.Green = p.Green; break;
                        case 3: t.Blue = p.Blue; break;
                        default: break;
                    }
                }
            }
        }
    }
}

// Pass 3: 3 is a birth (one fraction drawn; below 1/1000 a fresh random
// colour), 11 and 12 survive with their own colour, everything else is dead
// and all zero.
inline void Decide(const engine::Board& b, std::vector<engine::CellRecord>& Tally, engine::RandomSequence& random) {
    for (int32_t x = 0; x <= b.GridMax; ++x) {
        for (int32_t y = 0; y <= b.GridMax; ++y) {
            engine::CellRecord& t = Tally[b.index(x, y)];
            if (t.State == 3) {
                t.State = 1;
                const float r = random.next();
                if (engine::ScaledDraw(r, 1000) == 0) engine::RandomColor(random, t);
            } else if (t.State <= 10 || t.State >= 13) {
                t = engine::CellRecord{0, 0, 0, 0};
            } else {
                t.State = 1;
            }
        }
    }
}

// Pass 4: the work board over the board, as one block.
inline void Commit(engine::Board& b, const std::vector<engine::CellRecord>& Tally) {
    std::memcpy(static_cast<void*>(b.Cells.data()), Tally.data(), Tally.size() * sizeof(engine::CellRecord));
}

// One whole generation; Tally is made the board's shape when it is not.
inline void Step(engine::Board& b, std::vector<engine::CellRecord>& Tally, engine::RandomSequence& random) {
    Tally.resize(b.Cells.size());
    Clear(Tally);
    Spread(b, Tally);
    Decide(b, Tally, random);
    Commit(b, Tally);
    b.Generation = b.Generation + 1;
}

}  // namespace plain
