#include "GridFinder.h"

#include <vector>

#include "GridSelection.h"
#include "Collation.h"
#include "GridText.h"
#include "RowModel.h"
#include "RowText.h"

namespace quor {

namespace {

class CellMatcher {
public:
    explicit CellMatcher(const FindRequest& request)
        : wholeCell_(request.wholeCell),
          matchCase_(request.matchCase),
          needle_(normalised(request.text))
    {
    }

    bool matches(const std::string& cell) const
    {
        const std::string text = normalised(cell);
        if (wholeCell_)
            return collation().same(text, needle_);
        return text.find(needle_) != std::string::npos;
    }

private:
    std::string normalised(const std::string& text) const
    {
        return matchCase_ ? trimmed(text) : upperAnsi(trimmed(text));
    }

    bool wholeCell_;
    bool matchCase_;
    std::string needle_;
};

}  // namespace

FindHit GridFinder::find(RowModel& rows, GridSelection& selection, int32_t columnCount,
                         const FindRequest& request, const ScrollIntoView& scrollIntoView)
{
    if (request.text.empty())
        return FindHit();
    lastFound_ = FindHit();
    cursor_ = FindHit{0, 0};
    const CellMatcher matcher(request);
    GridRow* lastRow = nullptr;
    const std::vector<GridRow*> all = rows.snapshot();
    for (size_t index = 0; index < all.size(); ++index) {
        GridRow& row = *all[index];
        cursor_.row = static_cast<int32_t>(index) + 1;
        for (cursor_.column = 0; cursor_.column < columnCount; ++cursor_.column) {
            if (!matcher.matches(cellOrEmpty(row.rowText, cursor_.column)))
                continue;
            if (lastRow)
                selection.select(*lastRow, lastFound_.row, lastFound_.column, request.selectType, false);
            scrollIntoView(cursor_.row, cursor_.column);
            selection.select(row, cursor_.row, cursor_.column, request.selectType, true);
            lastRow = &row;
            lastFound_ = cursor_;
        }
    }
    return lastFound_;
}

void GridFinder::reset()
{
    cursor_ = FindHit();
    lastFound_ = FindHit();
}

}  // namespace quor
