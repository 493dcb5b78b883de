#include "base/layout.h"

#include <gtest/gtest.h>

TEST(ComputeLayout, PlacesControlsForClientWidth)
{
    struct Case {
        unsigned width16;
        int width, height, status;
        int listWidth, paneHeight, edge0, edge1;
    };
    const Case cases[] = {
        {0, 0, 0, 0, -250, 0, 0, 0},
        {90, 90, 100, 20, -160, 80, 62, 76},  // 90 * 0.7 is just below 63 in double
        {100, 100, 50, 20, -150, 30, 70, 85},
        {249, 249, 300, 22, -1, 278, 174, 211},
        {250, 250, 300, 22, 0, 278, 175, 212},
        {999, 999, 600, 22, 749, 578, 699, 849},
        {1000, 1000, 600, 22, 750, 578, 700, 850},                  // must not become 699 through excess precision
        {70000 & 0xFFFF, 70000, 900, 22, 4214, 878, 49000, 59500},  // list follows the low word
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        ControlLayout layout = ComputeLayout(c.width16, c.width, c.height, c.status);
        EXPECT_EQ(layout.listX, 250);
        EXPECT_EQ(layout.listWidth, c.listWidth);
        EXPECT_EQ(layout.treeWidth, 248);
        EXPECT_EQ(layout.paneHeight, c.paneHeight);
        EXPECT_EQ(layout.statusEdges[0], c.edge0);
        EXPECT_EQ(layout.statusEdges[1], c.edge1);
        EXPECT_EQ(layout.statusEdges[2], -1);
    }
}

TEST(CentreMainWindow, CentresOrGoesNegative)
{
    struct Case {
        int width, height, x, y;
    };
    const Case cases[] = {
        {900, 600, 0, 0}, {1920, 1017, 510, 208}, {1921, 1018, 510, 209}, {800, 560, -50, -20}, {0, 0, -450, -300},
    };
    for (const Case& c : cases) {
        WindowOrigin origin = CentreMainWindow(c.width, c.height);
        EXPECT_EQ(origin.x, c.x) << c.width << "x" << c.height;
        EXPECT_EQ(origin.y, c.y) << c.width << "x" << c.height;
    }
}
