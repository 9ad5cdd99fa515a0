// RLE headers as the Life community writes them, and the square torus
// carried in the rule (":Tn,n"): read, refused with a reason, written.

#include <gtest/gtest.h>

#include <string>

#include "io/life_text.h"

namespace {

TEST(RleTorus, HeadersInEveryOrderWithCommentsAndBoundedGrids) {
    struct Case {
        std::string header;  // followed by a glider's runs
        int torusSide;       // -1: refused with `refusal`
        std::string refusal;
    };
    const Case cases[] = {
        {"x = 3, y = 3, rule = B3/S23:T48,48", 48, ""},
        {"rule = b3/s23:t20,20, y = 3, x = 3", 20, ""},
        {"#N name\n#C comment\n#O author\nx=3,y=3,rule=23/3:T10,10\n#CXRLE Pos=0,0", 10, ""},
        {"#CXRLE Pos=-1,-1 Gen=0\n#R 0 0\n#P 1 1\n  y = 3 ,x =  3 , rule = S23/B3", 0, ""},
        {"x = 3, y = 3, rule = B3S23:T200, 200", 200, ""},
        {"x = 3, y = 3, rule = B3/S23:T30", 30, ""},
        {"x = 3, y = 3, rule = B36/S23:T48,48", -1, "line 1: rule 'B36/S23:T48,48' is not Conway's Life (B3/S23)"},
        {"x = 3, y = 3, rule = B3/S23:T48,30", -1, "line 1: rule 'B3/S23:T48,30' asks for a torus that is not square"},
        {"x = 3, y = 3, rule = B3/S23:P48,48", -1, "line 1: rule 'B3/S23:P48,48' asks for a bounded plane"},
        {"x = 3, y = 3, rule = B3/S23:T48*,48", -1, "line 1: rule 'B3/S23:T48*,48' asks for a twisted torus"},
        {"x = 3, y = 3, rule = B3/S23:T48+2,48", -1, "line 1: rule 'B3/S23:T48+2,48' asks for a shifted torus"},
        {"x = 3, y = 3, rule = B3/S23:K48*,48", -1, "line 1: rule 'B3/S23:K48*,48' asks for a Klein bottle"},
        {"x = 3, y = 3, rule = B3/S23:S48", -1, "line 1: rule 'B3/S23:S48' asks for a sphere"},
        {"x = 3, y = 3, rule = B3/S23:C48,48", -1, "line 1: rule 'B3/S23:C48,48' asks for a cross-surface"},
        {"x = 3, y = 3, rule = B3/S23:T0,20", -1, "line 1: rule 'B3/S23:T0,20' asks for a torus with an infinite side"},
        {"x = 3, y = 3, rule = B3/S23:T9,9", -1, "line 1: rule 'B3/S23:T9,9' asks for a torus of side 9, which is"},
        {"x = 3, y = 3, rule = B3/S23:T201,201", -1, "line 1: rule 'B3/S23:T201,201' asks for a torus of side 201"},
        {"x = 3, y = 3, rule = B3/S23:Q4", -1, "line 1: rule 'B3/S23:Q4' asks for a bounded grid it does not know"},
        {"x = 30, y = 3, rule = B3/S23:T20,20", -1, "pattern of 30 x 3 cells does not fit its 20 x 20 torus"},
    };
    for (const Case& c : cases) {
        const auto parsed = io::ParseRle(c.header + "\nbo$2bo$3o!\n");
        if (c.torusSide < 0) {
            ASSERT_EQ(parsed.index(), 1u) << c.header;
            const std::string& message = std::get<io::TextError>(parsed).message;
            EXPECT_EQ(message.rfind(c.refusal, 0), 0u) << message;
            continue;
        }
        ASSERT_EQ(parsed.index(), 0u) << c.header << ": " << std::get<io::TextError>(parsed).message;
        const io::LifeGrid& g = std::get<io::LifeGrid>(parsed);
        EXPECT_EQ(std::tuple(g.width, g.height, g.countLive(), g.torusSide), std::tuple(3, 3, 5, c.torusSide)) << c.header;
    }
}

TEST(RleTorus, WrittenForAWorldAndReadBack) {
    io::LifeGrid g(20, 20);
    g.set(19, 19, true);
    g.set(0, 5, true);
    g.torusSide = 20;
    const std::string rle = io::WriteRle(g);
    EXPECT_EQ(rle.substr(0, rle.find('\n')), "x = 20, y = 20, rule = B3/S23:T20,20");
    EXPECT_EQ(std::get<io::LifeGrid>(io::ParseRle(rle)), g);
}

}  // namespace
