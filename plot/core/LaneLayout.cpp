#include "LaneLayout.h"

#include <algorithm>

namespace quor {

std::vector<LaneBand> layoutBands(int top, int bottom, int bands, int gap)
{
    std::vector<LaneBand> out;
    if (bands < 1)
        return out;
    const int rows = std::max(0, bottom - top);
    gap = std::max(0, gap);
    if ((rows - gap * (bands - 1)) / bands < kLeastBandHeight)
        gap = 0;
    const int free = std::max(0, rows - gap * (bands - 1));
    const int height = std::max(1, free / bands);
    int extra = free / bands >= 1 ? free - height * bands : 0;
    int y = top;
    for (int k = 0; k < bands; ++k) {
        const int h = height + (extra > 0 ? 1 : 0);
        extra = std::max(0, extra - 1);
        out.push_back(LaneBand{y, y + h});
        y += h + gap;
    }
    return out;
}

int bandAt(const std::vector<LaneBand>& bands, int y)
{
    // Bands are in order: the first that ends below y holds it, or y is in a gap.
    const auto found = std::upper_bound(bands.begin(), bands.end(), y,
                                        [](int row, const LaneBand& band) { return row < band.bottom; });
    if (found == bands.end() || y < found->top)
        return -1;
    return static_cast<int>(found - bands.begin());
}

}  // namespace quor
