#include "platform/desktop/x11/SpanRegion.h"

#include <gtest/gtest.h>

namespace {

using desktop::SpanRegion;

int area(const std::vector<xcb_rectangle_t>& rects) {
    int total = 0;
    for (const auto& r : rects)
        total += r.width * r.height;
    return total;
}

TEST(SpanRegionTest, ARoundedRectangleCutsItsCornersSymmetricallyAndKeepsItsEdges) {
    const auto region = SpanRegion::roundedRect({0, 0, 100, 50}, 14, 50);
    const auto& rows = region.rows();
    ASSERT_EQ(rows.size(), 50u);
    EXPECT_GT(rows[0].x0, 0);                 // the top corners are cut
    EXPECT_EQ(rows[0].x0, 100 - rows[0].x1);  // by as much on both sides
    EXPECT_EQ(rows[0].x0, rows[49].x0);       // and at the bottom as at the top
    EXPECT_EQ(rows[25].x0, 0);                // the middle rows are whole
    EXPECT_EQ(rows[25].x1, 100);
    for (size_t y = 1; y < 14; ++y)
        EXPECT_LE(rows[y].x0, rows[y - 1].x0);  // the corner widens row by row
}

TEST(SpanRegionTest, ARectangleOffTheCanvasAndRowsOutsideItAreEmpty) {
    const auto region = SpanRegion::roundedRect({10, 20, 30, 10}, 0, 40);
    EXPECT_TRUE(region.rows()[5].x1 <= region.rows()[5].x0);
    EXPECT_EQ(region.rows()[25].x0, 10);
    EXPECT_EQ(region.rows()[25].x1, 40);
    EXPECT_EQ(area(region.rectangles()), 300);
    EXPECT_EQ(region.rectangles().size(), 1u);  // equal rows merge into one rectangle
}

TEST(SpanRegionTest, TooLargeARadiusIsLimitedToHalfTheShorterSide) {
    const auto region = SpanRegion::roundedRect({0, 0, 40, 20}, 500, 20);
    EXPECT_FALSE(region.empty());
    EXPECT_EQ(region.rows()[10].x0, 0);
    EXPECT_EQ(region.rows()[10].x1, 40);
}

TEST(SpanRegionTest, IntersectionKeepsWhatBothHold) {
    const auto a = SpanRegion::roundedRect({0, 0, 50, 30}, 0, 30);
    const auto b = SpanRegion::roundedRect({20, 10, 50, 30}, 0, 30);
    const auto both = a.intersected(b);
    EXPECT_EQ(area(both.rectangles()), 30 * 20);
    const auto none = a.intersected(SpanRegion::roundedRect({60, 0, 10, 30}, 0, 30));
    EXPECT_TRUE(none.empty());
}

TEST(SpanRegionTest, ARingIsTheOutlineWithoutItsHole) {
    const platform::Rect panel{0, 0, 120, 80};
    const auto outline = SpanRegion::roundedRect(panel, 14, 80);
    const auto hole = SpanRegion::roundedRect(panel.insetBy(8, 8), 6, 80);
    const auto ring = outline.rectanglesOutside(hole);
    EXPECT_EQ(area(ring), area(outline.rectangles()) - area(hole.rectangles()));
    for (const auto& r : ring)  // nothing of the ring lies in the hole's straight middle
        EXPECT_FALSE(r.x >= 8 && r.x + r.width <= 112 && r.y >= 14 && r.y + r.height <= 66);
}

}  // namespace
