// SPDX-License-Identifier: MIT
#pragma once

// Reading and writing the four file kinds kaleidomat-cli works with. Every
// failure is thrown as cli::Failure with a one-line message that names the
// file; the command dispatch turns it into exit status 1.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/board.h"
#include "io/formats.h"
#include "io/life_text.h"

namespace cli {

// A file that cannot be used: bad contents, cannot be read or written.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The last three are read only (convert writes .hxa, .hxq, .rle, .cells).
enum class FileKind { Board, Pattern, Rle, Plaintext, Macrocell, Life105, Life106 };

// By extension, case-insensitive: .hxa, .hxq, .rle, .cells, .mc, .lif
// (Life 1.05; a Life 1.06 file is told by its contents), .life (Life 1.06),
// and any of the Life pattern kinds with ".gz" after it (gzipped).
std::optional<FileKind> KindFromExtension(const std::string& path);
const char* KindName(FileKind kind);

// A Life community pattern (live and dead cells, no colours): every kind but
// the program's own board and pattern files.
constexpr bool IsLifePattern(FileKind kind) { return kind != FileKind::Board && kind != FileKind::Pattern; }

// The whole file. Files over 64 MiB are refused: no file of these kinds is
// legitimately larger than a few hundred kilobytes. Anything but a regular
// file (a FIFO, a device, a folder) is refused without waiting for it.
// With `first`, only the file's first bytes (at most that many), whatever its size.
inline constexpr std::size_t kWholeFile = static_cast<std::size_t>(-1);
std::vector<uint8_t> ReadWholeFile(const std::string& path, std::size_t first = kWholeFile);

// Replaces `path` through a unique temporary file beside it (io::ReplaceFile), so
// a failed write never leaves a half-written file behind.
void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

// The output name that stands for standard output, for commands whose output
// is one stream.
inline constexpr const char* kStandardOutput = "-";

// WriteWholeFile, or for kStandardOutput the bytes to `out`, flushed.
void WriteOutput(const std::string& path, std::span<const uint8_t> bytes, std::ostream& out);

// A board file as a ready engine board: Generation 1 (files do not store
// it), population counted.
engine::Board LoadBoard(const std::string& path);
void SaveBoard(const std::string& path, const engine::Board& board);

// Any of the kinds as a rectangle of cells (a Life pattern gzipped or not).
// Life patterns have no colour: their live cells take `liveColour`.
struct LoadedCells {
    io::CellBlock block;          // w = h = 0 for an empty text pattern
    // The GridMax of the world the cells come from: a board file, or an RLE
    // pattern on a square torus (rule "B3/S23:Tn,n"); unset for a pattern.
    std::optional<int32_t> boardGridMax;
    bool fromTorusRule = false;  // boardGridMax comes from an RLE rule
    // An RLE pattern's name, author and comment lines ("#N", "#O", "#C",
    // "#c") in front of its header, each ended by "\n": RLE written from it keeps them.
    std::string rleHeaderLines;
};
LoadedCells LoadCells(const std::string& path, FileKind kind, const io::CellEntry& liveColour);

// A file's bytes as a Life pattern's text: the bytes themselves (not copied),
// or for gzip data what it unpacks to, kept in `unpacked`. Throws for gzip
// data that does not unpack.
std::string_view PatternText(const std::string& path, const std::vector<uint8_t>& bytes, std::string& unpacked);

// The block's live cells, State 1, with their colours, on an empty board of
// side gridMax + 1 with the block's (0, 0) on the board's (left, top). Throws
// when a live cell would fall off the board; `path` names the source.
engine::Board BoardFromBlock(const io::CellBlock& block, int32_t gridMax, const std::string& path, int32_t left = 0,
                             int32_t top = 0);

}  // namespace cli
