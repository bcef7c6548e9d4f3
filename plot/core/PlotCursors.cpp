#include "PlotCursors.h"

namespace quor {

void PlotCursors::place(bool b, int64_t time)
{
    undoValid_ = true;
    undoB_ = b;
    undo_ = cursor(b);
    mutableCursor(b) = PlotCursor{true, time};
}

void PlotCursors::set(bool b, const PlotCursor& cursor)
{
    mutableCursor(b) = cursor;
    undoValid_ = false;
}

void PlotCursors::undoClick()
{
    if (!undoValid_)
        return;
    undoValid_ = false;
    mutableCursor(undoB_) = undo_;
}

void PlotCursors::clear()
{
    a_ = b_ = PlotCursor{};
    undoValid_ = false;
}

}  // namespace quor
