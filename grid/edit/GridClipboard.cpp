#include "GridClipboard.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ColumnTable.h"
#include "CsvLine.h"
#include "GridCore.h"
#include "GridRow.h"
#include "RowModel.h"
#include "RowText.h"
#include "UniqueHandle.h"

namespace quor {

namespace {

ClipboardText selectedRowsText(const std::vector<GridRow*>& rows)
{
    ClipboardText result;
    for (const GridRow* row : rows) {
        if (!row->selected)
            continue;
        result.anything = true;
        if (row->rowText.empty())
            continue;
        result.text += lineFromRow(row->rowText, kClipboardSeparator);
        result.text += '\n';
    }
    return result;
}

ClipboardText selectedCellsText(const std::vector<GridRow*>& rows)
{
    ClipboardText result;
    for (const GridRow* row : rows) {
        if (row->selectedCell < 0)
            continue;
        result.anything = true;
        result.text += cellOrEmpty(row->rowText, row->selectedCell);
        result.text += '\n';
    }
    return result;
}

// Lines split at '\n' or '\r', "\r\n" counting once; the text after the
// last break is the final element (empty when the text ends in a break).
std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

std::string withoutTabs(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), kClipboardSeparator), text.end());
    return text;
}

int32_t fieldCount(const std::string& line)
{
    const std::string cells = splitLineIntoCells(line, kClipboardSeparator);
    return static_cast<int32_t>(std::count(cells.begin(), cells.end(), kCellSeparator)) + 1;
}

// Writes the line's fields into the cells from `column` on, as far as the
// grid has columns.
void writeLineIntoRow(GridRow& row, int32_t column, const std::string& line, int32_t columnCount)
{
    const int32_t fields = std::min(fieldCount(line), columnCount - column);
    const std::string cells = withoutTabs(rowFromLine(line, kClipboardSeparator, fields));
    for (int32_t i = 0; i < fields; ++i)
        writeCellMarkingEdited(row, column + i, cellOrEmpty(cells, i));
}

void pasteIntoCells(GridCore& grid, const std::vector<std::string>& lines)
{
    const std::vector<GridRow*> rows = grid.rows().snapshot();
    const int32_t column = grid.cells().clickColumn;
    if (!grid.columns().editable(column))
        return;
    int32_t number = grid.cells().clickRow;
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        if (last && lines[i].empty())
            break;
        if (number >= 1 && number <= static_cast<int32_t>(rows.size()))
            writeLineIntoRow(*rows[static_cast<size_t>(number - 1)], column, lines[i], grid.columnCount());
        ++number;
    }
}

void pasteAsRows(GridCore& grid, const std::vector<std::string>& lines)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        if (last && lines[i].empty())
            break;
        const std::string row = withoutTabs(rowFromLine(lines[i], kClipboardSeparator, grid.columnCount()));
        if (grid.appendRow(row, std::string(), true) != S_OK)
            break;
    }
}

}  // namespace

ClipboardText copyText(GridCore& grid)
{
    const std::vector<GridRow*> rows = grid.rows().snapshot();
    ClipboardText text = selectedRowsText(rows);
    return text.anything ? text : selectedCellsText(rows);
}

void pasteText(GridCore& grid, const std::string& text)
{
    const std::vector<std::string> lines = splitLines(text);
    const CellPositions& cells = grid.cells();
    if (grid.rows().countSelected() == 0 && cells.clickRow >= 0 && cells.clickColumn >= 0)
        pasteIntoCells(grid, lines);
    else
        pasteAsRows(grid, lines);
    grid.relayout();
}

void cutSelection(GridCore& grid)
{
    grid.commitOpenEdit();
    const std::vector<GridRow*> rows = grid.rows().snapshot();
    bool removedRows = false;
    for (GridRow* row : rows) {
        if (row->selected) {
            grid.rows().remove(row, true);
            removedRows = true;
        }
    }
    if (!removedRows) {
        for (GridRow* row : rows) {
            if (row->selectedCell < 0)
                continue;
            if (!grid.columns().editable(row->selectedCell))
                break;
            writeCellMarkingEdited(*row, row->selectedCell, std::string());
        }
    }
    grid.relayout();
}

HRESULT putClipboardText(HWND owner, const std::string& text)
{
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 50));
    if (!block)
        return E_OUTOFMEMORY;
    {
        const GlobalLockScope locked(block.get());
        if (!locked.memory())
            return E_FAIL;
        memcpy(locked.memory(), text.data(), text.size());
    }
    if (!handToClipboard(owner, CF_TEXT, block.get()))
        return E_FAIL;
    block.release();  // the clipboard's now
    return S_OK;
}

HRESULT getClipboardText(HWND owner, std::string& text)
{
    text.clear();
    if (!IsClipboardFormatAvailable(CF_TEXT))
        return S_FALSE;
    const OpenedClipboard clipboard(owner);
    if (!clipboard.isOpen())
        return S_FALSE;
    HANDLE data = GetClipboardData(CF_TEXT);
    const GlobalLockScope locked(data);
    const char* memory = static_cast<const char*>(locked.memory());
    if (!memory)
        return S_FALSE;
    // The block may lack its terminator: never read past its size.
    text.assign(memory, strnlen(memory, GlobalSize(data)));
    return S_OK;
}

HRESULT copyToClipboard(GridCore& grid, HWND owner)
{
    const ClipboardText text = copyText(grid);
    if (!text.anything)
        return S_FALSE;
    HRESULT hr = putClipboardText(owner, text.text);
    grid.relayout();
    return hr;
}

HRESULT cutToClipboard(GridCore& grid, HWND owner)
{
    HRESULT hr = copyToClipboard(grid, owner);
    if (hr != S_OK)
        return hr;
    cutSelection(grid);
    return S_OK;
}

HRESULT pasteFromClipboard(GridCore& grid, HWND owner)
{
    std::string text;
    HRESULT hr = getClipboardText(owner, text);
    if (hr != S_OK)
        return hr;
    pasteText(grid, text);
    return S_OK;
}

}  // namespace quor
