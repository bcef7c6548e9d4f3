// How the viewer dialog grows: its size from the resource is the smallest
// it may take; extra width goes to both grids, extra height to the data
// grid, and the buttons below the data grid move down with its bottom edge.
// Everything else keeps its place.
#pragma once

#include <windows.h>

namespace quor {

class DialogLayout {
public:
    // Takes the dialog as it stands now as the base of every later size.
    void capture(HWND dialog);
    bool captured() const { return dialog_ != nullptr; }
    void limit(MINMAXINFO* info) const;
    // Places the controls for this client size, all in one step and without
    // drawing; the caller repaints once.
    void apply(int clientWidth, int clientHeight) const;

private:
    enum class Anchor { growWidth, growBoth, followBottom };
    struct Placed {
        int id;
        Anchor anchor;
        RECT base;
    };
    static const int kPlacedCount = 4;

    HWND dialog_ = nullptr;
    SIZE baseClient_{};
    SIZE minimumWindow_{};
    Placed placed_[kPlacedCount]{};
};

}  // namespace quor
