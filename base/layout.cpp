#include "base/layout.h"

#include <cstdint>

namespace {

constexpr int kListX = 250;
constexpr int kTreeWidth = 248;

// width * numerator / denominator, truncated: integers only, so that no FPU
// (the x87 keeps 80-bit intermediates) can move an edge by a pixel.
int PartOfWidth(int width, int numerator, int denominator)
{
    return static_cast<int>(int64_t{width} * numerator / denominator);
}

}  // namespace

ControlLayout ComputeLayout(unsigned clientWidth16, int clientWidth, int clientHeight, int statusHeight)
{
    ControlLayout layout{};
    layout.listX = kListX;
    layout.listWidth = static_cast<int>(clientWidth16) - kListX;
    layout.treeWidth = kTreeWidth;
    layout.paneHeight = clientHeight - statusHeight;
    layout.statusEdges[0] = PartOfWidth(clientWidth, 70, 100);
    layout.statusEdges[1] = PartOfWidth(clientWidth, 85, 100);
    layout.statusEdges[2] = -1;
    return layout;
}

WindowOrigin CentreMainWindow(int fullScreenWidth, int fullScreenHeight)
{
    return WindowOrigin{fullScreenWidth / 2 - kMainWindowWidth / 2, fullScreenHeight / 2 - kMainWindowHeight / 2};
}
