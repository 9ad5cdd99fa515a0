#include <gtest/gtest.h>

#include "engine/rules.h"

TEST(Engine, BlockIsStill) {
    engine::Board b;
    b.create(49);
    engine::RandomSequence r(1);
    for (auto [x, y] : {std::pair{3, 3}, {3, 4}, {4, 3}, {4, 4}}) b.cell(x, y) = {1, x, y, 7};
    engine::ReCalc(b, r);
    EXPECT_EQ(b.countLive(), 4);
    EXPECT_EQ(b.cell(4, 3), (engine::CellRecord{1, 4, 3, 7}));
}
