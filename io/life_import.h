// SPDX-License-Identifier: MIT
#pragma once

// Bringing a Life pattern (RLE, plaintext, macrocell, Life 1.05 or 1.06,
// any of them gzipped) onto a board: telling the formats apart by their
// content, choosing a board size and placing the pattern in the middle of
// the board as Golly does.

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "io/life_text.h"

namespace io {

enum class LifeTextKind { Rle, Plaintext, Macrocell, Life105, Life106 };

// Which format a text is written in. Macrocell opens with "[M2]", Life 1.05
// and 1.06 with "#Life 1.05" or "#Life 1.06"; RLE opens with other "#"
// lines or an "x = " header, plaintext with "!" lines; a text with none of
// these is plaintext when it reads as plaintext ("..O" rows), else RLE
// ("bo$2bo$3o!").
LifeTextKind GuessLifeTextKind(std::string_view text);

// Reads the text with the parser of the format it is written in; a refusal
// carries that parser's reason.
std::variant<LifeGrid, TextError> ParseLifeText(std::string_view text);

// Reads a file's bytes as a Life pattern: gzip data is unpacked first (at
// most io::kMaxUnpackedSize bytes), then read as ParseLifeText reads it.
std::variant<LifeGrid, TextError> ReadLifePattern(std::span<const uint8_t> bytes);

// Whether the bytes begin with the signature of a board or a pattern file.
bool HasProgramSignature(std::span<const uint8_t> bytes);

// The smallest board that holds a pattern of width x height: one of 10, 20,
// ..., 200 as far as they hold it, and beyond that one of 256, 512, 1024 and
// 2048 (the side at most 2048).
int32_t SmallestBoardSide(int width, int height);

// The side of the board a pattern goes onto, the board's side being
// `current`: the pattern's own torus if it names one; for a pattern of at
// most 200 a side, `current` when that holds it; otherwise the smallest
// board that holds it (SmallestBoardSide). The readers refuse a pattern too
// large for any board.
int32_t ImportBoardSide(const LifeGrid& grid, int32_t current);

// The first column (or row) of a pattern `extent` cells wide on a board of
// `side` cells: Golly puts a pattern's top-left cell at -extent / 2 on a grid
// whose first cell is -side / 2, both divisions rounding down.
constexpr int32_t CentredOffset(int32_t side, int32_t extent) { return side / 2 - extent / 2; }

}  // namespace io
