// SPDX-License-Identifier: MIT
// Golly's formats: gzip, macrocell, Life 1.05 and 1.06, read into grids;
// damaged and hostile files refused before they cost memory; the board a
// pattern is imported onto.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "io/golly_formats.h"
#include "io/life_import.h"
#include "support/gzip_bytes.h"

namespace {

using Cells = std::set<std::pair<int, int>>;
using Parsed = std::variant<io::LifeGrid, io::TextError>;

const Cells kGlider = {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};

std::vector<uint8_t> gzip(const std::string& text) { return GzipBytes(text); }

// The live cells, or none and the refusal's message.
std::pair<Cells, std::string> read(const Parsed& parsed) {
    if (const auto* error = std::get_if<io::TextError>(&parsed)) return {{}, error->message};
    const auto& g = std::get<io::LifeGrid>(parsed);
    Cells live;
    for (int x = 0; x < g.width; ++x)
        for (int y = 0; y < g.height; ++y)
            if (g.live(x, y)) live.insert({x, y});
    return {live, ""};
}

io::TextProblem problem(const Parsed& parsed) {
    return parsed.index() == 1 ? std::get<io::TextError>(parsed).problem : io::TextProblem::Other;
}

TEST(GollyFormats, GzipUnpacksWithinItsBound) {
    const std::string rle = "x = 3, y = 3\nbo$2bo$3o!\n";
    std::vector<uint8_t> two = gzip(rle.substr(0, 10));
    const std::vector<uint8_t> second = gzip(rle.substr(10));
    two.insert(two.end(), second.begin(), second.end());
    two.insert(two.end(), 8, 0);  // padding after the last member is ignored
    EXPECT_EQ(std::get<std::string>(io::Gunzip(two)), rle);
    EXPECT_EQ(read(io::ReadLifePattern(gzip(rle))).first, kGlider);

    std::vector<uint8_t> cut = gzip(rle), damaged = cut;
    cut.resize(cut.size() - 6);
    damaged[12] ^= 0x55;
    EXPECT_EQ(problem(io::ReadLifePattern(cut)), io::TextProblem::BadCompression);
    EXPECT_EQ(problem(io::ReadLifePattern(damaged)), io::TextProblem::BadCompression);
    // A bomb: 32 MiB of zeros in a few kilobytes stops at the bound.
    const std::vector<uint8_t> bomb = gzip(std::string(32 << 20, '\0'));
    EXPECT_LT(bomb.size(), 64u << 10);
    EXPECT_EQ(std::get<io::TextError>(io::Gunzip(bomb, 1 << 20)).problem, io::TextProblem::UnpackedTooLarge);
}

TEST(GollyFormats, MacrocellNodesAndTheirLimits) {
    const std::string leaf = "$$..*$...*$.***$$$$\n";  // a glider at (2, 2) of an 8 x 8 leaf
    EXPECT_EQ(read(io::ParseMacrocell("[M2] (golly 3.3)\n#R B3/S23\n#G 0\n" + leaf + "4 0 0 0 1\n")).first,
              kGlider);
    // A glider deep in a world of 2^40 cells: only the live part is drawn.
    std::string deep = "[M2]\n" + leaf;
    for (int level = 4; level <= 40; ++level) deep += std::to_string(level) + " 0 0 0 " + std::to_string(level - 3) + "\n";
    EXPECT_EQ(read(io::ParseMacrocell(deep)).first, kGlider);
    // LifeHistory's 2 x 2 leaves: odd states live.
    EXPECT_EQ(read(io::ParseMacrocell("[M2]\n#R LifeHistory\n1 1 2 3 4\n1 0 0 5 6\n2 1 0 0 2\n")).first,
              (Cells{{0, 0}, {0, 1}, {2, 3}}));

    const std::pair<std::string, io::TextProblem> refused[] = {
        {"[M2]\n" + leaf + "4 0 0 0 2\n", io::TextProblem::BadNode},           // not defined yet
        {"[M2]\n" + leaf + "5 0 0 0 1\n", io::TextProblem::BadNode},           // a leaf is not level 4
        {"[M2]\n" + leaf + "63 0 0 0 1\n", io::TextProblem::BadNode},          // beyond 64-bit coordinates
        {"[M2]\n*********\n", io::TextProblem::BadNode},                      // wider than a leaf
        {"[M2]\n4 0 0 x 0\n", io::TextProblem::BadNode},
        {"[M2]\n1 1 2 0 0\n", io::TextProblem::BadNode},                      // state 2 under Conway's rule
        {"[M2]\n#R B36/S23\n" + leaf, io::TextProblem::NotConwaysRule},
        // Two gliders 2^39 cells apart are refused before any grid is made.
        {"[M2]\n" + leaf + "4 1 0 0 0\n" + [] {
             std::string s;
             for (int level = 5; level <= 40; ++level)
                 s += std::to_string(level) + " " + std::to_string(level - 3) + " 0 0 " + std::to_string(level - 3) + "\n";
             return s;
         }(),
         io::TextProblem::TooLarge},
    };
    for (const auto& [text, expected] : refused) EXPECT_EQ(problem(io::ParseMacrocell(text)), expected) << text;
}

TEST(GollyFormats, Life105BlocksAndLife106Cells) {
    // Blocks at negative offsets; a bare "#P" is 0 0; the rule may be given.
    EXPECT_EQ(read(io::ParseLifeText("#Life 1.05\n#D glider\n#R 23/3\n#P -2 -1\n.*\n#P\n*\n**\n")).first,
              (Cells{{0, 0}, {1, 1}, {1, 2}, {2, 2}}));
    EXPECT_EQ(read(io::ParseLifeText("#Life 1.06\n1 -1\n2 0\n0 1\n1 1\n2 1\n")).first, kGlider);
    EXPECT_EQ(read(io::ParseLifeText("#Life 1.06\n-1024 0\n1023 0\n")).first, (Cells{{0, 0}, {2047, 0}}));

    EXPECT_EQ(problem(io::ParseLifeText("#Life 1.06\n-1024 0\n1024 0\n")), io::TextProblem::TooLarge);
    EXPECT_EQ(problem(io::ParseLifeText("#Life 1.06\n1 2 3\n")), io::TextProblem::BadCoordinates);
    EXPECT_EQ(problem(io::ParseLifeText("#Life 1.06\n99999999999999 0\n")), io::TextProblem::BadCoordinates);
    EXPECT_EQ(problem(io::ParseLifeText("#Life 1.05\n#P 1\n*\n")), io::TextProblem::BadCoordinates);
    EXPECT_EQ(problem(io::ParseLifeText("#Life 1.05\n#R 23/36\n*\n")), io::TextProblem::NotConwaysRule);
    EXPECT_EQ(problem(io::ParseLifeText("#Life 1.05\n*x\n")), io::TextProblem::UnexpectedCharacter);
}

// Up to 200 a side as before (the board kept when it holds the pattern, else
// steps of ten); larger patterns on 256, 512, 1024 or 2048; a torus its own.
TEST(GollyFormats, TheBoardAnImportedPatternGoesOnto) {
    const auto side = [](int w, int h, int current, int torus = 0) {
        io::LifeGrid g(w, h);
        g.torusSide = torus;
        return io::ImportBoardSide(g, current);
    };
    EXPECT_EQ(side(30, 40, 100), 100);
    EXPECT_EQ(side(30, 140, 100), 140);
    EXPECT_EQ(side(30, 40, 1024), 1024);
    EXPECT_EQ(side(201, 3, 200), 256);
    EXPECT_EQ(side(3, 257, 2048), 512);
    EXPECT_EQ(side(1025, 3, 50), 2048);
    EXPECT_EQ(side(2048, 2048, 50), 2048);
    EXPECT_EQ(side(3, 3, 50, 130), 130);
}

}  // namespace
