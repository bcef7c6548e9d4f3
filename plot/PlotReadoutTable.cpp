#include "PlotReadoutTable.h"

#include <algorithm>
#include <string>

#include "Bstr.h"
#include "GdiHandles.h"

namespace quor {

const char* const PlotReadoutTable::kCaptions[kColumns] = {
    "Lane", "Value at A", "Time at A", "Value at B", "Time at B", "B - A",
    "Samples", "Minimum", "Maximum", "Mean", "RMS"};

namespace {

const wchar_t kGridProgId[] = L"QuorGrid.QuorGridControl.1";
const uint32_t kTextColour = 0x000000;
const uint32_t kBackground = 0xFFFFFF;

// The grid splits its rows at '|' and knows no escape: a cell keeps any as '/'.
std::string gridCell(const std::string& text)
{
    std::string cell = text;
    for (char& c : cell) {
        if (c == '|')
            c = '/';
    }
    return cell;
}

std::string joinCells(const std::vector<const std::string*>& cells)
{
    std::string text;
    for (size_t k = 0; k < cells.size(); ++k)
        text += (k ? "|" : "") + gridCell(*cells[k]);
    return text;
}

const std::vector<std::string>& captions()
{
    static const std::vector<std::string> all(std::begin(PlotReadoutTable::kCaptions),
                                              std::end(PlotReadoutTable::kCaptions));
    return all;
}

std::vector<const std::string*> captionCells()
{
    std::vector<const std::string*> cells;
    for (const std::string& caption : captions())
        cells.push_back(&caption);
    return cells;
}

std::vector<const std::string*> rowCells(const LaneReadout& row)
{
    return {&row.label, &row.valueA, &row.timeA, &row.valueB, &row.timeB, &row.deltaValue,
            &row.samples, &row.minimum, &row.maximum, &row.mean, &row.rms};
}

std::string headingText()
{
    return joinCells(captionCells());
}

// Room around a cell's text, in pixels, as the grid draws it.
const int kCellPadding = 8;
// A long label yields to the figures: the row's colour names its lane too.
const int kWidestLabel = 170;

// The grid's own font, which its interface does not give out: the widths
// are measured in what it draws with.
quor::Font gridFont()
{
    return quor::Font(CreateFontA(-MulDiv(8, screenPixelsPerInchY(), 72), 0, 0, 0, 500, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH,
                                  "MS Sans Serif"));
}

// The widest text of each column, so that no figure shows cut short.
std::vector<int> columnWidths(HWND window, const std::vector<std::vector<const std::string*>>& rows)
{
    std::vector<int> widths(PlotReadoutTable::kColumns, 0);
    quor::WindowDC dc(window);
    quor::Font font = gridFont();
    if (!dc.get() || !font)
        return widths;
    quor::SelectedObject selected(dc.get(), font.get());
    for (const std::vector<const std::string*>& cells : rows) {
        for (size_t k = 0; k < cells.size() && k < widths.size(); ++k) {
            SIZE size{};
            GetTextExtentPoint32A(dc.get(), cells[k]->c_str(), static_cast<int>(cells[k]->size()), &size);
            widths[k] = std::max<int>(widths[k], size.cx + kCellPadding);
        }
    }
    widths[0] = std::min(widths[0], kWidestLabel);
    return widths;
}

Bstr rowTag(size_t index)
{
    return Bstr(std::to_string(index).c_str());
}

}  // namespace

std::string readoutRowText(const LaneReadout& row)
{
    return joinCells(rowCells(row));
}

PlotReadoutTable::~PlotReadoutTable()
{
    destroy();
}

void PlotReadoutTable::destroy()
{
    grid_.Reset();
    host_.reset();
    shown_.clear();
    shownColours_.clear();
}

// The host replaces a placeholder child, as a dialog's would be.
HRESULT PlotReadoutTable::create(HWND parent, int id)
{
    destroy();
    HWND placeholder = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                                       nullptr);
    if (!placeholder)
        return E_FAIL;
    HRESULT hr = ControlHost::create(placeholder, kGridProgId, host_);
    if (IsWindow(placeholder))
        DestroyWindow(placeholder);
    if (SUCCEEDED(hr))
        hr = host_->control()->QueryInterface(__uuidof(IQuorGridControl),
                                              reinterpret_cast<void**>(grid_.GetAddressOf()));
    if (FAILED(hr)) {
        destroy();
        return hr;
    }
    setUpGrid();
    return S_OK;
}

// The grid's column header is hidden: the captions are the first row, so
// that a copy of the table carries them.
void PlotReadoutTable::setUpGrid()
{
    grid_->setColumnHeadings(Bstr(headingText().c_str()).get());
    for (int column = 0; column < kColumns; ++column)
        grid_->SetColumnEditable(column, VARIANT_FALSE);
    grid_->showColumnHeader(VARIANT_FALSE);
    grid_->showRowButtons(VARIANT_FALSE);
    grid_->setEditability(VARIANT_FALSE);
    grid_->setGridBackgroundColor(kBackground, VARIANT_FALSE);
    grid_->setAllVisible();
    grid_->AutoSizeEditBox(VARIANT_FALSE);
    show({});
}

void PlotReadoutTable::place(const RECT& area)
{
    if (!host_)
        return;
    MoveWindow(host_->window(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    host_->fitControl();
}

void PlotReadoutTable::putRow(size_t index, const std::string& text, uint32_t colour)
{
    const bool known = index < shown_.size();
    if (!known || shown_[index] != text)
        grid_->updateRow(Bstr(text.c_str()).get(), rowTag(index).get(), VARIANT_FALSE, VARIANT_FALSE);
    if (!known || shownColours_[index] != colour)
        grid_->SetRowColor(static_cast<LONG>(index + 1), colour);
}

void PlotReadoutTable::show(const std::vector<LaneReadout>& rows, const std::vector<uint32_t>& colours)
{
    if (!grid_)
        return;
    std::vector<std::string> texts{headingText()};
    std::vector<uint32_t> textColours{kTextColour};
    for (size_t k = 0; k < rows.size(); ++k) {
        texts.push_back(readoutRowText(rows[k]));
        textColours.push_back(k < colours.size() ? colours[k] : kTextColour);
    }
    // Unchanged rows cost nothing: a pan redraws the lanes, not the grid.
    if (texts == shown_ && textColours == shownColours_)
        return;
    // The rows keep their order: new ones go at the end, gone ones from it.
    for (size_t index = 0; index < texts.size(); ++index)
        putRow(index, texts[index], textColours[index]);
    for (size_t index = texts.size(); index < shown_.size(); ++index)
        grid_->deleteRow(rowTag(index).get(), VARIANT_FALSE);
    if (shown_.size() > texts.size())
        grid_->resetAllDeletedRows();
    std::vector<std::vector<const std::string*>> cells{captionCells()};
    for (const LaneReadout& row : rows)
        cells.push_back(rowCells(row));
    const std::vector<int> widths = columnWidths(host_->window(), cells);
    for (int column = 0; column < kColumns; ++column) {
        if (widths[column] > 0)
            grid_->setColumnWidth(column, static_cast<SHORT>(std::min(widths[column], 0x7FFF)));
    }
    shown_ = std::move(texts);
    shownColours_ = std::move(textColours);
    grid_->redraw();
}

std::string PlotReadoutTable::cellText(int row, int column) const
{
    if (!grid_)
        return std::string();
    Bstr text;
    grid_->getCellText(row + 1, column, text.out());
    return text.text().str();
}

int PlotReadoutTable::rowCount() const
{
    LONG count = 0;
    if (grid_)
        grid_->getNumberOfRows(&count);
    return static_cast<int>(count);
}

}  // namespace quor
