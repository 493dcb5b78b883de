#include "base/layout.h"

#include <cstdint>

namespace {

constexpr int kListX = 250;
constexpr int kTreeWidth = 248;
constexpr int kMainWindowWidth = 900;
constexpr int kMainWindowHeight = 600;

// width * numerator / denominator, truncated: integers only, so that no FPU
// (the x87 keeps 80-bit intermediates) can move an edge by a pixel.
int PartOfWidth(int width, int numerator, int denominator)
{
    return static_cast<int>(int64_t{width} * numerator / denominator);
}

}  // namespace

int ScaledToDpi(int pixels, int dpi)
{
    return static_cast<int>((int64_t{pixels} * dpi + kDefaultDpi / 2) / kDefaultDpi);
}

ControlLayout ComputeLayout(unsigned clientWidth16, int clientWidth, int clientHeight, int statusHeight, int dpi)
{
    ControlLayout layout{};
    layout.listX = ScaledToDpi(kListX, dpi);
    layout.listWidth = static_cast<int>(clientWidth16) - layout.listX;
    layout.treeWidth = ScaledToDpi(kTreeWidth, dpi);
    layout.paneHeight = clientHeight - statusHeight;
    layout.statusEdges[0] = PartOfWidth(clientWidth, 70, 100);
    layout.statusEdges[1] = PartOfWidth(clientWidth, 85, 100);
    layout.statusEdges[2] = -1;
    return layout;
}

WindowPlacement CentreMainWindow(int fullScreenWidth, int fullScreenHeight, int dpi)
{
    int width = ScaledToDpi(kMainWindowWidth, dpi), height = ScaledToDpi(kMainWindowHeight, dpi);
    return WindowPlacement{fullScreenWidth / 2 - width / 2, fullScreenHeight / 2 - height / 2, width, height};
}
