// The grid control's window: its creation with the child windows, the
// message table, painting through the off-screen buffer, scrolling and the
// row button commands.
#include "QuorGridControl.h"

#include <commctrl.h>
#include <windowsx.h>

#include <new>

#include "GridScroller.h"
#include "WindowClass.h"

namespace quor {

namespace {

const char kGridClassName[] = "QuorGridControlWindow";
constexpr DWORD kGridStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL;
constexpr int kHeaderBandHeight = 20;
// Posted to itself after the first of a run of appended rows.
constexpr UINT kAppendedRowsMessage = WM_APP + 1;

WindowClassUse& gridClass(WNDPROC procedure)
{
    static WindowClassUse use = [procedure] {
        WNDCLASSEXA prototype{};
        prototype.style = CS_DBLCLKS;
        prototype.lpfnWndProc = procedure;
        prototype.hCursor = LoadCursor(nullptr, IDC_ARROW);
        return WindowClassUse(kGridClassName, prototype);
    }();
    return use;
}

}  // namespace

// ---- creation and destruction ----

HWND QuorGridControl::createControlWindow(HWND parent, const RECT& pos)
{
    if (!windowClass_.take(gridClass(&ownedWindowProc<QuorGridControl>)))
        return nullptr;
    return CreateWindowExA(0, kGridClassName, "", kGridStyle, pos.left, pos.top, pos.right - pos.left,
                           pos.bottom - pos.top, parent, nullptr, codeModule(), this);
}

LRESULT QuorGridControl::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = gridWindow_;
    switch (message) {
    case WM_CREATE:
        return onCreate();
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_SIZE:
        onSize();
        return 0;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the paint covers everything: erasing would only flicker
    case WM_VSCROLL:
        onVerticalScroll(LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        onHorizontalScroll(LOWORD(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        interaction_.onLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_SHIFT) != 0);
        return 0;
    case WM_MOUSEMOVE:
        interaction_.onMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, (wParam & MK_LBUTTON) != 0);
        return 0;
    case WM_LBUTTONUP:
        interaction_.onLButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_RBUTTONUP:
        interaction_.onRButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_KEYDOWN:
        return onKeyDown(wParam, lParam);
    case WM_MOUSEWHEEL:
        onMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_COMMAND:
        return onCommand(wParam, lParam);
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case kAppendedRowsMessage:
        onAppendedRowsShown();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT QuorGridControl::onCreate()
{
    HWND window = gridWindow_;
    tellClientSize();
    if (!columnHeader_.create(window, *this) || !rowHeader_.create(window))
        return -1;
    columnHeader_.mirror(core_.columns());
    columnHeader_.allowReorder(core_.columns().reorderAllowed());
    columnHeader_.setFont(gridFont_.get());
    columnHeader_.show(core_.view().columnHeaderShown);
    rowHeader_.show(core_.view().rowButtonsShown);
    if (!interaction_.create(window, gridFont_.get()))
        return -1;
    cellMenu_.load(codeModule());
    interaction_.setCellMenu(cellMenu_.menu());
    // Editability set before the window existed greys the new menu too.
    interaction_.setEditability(core_.view().gridEditable);
    core_.view().firstVisibleRow = 0;
    core_.view().firstVisibleColumn = 0;
    setUpScrollBars();
    SetFocus(window);
    return 0;
}

void QuorGridControl::onDestroy()
{
    appendedRowsPosted_ = false;
    appendedRowOnScreen_ = false;
    paintBuffer_.release();
    gridWindow_ = nullptr;
    core_.view().setClientSize(0, 0);
    onControlWindowDestroyed();
}

// ---- layout ----

void QuorGridControl::tellClientSize()
{
    RECT client = {0, 0, 0, 0};
    if (gridWindow_)
        GetClientRect(gridWindow_, &client);
    core_.view().setClientSize(client.right - client.left, client.bottom - client.top);
}

void QuorGridControl::onSize()
{
    tellClientSize();
    const RECT client = clientArea();
    rowHeader_.layout(client.bottom, core_.view().rowHeight, core_.view().columnHeaderShown);
    rowHeader_.renumber(core_.view().firstVisibleRow);
    placeHeaderBand();
    recomputeView();
}

void QuorGridControl::placeHeaderBand()
{
    HWND header = columnHeader_.window();
    if (!header || !gridWindow_)
        return;
    int64_t offset = 0;
    for (int32_t c = 0; c < core_.view().firstVisibleColumn; ++c)
        offset += core_.columns().width(c);
    const RECT client = clientArea();
    const bool buttons = core_.view().rowButtonsShown;
    const int strip = buttons ? GridView::kRowButtonWidth : 0;
    const int64_t width = client.right - client.left + offset - strip;
    if (core_.view().columnHeaderShown) {
        SetWindowPos(header, nullptr, static_cast<int>(strip - offset), 0, static_cast<int>(width),
                     kHeaderBandHeight, SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
        // The row buttons cover the part of the header scrolled off to the left.
        if (buttons && rowHeader_.window())
            SetWindowPos(rowHeader_.window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    core_.view().invalidate();
}

// ---- painting ----

void QuorGridControl::onPaint()
{
    PaintDC validated(gridWindow_);  // the DC it offers is not drawn into
    tellClientSize();
    try {
        paintInto(nullptr, clientArea());
    } catch (const std::bad_alloc&) {
        // Abandoned for now; the next WM_PAINT tries again.
    }
    // A repaint can follow a click elsewhere in the grid: typing goes on in the cell.
    if (interaction_.editor().isEditing())
        SetFocus(interaction_.editor().editWindow());
}

void QuorGridControl::paintInto(HDC target, const RECT& client)
{
    if (core_.columns().selectionAnchor() >= 0)
        core_.selection().clearRowSelection();
    HDC memory = target;
    if (!memory) {
        memory = paintBuffer_.prepare(gridWindow_, client);
        if (!memory)
            return;
    }
    const RECT cells = cellAreaOf(core_.view(), client);
    core_.view().visibleRowCount = (cells.bottom + core_.view().rowHeight - 1) / core_.view().rowHeight + 1;
    const std::vector<GridRow*> rows = core_.rows().snapshot();
    const PaintScene scene{core_.view(), core_.columns(), core_.columnCount(), rows, gridFont_.get(), gridLinePen_.get()};
    paintCells(memory, cells, scene);
    if (!target)
        paintBuffer_.present(cells);
}

// An inactive control is drawn by its container: the same picture, made
// off-screen and copied into the container's DC at the bounds.
void QuorGridControl::drawContent(HDC dc, const RECT& bounds)
{
    const RECT client{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
    if (client.right <= 0 || client.bottom <= 0)
        return;
    MemoryDC memory(dc);
    Bitmap bitmap(CreateCompatibleBitmap(dc, client.right + 1, client.bottom + 1));
    if (!memory.get() || !bitmap)
        return;
    SelectedObject selected(memory.get(), bitmap.get());
    RECT all{0, 0, client.right + 1, client.bottom + 1};
    FillRect(memory.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    paintInto(memory.get(), client);
    BitBlt(dc, bounds.left, bounds.top, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

// ---- scrolling ----

void QuorGridControl::setUpScrollBars()
{
    scrollRowsTo(core_.view().firstVisibleRow);
    scrollColumnsTo(core_.view().firstVisibleColumn);
}

void QuorGridControl::scrollRowsTo(int32_t index)
{
    core_.view().firstVisibleRow = applyScrollBar(gridWindow_, SB_VERT, verticalGeometry(core_.rows().rowCount()), index);
    rowHeader_.renumber(core_.view().firstVisibleRow);
    core_.view().invalidate();
}

void QuorGridControl::scrollColumnsTo(int32_t index)
{
    GridView& view = core_.view();
    const int32_t shown = applyScrollBar(gridWindow_, SB_HORZ, horizontalGeometry(core_.columnCount()), index);
    // The bar ends at the second-to-last column, while End and
    // setUpperLeftCell may put the last one first. Going further right, or
    // merely setting the bar again, must not bring such a view back.
    if (!(index > shown && view.firstVisibleColumn > shown))
        view.firstVisibleColumn = shown;
    placeHeaderBand();
}

void QuorGridControl::onVerticalScroll(int code)
{
    const bool editing = endEditBeforeScrolling();
    recomputeView();
    const int32_t thumb = trackedThumb(gridWindow_, SB_VERT);
    scrollRowsTo(verticalScrollTarget(code, thumb, core_.view().firstVisibleRow, core_.rows().rowCount()));
    if (editing)
        interaction_.reopenEdit();
}

void QuorGridControl::onHorizontalScroll(int code)
{
    const bool editing = endEditBeforeScrolling();
    recomputeView();
    const int32_t thumb = trackedThumb(gridWindow_, SB_HORZ);
    scrollColumnsTo(horizontalScrollTarget(code, thumb, core_.view().firstVisibleColumn, core_.columnCount()));
    if (editing)
        interaction_.reopenEdit();
}

void QuorGridControl::onMouseWheel(int delta)
{
    const int32_t lines = wheelLines(delta);
    const WPARAM code = lines > 0 ? SB_LINEUP : SB_LINEDOWN;
    for (int32_t i = 0; i < (lines > 0 ? lines : -lines); ++i)
        SendMessageA(gridWindow_, WM_VSCROLL, code, 0);
}

// A scroll moves the cells away from under the edit box and the list.
// Returns whether the edit box was open, so that it can follow its cell.
bool QuorGridControl::endEditBeforeScrolling()
{
    const bool editing = interaction_.editor().isEditing();
    interaction_.completeEdit();
    interaction_.hideList();
    return editing;
}

// ---- keys ----

LRESULT QuorGridControl::onKeyDown(WPARAM key, LPARAM lParam)
{
    if (interaction_.onKeyDown(key, GetKeyState(VK_SHIFT) < 0))
        return 0;
    return DefWindowProcA(gridWindow_, WM_KEYDOWN, key, lParam);
}

// ---- commands from the children ----

LRESULT QuorGridControl::onCommand(WPARAM wParam, LPARAM lParam)
{
    if (interaction_.onCommand(wParam, lParam))
        return 0;
    if (isRowButtonCommand(wParam))
        rowButtonCommand(rowButtonIndex(wParam), currentRowButtonModifiers());
    return 0;
}

void QuorGridControl::rowButtonCommand(int32_t k, RowButtonModifiers keys)
{
    const int32_t row = k + core_.view().firstVisibleRow;
    if (row > core_.rows().rowCount())
        return;
    core_.columns().deselectAll();
    const int32_t anchor = core_.selection().anchorRow();
    if (k == 0) {
        core_.selection().selectAllRows();
    } else if (keys.shift && anchor >= 0 && row != anchor) {
        core_.selection().setRowSelectRange(anchor, row, Selected);
    } else if (keys.control) {
        core_.selection().setRowSelect(row, Toggle);
    } else {
        const GridRow* clicked = core_.rows().rowByNumber(row);
        const bool wasSelected = clicked && clicked->selected;
        core_.selection().deselectAllRows();
        core_.selection().setRowSelect(row, wasSelected ? Unselected : Toggle);
    }
    core_.view().invalidate();
}

LRESULT QuorGridControl::onNotify(const NMHDR& header)
{
    if (header.hwndFrom != columnHeader_.window())
        return 0;
    switch (header.code) {
    case HDN_ITEMCHANGEDA:
    case HDN_ITEMCHANGEDW: {
        // Divider drags land in the column table, which the cells follow.
        const auto& change = reinterpret_cast<const NMHEADERA&>(header);
        if (change.pitem && (change.pitem->mask & HDI_WIDTH) && core_.columns().contains(change.iItem)) {
            core_.columns().setWidth(change.iItem, change.pitem->cxy);
            core_.view().invalidate();
        }
        return 0;
    }
    case HDN_BEGINDRAG:
        return reinterpret_cast<const NMHEADERA&>(header).iItem == 0 ? TRUE : FALSE;
    default:
        return 0;
    }
}

void QuorGridControl::addRowButtonsForRows()
{
    while (rowHeader_.buttonCount() < QuorRowHeaderObj::kMaxButtons &&
           core_.rows().rowCount() > rowHeader_.buttonCount()) {
        rowHeader_.addButton();
    }
}

void QuorGridControl::rowsAppended()
{
    addRowButtonsForRows();
    GridView& view = core_.view();
    if (!gridWindow_)
        return;
    // The range follows every row at once, for a host that reads it; the
    // bar's picture and the cells wait for the end of the run.
    const int32_t rowCount = core_.rows().rowCount();
    setScrollRangeQuietly(gridWindow_, SB_VERT, verticalGeometry(rowCount));
    const int64_t top = (static_cast<int64_t>(rowCount) - view.firstVisibleRow) * view.rowHeight;
    if (top >= 0 && top < clientArea().bottom)
        appendedRowOnScreen_ = true;
    if (!appendedRowsPosted_)
        appendedRowsPosted_ = PostMessageA(gridWindow_, kAppendedRowsMessage, 0, 0) != FALSE;
}

void QuorGridControl::onAppendedRowsShown()
{
    GridView& view = core_.view();
    appendedRowsPosted_ = false;
    // The bar already holds its range: only its picture is repainted, a
    // strip of the frame right of the cells.
    const RECT client = clientArea();
    const RECT bar{client.right, 0, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom};
    RedrawWindow(gridWindow_, &bar, nullptr, RDW_INVALIDATE | RDW_FRAME);
    if (appendedRowOnScreen_)
        view.invalidate();
    appendedRowOnScreen_ = false;
}

void QuorGridControl::columnWidthChanged(int32_t column, int32_t width)
{
    columnHeader_.mirrorWidth(column, width);
}

// ---- ColumnHeaderOwner ----

void QuorGridControl::beforeHeaderClick()
{
    endEditBeforeScrolling();
}

void QuorGridControl::sortByColumn(int32_t column, int32_t style)
{
    sortGrid(column, static_cast<SortStyle>(style));
}

void QuorGridControl::resizeColumnToFit(int32_t column)
{
    autoResizeColumn(column);
}

void QuorGridControl::setColumnWidthFromMenu(int32_t column, int32_t width)
{
    core_.setColumnWidth(column, width);
}

}  // namespace quor
