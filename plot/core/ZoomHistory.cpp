#include "ZoomHistory.h"

namespace quor {

void ZoomHistory::push(const TimeSpan& view)
{
    if (!views_.empty() && views_.back() == view)
        return;
    views_.push_back(view);
    if (views_.size() > kDepth)
        views_.pop_front();
}

bool ZoomHistory::back(TimeSpan* previous)
{
    if (views_.empty())
        return false;
    *previous = views_.back();
    views_.pop_back();
    return true;
}

}  // namespace quor
