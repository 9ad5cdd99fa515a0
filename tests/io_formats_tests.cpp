// SPDX-License-Identifier: MIT
// The board file, pattern file and clipboard cell block: the example bytes,
// round trips, and refusal of hostile input. That any bytes at all are either
// refused or decoded consistently is the fuzz targets' job.

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <tuple>

#include "engine/rules.h"
#include "io/formats.h"

namespace {

using Bytes = std::vector<uint8_t>;
using E = io::DecodeError;

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
Bytes le16(uint16_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }
Bytes le32(int32_t v) { return concat({le16(uint16_t(v)), le16(uint16_t(uint32_t(v) >> 16))}); }
Bytes record(uint16_t x, uint16_t y, uint8_t r = 1, uint8_t g = 2, uint8_t b = 3) {
    return concat({le16(x), le16(y), {r, g, b}});
}

const std::string kBoardText = "Chromatessellator Data", kPatternText = "Chromatessellator PatternData";
const Bytes kBoardSig(kBoardText.begin(), kBoardText.end()), kPatternSig(kPatternText.begin(), kPatternText.end());

engine::Board emptyBoard(int32_t gridMax) {
    engine::Board b;
    b.create(gridMax);
    return b;
}

template <typename T>
T valueOf(const std::variant<T, E>& v) {
    EXPECT_EQ(v.index(), 0u) << (v.index() == 1 ? io::describe(std::get<E>(v)) : "");
    return v.index() == 0 ? std::get<T>(v) : T{};
}

template <typename T>
E errorOf(const std::variant<T, E>& v) {
    return v.index() == 1 ? std::get<E>(v) : E::None;
}

TEST(Formats, ExampleBytes) {
    // Records run column by column, each from the top; dead cells are not stored.
    engine::Board five = emptyBoard(49);
    for (auto [x, y] : {std::pair{1, 0}, {0, 9}, {0, 2}, {49, 49}, {1, 5}}) five.cell(x, y) = {1, x, y, 0};
    five.cell(5, 5) = {0, 9, 9, 9};
    EXPECT_EQ(io::EncodeBoardFile(five), concat({kBoardSig, {0x31, 0, 0, 0}, record(0, 2, 0, 2, 0), record(0, 9, 0, 9, 0),
                                                 record(1, 0, 1, 0, 0), record(1, 5, 1, 5, 0), record(49, 49, 49, 49, 0)}));

    // The 3 x 2 selection (4, 7)-(6, 8), every cell its own: a 28-byte block, a 57-byte pattern file.
    // Cells beyond the board come out dead; a State other than 1 stays as it is.
    engine::Board b = emptyBoard(49);
    for (int x = 4; x <= 6; ++x)
        for (int y = 7; y <= 8; ++y) b.cell(x, y) = {(x + y) % 2, 10 * x, 10 * y, x + y};
    b.cell(6, 7).State = 200;
    const io::CellBlock block = io::BlockFromBoard(b, 4, 7, 6, 8);
    const Bytes block28 = {3, 0, 2, 0,                                  //
                           1, 40, 70, 11, 0, 40, 80, 12, 0, 50, 70, 12,  // (4, 7) (4, 8) (5, 7)
                           1, 50, 80, 13, 200, 60, 70, 13, 0, 60, 80, 14};  // (5, 8) (6, 7) (6, 8)
    EXPECT_EQ(io::EncodeCellBlock(block), block28);
    EXPECT_EQ(io::EncodePatternFile(block), concat({kPatternSig, block28}));
    EXPECT_EQ(io::BlockFromBoard(b, 49, 49, 50, 49).entries, (std::vector<io::CellEntry>{{}, {}}));
    EXPECT_TRUE(io::BlockFromBoard(b, INT_MIN, 0, INT_MAX, 0).entries.empty());
}

// Live cells come back with State 1 and their colour, dead ones all zero,
// whatever States and stale colours the board held; the population is the
// number of records.
TEST(Formats, BoardFileRoundTrips) {
    for (int32_t gridMax : {9, 199}) {
        engine::Board b = emptyBoard(gridMax);
        engine::RandomSequence random(static_cast<uint64_t>(gridMax));
        engine::Init(b, random);
        b.cell(3, 3) = {7, 1, 2, 3};
        b.cell(1, 1) = {0, 50, 60, 70};
        std::vector<engine::CellRecord> want = b.Cells;
        for (auto& c : want) c = c.live() ? engine::CellRecord{1, c.Red, c.Green, c.Blue} : engine::CellRecord{};
        // Put onto a board of another size with a history of its own.
        engine::Board target = emptyBoard(49);
        target.PopulationHistory.fill(7);
        target.Generation = 5;
        io::PutLoadedBoard(valueOf(io::DecodeBoardFile(io::EncodeBoardFile(b))), target);
        std::array<int32_t, engine::kHistoryLength> history{};
        history[0] = b.countLive();
        EXPECT_EQ(std::tuple(target.GridMax, target.Generation, target.PopulationHistory), std::tuple(gridMax, 5, history));
        EXPECT_EQ(target.Cells, want);
    }
}

// What other writers may produce: records in any order (a repeated cell takes
// the last record), bytes after the entries, the largest sizes.
TEST(Formats, DecodersAcceptWhatOthersMayWrite) {
    const io::LoadedBoard loaded = valueOf(io::DecodeBoardFile(
        concat({kBoardSig, le32(9), record(9, 9, 1, 1, 1), record(0, 0, 2, 2, 2), record(9, 9, 3, 4, 5)})));
    EXPECT_EQ(loaded.cells[99], (engine::CellRecord{1, 3, 4, 5}));
    EXPECT_EQ(loaded.cells[0], (engine::CellRecord{1, 2, 2, 2}));

    const Bytes entries = {1, 9, 8, 7, 0, 1, 2, 3};
    const std::vector<io::CellEntry> decoded = {{1, 9, 8, 7}, {0, 1, 2, 3}};
    EXPECT_EQ(valueOf(io::DecodePatternFile(concat({kPatternSig, le16(1), le16(2), entries, {0xEE}}))).entries, decoded);
    EXPECT_EQ(valueOf(io::DecodeCellBlock(concat({le16(2), le16(1), entries, Bytes(64, 0xCC)}))).entries, decoded);
    EXPECT_EQ(valueOf(io::DecodeCellBlock(concat({le16(200), le16(200), Bytes(160000, 0)}))).h, 200);
}

TEST(Formats, DecodersRefuseHostileInputAsAWhole) {
    using Decode = E (*)(const Bytes&);
    const Decode board = [](const Bytes& b) { return errorOf(io::DecodeBoardFile(b)); };
    const Decode pattern = [](const Bytes& b) { return errorOf(io::DecodePatternFile(b)); };
    const Decode block = [](const Bytes& b) { return errorOf(io::DecodeCellBlock(b)); };
    const Bytes head = concat({kBoardSig, le32(49)});
    const std::tuple<const char*, Decode, Bytes, E> cases[] = {
        {"board: 21 signature bytes", board, Bytes(kBoardSig.begin(), kBoardSig.end() - 1), E::BadSignature},
        {"board: a pattern file", board, concat({kPatternSig, le16(1), le16(1), {1, 1, 1, 1}}), E::BadSignature},
        {"board: GridMax cut off", board, concat({kBoardSig, {49, 0, 0}}), E::TruncatedHeader},
        {"board: GridMax 8", board, concat({kBoardSig, le32(8)}), E::BadGridMax},
        {"board: GridMax 2048", board, concat({kBoardSig, le32(2048)}), E::BadGridMax},
        {"board: ends inside a later record", board, concat({head, record(1, 1), {1}}), E::TruncatedRecord},
        {"board: x = -1", board, concat({head, record(0xFFFF, 0)}), E::CellOutsideBoard},
        {"board: y = GridMax + 1", board, concat({head, record(1, 1), record(0, 50)}), E::CellOutsideBoard},
        {"pattern: a board file", pattern, concat({head, record(1, 1), Bytes(8, 0)}), E::BadSignature},
        {"pattern: h cut off", pattern, concat({kPatternSig, le16(1), {1}}), E::TruncatedHeader},
        {"pattern: w = 0", pattern, concat({kPatternSig, le16(0), le16(1), Bytes(4, 1)}), E::BadDimensions},
        {"pattern: w = 201", pattern, concat({kPatternSig, le16(201), le16(1), Bytes(804, 1)}), E::BadDimensions},
        {"pattern: h = -1", pattern, concat({kPatternSig, le16(1), le16(0xFFFF)}), E::BadDimensions},
        {"pattern: one byte short", pattern, concat({kPatternSig, le16(3), le16(2), Bytes(23, 1)}), E::TruncatedEntries},
        {"block: three bytes", block, {1, 0, 1}, E::TruncatedHeader},
        {"block: w = 0", block, concat({le16(0), le16(5)}), E::BadDimensions},
        {"block: h = 0x8000 (unsigned, too large)", block, concat({le16(1), le16(0x8000)}), E::BadDimensions},
        {"block: 2 x 2 with three bytes of entries", block, concat({le16(2), le16(2), {1, 2, 3}}), E::TruncatedEntries},
    };
    for (const auto& [name, decode, bytes, expected] : cases) EXPECT_EQ(decode(bytes), expected) << name;
}

}  // namespace
