#include <gtest/gtest.h>

#include "support/form_fixture.h"

TEST(Startup, Smoke) {
    FormFixture f;
    f.start();
    EXPECT_TRUE(f.loaded);
}
