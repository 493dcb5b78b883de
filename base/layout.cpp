#include "base/layout.h"

#include <cstdint>

namespace {

constexpr int kListX = 250;
constexpr int kTreeWidth = 248;
constexpr int kMainWindowWidth = 900;
constexpr int kMainWindowHeight = 600;

// The status bar's edges are the width times 0.7 and 0.85 in double
// precision, truncated. The products are worked out in integers, exactly as
// an IEEE multiplication rounds them: the x87 unit would round twice, to 64
// bits and then to 53, and move an edge by a pixel at some widths.
constexpr uint64_t kSeventyPercent = 6305039478318694;       // 0.7 as a double, times 2^53
constexpr uint64_t kEightyFivePercent = 7656119366529843;    // 0.85 as a double, times 2^53
constexpr int kMantissaBits = 53;

int BitLength(uint64_t value)
{
    int bits = 0;
    for (; value != 0; value >>= 1)
        ++bits;
    return bits;
}

// width * (factor / 2^53) rounded to 53 significant bits, ties to even, then
// truncated toward zero; factor < 2^53.
int TruncatedProduct(int width, uint64_t factor)
{
    if (width <= 0)
        return 0;
    // The exact product, below 2^85, as high * 2^64 + low.
    uint64_t value = static_cast<uint32_t>(width);
    uint64_t lowPart = (factor & 0xFFFFFFFFu) * value;
    uint64_t highPart = (factor >> 32) * value;
    uint64_t low = lowPart + (highPart << 32);
    uint64_t high = (highPart >> 32) + (low < lowPart ? 1 : 0);
    int length = high != 0 ? 64 + BitLength(high) : BitLength(low);
    if (length <= kMantissaBits)
        return 0;  // below 2^53, the product is below 1
    int dropped = length - kMantissaBits;  // at most 32
    uint64_t kept = (low >> dropped) | (high << (64 - dropped));
    uint64_t rest = low & ((uint64_t{1} << dropped) - 1);
    uint64_t half = uint64_t{1} << (dropped - 1);
    if (rest > half || (rest == half && (kept & 1)))
        ++kept;
    // kept * 2^(dropped - 53), truncated.
    return static_cast<int>(dropped >= kMantissaBits ? kept << (dropped - kMantissaBits)
                                                      : kept >> (kMantissaBits - dropped));
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
    layout.statusEdges[0] = TruncatedProduct(clientWidth, kSeventyPercent);
    layout.statusEdges[1] = TruncatedProduct(clientWidth, kEightyFivePercent);
    layout.statusEdges[2] = -1;
    return layout;
}

WindowPlacement CentreMainWindow(int fullScreenWidth, int fullScreenHeight, int dpi)
{
    int width = ScaledToDpi(kMainWindowWidth, dpi), height = ScaledToDpi(kMainWindowHeight, dpi);
    return WindowPlacement{fullScreenWidth / 2 - width / 2, fullScreenHeight / 2 - height / 2, width, height};
}
