#include "base/layout.h"

#include <gtest/gtest.h>

TEST(Layout, ControlsFollowTheClientWidthAndTheWindowIsCentred)
{
    const struct {
        unsigned width16;
        int width, listWidth, edge0, edge1;
    } cases[] = {
        {0, 0, -250, 0, 0},         {90, 90, -160, 62, 76},  // 90 * 0.7 is just below 63 in double
        {249, 249, -1, 174, 211},   {999, 999, 749, 699, 849},
        {1000, 1000, 750, 700, 850},  // must not become 699 through excess precision
        {70000 & 0xFFFF, 70000, 4214, 49000, 59500},  // the list follows the low word
    };
    for (const auto& c : cases) {
        ControlLayout layout = ComputeLayout(c.width16, c.width, 600, 22);
        EXPECT_EQ(layout.listX * 10000 + layout.treeWidth, 250 * 10000 + 248) << c.width;
        EXPECT_EQ(layout.paneHeight, 578) << c.width;
        EXPECT_EQ(layout.listWidth, c.listWidth) << c.width;
        EXPECT_EQ(layout.statusEdges[0], c.edge0) << c.width;
        EXPECT_EQ(layout.statusEdges[1], c.edge1) << c.width;
        EXPECT_EQ(layout.statusEdges[2], -1) << c.width;
    }
    const int centres[][4] = {{1920, 1017, 510, 208}, {1921, 1018, 510, 209}, {800, 560, -50, -20}};
    for (const auto& c : centres) {
        WindowOrigin origin = CentreMainWindow(c[0], c[1]);
        EXPECT_EQ(origin.x * 10000 + origin.y, c[2] * 10000 + c[3]) << c[0];
    }
}
