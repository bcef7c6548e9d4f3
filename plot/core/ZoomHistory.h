// The views the plot showed before each change of view, for Zoom Back.
#pragma once

#include <cstddef>
#include <deque>

#include "PlotView.h"

namespace quor {

class ZoomHistory {
public:
    static constexpr size_t kDepth = 64;

    // The view as it was before a change. Beyond kDepth the oldest is
    // forgotten; the view on top is not pushed again.
    void push(const TimeSpan& view);
    // Takes the latest view pushed; false when there is none.
    bool back(TimeSpan* previous);
    void clear() { views_.clear(); }
    size_t size() const { return views_.size(); }

private:
    std::deque<TimeSpan> views_;
};

}  // namespace quor
