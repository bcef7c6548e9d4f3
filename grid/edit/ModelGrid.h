// A grid without a COM object: the model parts and the control operations
// of GridAccess on their own. Tests and benchmarks drive the interaction
// classes through it; the control implements GridAccess over its members.
#pragma once

#include "ColumnTable.h"
#include "GridAccess.h"
#include "GridSelection.h"
#include "GridView.h"
#include "RowModel.h"

class ModelGrid final : public GridAccess {
public:
    ModelGrid() = default;
    ModelGrid(const ModelGrid&) = delete;
    ModelGrid& operator=(const ModelGrid&) = delete;

    RowModel& rows() override { return rows_; }
    ColumnTable& columns() override { return columns_; }
    GridSelection& selection() override { return selection_; }
    GridView& view() override { return view_; }
    CellPositions& cells() override { return cells_; }
    int32_t columnCount() override { return columnCount_; }
    std::string headingString() override { return headingString_; }

    HRESULT appendRow(const std::string& rowText, VARIANT_BOOL markEdited) override;
    HRESULT appendBlankRows(int32_t count) override;
    void deleteAllRows() override;
    void setUpperLeftCell(int32_t row, int32_t column) override;
    int32_t textWidth(const std::string& text) override;
    void relayout() override;
    void redraw() override { view_.invalidate(); }

    void setColumnHeadings(const std::string& headings);
    // Measuring needs a DC and the font the editor shows; the grid does not own it.
    void setMeasuring(HDC dc, HFONT font) { measureDC_ = dc; font_ = font; }
    // A row with a tag, as the host adds it.
    HRESULT appendTagged(const std::string& rowText, const std::string& tag, VARIANT_BOOL markEdited);

private:
    RowModel rows_;
    ColumnTable columns_;
    GridSelection selection_{rows_};
    GridView view_;
    CellPositions cells_;
    int32_t columnCount_ = 0;
    std::string headingString_;
    HDC measureDC_ = nullptr;
    HFONT font_ = nullptr;
};
