// SPDX-License-Identifier: MIT
#pragma once

// The other pattern formats Golly and older Life programs write, read into
// the same LifeGrid as RLE and plaintext:
//
//   macrocell (.mc)    "[M2]" and "#" header lines ("#R rule"), then a
//                      quadtree, one node per line, children first: 8 x 8
//                      leaves as rows of "." and "*" ended by "$", 2 x 2
//                      leaves "1 a b c d" of states, and inner nodes
//                      "level nw ne sw se" naming earlier nodes by number
//                      (0 for an empty square). The last node is the world.
//   Life 1.05 (.lif)   "#Life 1.05", "#D" description, "#N" or "#R rule",
//                      then blocks: "#P x y" and rows of "." and "*".
//   Life 1.06 (.lif)   "#Life 1.06", then one "x y" line per live cell.
//   gzip               any of these compressed (.rle.gz, .mc.gz); told by
//                      its first two bytes, not its name.
//
// A pattern must fit 2048 x 2048 cells; its extent is known before the grid
// is allocated, so a file that claims a huge world costs no more than the
// largest grid. Malformed input is refused as a whole.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "io/life_text.h"

namespace io {

// More than any pattern of 2048 x 2048 cells needs in any of the formats, and
// the size of the largest file the programs read.
inline constexpr std::size_t kMaxUnpackedSize = std::size_t{64} << 20;

// The gzip signature, 1F 8B.
bool IsGzip(std::span<const uint8_t> bytes);

// The bytes of a gzip file (several members in a row are joined; bytes after
// the last member that start no other are ignored, as gzip does). Refuses
// damaged or cut-off data and more than `limit` unpacked bytes, which it
// stops at without unpacking the rest.
std::variant<std::string, TextError> Gunzip(std::span<const uint8_t> bytes, std::size_t limit = kMaxUnpackedSize);

// Reads a macrocell file. The rule ("#R") may be Conway's or LifeHistory
// (odd states live), with a square torus as RLE allows; none means Conway's.
// Refuses a node that is malformed, names a node not yet defined or of the
// wrong size, a state other than LifeHistory's 0 .. 6 (0 and 1 under
// Conway's rule), more than 2^20 nodes, a world over 2^62 cells a side and
// live cells spanning more than 2048.
std::variant<LifeGrid, TextError> ParseMacrocell(std::string_view text);

// Reads a Life 1.05 file: blocks of rows at the offsets "#P x y" give (a "#P"
// without numbers and rows before any "#P" start at 0 0). "#R" names the
// rule (survival/birth, or B/S); "#N" is Conway's.
std::variant<LifeGrid, TextError> ParseLife105(std::string_view text);

// Reads a Life 1.06 file: one "x y" pair of whole numbers per live cell.
std::variant<LifeGrid, TextError> ParseLife106(std::string_view text);

}  // namespace io
