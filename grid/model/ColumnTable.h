// The grid's column table: per column the heading, the width and the marks
// the grid reads while painting, editing and sorting. The column header
// window mirrors heading and width from here once it exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quor {

enum class CellKind : int32_t { PlainText = 0, DropDownList = 1, ColorButton = 2 };

class ColumnTable {
public:
    static constexpr int32_t kMaxColumns = 1000;
    static constexpr size_t kMaxHeadingLength = 499;

    int32_t count() const { return static_cast<int32_t>(columns_.size()); }
    bool contains(int32_t column) const { return column >= 0 && column < count(); }

    // False once the table holds kMaxColumns columns.
    bool insert(const std::string& heading);
    void removeAll();

    // An unknown column reads as empty text, width 0 and every mark FALSE.
    std::string heading(int32_t column) const;
    int32_t width(int32_t column) const;
    bool setWidth(int32_t column, int32_t width);

    bool editable(int32_t column) const;
    bool setEditable(int32_t column, bool editable);
    bool selected(int32_t column) const;
    bool autoResize(int32_t column) const;
    void setAutoResize(int32_t column, bool autoResize);
    bool locked(int32_t column) const;
    void toggleLock(int32_t column);

    CellKind cellKind(int32_t column) const;
    std::string options(int32_t column) const;
    // Only "ddDropDownList" and "ddColorButton" (any case) change the column.
    void setCellKind(int32_t column, const std::string& kindName, const std::string& options);

    void deselectAll();
    int32_t selectionAnchor() const { return selectionAnchor_; }
    // A header click on the column: Shift extends from the anchor, Ctrl
    // toggles the one column, a plain click selects it alone or unselects it.
    void clickSelect(int32_t column, bool shift, bool control);
    // The Read Only and Auto Resize menu marks.
    void toggleEditable(int32_t column);
    void toggleAutoResize(int32_t column);

    // The column under x (pixels from the left edge of column 0); -1 within
    // 10 pixels of a divider, count() right of the last column.
    int32_t columnAt(int32_t x) const;

    bool reorderAllowed() const { return reorderAllowed_; }
    void allowReorder(bool allow) { reorderAllowed_ = allow; }

    static int32_t initialWidth(const std::string& heading);

private:
    struct Column {
        std::string heading;
        int32_t width = 0;
        bool editable = true;
        bool selected = false;
        bool locked = false;
        CellKind kind = CellKind::PlainText;
        std::string options;
        bool autoResize = false;
    };

    void setSelected(int32_t column, bool selected);
    const Column* find(int32_t column) const;
    Column* find(int32_t column);

    std::vector<Column> columns_;
    int32_t selectionAnchor_ = -1;
    bool reorderAllowed_ = false;
};

}  // namespace quor
