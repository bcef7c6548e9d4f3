#include "PlotView.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quor {

namespace {

using Wide = __int128;

const int64_t kMaxTime = std::numeric_limits<int64_t>::max();
const int64_t kMinTime = std::numeric_limits<int64_t>::min();
// Zooming out stops at a few recordings' length: beyond that nothing is
// left to see but blank time.
const int kWidestInRecordings = 4;

int64_t clampToTime(Wide value)
{
    return value > kMaxTime ? kMaxTime : value < kMinTime ? kMinTime : static_cast<int64_t>(value);
}

Wide floorDiv(Wide a, Wide b)
{
    Wide q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

}  // namespace

void PlotView::setRecording(int64_t first, int64_t last, int64_t shortestSpan)
{
    recording_.from = first;
    recording_.to = std::max(first, last);
    shortestSpan_ = std::max<int64_t>(shortestSpan, 1);
    showAll();
}

void PlotView::extendRecording(int64_t last)
{
    const bool all = showsAll();
    recording_.to = std::max(recording_.to, last);
    if (all)
        showAll();
}

void PlotView::showAll() { span_ = recording_; }

void PlotView::place(int64_t from, int64_t length)
{
    const Wide widest = std::max<Wide>(Wide(recording_.length()) * kWidestInRecordings, shortestSpan_);
    Wide wanted = std::min<Wide>(std::max<Wide>(length, shortestSpan_), widest);
    wanted = std::min<Wide>(wanted, kMaxTime);
    // The middle of the view stays inside the recording, so that some of
    // it is always in sight.
    Wide middle = Wide(from) + wanted / 2;
    middle = std::min<Wide>(std::max<Wide>(middle, recording_.from), recording_.to);
    const Wide start = middle - wanted / 2;
    span_.from = clampToTime(start);
    span_.to = clampToTime(start + wanted - 1);
}

void PlotView::zoomAround(int x, int width, double factor)
{
    if (width <= 0 || !(factor > 0))
        return;
    const int64_t anchor = timeAtColumn(x, width);
    const double length = static_cast<double>(span_.length()) * factor;
    const double before = static_cast<double>(anchor - span_.from) * factor;
    const double limit = static_cast<double>(kMaxTime);
    place(clampToTime(Wide(anchor) - Wide(std::min(before, limit))),
          static_cast<int64_t>(std::min(std::max(length, 1.0), limit)));
}

void PlotView::panPixels(int pixels, int width)
{
    if (width <= 0)
        return;
    const Wide shift = Wide(pixels) * span_.length() / width;
    place(clampToTime(Wide(span_.from) + shift), span_.length());
}

void PlotView::panFraction(double fraction)
{
    const double shift = static_cast<double>(span_.length()) * fraction;
    place(clampToTime(Wide(span_.from) + Wide(std::llround(shift))), span_.length());
}

void PlotView::zoomTo(int64_t from, int64_t to)
{
    if (to < from)
        std::swap(from, to);
    place(from, clampToTime(Wide(to) - from + 1));
}

int64_t PlotView::timeAtColumn(int x, int width) const
{
    if (width <= 0)
        return span_.from;
    return clampToTime(Wide(span_.from) + floorDiv(Wide(x) * span_.length(), width));
}

int64_t PlotView::columnOfTime(int64_t t, int width) const
{
    // The largest k with from + floor(k * span / n) <= t.
    const Wide offset = Wide(t) - span_.from;
    return clampToTime(floorDiv((offset + 1) * width - 1, span_.length()));
}

}  // namespace quor
