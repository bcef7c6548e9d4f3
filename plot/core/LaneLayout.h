// Where the bands of the workspace lie in the plot area.
#pragma once

#include <vector>

namespace quor {

struct LaneBand {
    int top = 0;
    int bottom = 0;  // exclusive
};

const int kLeastBandHeight = 24;

// The rows [top, bottom) split among `bands` bands of equal height (the
// first ones take the rows left over) with `gap` rows between them. When
// the rows cannot give every band kLeastBandHeight the gaps go first, then
// the bands shrink, to one row at least; bands that still do not fit run
// past bottom (the window clips them).
std::vector<LaneBand> layoutBands(int top, int bottom, int bands, int gap);
// The band holding row y; -1 outside every band (and in the gaps).
int bandAt(const std::vector<LaneBand>& bands, int y);

}  // namespace quor
