// RLE and plaintext: reading what other Life programs write, refusing what
// this program cannot hold, and writing what other programs read.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>

#include "io/life_text.h"

namespace {

using Cells = std::set<std::pair<int, int>>;

Cells liveCells(const io::LifeGrid& grid) {
    Cells cells;
    for (int x = 0; x < grid.width; ++x)
        for (int y = 0; y < grid.height; ++y)
            if (grid.live(x, y)) cells.insert({x, y});
    return cells;
}

io::LifeGrid gridOf(const std::variant<io::LifeGrid, io::TextError>& parsed) {
    EXPECT_EQ(parsed.index(), 0u) << (parsed.index() == 1 ? std::get<io::TextError>(parsed).message : "");
    return parsed.index() == 0 ? std::get<io::LifeGrid>(parsed) : io::LifeGrid{};
}

std::string errorOf(const std::variant<io::LifeGrid, io::TextError>& parsed) {
    return parsed.index() == 1 ? std::get<io::TextError>(parsed).message : std::string("(accepted)");
}

const Cells kGlider = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};

io::LifeGrid randomGrid(std::mt19937& gen, int w, int h, double density) {
    io::LifeGrid grid(w, h);
    std::bernoulli_distribution live(density);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) grid.set(x, y, live(gen));
    return grid;
}

// ---- RLE reading ----------------------------------------------------------------

TEST(RleRead, GliderWithCommentsAndHeader) {
    const io::LifeGrid g = gridOf(io::ParseRle("#N Glider\n#O Richard K. Guy\n#C A comment\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n"));
    EXPECT_EQ(g.width, 3);
    EXPECT_EQ(g.height, 3);
    EXPECT_EQ(liveCells(g), kGlider);
}

struct RleCase {
    const char* name;
    const char* text;
    int width, height;
    Cells live;
};

TEST(RleRead, RunsRowsAndLayout) {
    const std::vector<RleCase> cases = {
        {"multi-digit runs", "x = 25, y = 1\n12b13o!", 25, 1, [] {
             Cells c;
             for (int x = 12; x < 25; ++x) c.insert({x, 0});
             return c;
         }()},
        {"$ with a run count", "x = 1, y = 4\no3$o!", 1, 4, {{0, 0}, {0, 3}}},
        {"empty rows at the top", "x = 2, y = 3\n2$bo!", 2, 3, {{1, 2}}},
        {"wrapped between items", "x = 3, y = 3\nbo$2b\no$3o\n!", 3, 3, kGlider},
        {"wrapped inside a run count", "x = 12, y = 1\n1\n2o!", 12, 1, [] {
             Cells c;
             for (int x = 0; x < 12; ++x) c.insert({x, 0});
             return c;
         }()},
        {"text after ! is ignored", "x = 1, y = 1\no!\nthis is 3z not runs $$$", 1, 1, {{0, 0}}},
        {"missing ! ends at the end", "x = 3, y = 3\nbo$2bo$3o", 3, 3, kGlider},
        {"no header: size from the cells", "bo$2bo$3o!", 3, 3, kGlider},
        {"header larger than the cells", "x = 5, y = 4\no!", 5, 4, {{0, 0}}},
        {"cells beyond a too small header", "x = 1, y = 1\n3o$o!", 3, 2, {{0, 0}, {1, 0}, {2, 0}, {0, 1}}},
        {"CRLF and blanks", "#C x\r\nx = 3 , y = 3,rule=b3/s23\r\n bo$ 2bo $\r\n3o !\r\n", 3, 3, kGlider},
        {"lone CR line ends", "#C a\rx = 3, y = 3\rbo$2bo$3o!\r", 3, 3, kGlider},
        {"byte order mark", "\xEF\xBB\xBFx = 3, y = 3\nbo$2bo$3o!", 3, 3, kGlider},
        {"empty pattern", "x = 0, y = 0, rule = B3/S23\n!\n", 0, 0, {}},
        {"dead runs only", "x = 4, y = 2\n4b$4b!", 4, 2, {}},
        {"comment between header and runs", "x = 3, y = 3\n#C note\nbo$2bo$3o!", 3, 3, kGlider},
        {"largest pattern", "x = 200, y = 200\n199$199bo!", 200, 200, {{199, 199}}},
    };
    for (const RleCase& c : cases) {
        const auto parsed = io::ParseRle(c.text);
        ASSERT_EQ(parsed.index(), 0u) << c.name << ": " << errorOf(parsed);
        const io::LifeGrid& g = std::get<io::LifeGrid>(parsed);
        EXPECT_EQ(g.width, c.width) << c.name;
        EXPECT_EQ(g.height, c.height) << c.name;
        EXPECT_EQ(liveCells(g), c.live) << c.name;
        EXPECT_EQ(g.cells.size(), static_cast<std::size_t>(g.width) * g.height) << c.name;
    }
}

TEST(RleRead, RulesOtherThanConwaysAreRefused) {
    for (const char* rule : {"B3/S23", "b3/s23", "B3/S32", "S23/B3", "23/3", " B3 / S23 "})
        EXPECT_TRUE(io::IsConwayRule(rule)) << rule;
    for (const char* rule : {"B36/S23", "B3/S234", "B/S23", "B3/S", "23/36", "3/23", "Life", "", "B3/S23/x", "B3/S23:T10,10",
                             "B3S23", "B9/S23", "X3/S23", "B3/B23"})
        EXPECT_FALSE(io::IsConwayRule(rule)) << rule;

    EXPECT_NE(errorOf(io::ParseRle("x = 3, y = 3, rule = B36/S23\nbo$2bo$3o!")).find("B36/S23"), std::string::npos);
    EXPECT_NE(errorOf(io::ParseRle("#r 34/34\nx = 1, y = 1\no!")).find("34/34"), std::string::npos);
    EXPECT_EQ(errorOf(io::ParseRle("#r 23/3\nx = 1, y = 1, rule = 23/3\no!")), "(accepted)");
}

TEST(RleRead, MalformedTextIsRefusedWithTheLine) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"x = 201, y = 1\no!", "line 1: pattern larger than 200 x 200"},
        {"x = 1, y = 99999999999\no!", "line 1: header size"},
        {"x = -1, y = 1\no!", "line 1: header size"},
        {"x = 3\no!", "line 1: header lacks x or y"},
        {"x = 3, y\no!", "line 1: header item"},
        {"x = 1, y = 1\n201o!", "line 2: pattern larger than 200 x 200"},
        {"x = 1, y = 1\n200$o!", "line 2: pattern larger than 200 x 200"},
        {"x = 1, y = 1\n999999999b$\n999999999$o!", "line 3: pattern larger than 200 x 200"},
        {"x = 1, y = 1\n0o!", "line 2: run count of 0"},
        {"x = 1, y = 1\n1234567890o!", "line 2: run count too long"},
        {"x = 1, y = 1\n\no$3z!", "line 3: unexpected 'z'"},
        {"x = 1, y = 1\no\x01!", "line 2: unexpected byte 0x01"},
        {"x = 1, y = 1\no3!", "line 2: run count before '!'"},
        {"x = 1, y = 1\no3", "line 2: run count without a cell"},
    };
    for (const auto& [text, message] : cases) {
        const std::string error = errorOf(io::ParseRle(text));
        EXPECT_EQ(error.rfind(message, 0), 0u) << text << " -> " << error;
    }
}

TEST(RleRead, HugeDeadRunsNeitherOverflowNorAllocate) {
    std::string text = "x = 1, y = 1\n";
    for (int i = 0; i < 2000; ++i) text += "999999999b";
    text += "$o!";
    const io::LifeGrid g = gridOf(io::ParseRle(text));
    EXPECT_EQ(liveCells(g), (Cells{{0, 1}}));
}

// ---- RLE writing ------------------------------------------------------------------

TEST(RleWrite, GliderIsWrittenAsOtherProgramsWriteIt) {
    io::LifeGrid g(3, 3);
    for (auto [x, y] : kGlider) g.set(x, y, true);
    EXPECT_EQ(io::WriteRle(g), "x = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n");
}

TEST(RleWrite, EmptyRowsAndTrailingDeadCellsAreCompressed) {
    io::LifeGrid g(6, 7);
    g.set(2, 1, true);  // one empty row above
    g.set(0, 4, true);  // two empty rows between
    g.set(1, 4, true);
    EXPECT_EQ(io::WriteRle(g), "x = 6, y = 7, rule = B3/S23\n$2bo3$2o!\n");
    EXPECT_EQ(io::WriteRle(io::LifeGrid(4, 4)), "x = 4, y = 4, rule = B3/S23\n!\n");
    EXPECT_EQ(io::WriteRle(io::LifeGrid()), "x = 0, y = 0, rule = B3/S23\n!\n");
}

TEST(RleWrite, LinesStayWithinSeventyCharactersAndItemsAreNeverSplit) {
    std::mt19937 gen(17);
    for (double density : {0.05, 0.5, 0.95}) {
        const io::LifeGrid g = randomGrid(gen, 200, 200, density);
        const std::string text = io::WriteRle(g);
        std::istringstream lines(text);
        std::string line;
        std::getline(lines, line);  // the header
        int dataLines = 0;
        while (std::getline(lines, line)) {
            ++dataLines;
            EXPECT_LE(line.size(), 70u);
            EXPECT_FALSE(line.empty());
            EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(line.back()))) << "a run count split from its cell";
        }
        EXPECT_GT(dataLines, 1);
        EXPECT_EQ(text.substr(text.size() - 2), "!\n");
    }
}

TEST(RleWrite, RoundTripsThroughTheReader) {
    std::mt19937 gen(23);
    for (auto [w, h] : {std::pair{1, 1}, {3, 3}, {200, 1}, {1, 200}, {37, 81}, {200, 200}}) {
        for (double density : {0.0, 0.1, 0.6, 1.0}) {
            const io::LifeGrid g = randomGrid(gen, w, h, density);
            const io::LifeGrid back = gridOf(io::ParseRle(io::WriteRle(g)));
            EXPECT_EQ(back, g) << w << " x " << h << " at " << density;
        }
    }
}

// ---- plaintext ----------------------------------------------------------------------

TEST(PlaintextRead, GliderAndItsVariants) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"standard", "!Name: Glider\n!\n.O.\n..O\nOOO\n"},
        {"asterisks and trailing blanks", ".*.  \n..*\t\n***\n"},
        {"lower case, CRLF, no final line end", "!c\r\n.o.\r\n..o\r\nooo"},
        {"trailing empty lines dropped", ".O.\n..O\nOOO\n\n\n   \n"},
        {"short rows", ".O\n..O\nOOO\n"},
    };
    for (const auto& [name, text] : cases) {
        const io::LifeGrid g = gridOf(io::ParsePlaintext(text));
        EXPECT_EQ(liveCells(g), kGlider) << name;
        EXPECT_EQ(g.width, 3) << name;
        EXPECT_EQ(g.height, 3) << name;
    }
}

TEST(PlaintextRead, EmptyRowsInsideThePatternAndWidthFromTheLongestRow) {
    const io::LifeGrid g = gridOf(io::ParsePlaintext("\nO\n\n.....\n..O\n"));
    EXPECT_EQ(g.width, 5);
    EXPECT_EQ(g.height, 5);
    EXPECT_EQ(liveCells(g), (Cells{{0, 1}, {2, 4}}));
    EXPECT_EQ(gridOf(io::ParsePlaintext("!only a comment\n")), io::LifeGrid{});
    EXPECT_EQ(gridOf(io::ParsePlaintext("")), io::LifeGrid{});
}

TEST(PlaintextRead, RefusesOtherCharactersAndOversizedPatterns) {
    EXPECT_EQ(errorOf(io::ParsePlaintext("!x\n.O.\n.X.\n")), "line 3: unexpected 'X'");
    EXPECT_EQ(errorOf(io::ParsePlaintext(". O\n")), "line 1: unexpected ' '");
    EXPECT_EQ(errorOf(io::ParsePlaintext(std::string(201, '.') + "\n")), "line 1: pattern larger than 200 x 200 cells");
    std::string tall;
    for (int i = 0; i < 200; ++i) tall += ".\n";
    EXPECT_EQ(gridOf(io::ParsePlaintext(tall + "\n\n")).height, 200);
    EXPECT_EQ(errorOf(io::ParsePlaintext(tall + "O\n")), "line 201: pattern larger than 200 x 200 cells");
}

TEST(PlaintextWrite, WritesNameAndFullRowsAndRoundTrips) {
    io::LifeGrid g(3, 3);
    for (auto [x, y] : kGlider) g.set(x, y, true);
    EXPECT_EQ(io::WritePlaintext(g, "glider"), "!Name: glider\n.O.\n..O\nOOO\n");

    std::mt19937 gen(29);
    for (auto [w, h] : {std::pair{1, 1}, {200, 3}, {5, 200}, {64, 64}}) {
        for (double density : {0.0, 0.3, 1.0}) {
            const io::LifeGrid grid = randomGrid(gen, w, h, density);
            EXPECT_EQ(gridOf(io::ParsePlaintext(io::WritePlaintext(grid, "x"))), grid) << w << " x " << h;
        }
    }
}

}  // namespace
