// The control hosted in place in a top-level window, for the tests that
// drive its window: activation, scrolling, row buttons, the cell area.
#pragma once

#include <ole2.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "GridDll.h"
#include "OleHostSite.h"
#include "OleTestSupport.h"
#include "RowButtonCommand.h"

namespace quor {

namespace {

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

void setKeys(bool shift, bool control)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Cell geometry of a hosted grid whose columns were set to kColumnWidth.
constexpr int kColumnWidth = 80;
constexpr int kRowButtonWidth = 39;
constexpr int kRowHeight = 20;

// The middle of a cell of the top rows, in client coordinates: rows count
// from 1, as the cell calls do, below the header band.
inline LPARAM cellPoint(int row, int column)
{
    return MAKELPARAM(kRowButtonWidth + kColumnWidth * column + kColumnWidth / 2, kRowHeight * row + kRowHeight / 2);
}

// The host window itself is never shown, so IsWindowVisible would say no
// for every child.
inline bool hasVisibleStyle(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The clipboard's text, empty when it holds none.
inline std::string clipboardText(HWND owner)
{
    std::string text;
    if (!OpenClipboard(owner))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// A grid hosted in place, 300 x 200 pixels, with 40 rows of 12 columns.
class HostedGrid {
public:
    HostedGrid()
    {
        grid = createGrid();
        if (!grid)
            return;
        site = OleHostSite::make(host.get());
        Microsoft::WRL::ComPtr<IOleObject> object;
        grid.As(&object);
        attached = site->attach(object.Get());
        if (SUCCEEDED(attached))
            attached = site->activate(RECT{0, 0, 300, 200});
    }
    ~HostedGrid()
    {
        if (site)
            site->close();
    }
    HostedGrid(const HostedGrid&) = delete;
    HostedGrid& operator=(const HostedGrid&) = delete;

    void fill(int rows)
    {
        Bstr headings(L"A|B|C|D|E|F|G|H|I|J|K|L");
        grid->setColumnHeadings(headings);
        for (int i = 1; i <= rows; ++i) {
            const std::wstring text = L"r" + std::to_wstring(i) + L"|b|c|d|e|f|g|h|i|j|k|l";
            Bstr row(text.c_str()), tag(L"");
            grid->appendRow(row, VARIANT_FALSE, tag, VARIANT_FALSE);
        }
        grid->redraw();
    }

    HWND window() const { return site->controlWindow(); }

    // The top row: the first whose line starts at the top of the cells.
    LONG topRow() const
    {
        LONG count = 0;
        grid->getNumberOfRows(&count);
        for (LONG n = 0; n <= count; ++n) {
            VARIANT_BOOL visible = VARIANT_FALSE;
            grid->rowIsVisible(n, &visible);
            if (visible == VARIANT_TRUE)
                return n;
        }
        return -1;
    }

    void scroll(UINT message, int code, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            SendMessageA(window(), message, MAKEWPARAM(code, 0), 0);
    }

    void clickRowButton(int k, bool shift = false, bool control = false)
    {
        setKeys(shift, control);
        postRowButtonCommand(window(), k);
        test::pumpMessages();
        setKeys(false, false);
    }

    // The first cells of the selected rows, joined by ','.
    std::wstring selectedRows() const
    {
        std::wstring names;
        grid->resetToFirstSelectedRow();
        Bstr row;
        while (grid->getNextSelectedRow(row.out()) == S_OK) {
            const std::wstring text = row.text();
            names += (names.empty() ? L"" : L",") + text.substr(0, text.find(L'|'));
        }
        return names;
    }

    test::TestWindow host{"QuorGridWindowTestHost", hostProcedure, 400, 300};
    Microsoft::WRL::ComPtr<IQuorGridControl> grid;
    Microsoft::WRL::ComPtr<OleHostSite> site;
    HRESULT attached = E_FAIL;
};

}  // namespace

}  // namespace quor
