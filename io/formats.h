// SPDX-License-Identifier: MIT
#pragma once

// The program's three byte formats: the board data file (.hxa), the pattern
// file (.hxq) and the clipboard's cell block. Integers are little-endian and
// signatures are plain bytes without length or terminator.
//
// Decoders never read past the end of their input and never allocate more
// than the largest legitimate board or block needs, whatever the bytes.
// Malformed input is refused as a whole with an error value; nothing is ever
// loaded in part.

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "engine/board.h"

namespace io {

inline constexpr char kBoardSignature[] = "Chromatessellator Data";           // 22 bytes
inline constexpr char kPatternSignature[] = "Chromatessellator PatternData";  // 29 bytes
inline constexpr std::size_t kBoardHeaderSize = 26;
inline constexpr std::size_t kBoardRecordSize = 7;
inline constexpr std::size_t kPatternHeaderSize = 33;
inline constexpr std::size_t kBlockHeaderSize = 4;
inline constexpr int kMaxBlockSide = 200;

enum class DecodeError {
    None,
    BadSignature,      // not this program's data (also: shorter than the signature)
    TruncatedHeader,   // the size fields are cut off
    BadGridMax,        // board size outside 10 x 10 .. 2048 x 2048
    TruncatedRecord,   // the file ends inside a cell record
    CellOutsideBoard,  // a record's x or y lies outside 0 .. GridMax
    BadDimensions,     // w or h of 0 or over 200 (or negative)
    TruncatedEntries,  // fewer than w x h entries
};

// A short English description of the error, for the command-line tool.
const char* describe(DecodeError error);

// One cell of a pattern or clipboard block: four unsigned bytes.
struct CellEntry {
    uint8_t State = 0, Red = 0, Green = 0, Blue = 0;
    friend bool operator==(const CellEntry&, const CellEntry&) = default;
};

// A rectangle of cells, column by column: entry (dx, dy) is entries[dx * h + dy].
struct CellBlock {
    int w = 0;
    int h = 0;
    std::vector<CellEntry> entries;

    CellEntry& at(int dx, int dy) { return entries[static_cast<std::size_t>(dx) * h + dy]; }
    const CellEntry& at(int dx, int dy) const { return entries[static_cast<std::size_t>(dx) * h + dy]; }
};

// The rectangle (left, top)-(right, bottom), corners included, of a board.
// Cells outside the board are not read (the block must lie on the board).
CellBlock BlockFromBoard(const engine::Board& board, int32_t left, int32_t top, int32_t right, int32_t bottom);
// The whole board as one block, whatever its side: unlike a selection, it is
// not held to the 200 a side of pattern files and the clipboard's cell block.
CellBlock BlockOfWholeBoard(const engine::Board& board);

// Lays the block onto the board from (left, top): entry (dx, dy) replaces
// cell (left + dx, top + dy) as it is. Entries beyond right or bottom, or off
// the board, are left out.
void BlockToBoard(const CellBlock& block, engine::Board& board, int32_t left, int32_t top, int32_t right,
                  int32_t bottom);

// ---- board data file ------------------------------------------------------

// Signature, GridMax, then one 7-byte record per live cell, x outer, y inner.
std::vector<uint8_t> EncodeBoardFile(const engine::Board& board);

// A decoded board: GridMax and its cells (x * (GridMax + 1) + y), every dead
// cell all zero, every live cell State 1.
struct LoadedBoard {
    int32_t GridMax = 0;
    std::vector<engine::CellRecord> cells;
    int32_t population = 0;  // number of records read
};

// Accepts GridMax 9 .. 2047 and records in any order (a repeated cell takes
// the last record's colour). Refuses anything else: see DecodeError.
std::variant<LoadedBoard, DecodeError> DecodeBoardFile(std::span<const uint8_t> bytes);

// Makes `board` the decoded one: GridMax and cells taken over, the
// population history cleared but for the decoder's population (records
// read). Generation and Modified are the caller's.
void PutLoadedBoard(LoadedBoard&& loaded, engine::Board& board);

// ---- pattern file ------------------------------------------------------------

// Signature, w, h, then w x h entries column by column.
std::vector<uint8_t> EncodePatternFile(const CellBlock& block);

// w is read unsigned and h signed (as stored); either outside 1 .. 200 is
// refused, as is a file with fewer than w x h entries. Bytes after the
// entries are ignored.
std::variant<CellBlock, DecodeError> DecodePatternFile(std::span<const uint8_t> bytes);

// ---- clipboard cell block -----------------------------------------------------

// w, h, then w x h entries column by column.
std::vector<uint8_t> EncodeCellBlock(const CellBlock& block);

// w and h are read unsigned; outside 1 .. 200 is refused, as is a block with
// fewer than w x h entries. Bytes after the entries are ignored (clipboard
// blocks may be padded).
std::variant<CellBlock, DecodeError> DecodeCellBlock(std::span<const uint8_t> bytes);

}  // namespace io
