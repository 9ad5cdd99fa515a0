// SPDX-License-Identifier: MIT
// RLE and plaintext: reading what other Life programs write (the torus of an
// RLE rule included), refusing what this program cannot hold, and writing
// what other programs read.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>

#include "io/life_text.h"

namespace {

using Cells = std::set<std::pair<int, int>>;
using Parsed = std::variant<io::LifeGrid, io::TextError>;
using Parser = Parsed (*)(std::string_view);

std::string errorOf(const Parsed& parsed) {
    return parsed.index() == 1 ? std::get<io::TextError>(parsed).message : std::string("(accepted)");
}

io::LifeGrid gridOf(const Parsed& parsed) {
    EXPECT_EQ(parsed.index(), 0u) << errorOf(parsed);
    return parsed.index() == 0 ? std::get<io::LifeGrid>(parsed) : io::LifeGrid{};
}

const Cells kGlider = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};

TEST(LifeText, ReadingWhatOthersWrite) {
    std::string hugeDeadRuns = "x = 1, y = 1\n";
    for (int i = 0; i < 2000; ++i) hugeDeadRuns += "999999999b";
    const Parser rle = io::ParseRle, plain = io::ParsePlaintext;
    const std::string glider = "bo$2bo$3o!\n";
    struct Case {
        Parser parse;
        const char* name;
        std::string text;
        int width, height;
        Cells live;
        int torusSide = 0;  // of the square torus in the rule
    };
    const Case cases[] = {
        {rle, "comments and header", "#N Glider\n#O R. K. Guy\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n", 3, 3, kGlider},
        {rle, "$ with a run count, wrapped run count", "x = 13, y = 3\n2$1\n2bo!", 13, 3, {{12, 2}}},
        {rle, "missing !, header larger than the cells", "x = 5, y = 4\nbo$2bo$3o", 5, 4, kGlider},
        {rle, "cells beyond a too small header", "x = 1, y = 1\n3o$o!", 3, 2, {{0, 0}, {1, 0}, {2, 0}, {0, 1}}},
        {rle, "CRLF, blanks, other spelling of the rule", "x = 3 , y = 3,rule=23/3\r\n bo$ 2bo $\r\n3o !\r\n", 3, 3,
         kGlider},
        {rle, "empty pattern", "x = 0, y = 0, rule = B3/S23\n!\n", 0, 0, {}},
        {rle, "largest pattern", "x = 2048, y = 2048\n2047$2047bo!", 2048, 2048, {{2047, 2047}}},
        {rle, "LifeHistory: odd states live; . and A as in Golly", "x = 7, y = 2, rule = LifeHistory\nABCDEF$.A!", 7, 2,
         {{0, 0}, {2, 0}, {4, 0}, {1, 1}}},
        {rle, "huge dead runs neither overflow nor allocate", hugeDeadRuns + "$o!", 1, 2, {{0, 1}}},
        {rle, "torus in the rule", "x = 3, y = 3, rule = B3/S23:T48,48\n" + glider, 3, 3, kGlider, 48},
        {rle, "items in any order, lower case", "rule = b3/s23:t20,20, y = 3, x = 3\n" + glider, 3, 3, kGlider, 20},
        {rle, "comments around the header",
         "#N name\n#C comment\n#O author\nx=3,y=3,rule=23/3:T10,10\n#CXRLE Pos=0,0\n" + glider, 3, 3, kGlider, 10},
        {rle, "Golly's comments, S before B",
         "#CXRLE Pos=-1,-1 Gen=0\n#R 0 0\n#P 1 1\n  y = 3 ,x =  3 , rule = S32/B3\n" + glider, 3, 3, kGlider},
        {rle, "blank in the largest torus", "x = 3, y = 3, rule = B3S23:T2048, 2048\n" + glider, 3, 3, kGlider, 2048},
        {rle, "LifeHistory on a torus", "x = 3, y = 3, rule = LifeHistory:T30,30\n.A$2.A$3A!", 3, 3, kGlider, 30},
        {rle, "torus of one side", "x = 3, y = 3, rule = B3/S23:T30\n" + glider, 3, 3, kGlider, 30},
        {rle, "oblong torus: copies fill the square", "x = 2, y = 1, rule = B3/S23:T12,8\n2o!", 24, 24,
         {{0, 0}, {1, 0}, {12, 0}, {13, 0}, {0, 8}, {1, 8}, {12, 8}, {13, 8}, {0, 16}, {1, 16}, {12, 16}, {13, 16}}, 24},
        {plain, "standard, with a short row", "!Name: Glider\n!\n.O\n..O\nOOO\n", 3, 3, kGlider},
        {plain, "empty rows inside, width of the longest row", "\nO\n\n.....\n..O\n", 5, 5, {{0, 1}, {2, 4}}},
    };
    for (const Case& c : cases) {
        const io::LifeGrid g = gridOf(c.parse(c.text));
        ASSERT_EQ(g.cells.size(), static_cast<std::size_t>(g.width) * g.height) << c.name;
        Cells live;
        for (int x = 0; x < g.width; ++x)
            for (int y = 0; y < g.height; ++y)
                if (g.live(x, y)) live.insert({x, y});
        EXPECT_EQ(std::tuple(g.width, g.height, live, g.torusSide), std::tuple(c.width, c.height, c.live, c.torusSide))
            << c.name;
    }
}

TEST(LifeText, MalformedTextIsRefusedWithTheLine) {
    std::string tall;
    for (int i = 0; i < 2048; ++i) tall += ".\n";
    const Parser rle = io::ParseRle, plain = io::ParsePlaintext;
    auto withRule = [](const std::string& rule) { return "x = 3, y = 3, rule = " + rule + "\no!"; };
    const std::vector<std::tuple<Parser, std::string, const char*>> cases = {
        {rle, "#r 34/34\nx = 1, y = 1\no!", "line 1: rule '34/34'"},
        {rle, "x = 2049, y = 1\no!", "line 1: pattern larger than 2048 x 2048"},
        {rle, "x = -1, y = 1\no!", "line 1: header size"},
        {rle, "x = 3\no!", "line 1: header lacks x or y"},
        {rle, "x = 3, y\no!", "line 1: header item"},
        {rle, "x = 1, y = 1\n2049o!", "line 2: pattern larger than 2048 x 2048"},
        {rle, "x = 1, y = 1\n999999999b$\n999999999$o!", "line 3: pattern larger than 2048 x 2048"},
        {rle, "x = 1, y = 1\n0o!", "line 2: run count of 0"},
        {rle, "x = 1, y = 1\n1234567890o!", "line 2: run count too long"},
        {rle, "x = 1, y = 1\n\no$3z!", "line 3: unexpected 'z'"},
        {rle, "x = 1, y = 1\no3!", "line 2: run count before '!'"},
        {rle, withRule("B36/S23:T48,48"), "line 1: rule 'B36/S23:T48,48' is not Conway's Life (B3/S23)"},
        {rle, withRule("B3/S23:T600,136"), "line 1: rule 'B3/S23:T600,136' asks for a torus of 600 x 136 cells, which repeats as a square of side 10200"},
        {rle, withRule("B3/S23:T2,4"), "line 1: rule 'B3/S23:T2,4' asks for a torus of 2 x 4 cells, which repeats as a square of side 4"},
        {rle, withRule("B3/S23:P48,48"), "line 1: rule 'B3/S23:P48,48' asks for a bounded plane"},
        {rle, withRule("B3/S23:T48*,48"), "line 1: rule 'B3/S23:T48*,48' asks for a twisted torus"},
        {rle, withRule("B3/S23:T48+2,48"), "line 1: rule 'B3/S23:T48+2,48' asks for a shifted torus"},
        {rle, withRule("B3/S23:K48*,48"), "line 1: rule 'B3/S23:K48*,48' asks for a Klein bottle"},
        {rle, withRule("B3/S23:S48"), "line 1: rule 'B3/S23:S48' asks for a sphere"},
        {rle, withRule("B3/S23:C48,48"), "line 1: rule 'B3/S23:C48,48' asks for a cross-surface"},
        {rle, withRule("B3/S23:T0,20"), "line 1: rule 'B3/S23:T0,20' asks for a torus with an infinite side"},
        {rle, withRule("B3/S23:T9,9"), "line 1: rule 'B3/S23:T9,9' asks for a torus of side 9, which is"},
        {rle, withRule("B3/S23:T2049,2049"), "line 1: rule 'B3/S23:T2049,2049' asks for a torus of side 2049"},
        {rle, "x = 3, y = 1, rule = LifeHistory\nAGA!", "line 2: unexpected 'G'"},
        {rle, "x = 3, y = 1, rule = B3/S23\nACA!", "line 2: unexpected 'C'"},
        {rle, withRule("B3/S23:Q4"), "line 1: rule 'B3/S23:Q4' asks for a bounded grid it does not know"},
        {rle, "x = 30, y = 3, rule = B3/S23:T20,20\no!", "pattern of 30 x 3 cells does not fit its 20 x 20 torus"},
        {plain, "!x\n.O.\n.X.\n", "line 3: unexpected 'X'"},
        {plain, std::string(2049, '.') + "\n", "line 1: pattern larger than 2048 x 2048 cells"},
        {plain, tall + "O\n", "line 2049: pattern larger than 2048 x 2048 cells"},
    };
    for (const auto& [parse, text, message] : cases) {
        const std::string error = errorOf(parse(text));
        EXPECT_EQ(error.rfind(message, 0), 0u) << text << " -> " << error;
    }
}

// Text built to cost time and memory is refused at its first long line; no
// message quotes more than 60 bytes of it; ten digits are too large.
TEST(LifeText, OversizedTextIsRefusedWithAShortMessage) {
    const std::string q(1000, 'q'), longLine = "line 1: line longer than 65536 characters";
    const std::vector<std::tuple<Parser, std::string, std::string>> cases = {
        {io::ParseRle, "x = 1, y = 1" + std::string(70000, ',') + "\no!", longLine},
        {io::ParseRle, "x = 2000000000, y = 1\no!", "line 1: pattern larger than 2048 x 2048 cells"},
        {io::ParseRle, "x = 3, y = 3, " + q + "\no!", "line 1: header item '" + q.substr(0, 60) + "...' is not"},
    };
    for (const auto& [parse, text, message] : cases) EXPECT_EQ(errorOf(parse(text)).rfind(message, 0), 0u) << message;
    EXPECT_EQ(io::WritePlaintext(io::LifeGrid(1, 1), "a\nOO\r\tb\x7f"), "!Name: aOOb\n.\n");
}

// Exact text for small grids; random grids come back unchanged through both
// writers and readers, and RLE lines stay within 70 characters without
// splitting a run from its cell.
TEST(LifeText, WritingAsOtherProgramsDo) {
    io::LifeGrid glider(3, 3), sparse(6, 7);
    for (auto [x, y] : kGlider) glider.set(x, y, true);
    for (auto [x, y] : {std::pair{2, 1}, {0, 4}, {1, 4}}) sparse.set(x, y, true);
    EXPECT_EQ(io::WriteRle(sparse), "x = 6, y = 7, rule = B3/S23\n$2bo3$2o!\n");
    EXPECT_EQ(io::WriteRle(io::LifeGrid(4, 4)), "x = 4, y = 4, rule = B3/S23\n!\n");
    EXPECT_EQ(io::WritePlaintext(glider, "glider"), "!Name: glider\n.O.\n..O\nOOO\n");
    std::mt19937 gen(23);
    for (auto [w, h] : {std::pair{200, 1}, {1, 200}, {37, 81}}) {
        for (double density : {0.05, 0.5, 1.0}) {
            io::LifeGrid g(w, h);
            std::bernoulli_distribution live(density);
            for (int x = 0; x < w; ++x)
                for (int y = 0; y < h; ++y) g.set(x, y, live(gen));
            const std::string rle = io::WriteRle(g);
            EXPECT_EQ(gridOf(io::ParseRle(rle)), g) << w << " x " << h << " at " << density;
            EXPECT_EQ(gridOf(io::ParsePlaintext(io::WritePlaintext(g, "x"))), g) << w << " x " << h << " at " << density;
            std::istringstream lines(rle.substr(rle.find('\n') + 1));  // after the header
            for (std::string line; std::getline(lines, line);)
                EXPECT_TRUE(line.size() <= 70 && !std::isdigit(static_cast<unsigned char>(line.back()))) << line;
        }
    }
}

}  // namespace
