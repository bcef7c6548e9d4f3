#include "PlotGestures.h"

#include <cstdlib>

namespace quor {

void PlotGestures::leftDown(int x)
{
    boxing_ = false;
    leftDown_ = true;
    dragging_ = false;
    downX_ = lastX_ = x;
}

GestureMove PlotGestures::move(int x)
{
    GestureMove result;
    if (boxing_) {
        result.boxMoved = x != boxTo_;
        boxTo_ = x;
    } else if (leftDown_) {
        // A hand that trembles while clicking has not dragged.
        if (!dragging_ && std::abs(x - downX_) < kDragThreshold)
            return result;
        dragging_ = true;
        result.panPixels = lastX_ - x;
        lastX_ = x;
    }
    return result;
}

bool PlotGestures::leftUp(int x)
{
    if (!leftDown_)
        return false;
    const bool click = !dragging_ && std::abs(x - downX_) < kDragThreshold;
    leftDown_ = dragging_ = false;
    return click;
}

void PlotGestures::rightDown(int x)
{
    leftDown_ = dragging_ = false;
    boxing_ = true;
    boxFrom_ = boxTo_ = x;
}

bool PlotGestures::rightUp(int x, int* left, int* right)
{
    if (!boxing_)
        return false;
    boxing_ = false;
    boxTo_ = x;
    *left = boxLeft();
    *right = boxRight();
    return *right - *left >= kDragThreshold;
}

void PlotGestures::cancel()
{
    leftDown_ = dragging_ = boxing_ = false;
}

}  // namespace quor
