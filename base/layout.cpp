#include "base/layout.h"

namespace {

constexpr int kListX = 250;
constexpr int kTreeWidth = 248;

// value * factor truncated toward zero, the product rounded to double first (no x87 excess precision).
int TruncatedProduct(int value, double factor)
{
    volatile double product = static_cast<double>(value) * factor;
    return static_cast<int>(product);
}

}  // namespace

ControlLayout ComputeLayout(unsigned clientWidth16, int clientWidth, int clientHeight, int statusHeight)
{
    ControlLayout layout{};
    layout.listX = kListX;
    layout.listWidth = static_cast<int>(clientWidth16) - kListX;
    layout.treeWidth = kTreeWidth;
    layout.paneHeight = clientHeight - statusHeight;
    layout.statusEdges[0] = TruncatedProduct(clientWidth, 0.7);
    layout.statusEdges[1] = TruncatedProduct(clientWidth, 0.85);
    layout.statusEdges[2] = -1;
    return layout;
}

WindowOrigin CentreMainWindow(int fullScreenWidth, int fullScreenHeight)
{
    return WindowOrigin{fullScreenWidth / 2 - kMainWindowWidth / 2, fullScreenHeight / 2 - kMainWindowHeight / 2};
}
