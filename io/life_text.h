// SPDX-License-Identifier: MIT
#pragma once

// The Life community's two text formats for two-state patterns under
// Conway's rule:
//
//   RLE (.rle)         optional "#" comment lines, a header line
//                      "x = W, y = H, rule = B3/S23", then runs such as
//                      "bo$2bo$3o!": b dead, o live, $ end of row, ! end.
//                      A rule such as "B3/S23:T48,48" puts the pattern on
//                      a bounded grid, here a 48 x 48 torus.
//   plaintext (.cells) "!" comment lines, then one line per row with
//                      "." for a dead and "O" for a live cell.
//
// Both carry live and dead only, no colour. An RLE pattern may also use
// Golly's LifeHistory rule, Conway's rule with states that mark cells for
// the eye: its odd states are live, its even ones dead. Patterns are limited
// to what the largest board of this program holds, 2048 x 2048 cells; the
// parsers never allocate more than that, whatever the text says. Malformed
// text is refused as a whole with a message.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "io/formats.h"

namespace io {

inline constexpr int kMaxTextPatternSide = 2048;

// A rectangle of live and dead cells, column by column like CellBlock: cell
// (x, y) is cells[x * height + y]. Either both sides are 0 (an empty pattern)
// or both are 1 .. kMaxTextPatternSide.
struct LifeGrid {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> cells;  // 1 live, 0 dead
    // The side of the square torus the cells live on (an RLE rule ":Tn,n",
    // or an oblong ":Tw,h" repeated to fill a square: then the grid is the
    // whole square), or 0 for a pattern without a world of its own.
    int torusSide = 0;

    LifeGrid() = default;
    LifeGrid(int w, int h);  // all dead; sides are clamped to 0 .. kMaxTextPatternSide

    bool live(int x, int y) const { return cells[static_cast<std::size_t>(x) * height + y] != 0; }
    void set(int x, int y, bool alive) { cells[static_cast<std::size_t>(x) * height + y] = alive ? 1 : 0; }
    int countLive() const;

    friend bool operator==(const LifeGrid&, const LifeGrid&) = default;
};

// The live and dead cells of a block, colours dropped.
LifeGrid GridFromBlock(const CellBlock& block);

// Why a text was refused, for a message such as "line 3: unexpected 'z'".
// What is wrong with a text, as a kind a caller can put in its own words,
// and in English (with the line, when there is one) for the command line.
enum class TextProblem {
    Other,
    LineTooLong,
    TooLarge,            // more cells across or down than any board holds
    NotConwaysRule,
    UnsupportedGrid,     // a bounded grid other than a torus that fills a square of a usable side
    BadHeader,           // a header item, size or missing x or y
    BadRunCount,
    UnexpectedCharacter,
    DoesNotFitTorus,     // live cells beyond the torus the rule names
    BadCompression,      // gzip data that is damaged or cut off
    UnpackedTooLarge,    // gzip data that unpacks to more than any pattern needs
    BadNode,             // a macrocell node that is malformed or refers to no earlier node
    BadCoordinates,      // a Life 1.05 block position or a Life 1.06 cell that is not two whole numbers
};

struct TextError {
    std::string message;
    TextProblem problem = TextProblem::Other;
    std::size_t line = 0;  // 0 when the problem belongs to no one line
    // The part of the text it is about, as written there (a rule, a
    // character), the largest side for TooLarge, or the torus as "W × H"
    // for DoesNotFitTorus; may be empty.
    std::string detail{};
};

// True for Conway's rule written as "B3/S23" (any case, digits in any
// order, the two halves in either order, with or without the slash) or as
// "23/3" (survival/birth). A bounded grid (":T10,10") is not part of the rule.
bool IsConwayRule(std::string_view rule);

// True for "LifeHistory" in any case: Conway's rule with marking states.
bool IsLifeHistoryRule(std::string_view rule);

// A rule as a pattern names it, with its bounded grid ("B3/S23:T64,48").
struct PatternRule {
    // The side of the board for the rule's torus, 0 for the plane: the
    // torus's own side, or for an oblong torus the smallest square that
    // copies of it fill (144 for 72 x 48), which runs the same world.
    int torusSide = 0;
    int torusWidth = 0, torusHeight = 0;  // the torus as the rule names it
    bool history = false;                 // LifeHistory
};

// Reads a rule the way an RLE header's "rule = " item is read (other formats
// name rules too); refuses what ParseRle refuses in a rule, without a line.
std::variant<PatternRule, TextError> ReadPatternRule(std::string_view rule);

// The grid on the rule's torus: refused when it does not fit the torus; on
// an oblong torus, copied to fill the square board (torusSide a side) that
// runs the same world. The plane leaves the grid as it is.
std::variant<LifeGrid, TextError> PlaceOnTorus(LifeGrid grid, const PatternRule& rule);

// Reads an RLE pattern. The size is the header's x and y, grown to hold every
// live cell (a header is optional; without one the size is the live cells'
// extent). The header's items come in any order ("x = W, y = H, rule = R");
// "#" comment lines may stand anywhere before the runs. A rule ending in
// ":Tn,n" (a square torus, n from 10 to 2048) sets torusSide; an oblong
// ":Tw,h" is repeated to fill the smallest square both sides divide when that
// is 10 to 2048 a side (see PlaceOnTorus). "." reads as
// "b" and "A" as "o"; under LifeHistory, "C" and "E" are live too and "B",
// "D", "F" dead. Refuses: a
// header without x or y, a rule other than Conway's or LifeHistory (also one given in a "#r"
// line), any other bounded grid (plane, twisted or shifted or oblong torus,
// Klein bottle, sphere, cross-surface), sides over 2048 or over the torus, a
// run count of 0 or one with more than 9 digits, a line before the runs
// (a header or a comment) longer than 64 KiB, and any character that is not a run, a row end, "!" or
// white space. Messages quote at most 60 bytes of the text. Text after "!" is ignored; a
// missing "!" ends the pattern at the end of the text.
std::variant<LifeGrid, TextError> ParseRle(std::string_view text);

// Reads a plaintext pattern. Lines that begin with "!" are comments; every
// other line is one row, "." dead and "O" (also "o" or "*") live, trailing
// white space ignored. The width is that of the longest row, the height the
// number of rows up to the last one that is not empty. Refuses any other
// character, patterns over 2048 x 2048 and lines longer than 64 KiB.
std::variant<LifeGrid, TextError> ParsePlaintext(std::string_view text);

// "x = W, y = H, rule = B3/S23" (with ":Tn,n" when torusSide is n), then the
// rows as runs, no line longer than 70 characters, ended by "!" and a line
// break. Dead cells at the end of a row
// and empty rows at the end are left out, as other Life programs do.
std::string WriteRle(const LifeGrid& grid);
// The same for cells of any number, `live` telling each one's state: a
// selection of a board larger than any LifeGrid.
std::string WriteRleOf(int width, int height, const std::function<bool(int x, int y)>& live, int torusSide = 0);

// "!Name: <name>" (when a name is given, without its control characters),
// then one full row per line.
std::string WritePlaintext(const LifeGrid& grid, std::string_view name = {});

}  // namespace io
