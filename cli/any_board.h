// SPDX-License-Identifier: MIT
#pragma once

// Reading any of the file kinds wherever a board is read: the kind is
// told by the file's contents, and a pattern becomes a board to run.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "cli/cell_files.h"
#include "engine/board.h"
#include "engine/random_sequence.h"

namespace cli {

// What a file holds: a board or pattern file by its signature, otherwise RLE
// or plaintext by its text. The extension decides only where the contents
// leave it open (a file that reads as neither is refused by the reader its
// name points to). Unset for a file that is none of them by either.
std::optional<FileKind> KindOfContents(const std::string& path);

// The board cell a pattern's top-left cell goes to on a board of `side`: the
// middle, as Golly centres a pattern, when the pattern fits; otherwise (0, 0),
// so that what falls off the board is refused plainly.
std::pair<int32_t, int32_t> PatternOrigin(int32_t side, int width, int height);

// Any of the kinds as a board ready to run. A board file is taken as it
// is; a pattern goes to the middle of its own torus (an RLE rule
// "B3/S23:Tn,n") or of the smallest of the boards 10, 20, ..., 200, 256, 512,
// 1024, 2048 that holds it. Live cells of a Life pattern take random colours drawn from `random`,
// as the window colours an imported pattern.
engine::Board LoadAnyBoard(const std::string& path, engine::RandomSequence& random);

}  // namespace cli
