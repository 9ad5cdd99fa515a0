// SPDX-License-Identifier: MIT
#pragma once

// Bringing a Life text pattern (RLE or plaintext) onto a board: telling the
// two formats apart by their content, choosing a board size and placing the
// pattern in the middle of the board as Golly does.

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "io/life_text.h"

namespace io {

enum class LifeTextKind { Rle, Plaintext };

// Which of the two formats a text is written in. RLE opens with "#" lines or
// an "x = " header, plaintext with "!" lines; a text with neither is
// plaintext when it reads as plaintext ("..O" rows), else RLE ("bo$2bo$3o!").
LifeTextKind GuessLifeTextKind(std::string_view text);

// Reads the text with the parser of the format it is written in; a refusal
// carries that parser's reason.
std::variant<LifeGrid, TextError> ParseLifeText(std::string_view text);

// Whether the bytes begin with the signature of a board or a pattern file.
bool HasProgramSignature(std::span<const uint8_t> bytes);

// The smallest of the board sizes 10, 20, ..., 200 that holds a pattern of
// width x height (both at most 200).
int32_t SmallestBoardSide(int width, int height);

// The first column (or row) of a pattern `extent` cells wide on a board of
// `side` cells: Golly puts a pattern's top-left cell at -extent / 2 on a grid
// whose first cell is -side / 2, both divisions rounding down.
constexpr int32_t CentredOffset(int32_t side, int32_t extent) { return side / 2 - extent / 2; }

}  // namespace io
