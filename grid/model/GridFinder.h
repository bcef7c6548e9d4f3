// find and resetFind: a full scan of every cell that leaves the last hit
// in row-major order selected and reported.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace quor {

class RowModel;
class GridSelection;

struct FindRequest {
    std::string text;
    bool wholeCell = false;
    bool matchCase = false;
    int32_t selectType = 0;
};

struct FindHit {
    int32_t row = -1;  // one-based row number
    int32_t column = -1;
};

class GridFinder {
public:
    using ScrollIntoView = std::function<void(int32_t rowNumber, int32_t column)>;

    // The last hit, or row -1 when nothing matched (or the text is empty).
    FindHit find(RowModel& rows, GridSelection& selection, int32_t columnCount,
                 const FindRequest& request, const ScrollIntoView& scrollIntoView);
    void reset();

    FindHit lastFound() const { return lastFound_; }

private:
    FindHit cursor_;
    FindHit lastFound_;
};

}  // namespace quor
