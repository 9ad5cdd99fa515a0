// SPDX-License-Identifier: MIT
#include "io/formats.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace io {

namespace {

constexpr std::size_t kBoardSignatureSize = sizeof(kBoardSignature) - 1;
constexpr std::size_t kPatternSignatureSize = sizeof(kPatternSignature) - 1;
constexpr std::size_t kEntrySize = 4;

static_assert(kBoardSignatureSize == 22);
static_assert(kPatternSignatureSize == 29);
static_assert(kBoardHeaderSize == kBoardSignatureSize + 4);
static_assert(kPatternHeaderSize == kPatternSignatureSize + 4);

void putU8(std::vector<uint8_t>& out, uint8_t v) { out.push_back(v); }

void putI16(std::vector<uint8_t>& out, int32_t v) {
    const auto u = static_cast<uint16_t>(v);
    out.push_back(static_cast<uint8_t>(u & 0xFF));
    out.push_back(static_cast<uint8_t>(u >> 8));
}

void putI32(std::vector<uint8_t>& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>((u >> shift) & 0xFF));
}

uint16_t getU16(std::span<const uint8_t> bytes, std::size_t at) {
    return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

int16_t getI16(std::span<const uint8_t> bytes, std::size_t at) { return static_cast<int16_t>(getU16(bytes, at)); }

int32_t getI32(std::span<const uint8_t> bytes, std::size_t at) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | bytes[at + static_cast<std::size_t>(i)];
    return static_cast<int32_t>(u);
}

void putSignature(std::vector<uint8_t>& out, const char* signature, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(signature[i]));
}

bool hasSignature(std::span<const uint8_t> bytes, const char* signature, std::size_t size) {
    return bytes.size() >= size && std::memcmp(bytes.data(), signature, size) == 0;
}

// The State byte of an entry. Files and clipboard blocks carry State values
// 0 .. 255 and every non-zero one means live; a value the byte cannot hold is
// written as 1 so that a live cell never turns dead on the way out.
uint8_t entryState(int32_t state) {
    if (state >= 0 && state <= 255) return static_cast<uint8_t>(state);
    return 1;
}

// Colour components are 0 .. 255; only the low byte is stored.
uint8_t entryComponent(int32_t component) { return static_cast<uint8_t>(component & 0xFF); }

std::size_t entryCount(const CellBlock& block) {
    return static_cast<std::size_t>(std::max(block.w, 0)) * static_cast<std::size_t>(std::max(block.h, 0));
}

void putEntries(std::vector<uint8_t>& out, const CellBlock& block) {
    const std::size_t count = entryCount(block);
    for (std::size_t i = 0; i < count; ++i) {
        // A block with fewer entries than w x h is padded with dead cells
        // rather than read beyond its end.
        const CellEntry e = i < block.entries.size() ? block.entries[i] : CellEntry{};
        putU8(out, e.State);
        putU8(out, e.Red);
        putU8(out, e.Green);
        putU8(out, e.Blue);
    }
}

bool validSide(int64_t side) { return side >= 1 && side <= kMaxBlockSide; }

// Reads w x h entries that start at `at`; the caller has checked w and h.
std::variant<CellBlock, DecodeError> readEntries(std::span<const uint8_t> bytes, std::size_t at, int w, int h) {
    const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    if ((bytes.size() - at) / kEntrySize < count) return DecodeError::TruncatedEntries;
    CellBlock block;
    block.w = w;
    block.h = h;
    block.entries.resize(count);
    for (std::size_t i = 0; i < count; ++i, at += kEntrySize)
        block.entries[i] = CellEntry{bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]};
    return block;
}

}  // namespace

const char* describe(DecodeError error) {
    switch (error) {
        case DecodeError::None: return "no error";
        case DecodeError::BadSignature: return "not Kaleidomat data (wrong signature)";
        case DecodeError::TruncatedHeader: return "the header is cut off";
        case DecodeError::BadGridMax: return "board size outside 10 x 10 .. 2048 x 2048";
        case DecodeError::TruncatedRecord: return "the file ends inside a cell record";
        case DecodeError::CellOutsideBoard: return "a cell record lies outside the board";
        case DecodeError::BadDimensions: return "width or height outside 1 .. 200";
        case DecodeError::TruncatedEntries: return "fewer cell entries than width x height";
    }
    return "unknown error";
}

namespace {
CellBlock blockOf(const engine::Board& board, int32_t left, int32_t top, int64_t w, int64_t h) {
    CellBlock block;
    block.w = static_cast<int>(w);
    block.h = static_cast<int>(h);
    block.entries.resize(static_cast<std::size_t>(w * h));
    for (int dx = 0; dx < block.w; ++dx) {
        for (int dy = 0; dy < block.h; ++dy) {
            const int64_t x = static_cast<int64_t>(left) + dx;
            const int64_t y = static_cast<int64_t>(top) + dy;
            if (!board.contains(x, y)) continue;  // stays a dead entry
            const engine::CellRecord& c = board.cell(static_cast<int32_t>(x), static_cast<int32_t>(y));
            block.at(dx, dy) =
                CellEntry{entryState(c.State), entryComponent(c.Red), entryComponent(c.Green), entryComponent(c.Blue)};
        }
    }
    return block;
}
}  // namespace

CellBlock BlockFromBoard(const engine::Board& board, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const int64_t w = static_cast<int64_t>(right) - left + 1;
    const int64_t h = static_cast<int64_t>(bottom) - top + 1;
    if (!validSide(w) || !validSide(h)) return {};  // no such rectangle on any board
    return blockOf(board, left, top, w, h);
}

CellBlock BlockOfWholeBoard(const engine::Board& board) {
    if (board.side() <= 0 || board.Cells.size() != static_cast<std::size_t>(board.side()) * board.side()) return {};
    return blockOf(board, 0, 0, board.side(), board.side());
}

void BlockToBoard(const CellBlock& block, engine::Board& board, int32_t left, int32_t top, int32_t right,
                  int32_t bottom) {
    for (int dx = 0; dx < block.w; ++dx) {
        for (int dy = 0; dy < block.h; ++dy) {
            const int64_t x = static_cast<int64_t>(left) + dx;
            const int64_t y = static_cast<int64_t>(top) + dy;
            if (x > right || y > bottom || !board.contains(x, y)) continue;
            const CellEntry& e = block.at(dx, dy);
            board.cell(static_cast<int32_t>(x), static_cast<int32_t>(y)) = {e.State, e.Red, e.Green, e.Blue};
        }
    }
}

// ---- board data file ------------------------------------------------------

std::vector<uint8_t> EncodeBoardFile(const engine::Board& board) {
    std::vector<uint8_t> out;
    out.reserve(kBoardHeaderSize + kBoardRecordSize * static_cast<std::size_t>(board.countLive()));
    putSignature(out, kBoardSignature, kBoardSignatureSize);
    putI32(out, board.GridMax);
    for (int32_t x = 0; x <= board.GridMax; ++x) {
        for (int32_t y = 0; y <= board.GridMax; ++y) {
            const engine::CellRecord& c = board.cell(x, y);
            if (!c.live()) continue;
            putI16(out, x);
            putI16(out, y);
            putU8(out, entryComponent(c.Red));
            putU8(out, entryComponent(c.Green));
            putU8(out, entryComponent(c.Blue));
        }
    }
    return out;
}

std::variant<LoadedBoard, DecodeError> DecodeBoardFile(std::span<const uint8_t> bytes) {
    if (!hasSignature(bytes, kBoardSignature, kBoardSignatureSize)) return DecodeError::BadSignature;
    if (bytes.size() < kBoardHeaderSize) return DecodeError::TruncatedHeader;
    const int32_t gridMax = getI32(bytes, kBoardSignatureSize);
    if (gridMax < engine::kMinGridMax || gridMax > engine::kMaxGridMax) return DecodeError::BadGridMax;
    // The length is checked before any record, so a file cut inside its last
    // record is refused however good the records before it are.
    if ((bytes.size() - kBoardHeaderSize) % kBoardRecordSize != 0) return DecodeError::TruncatedRecord;

    LoadedBoard board;
    board.GridMax = gridMax;
    const auto side = static_cast<std::size_t>(gridMax) + 1;
    board.cells.assign(side * side, engine::CellRecord{});
    for (std::size_t at = kBoardHeaderSize; at < bytes.size(); at += kBoardRecordSize) {
        const int32_t x = getI16(bytes, at);
        const int32_t y = getI16(bytes, at + 2);
        if (x < 0 || y < 0 || x > gridMax || y > gridMax) return DecodeError::CellOutsideBoard;
        engine::CellRecord& c = board.cells[static_cast<std::size_t>(x) * side + static_cast<std::size_t>(y)];
        c = engine::CellRecord{1, bytes[at + 4], bytes[at + 5], bytes[at + 6]};
    }
    // Records read, repeats included (saturated: a file may repeat cells without end).
    const std::size_t records = (bytes.size() - kBoardHeaderSize) / kBoardRecordSize;
    board.population = static_cast<int32_t>(std::min<std::size_t>(records, std::numeric_limits<int32_t>::max()));
    return board;
}

void PutLoadedBoard(LoadedBoard&& loaded, engine::Board& board) {
    board.create(loaded.GridMax);
    board.Cells = std::move(loaded.cells);
    board.PopulationHistory.fill(0);
    board.Population() = loaded.population;
}

// ---- pattern file ------------------------------------------------------------

std::vector<uint8_t> EncodePatternFile(const CellBlock& block) {
    std::vector<uint8_t> out;
    out.reserve(kPatternHeaderSize + kEntrySize * entryCount(block));
    putSignature(out, kPatternSignature, kPatternSignatureSize);
    putI16(out, block.w);
    putI16(out, block.h);
    putEntries(out, block);
    return out;
}

std::variant<CellBlock, DecodeError> DecodePatternFile(std::span<const uint8_t> bytes) {
    if (!hasSignature(bytes, kPatternSignature, kPatternSignatureSize)) return DecodeError::BadSignature;
    if (bytes.size() < kPatternHeaderSize) return DecodeError::TruncatedHeader;
    const int w = getU16(bytes, kPatternSignatureSize);
    const int h = getI16(bytes, kPatternSignatureSize + 2);
    if (!validSide(w) || !validSide(h)) return DecodeError::BadDimensions;
    return readEntries(bytes, kPatternHeaderSize, w, h);
}

// ---- clipboard cell block -----------------------------------------------------

std::vector<uint8_t> EncodeCellBlock(const CellBlock& block) {
    std::vector<uint8_t> out;
    out.reserve(kBlockHeaderSize + kEntrySize * entryCount(block));
    putI16(out, block.w);
    putI16(out, block.h);
    putEntries(out, block);
    return out;
}

std::variant<CellBlock, DecodeError> DecodeCellBlock(std::span<const uint8_t> bytes) {
    if (bytes.size() < kBlockHeaderSize) return DecodeError::TruncatedHeader;
    const int w = getU16(bytes, 0);
    const int h = getU16(bytes, 2);
    if (!validSide(w) || !validSide(h)) return DecodeError::BadDimensions;
    return readEntries(bytes, kBlockHeaderSize, w, h);
}

}  // namespace io
