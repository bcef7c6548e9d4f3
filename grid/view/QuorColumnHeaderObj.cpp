#include "QuorColumnHeaderObj.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "ColumnTable.h"
#include "GridEnums.h"
#include "WindowClass.h"

namespace quor {

namespace {

const char kClassName[] = "QuorColumnHeaderObj";
constexpr DWORD kWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | HDS_BUTTONS | HDS_HOTTRACK;
constexpr int kHeaderHeight = 20;
constexpr WPARAM kPostedCommandLimit = 100;
constexpr LPARAM kPostedCommandLParam = 50;
constexpr int kHiddenWidth = 3;
constexpr int kFirstMenuCommand = 3260;
constexpr int kLastMenuCommand = 3500;

WNDPROC g_systemProcedure = nullptr;

// The superclass: the system header's class with our procedure in front.
WindowClassUse& headerClass(WNDPROC procedure)
{
    static WindowClassUse use = [procedure] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXA prototype{};
        prototype.cbSize = sizeof prototype;
        if (GetClassInfoExA(nullptr, WC_HEADERA, &prototype))
            g_systemProcedure = prototype.lpfnWndProc;
        prototype.style &= ~CS_GLOBALCLASS;
        prototype.lpfnWndProc = procedure;
        return WindowClassUse(kClassName, prototype);
    }();
    return use;
}


}  // namespace

QuorColumnHeaderObj::~QuorColumnHeaderObj()
{
    if (window_)
        DestroyWindow(window_);
}

bool QuorColumnHeaderObj::create(HWND grid, ColumnHeaderOwner& owner)
{
    grid_ = grid;
    owner_ = &owner;
    WindowClassUse& use = headerClass(windowProc);
    if (!g_systemProcedure)
        return false;
    if (!class_.take(use))
        return false;
    CreateWindowExA(0, kClassName, "", kWindowStyle, 0, 0, 0, kHeaderHeight, grid, nullptr, codeModule(), this);
    return window_ != nullptr;
}

void QuorColumnHeaderObj::mirror(const ColumnTable& columns)
{
    if (!window_)
        return;
    mirroring_ = true;
    while (Header_GetItemCount(window_) > 0)
        Header_DeleteItem(window_, 0);
    for (int32_t c = 0; c < columns.count(); ++c) {
        std::string text = columns.heading(c);
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = &text[0];
        item.cchTextMax = static_cast<int>(text.size());
        item.cxy = columns.width(c);
        item.fmt = HDF_STRING | HDF_CENTER;
        SendMessageA(window_, HDM_INSERTITEMA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&item));
    }
    mirroring_ = false;
    refreshOrder();
}

void QuorColumnHeaderObj::mirrorWidth(int32_t column, int32_t width)
{
    if (!window_)
        return;
    mirroring_ = true;
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = width;
    SendMessageA(window_, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    mirroring_ = false;
}

// The visual order is recorded only: cells stay in item order.
void QuorColumnHeaderObj::refreshOrder()
{
    const int count = Header_GetItemCount(window_);
    order_.assign(count > 0 ? static_cast<size_t>(count) : 0, 0);
    if (count > 0)
        Header_GetOrderArray(window_, count, order_.data());
}

void QuorColumnHeaderObj::setFont(HFONT font)
{
    if (window_)
        SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void QuorColumnHeaderObj::allowReorder(bool allow)
{
    if (!window_)
        return;
    LONG_PTR style = GetWindowLongPtrA(window_, GWL_STYLE);
    style = allow ? (style | HDS_DRAGDROP) : (style & ~static_cast<LONG_PTR>(HDS_DRAGDROP));
    SetWindowLongPtrA(window_, GWL_STYLE, style);
}

void QuorColumnHeaderObj::show(bool visible)
{
    if (window_)
        ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

void QuorColumnHeaderObj::loadMenu()
{
    if (menu_)
        return;
    menu_.reset(LoadMenuA(codeModule(), MAKEINTRESOURCEA(kColumnMenuResource)));
    if (!menu_) {
        OutputDebugStringA("Failed to load right click menu\n");
        return;
    }
    popup_ = GetSubMenu(menu_.get(), 0);
    if (!popup_)
        OutputDebugStringA("Failed to load Popup menu\n");
}

void QuorColumnHeaderObj::runMenuCommand(int command)
{
    ColumnTable& columns = owner_->columnTable();
    const int32_t column = menuColumn_;
    if (!columns.contains(column))
        return;
    switch (command) {
    case kCmdAutoResize:
        columns.toggleAutoResize(column);
        owner_->resizeColumnToFit(column);
        break;
    case kCmdHideColumn:
        owner_->setColumnWidthFromMenu(column, kHiddenWidth);
        owner_->columnsChanged();
        break;
    case kCmdSortAscending:
        owner_->sortByColumn(column, sortAscending);
        break;
    case kCmdSortDescending:
        owner_->sortByColumn(column, sortDescending);
        break;
    case kCmdLock:
        columns.toggleLock(column);
        break;
    case kCmdReadOnly:
        columns.toggleEditable(column);
        owner_->columnsChanged();
        break;
    default:  // Unhide Column, Select Column, Format Cells...: no effect
        break;
    }
}

LRESULT CALLBACK QuorColumnHeaderObj::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<QuorColumnHeaderObj*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetPropA(window, kClassName, self);
    }
    auto* self = static_cast<QuorColumnHeaderObj*>(GetPropA(window, kClassName));
    if (!self)
        return CallWindowProcA(g_systemProcedure, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropA(window, kClassName);
        self->window_ = nullptr;
        return CallWindowProcA(g_systemProcedure, window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

LRESULT QuorColumnHeaderObj::callSystem(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(g_systemProcedure, window_, message, wParam, lParam);
}

LRESULT QuorColumnHeaderObj::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return onCreate(wParam, lParam);
    case WM_LBUTTONUP:
        return onLeftButtonUp(wParam, lParam);
    case WM_RBUTTONDOWN:
        return 0;  // swallowed: the menu opens on release
    case WM_RBUTTONUP:
        return onRightButtonUp(lParam);
    case WM_COMMAND:
        return onCommand(wParam, lParam);
    default:
        return callSystem(message, wParam, lParam);
    }
}

LRESULT QuorColumnHeaderObj::onCreate(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = callSystem(WM_CREATE, wParam, lParam);
    if (result == -1)
        return result;
    creationFont_.reset(CreateFontA(16, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, DEFAULT_PITCH, "Arial"));
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(creationFont_.get()), FALSE);
    menuColumn_ = -1;
    loadMenu();
    return result;
}

LRESULT QuorColumnHeaderObj::onLeftButtonUp(WPARAM wParam, LPARAM lParam)
{
    owner_->beforeHeaderClick();
    // Divider dragging ends in the system's own handling.
    const LRESULT result = callSystem(WM_LBUTTONUP, wParam, lParam);
    ColumnTable& columns = owner_->columnTable();
    const int32_t column = columns.columnAt(GET_X_LPARAM(lParam));
    if (columns.contains(column)) {
        // The keys as they were when the button came up, not as they are now.
        columns.clickSelect(column, (wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0);
        owner_->columnsChanged();
    }
    return result;
}

LRESULT QuorColumnHeaderObj::onRightButtonUp(LPARAM lParam)
{
    menuPoint_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    menuColumn_ = owner_->columnTable().columnAt(menuPoint_.x);
    if (!popup_)
        return 0;
    POINT screen = menuPoint_;
    ClientToScreen(window_, &screen);
    TrackPopupMenuEx(popup_, TPM_VERTICAL, screen.x, screen.y, window_, nullptr);
    return 0;
}

LRESULT QuorColumnHeaderObj::onCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (id >= kFirstMenuCommand && id <= kLastMenuCommand) {
        runMenuCommand(id);
        return 0;
    }
    if (static_cast<WPARAM>(id) <= kPostedCommandLimit) {
        PostMessageA(grid_, WM_COMMAND, static_cast<WPARAM>(id), kPostedCommandLParam);
        return 0;
    }
    return callSystem(WM_COMMAND, wParam, lParam);
}

}  // namespace quor
