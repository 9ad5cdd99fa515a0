// The board file, pattern file and clipboard cell block: the example bytes,
// round trips, and refusal of hostile input. That any bytes at all are either
// refused or decoded consistently is the fuzz targets' job.

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <random>
#include <string>

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
    // One live cell (2, 3) of colour (255, 128, 1) on the 50 x 50 board: 33 bytes.
    engine::Board one = emptyBoard(49);
    one.cell(2, 3) = {1, 255, 128, 1};
    const Bytes board33 = concat({kBoardSig, {0x31, 0, 0, 0}, {0x02, 0x00, 0x03, 0x00, 0xFF, 0x80, 0x01}});
    EXPECT_EQ(board33.size(), 33u);
    EXPECT_EQ(io::EncodeBoardFile(one), board33);

    // No live cell: signature and GridMax, 26 bytes, loading as an all-dead board of that size.
    const Bytes empty = io::EncodeBoardFile(emptyBoard(99));
    EXPECT_EQ(empty, concat({kBoardSig, le32(99)}));
    const io::LoadedBoard loaded = valueOf(io::DecodeBoardFile(empty));
    EXPECT_EQ(loaded.GridMax, 99);
    EXPECT_EQ(loaded.population, 0);
    EXPECT_EQ(loaded.cells, std::vector<engine::CellRecord>(100 * 100));

    // Records run column by column, each from the top.
    engine::Board five = emptyBoard(9);
    for (auto [x, y] : {std::pair{1, 0}, {0, 9}, {0, 2}, {9, 9}, {1, 5}}) five.cell(x, y) = {1, uint8_t(x), uint8_t(y), 0};
    EXPECT_EQ(io::EncodeBoardFile(five), concat({kBoardSig, le32(9), record(0, 2, 0, 2, 0), record(0, 9, 0, 9, 0),
                                                 record(1, 0, 1, 0, 0), record(1, 5, 1, 5, 0), record(9, 9, 9, 9, 0)}));

    // The 3 x 2 selection (4, 7)-(6, 8), every cell its own: a 28-byte block, a 57-byte pattern file.
    engine::Board b = emptyBoard(49);
    for (int x = 4; x <= 6; ++x)
        for (int y = 7; y <= 8; ++y) b.cell(x, y) = {uint8_t((x + y) % 2), uint8_t(10 * x), uint8_t(10 * y), uint8_t(x + y)};
    const io::CellBlock block = io::BlockFromBoard(b, 4, 7, 6, 8);
    const Bytes block28 = {3, 0, 2, 0,                                  //
                           1, 40, 70, 11, 0, 40, 80, 12, 0, 50, 70, 12,  // (4, 7) (4, 8) (5, 7)
                           1, 50, 80, 13, 1, 60, 70, 13, 0, 60, 80, 14};  // (5, 8) (6, 7) (6, 8)
    EXPECT_EQ(block28.size(), 28u);
    EXPECT_EQ(io::EncodeCellBlock(block), block28);
    EXPECT_EQ(io::EncodePatternFile(block), concat({kPatternSig, block28}));
}

// Cells beyond the board come out dead, a State other than 1 stays as it is,
// and rectangles no board can hold give an empty block.
TEST(Formats, BlockFromBoard) {
    engine::Board b = emptyBoard(9);
    b.cell(9, 9) = {1, 9, 9, 9};
    b.cell(0, 0) = {200, 1, 2, 3};
    const io::CellBlock corner = io::BlockFromBoard(b, 8, 8, 10, 10);
    ASSERT_EQ(corner.w * corner.h, 9);
    EXPECT_EQ(corner.entries, (std::vector<io::CellEntry>{{}, {}, {}, {}, {1, 9, 9, 9}, {}, {}, {}, {}}));
    EXPECT_EQ(io::BlockFromBoard(b, 0, 0, 0, 1).entries, (std::vector<io::CellEntry>{{200, 1, 2, 3}, {}}));
    for (auto [l, t, r, bo] :
         {std::array{5, 5, 4, 5}, {0, 0, 200, 0}, {INT_MIN, 0, INT_MAX, 0}, {0, INT_MAX, 0, INT_MIN}})
        EXPECT_TRUE(io::BlockFromBoard(b, l, t, r, bo).entries.empty());
    EXPECT_EQ(io::BlockFromBoard(b, 0, 0, 199, 199).entries.size(), 200u * 200u);
}

// Live cells come back with State 1 and their colour, dead ones all zero,
// whatever States and stale colours the board held.
TEST(Formats, BoardFileRoundTrips) {
    for (int32_t gridMax : {9, 137, 199}) {
        engine::Board b = emptyBoard(gridMax);
        engine::RandomSequence random(static_cast<uint64_t>(gridMax));
        engine::Init(b, random);
        b.cell(3, 3) = {7, 1, 2, 3};
        b.cell(4, 4) = {251, 4, 5, 6};
        b.cell(1, 1) = {0, 50, 60, 70};
        std::vector<engine::CellRecord> want = b.Cells;
        for (auto& c : want) c = c.live() ? engine::CellRecord{1, c.Red, c.Green, c.Blue} : engine::CellRecord{};
        const Bytes bytes = io::EncodeBoardFile(b);
        EXPECT_EQ(bytes.size(), io::kBoardHeaderSize + io::kBoardRecordSize * static_cast<std::size_t>(b.countLive()));
        const io::LoadedBoard loaded = valueOf(io::DecodeBoardFile(bytes));
        EXPECT_EQ(loaded.GridMax, gridMax);
        EXPECT_EQ(loaded.population, b.countLive());
        EXPECT_EQ(loaded.cells, want);
    }
}

TEST(Formats, PatternFileAndBlockRoundTripEveryEntry) {
    std::mt19937 gen(5);
    for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {1, 200}, {200, 1}, {17, 93}, {200, 200}}) {
        io::CellBlock block{w, h, {}};
        for (int i = 0; i < w * h; ++i)
            block.entries.push_back({uint8_t(gen() % 3), uint8_t(gen()), uint8_t(gen()), uint8_t(gen())});
        for (const io::CellBlock& back : {valueOf(io::DecodePatternFile(io::EncodePatternFile(block))),
                                          valueOf(io::DecodeCellBlock(io::EncodeCellBlock(block)))}) {
            EXPECT_EQ(back.w, w);
            EXPECT_EQ(back.h, h);
            EXPECT_EQ(back.entries, block.entries);
        }
    }
    // A short entry list is written padded with dead cells.
    EXPECT_EQ(io::EncodeCellBlock({2, 2, {io::CellEntry{1, 1, 1, 1}}}),
              concat({le16(2), le16(2), {1, 1, 1, 1}, Bytes(12, 0)}));
}

// What other writers may produce: records in any order (a repeated cell takes
// the last record), bytes after the entries, the largest sizes.
TEST(Formats, DecodersAcceptWhatOthersMayWrite) {
    const io::LoadedBoard loaded = valueOf(io::DecodeBoardFile(
        concat({kBoardSig, le32(9), record(9, 9, 1, 1, 1), record(0, 0, 2, 2, 2), record(9, 9, 3, 4, 5)})));
    EXPECT_EQ(loaded.cells[99], (engine::CellRecord{1, 3, 4, 5}));
    EXPECT_EQ(loaded.cells[0], (engine::CellRecord{1, 2, 2, 2}));
    EXPECT_EQ(valueOf(io::DecodeBoardFile(concat({kBoardSig, le32(199), record(199, 0)}))).GridMax, 199);

    const Bytes entries = {1, 9, 8, 7, 0, 1, 2, 3};
    const std::vector<io::CellEntry> decoded = {{1, 9, 8, 7}, {0, 1, 2, 3}};
    EXPECT_EQ(valueOf(io::DecodePatternFile(concat({kPatternSig, le16(1), le16(2), entries, {0xEE}}))).entries, decoded);
    EXPECT_EQ(valueOf(io::DecodeCellBlock(concat({le16(2), le16(1), entries, Bytes(64, 0xCC)}))).entries, decoded);
    EXPECT_EQ(valueOf(io::DecodePatternFile(concat({kPatternSig, le16(200), le16(200), Bytes(160000, 0)}))).w, 200);
    EXPECT_EQ(valueOf(io::DecodeCellBlock(concat({le16(200), le16(200), Bytes(160000, 0)}))).h, 200);
}

TEST(Formats, DecodersRefuseHostileInputAsAWhole) {
    using Decode = E (*)(const Bytes&);
    const Decode board = [](const Bytes& b) { return errorOf(io::DecodeBoardFile(b)); };
    const Decode pattern = [](const Bytes& b) { return errorOf(io::DecodePatternFile(b)); };
    const Decode block = [](const Bytes& b) { return errorOf(io::DecodeCellBlock(b)); };
    const Bytes head = concat({kBoardSig, le32(49)});
    Bytes wrongCase = kBoardSig;
    wrongCase[0] = 'c';
    struct Hostile {
        const char* name;
        Decode decode;
        Bytes bytes;
        E expected;
    };
    const Hostile cases[] = {
        {"board: empty", board, {}, E::BadSignature},
        {"board: 21 signature bytes", board, Bytes(kBoardSig.begin(), kBoardSig.end() - 1), E::BadSignature},
        {"board: signature in another case", board, concat({wrongCase, le32(49)}), E::BadSignature},
        {"board: a pattern file", board, concat({kPatternSig, le16(1), le16(1), {1, 1, 1, 1}}), E::BadSignature},
        {"board: signature only", board, kBoardSig, E::TruncatedHeader},
        {"board: GridMax cut off", board, concat({kBoardSig, {49, 0, 0}}), E::TruncatedHeader},
        {"board: GridMax 8", board, concat({kBoardSig, le32(8)}), E::BadGridMax},
        {"board: GridMax 200", board, concat({kBoardSig, le32(200)}), E::BadGridMax},
        {"board: GridMax -1", board, concat({kBoardSig, le32(-1)}), E::BadGridMax},
        {"board: GridMax INT_MAX", board, concat({kBoardSig, le32(INT_MAX)}), E::BadGridMax},
        {"board: ends inside the first record", board, concat({head, {1, 0, 1, 0, 9, 9}}), E::TruncatedRecord},
        {"board: ends inside a later record", board, concat({head, record(1, 1), {1}}), E::TruncatedRecord},
        {"board: x = -1", board, concat({head, record(0xFFFF, 0)}), E::CellOutsideBoard},
        {"board: x = GridMax + 1", board, concat({head, record(50, 0)}), E::CellOutsideBoard},
        {"board: y = GridMax + 1", board, concat({head, record(0, 50)}), E::CellOutsideBoard},
        {"board: y = -32768", board, concat({head, record(0, 0x8000)}), E::CellOutsideBoard},
        {"board: good records then one outside", board, concat({head, record(1, 1), record(2, 99)}), E::CellOutsideBoard},

        {"pattern: empty", pattern, {}, E::BadSignature},
        {"pattern: a board file", pattern, concat({head, record(1, 1), Bytes(8, 0)}), E::BadSignature},
        {"pattern: signature only", pattern, kPatternSig, E::TruncatedHeader},
        {"pattern: h cut off", pattern, concat({kPatternSig, le16(1), {1}}), E::TruncatedHeader},
        {"pattern: w = 0", pattern, concat({kPatternSig, le16(0), le16(1), Bytes(4, 1)}), E::BadDimensions},
        {"pattern: h = 0", pattern, concat({kPatternSig, le16(1), le16(0), Bytes(4, 1)}), E::BadDimensions},
        {"pattern: w = 201", pattern, concat({kPatternSig, le16(201), le16(1), Bytes(804, 1)}), E::BadDimensions},
        {"pattern: w = 0xFFFF", pattern, concat({kPatternSig, le16(0xFFFF), le16(1)}), E::BadDimensions},
        {"pattern: h = -1", pattern, concat({kPatternSig, le16(1), le16(0xFFFF)}), E::BadDimensions},
        {"pattern: 200 x 200 without entries", pattern, concat({kPatternSig, le16(200), le16(200)}), E::TruncatedEntries},
        {"pattern: one byte short", pattern, concat({kPatternSig, le16(3), le16(2), Bytes(23, 1)}), E::TruncatedEntries},

        {"block: empty", block, {}, E::TruncatedHeader},
        {"block: three bytes", block, {1, 0, 1}, E::TruncatedHeader},
        {"block: w = 0", block, concat({le16(0), le16(5)}), E::BadDimensions},
        {"block: 0xFFFF x 0xFFFF", block, concat({le16(0xFFFF), le16(0xFFFF), Bytes(64, 1)}), E::BadDimensions},
        {"block: h = 0x8000 (unsigned, too large)", block, concat({le16(1), le16(0x8000)}), E::BadDimensions},
        {"block: w = 201", block, concat({le16(201), le16(1), Bytes(804, 1)}), E::BadDimensions},
        {"block: 200 x 200 one entry short", block, concat({le16(200), le16(200), Bytes(4 * 39999, 1)}),
         E::TruncatedEntries},
        {"block: 2 x 2 with three bytes of entries", block, concat({le16(2), le16(2), {1, 2, 3}}), E::TruncatedEntries},
    };
    for (const Hostile& c : cases) EXPECT_EQ(c.decode(c.bytes), c.expected) << c.name;
}

}  // namespace
