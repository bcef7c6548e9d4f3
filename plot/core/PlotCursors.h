// Cursors A and B on the shared time axis, and the click that a
// double-click undoes: the first click of a double-click is a click too, and
// must not leave a cursor where the user only meant to page the dialog.
#pragma once

#include <cstdint>

namespace quor {

struct PlotCursor {
    bool placed = false;
    int64_t time = 0;
    bool operator==(const PlotCursor& other) const { return placed == other.placed && time == other.time; }
};

class PlotCursors {
public:
    const PlotCursor& a() const { return a_; }
    const PlotCursor& b() const { return b_; }
    const PlotCursor& cursor(bool b) const { return b ? b_ : a_; }
    bool bothPlaced() const { return a_.placed && b_.placed; }

    // A click: the cursor moves, and what it was is kept for undoClick.
    void place(bool b, int64_t time);
    // Without an undo (Find, workspace files).
    void set(bool b, const PlotCursor& cursor);
    // Puts back what the last click moved, once.
    void undoClick();
    void forgetClick() { undoValid_ = false; }
    void clear();

private:
    PlotCursor& mutableCursor(bool b) { return b ? b_ : a_; }

    PlotCursor a_, b_;
    bool undoValid_ = false;
    bool undoB_ = false;
    PlotCursor undo_;
};

}  // namespace quor
