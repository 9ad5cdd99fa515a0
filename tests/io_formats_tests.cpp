// The board file, pattern file and clipboard cell block: exact bytes, round
// trips, and refusal of hostile input.

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <random>
#include <set>
#include <string>

#include "engine/rules.h"
#include "io/formats.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ascii(const char* s) { return Bytes(s, s + std::strlen(s)); }

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes le32(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    return {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
            static_cast<uint8_t>(u >> 24)};
}

Bytes le16(uint16_t v) { return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }

Bytes record(uint16_t x, uint16_t y, uint8_t r = 1, uint8_t g = 2, uint8_t b = 3) {
    return concat({le16(x), le16(y), {r, g, b}});
}

const Bytes kBoardSig = ascii("Chromatessellator Data");
const Bytes kPatternSig = ascii("Chromatessellator PatternData");

engine::Board emptyBoard(int32_t gridMax) {
    engine::Board b;
    b.create(gridMax);
    return b;
}

// Cells (4, 7)..(6, 8) of a 50 x 50 board, each with a State and colour of its own.
engine::Board boardWithSelection() {
    engine::Board b = emptyBoard(49);
    for (int x = 4; x <= 6; ++x)
        for (int y = 7; y <= 8; ++y) b.cell(x, y) = {(x + y) % 2, 10 * x, 10 * y, x + y};
    return b;
}

const Bytes kSelectionEntries = {
    1, 40, 70, 11,  // (4, 7)
    0, 40, 80, 12,  // (4, 8) dead, colour kept
    0, 50, 70, 12,  // (5, 7)
    1, 50, 80, 13,  // (5, 8)
    1, 60, 70, 13,  // (6, 7)
    0, 60, 80, 14,  // (6, 8)
};

template <typename T>
T valueOf(const std::variant<T, io::DecodeError>& v) {
    EXPECT_EQ(v.index(), 0u) << (v.index() == 1 ? io::describe(std::get<io::DecodeError>(v)) : "");
    return v.index() == 0 ? std::get<T>(v) : T{};
}

template <typename T>
io::DecodeError errorOf(const std::variant<T, io::DecodeError>& v) {
    return v.index() == 1 ? std::get<io::DecodeError>(v) : io::DecodeError::None;
}

// ---- exact bytes --------------------------------------------------------------

TEST(BoardFile, OneCellBoardIsTheDocumentedThirtyThreeBytes) {
    engine::Board b = emptyBoard(49);
    b.cell(2, 3) = {1, 255, 128, 1};
    const Bytes expected = concat({kBoardSig, {0x31, 0, 0, 0}, {0x02, 0x00, 0x03, 0x00, 0xFF, 0x80, 0x01}});
    EXPECT_EQ(io::EncodeBoardFile(b), expected);
    EXPECT_EQ(expected.size(), 33u);
}

TEST(BoardFile, EmptyBoardIsSignatureAndGridMaxOnly) {
    const Bytes bytes = io::EncodeBoardFile(emptyBoard(99));
    EXPECT_EQ(bytes, concat({kBoardSig, le32(99)}));
    const io::LoadedBoard loaded = valueOf(io::DecodeBoardFile(bytes));
    EXPECT_EQ(loaded.GridMax, 99);
    EXPECT_EQ(loaded.population, 0);
    EXPECT_EQ(loaded.cells, std::vector<engine::CellRecord>(100 * 100));
}

TEST(BoardFile, RecordsRunColumnByColumnTopToBottom) {
    engine::Board b = emptyBoard(9);
    for (auto [x, y] : {std::pair{1, 0}, {0, 9}, {0, 2}, {9, 9}, {1, 5}}) b.cell(x, y) = {1, x, y, 0};
    const Bytes expected = concat({kBoardSig, le32(9), record(0, 2, 0, 2, 0), record(0, 9, 0, 9, 0),
                                   record(1, 0, 1, 0, 0), record(1, 5, 1, 5, 0), record(9, 9, 9, 9, 0)});
    EXPECT_EQ(io::EncodeBoardFile(b), expected);
}

TEST(BoardFile, NonOneStatesAreLiveAndLoadAsOne) {
    engine::Board b = emptyBoard(9);
    b.cell(3, 3) = {7, 1, 2, 3};
    b.cell(4, 4) = {-5, 4, 5, 6};
    const io::LoadedBoard loaded = valueOf(io::DecodeBoardFile(io::EncodeBoardFile(b)));
    EXPECT_EQ(loaded.cells[3 * 10 + 3], (engine::CellRecord{1, 1, 2, 3}));
    EXPECT_EQ(loaded.cells[4 * 10 + 4], (engine::CellRecord{1, 4, 5, 6}));
    EXPECT_EQ(loaded.population, 2);
}

TEST(PatternFile, ThreeByTwoSelectionIsTheDocumentedFiftySevenBytes) {
    const io::CellBlock block = io::BlockFromBoard(boardWithSelection(), 4, 7, 6, 8);
    const Bytes expected = concat({kPatternSig, {0x03, 0x00, 0x02, 0x00}, kSelectionEntries});
    EXPECT_EQ(io::EncodePatternFile(block), expected);
    EXPECT_EQ(expected.size(), 57u);
}

TEST(CellBlock, ThreeByTwoSelectionIsTheDocumentedTwentyEightBytes) {
    const io::CellBlock block = io::BlockFromBoard(boardWithSelection(), 4, 7, 6, 8);
    const Bytes expected = concat({{0x03, 0x00, 0x02, 0x00}, kSelectionEntries});
    EXPECT_EQ(io::EncodeCellBlock(block), expected);
    EXPECT_EQ(expected.size(), 28u);
}

// ---- BlockFromBoard -----------------------------------------------------------

TEST(BlockFromBoard, CellsBeyondTheBoardComeOutDead) {
    engine::Board b = emptyBoard(9);
    b.cell(9, 9) = {1, 9, 9, 9};
    const io::CellBlock block = io::BlockFromBoard(b, 8, 8, 10, 10);
    ASSERT_EQ(block.w, 3);
    ASSERT_EQ(block.h, 3);
    EXPECT_EQ(block.at(1, 1), (io::CellEntry{1, 9, 9, 9}));
    EXPECT_EQ(block.at(2, 2), io::CellEntry{});
    EXPECT_EQ(block.at(2, 0), io::CellEntry{});
}

TEST(BlockFromBoard, StatesThatDoNotFitAByteStayLive) {
    engine::Board b = emptyBoard(9);
    b.cell(0, 0) = {200, 1, 2, 3};
    b.cell(0, 1) = {256, 1, 2, 3};
    b.cell(0, 2) = {-1, 1, 2, 3};
    const io::CellBlock block = io::BlockFromBoard(b, 0, 0, 0, 2);
    EXPECT_EQ(block.at(0, 0).State, 200);
    EXPECT_EQ(block.at(0, 1).State, 1);
    EXPECT_EQ(block.at(0, 2).State, 1);
}

TEST(BlockFromBoard, RectanglesNoBoardCanHoldGiveAnEmptyBlock) {
    const engine::Board b = emptyBoard(199);
    for (auto [l, t, r, bo] : {std::array{5, 5, 4, 5}, {0, 0, 200, 0}, {INT_MIN, 0, INT_MAX, 0}, {0, INT_MAX, 0, INT_MIN}}) {
        const io::CellBlock block = io::BlockFromBoard(b, l, t, r, bo);
        EXPECT_EQ(block.w, 0);
        EXPECT_TRUE(block.entries.empty());
    }
    EXPECT_EQ(io::BlockFromBoard(b, 0, 0, 199, 199).entries.size(), 200u * 200u);
}

// ---- round trips --------------------------------------------------------------

TEST(BoardFile, RandomBoardsOfEverySizeRoundTrip) {
    for (int32_t gridMax : {9, 49, 137, 199}) {
        engine::Board b = emptyBoard(gridMax);
        engine::RandomSequence random(static_cast<uint64_t>(gridMax));
        engine::Init(b, random);
        const Bytes bytes = io::EncodeBoardFile(b);
        EXPECT_EQ(bytes.size(), io::kBoardHeaderSize + io::kBoardRecordSize * static_cast<std::size_t>(b.Population()));
        const io::LoadedBoard loaded = valueOf(io::DecodeBoardFile(bytes));
        EXPECT_EQ(loaded.GridMax, gridMax);
        EXPECT_EQ(loaded.population, b.Population());
        EXPECT_EQ(loaded.cells, b.Cells);  // Init leaves every dead cell all zero
    }
}

TEST(BoardFile, DeadCellsLoseTheirColour) {
    engine::Board b = emptyBoard(9);
    b.cell(1, 1) = {0, 50, 60, 70};
    const io::LoadedBoard loaded = valueOf(io::DecodeBoardFile(io::EncodeBoardFile(b)));
    EXPECT_EQ(loaded.cells[11], engine::CellRecord{});
}

TEST(BoardFile, RecordsInAnyOrderRepeatedCellTakesTheLastColour) {
    const Bytes bytes = concat({kBoardSig, le32(9), record(9, 9, 1, 1, 1), record(0, 0, 2, 2, 2), record(9, 9, 3, 4, 5)});
    const io::LoadedBoard loaded = valueOf(io::DecodeBoardFile(bytes));
    EXPECT_EQ(loaded.cells[99], (engine::CellRecord{1, 3, 4, 5}));
    EXPECT_EQ(loaded.cells[0], (engine::CellRecord{1, 2, 2, 2}));
    EXPECT_EQ(loaded.population, 3);  // records read; the program recounts when it draws
}

io::CellBlock randomBlock(std::mt19937& gen, int w, int h) {
    io::CellBlock block{w, h, {}};
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < w * h; ++i)
        block.entries.push_back({static_cast<uint8_t>(byte(gen) % 3), static_cast<uint8_t>(byte(gen)),
                                 static_cast<uint8_t>(byte(gen)), static_cast<uint8_t>(byte(gen))});
    return block;
}

TEST(PatternAndBlock, EntriesRoundTripExactlyAtEverySize) {
    std::mt19937 gen(5);
    for (auto [w, h] : {std::pair{1, 1}, {3, 2}, {1, 200}, {200, 1}, {17, 93}, {200, 200}}) {
        const io::CellBlock block = randomBlock(gen, w, h);
        const io::CellBlock fromPattern = valueOf(io::DecodePatternFile(io::EncodePatternFile(block)));
        const io::CellBlock fromClipboard = valueOf(io::DecodeCellBlock(io::EncodeCellBlock(block)));
        for (const io::CellBlock* decoded : {&fromPattern, &fromClipboard}) {
            EXPECT_EQ(decoded->w, w);
            EXPECT_EQ(decoded->h, h);
            EXPECT_EQ(decoded->entries, block.entries);
        }
    }
}

TEST(PatternAndBlock, BytesAfterTheEntriesAreIgnored) {
    const Bytes entries = {1, 9, 8, 7, 0, 1, 2, 3};
    const io::CellBlock p = valueOf(io::DecodePatternFile(concat({kPatternSig, le16(1), le16(2), entries, {0xEE, 0xEE}})));
    const io::CellBlock c = valueOf(io::DecodeCellBlock(concat({le16(2), le16(1), entries, Bytes(64, 0xCC)})));
    EXPECT_EQ(p.at(0, 1), (io::CellEntry{0, 1, 2, 3}));
    EXPECT_EQ(c.at(1, 0), (io::CellEntry{0, 1, 2, 3}));
    EXPECT_EQ(c.entries.size(), 2u);
}

TEST(PatternAndBlock, EncodersPadAShortEntryListWithDeadCells) {
    const io::CellBlock block{2, 2, {io::CellEntry{1, 1, 1, 1}}};
    EXPECT_EQ(io::EncodeCellBlock(block), concat({le16(2), le16(2), {1, 1, 1, 1}, Bytes(12, 0)}));
}

// ---- hostile input ------------------------------------------------------------

enum class Decoder { Board, Pattern, Block };

struct Hostile {
    const char* name;
    Decoder decoder;
    Bytes bytes;
    io::DecodeError expected;
};

io::DecodeError decode(Decoder d, const Bytes& bytes) {
    switch (d) {
        case Decoder::Board: return errorOf(io::DecodeBoardFile(bytes));
        case Decoder::Pattern: return errorOf(io::DecodePatternFile(bytes));
        case Decoder::Block: return errorOf(io::DecodeCellBlock(bytes));
    }
    return io::DecodeError::None;
}

TEST(Decoders, RefuseHostileInputAsAWhole) {
    using E = io::DecodeError;
    const Bytes boardHead = concat({kBoardSig, le32(49)});
    const Bytes patternSig = kPatternSig;
    const Bytes cut = Bytes(kBoardSig.begin(), kBoardSig.end() - 1);
    Bytes wrongCase = kBoardSig;
    wrongCase[0] = 'c';
    const std::vector<Hostile> cases = {
        {"board: empty", Decoder::Board, {}, E::BadSignature},
        {"board: 21 signature bytes", Decoder::Board, cut, E::BadSignature},
        {"board: signature in another case", Decoder::Board, concat({wrongCase, le32(49)}), E::BadSignature},
        {"board: a pattern file", Decoder::Board, concat({kPatternSig, le16(1), le16(1), {1, 1, 1, 1}}), E::BadSignature},
        {"board: signature only", Decoder::Board, kBoardSig, E::TruncatedHeader},
        {"board: GridMax cut off", Decoder::Board, concat({kBoardSig, {49, 0, 0}}), E::TruncatedHeader},
        {"board: GridMax 8", Decoder::Board, concat({kBoardSig, le32(8)}), E::BadGridMax},
        {"board: GridMax 200", Decoder::Board, concat({kBoardSig, le32(200)}), E::BadGridMax},
        {"board: GridMax -1", Decoder::Board, concat({kBoardSig, le32(-1)}), E::BadGridMax},
        {"board: GridMax INT_MAX", Decoder::Board, concat({kBoardSig, le32(INT_MAX)}), E::BadGridMax},
        {"board: GridMax INT_MIN", Decoder::Board, concat({kBoardSig, le32(INT_MIN)}), E::BadGridMax},
        {"board: ends inside the first record", Decoder::Board, concat({boardHead, {1, 0, 1, 0, 9, 9}}), E::TruncatedRecord},
        {"board: ends inside a later record", Decoder::Board, concat({boardHead, record(1, 1), {1}}), E::TruncatedRecord},
        {"board: x = -1", Decoder::Board, concat({boardHead, record(0xFFFF, 0)}), E::CellOutsideBoard},
        {"board: x = GridMax + 1", Decoder::Board, concat({boardHead, record(50, 0)}), E::CellOutsideBoard},
        {"board: y = GridMax + 1", Decoder::Board, concat({boardHead, record(0, 50)}), E::CellOutsideBoard},
        {"board: y = -32768", Decoder::Board, concat({boardHead, record(0, 0x8000)}), E::CellOutsideBoard},
        {"board: x = 32767", Decoder::Board, concat({boardHead, record(0x7FFF, 0)}), E::CellOutsideBoard},
        {"board: good records then one outside", Decoder::Board, concat({boardHead, record(1, 1), record(2, 99)}),
         E::CellOutsideBoard},

        {"pattern: empty", Decoder::Pattern, {}, E::BadSignature},
        {"pattern: a board file", Decoder::Pattern, concat({boardHead, record(1, 1), Bytes(8, 0)}), E::BadSignature},
        {"pattern: signature only", Decoder::Pattern, patternSig, E::TruncatedHeader},
        {"pattern: h cut off", Decoder::Pattern, concat({kPatternSig, le16(1), {1}}), E::TruncatedHeader},
        {"pattern: w = 0", Decoder::Pattern, concat({kPatternSig, le16(0), le16(1), Bytes(4, 1)}), E::BadDimensions},
        {"pattern: h = 0", Decoder::Pattern, concat({kPatternSig, le16(1), le16(0), Bytes(4, 1)}), E::BadDimensions},
        {"pattern: w = 201", Decoder::Pattern, concat({kPatternSig, le16(201), le16(1), Bytes(804, 1)}), E::BadDimensions},
        {"pattern: h = 201", Decoder::Pattern, concat({kPatternSig, le16(1), le16(201), Bytes(804, 1)}), E::BadDimensions},
        {"pattern: w = 0xFFFF", Decoder::Pattern, concat({kPatternSig, le16(0xFFFF), le16(1)}), E::BadDimensions},
        {"pattern: h = -1", Decoder::Pattern, concat({kPatternSig, le16(1), le16(0xFFFF)}), E::BadDimensions},
        {"pattern: h = -32768", Decoder::Pattern, concat({kPatternSig, le16(1), le16(0x8000)}), E::BadDimensions},
        {"pattern: 200 x 200 without entries", Decoder::Pattern, concat({kPatternSig, le16(200), le16(200)}),
         E::TruncatedEntries},
        {"pattern: one byte short", Decoder::Pattern, concat({kPatternSig, le16(3), le16(2), Bytes(23, 1)}),
         E::TruncatedEntries},

        {"block: empty", Decoder::Block, {}, E::TruncatedHeader},
        {"block: three bytes", Decoder::Block, {1, 0, 1}, E::TruncatedHeader},
        {"block: w = 0", Decoder::Block, concat({le16(0), le16(5)}), E::BadDimensions},
        {"block: 0xFFFF x 0xFFFF", Decoder::Block, concat({le16(0xFFFF), le16(0xFFFF), Bytes(64, 1)}), E::BadDimensions},
        {"block: h = 0x8000 (unsigned, too large)", Decoder::Block, concat({le16(1), le16(0x8000)}), E::BadDimensions},
        {"block: w = 201", Decoder::Block, concat({le16(201), le16(1), Bytes(804, 1)}), E::BadDimensions},
        {"block: 200 x 200 one entry short", Decoder::Block, concat({le16(200), le16(200), Bytes(4 * 39999, 1)}),
         E::TruncatedEntries},
        {"block: 2 x 2 with three bytes of entries", Decoder::Block, concat({le16(2), le16(2), {1, 2, 3}}),
         E::TruncatedEntries},
    };
    for (const Hostile& c : cases) EXPECT_EQ(decode(c.decoder, c.bytes), c.expected) << c.name;
}

TEST(Decoders, AcceptTheLimitsThemselves) {
    EXPECT_EQ(valueOf(io::DecodeBoardFile(concat({kBoardSig, le32(9), record(9, 9)}))).GridMax, 9);
    EXPECT_EQ(valueOf(io::DecodeBoardFile(concat({kBoardSig, le32(199), record(199, 0)}))).GridMax, 199);
    EXPECT_EQ(valueOf(io::DecodePatternFile(concat({kPatternSig, le16(200), le16(200), Bytes(160000, 0)}))).w, 200);
    EXPECT_EQ(valueOf(io::DecodeCellBlock(concat({le16(200), le16(200), Bytes(160000, 0)}))).h, 200);
}

// Every prefix and every single-byte change of a valid file is either refused
// or decoded into a consistent value; never a crash (the sanitizer builds run
// this too).
TEST(Decoders, EveryPrefixAndByteFlipGivesARefusalOrAConsistentValue) {
    engine::Board b = emptyBoard(9);
    engine::RandomSequence random(3);
    engine::Init(b, random);
    std::mt19937 gen(11);
    const io::CellBlock block = randomBlock(gen, 4, 3);
    const Bytes files[3] = {io::EncodeBoardFile(b), io::EncodePatternFile(block), io::EncodeCellBlock(block)};
    const Decoder decoders[3] = {Decoder::Board, Decoder::Pattern, Decoder::Block};

    auto check = [&](Decoder d, const Bytes& bytes) {
        if (d == Decoder::Board) {
            const auto v = io::DecodeBoardFile(bytes);
            if (const auto* loaded = std::get_if<io::LoadedBoard>(&v)) {
                const auto side = static_cast<std::size_t>(loaded->GridMax) + 1;
                ASSERT_EQ(loaded->cells.size(), side * side);
                ASSERT_EQ(static_cast<std::size_t>(loaded->population), (bytes.size() - io::kBoardHeaderSize) / 7);
            }
        } else {
            const auto v = d == Decoder::Pattern ? io::DecodePatternFile(bytes) : io::DecodeCellBlock(bytes);
            if (const auto* decoded = std::get_if<io::CellBlock>(&v)) {
                ASSERT_EQ(decoded->entries.size(), static_cast<std::size_t>(decoded->w) * decoded->h);
            }
        }
    };
    for (int f = 0; f < 3; ++f) {
        for (std::size_t n = 0; n <= files[f].size(); ++n) check(decoders[f], Bytes(files[f].begin(), files[f].begin() + n));
        for (std::size_t i = 0; i < std::min<std::size_t>(files[f].size(), 64); ++i) {
            for (uint8_t flip : {0x01, 0x80, 0xFF}) {
                Bytes changed = files[f];
                changed[i] ^= flip;
                check(decoders[f], changed);
            }
        }
    }
}

TEST(Decoders, EveryErrorHasItsOwnDescription) {
    std::set<std::string> seen;
    for (auto e : {io::DecodeError::None, io::DecodeError::BadSignature, io::DecodeError::TruncatedHeader,
                   io::DecodeError::BadGridMax, io::DecodeError::TruncatedRecord, io::DecodeError::CellOutsideBoard,
                   io::DecodeError::BadDimensions, io::DecodeError::TruncatedEntries})
        EXPECT_TRUE(seen.insert(io::describe(e)).second) << io::describe(e);
}

}  // namespace
