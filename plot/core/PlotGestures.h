// The state of the plot's mouse gestures, in plot columns: a left press
// that moves a few pixels becomes a pan, one that does not is a click; a
// right drag draws a box that zooms to its columns. The window captures the
// mouse, routes the messages here and acts on what comes back.
#pragma once

namespace quor {

struct GestureMove {
    int panPixels = 0;     // pan the view by this many pixels (positive: later times)
    bool boxMoved = false; // the box's edge moved: draw it anew
};

class PlotGestures {
public:
    static constexpr int kDragThreshold = 3;

    void leftDown(int x);
    GestureMove move(int x);
    // True when the press was a click (it never became a drag).
    bool leftUp(int x);
    void rightDown(int x);
    // True when the box spans kDragThreshold columns or more; *left and
    // *right are its first and last column.
    bool rightUp(int x, int* left, int* right);
    // The capture was lost: every gesture ends without an effect.
    void cancel();

    bool pressed() const { return leftDown_ || boxing_; }
    bool dragging() const { return dragging_; }
    bool boxing() const { return boxing_; }
    int boxLeft() const { return boxFrom_ < boxTo_ ? boxFrom_ : boxTo_; }
    int boxRight() const { return boxFrom_ < boxTo_ ? boxTo_ : boxFrom_; }

private:
    bool leftDown_ = false, dragging_ = false, boxing_ = false;
    int downX_ = 0, lastX_ = 0, boxFrom_ = 0, boxTo_ = 0;
};

}  // namespace quor
