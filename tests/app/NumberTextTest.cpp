#include <gtest/gtest.h>

#include "app/NumberText.h"

namespace {

// Whole numbers gain a fractional part; fractions use the shortest text that reads back.
TEST(NumberText, DecimalsRectanglesAndPoints) {
    EXPECT_EQ(decimalText(800), "800.0");
    EXPECT_EQ(decimalText(0), "0.0");
    EXPECT_EQ(decimalText(-6), "-6.0");
    EXPECT_EQ(decimalText(0.1), "0.1");
    EXPECT_EQ(decimalText(1.0 / 3.0), "0.3333333333333333");
    EXPECT_EQ(rectText({120, 80, 800, 600}), "(120.0, 80.0, 800.0, 600.0)");
    EXPECT_EQ(pointText({512, 300.5}), "(512.0, 300.5)");
}

}  // namespace
