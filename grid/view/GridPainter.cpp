#include "GridPainter.h"

#include <cstdio>
#include <string>

#include "ColumnTable.h"
#include "GridRow.h"
#include "GridView.h"
#include "RowText.h"

namespace quor {

namespace {

int32_t rowButtonStrip(const GridView& view)
{
    return view.rowButtonsShown ? GridView::kRowButtonWidth : 0;
}

int32_t firstLineTop(const GridView& view)
{
    return view.columnHeaderShown ? view.rowHeight : 0;
}

UINT horizontalFormat(int32_t alignment)
{
    if (alignment == alignCenter)
        return DT_CENTER;
    if (alignment == alignRight)
        return DT_RIGHT;
    return DT_LEFT;
}

void fillBackground(HDC dc, const RECT& cells, COLORREF colour)
{
    Brush brush(CreateSolidBrush(colour));
    SelectedObject selectedBrush(dc, brush.get());
    SelectedObject nullPen(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, cells.left - 1, cells.top - 1, cells.right + 1, cells.bottom + 1);
}

void drawLine(HDC dc, int x1, int y1, int x2, int y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// Colours are stored as decimal COLORREF text; anything else is black.
COLORREF swatchColour(const std::string& text)
{
    unsigned int value = 0;
    if (std::sscanf(text.c_str(), "%u", &value) != 1)
        return 0;
    return value;
}

class CellPainter {
public:
    CellPainter(HDC dc, const PaintScene& scene) : dc_(dc), scene_(scene), rowHeight_(scene.view.rowHeight) {}

    void drawVerticalLines(const RECT& cells) const
    {
        int32_t x = rowButtonStrip(scene_.view) ? GridView::kRowButtonWidth - 1 : -1;
        for (int32_t c = scene_.view.firstVisibleColumn; c < scene_.columnCount && x < cells.right; ++c) {
            x += scene_.columns.width(c);
            drawLine(dc_, x, 0, x, cells.bottom);
        }
    }

    void drawHorizontalLines(const RECT& cells) const
    {
        for (int32_t y = firstLineTop(scene_.view); y < cells.bottom; y += rowHeight_)
            drawLine(dc_, 0, y, cells.right, y);
    }

    void drawRows(const RECT& cells)
    {
        const int32_t lines = (cells.bottom + rowHeight_ - 1) / rowHeight_ + 1;
        int32_t y = firstLineTop(scene_.view);
        SetTextColor(dc_, 0);
        const size_t first = firstDrawnRow();
        for (size_t i = first, line = 0; i < scene_.rows.size() && line < static_cast<size_t>(lines);
             ++i, ++line, y += rowHeight_) {
            GridRow& row = *scene_.rows[i];
            SetTextColor(dc_, row.textColor);
            if (row.visible)
                drawRow(row, y, cells);
        }
    }

private:
    // The top row is an ordinal among visible rows: hidden rows above it
    // take no line. Beyond the last visible row it is a plain index.
    size_t firstDrawnRow() const
    {
        const int32_t top = scene_.view.firstVisibleRow;
        int32_t ordinal = 0;
        for (size_t i = 0; i < scene_.rows.size(); ++i) {
            if (!scene_.rows[i]->visible)
                continue;
            if (ordinal == top)
                return i;
            ++ordinal;
        }
        return top < 0 ? 0 : static_cast<size_t>(top);
    }

    void drawRow(GridRow& row, int32_t y, const RECT& cells)
    {
        int32_t x = rowButtonStrip(scene_.view) ? GridView::kRowButtonWidth : -1;
        for (int32_t c = scene_.view.firstVisibleColumn; c < scene_.columnCount && x < cells.right; ++c) {
            const CellRead cell = readCell(row.rowText, c);
            if (!cell.found || (cell.text.empty() && !readCell(row.rowText, c + 1).found))
                return;
            const bool columnSelected = scene_.columns.selected(c);
            if (columnSelected && row.blankRow != 1)
                row.selectedCell = c;
            const int32_t width = scene_.columns.width(c);
            if (scene_.columns.cellKind(c) == CellKind::ColorButton)
                drawColourButton(x, y, width, cell.text);
            else if (row.selected || columnSelected || row.selectedCell == c)
                drawHighlighted(x, y, width, cell.text, row.textColor);
            else
                drawText(x, y, width, cell.text);
            x += width;
        }
    }

    void drawText(int32_t x, int32_t y, int32_t width, const std::string& text) const
    {
        RECT r{x + 3, y + 1, x + width - 4, y + rowHeight_ - 2};
        DRAWTEXTPARAMS params{sizeof params, 0, 0, 0, 0};
        std::string copy = text;  // DrawTextEx may write the ellipsis into its buffer
        DrawTextExA(dc_, &copy[0], static_cast<int>(copy.size()), &r,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                        horizontalFormat(scene_.view.textAlignment),
                    &params);
    }

    void drawHighlighted(int32_t x, int32_t y, int32_t width, const std::string& text, COLORREF rowColour) const
    {
        RECT clip{x + 1, y + 1, x + width - 2, y + rowHeight_ - 2};
        Region region(CreateRectRgnIndirect(&clip));
        SelectClipRgn(dc_, region.get());
        SetBkColor(dc_, GetSysColor(COLOR_HIGHLIGHT));
        ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &clip, nullptr, 0, nullptr);
        SetTextColor(dc_, GetSysColor(COLOR_HIGHLIGHTTEXT));
        drawText(x, y, width, text);
        SetBkColor(dc_, scene_.view.backgroundColor);
        SetTextColor(dc_, rowColour);
        SelectClipRgn(dc_, nullptr);
    }

    void drawColourButton(int32_t x, int32_t y, int32_t width, const std::string& text) const
    {
        RECT frame{x + 2, y + 1, x + width - 3, y + rowHeight_ - 2};
        SelectedObject blackPen(dc_, GetStockObject(BLACK_PEN));
        DrawEdge(dc_, &frame, EDGE_BUMP, BF_BOTTOMRIGHT);
        {
            SelectedObject darkBrush(dc_, GetStockObject(DKGRAY_BRUSH));
            DrawEdge(dc_, &frame, EDGE_RAISED, BF_TOPLEFT);
        }
        Brush swatch(CreateSolidBrush(swatchColour(text)));
        SelectedObject swatchBrush(dc_, swatch.get());
        Rectangle(dc_, x + 5, y + 4, x + width - 4, y + rowHeight_ - 3);
    }

    HDC dc_;
    const PaintScene& scene_;
    int32_t rowHeight_;
};

}  // namespace

RECT cellAreaOf(const GridView& view, const RECT& client)
{
    RECT cells = client;
    if (view.columnHeaderShown)
        cells.top = client.top + view.rowHeight;
    cells.left = rowButtonStrip(view);
    return cells;
}

void paintCells(HDC dc, const RECT& cells, const PaintScene& scene)
{
    if (scene.view.rowHeight <= 0)
        return;
    SelectClipRgn(dc, nullptr);
    fillBackground(dc, cells, scene.view.backgroundColor);
    Brush background(CreateSolidBrush(scene.view.backgroundColor));
    SelectedObject brush(dc, background.get());
    SelectedObject pen(dc, scene.gridPen);
    SelectedObject font(dc, scene.font ? static_cast<HGDIOBJ>(scene.font) : GetStockObject(DEFAULT_GUI_FONT));
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, scene.view.backgroundColor);
    CellPainter painter(dc, scene);
    const int32_t style = scene.view.gridLineStyle;
    if (style == linesVertical || style == linesBoth)
        painter.drawVerticalLines(cells);
    if (style == linesHorizontal || style == linesBoth)
        painter.drawHorizontalLines(cells);
    painter.drawRows(cells);
    SetBkMode(dc, previousMode);
}

HDC PaintBuffer::prepare(HWND window, const RECT& client)
{
    if (window != window_ || !bitmap_ || !windowDC_ || !EqualRect(&client, &cachedClient_)) {
        releaseMemoryDC();
        windowDC_.reset();
        window_ = window;
        windowDC_ = WindowDC(window);
        if (!windowDC_)
            return nullptr;
        bitmap_.reset(CreateCompatibleBitmap(windowDC_.get(), client.right - client.left + 1,
                                             client.bottom - client.top + 1));
        cachedClient_ = client;
    }
    releaseMemoryDC();
    memory_.reset(CreateCompatibleDC(windowDC_.get()));
    if (memory_ && bitmap_)
        selectedBitmap_.emplace(memory_.get(), bitmap_.get());
    return memory_.get();
}

void PaintBuffer::present(const RECT& cells) const
{
    if (!memory_ || !windowDC_)
        return;
    BitBlt(windowDC_.get(), cells.left, cells.top, cells.right - cells.left + 1, cells.bottom - cells.top + 1,
           memory_.get(), cells.left, cells.top, SRCCOPY);
}

void PaintBuffer::releaseMemoryDC()
{
    selectedBitmap_.reset();
    memory_.reset();
}

void PaintBuffer::release()
{
    releaseMemoryDC();
    windowDC_.reset();
    bitmap_.reset();
    window_ = nullptr;
    cachedClient_ = RECT{-1, -1, -1, -1};
}

}  // namespace quor
