#include "QuorRowHeaderObj.h"

#include "RowButtonCommand.h"
#include "WindowClass.h"

#include <windowsx.h>

#include <cmath>
#include <string>

namespace quor {

namespace {

const char kClassName[] = "QuorRowHeaderObj";
constexpr DWORD kWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

// The class lives while row headers do (see WindowClass.h).
WindowClassUse& rowHeaderClass(WNDPROC procedure)
{
    static WindowClassUse use = [procedure] {
        WNDCLASSEXA prototype{};
        prototype.style = CS_DBLCLKS;
        prototype.lpfnWndProc = procedure;
        prototype.hCursor = LoadCursor(nullptr, IDC_ARROW);
        prototype.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        return WindowClassUse(kClassName, prototype);
    }();
    return use;
}

Pen systemPen(int colorIndex) { return Pen(CreatePen(PS_SOLID, 1, GetSysColor(colorIndex))); }

// One edge line: three points, the last one not drawn.
struct EdgeLine {
    POINT points[3];
};

}  // namespace

// ---- RowButton ----

RowButton::RowButton(int index, int width, int height, std::string label)
    : index_(index), rect_{0, index * height, width, index * height + height}, label_(std::move(label))
{
}

bool RowButton::contains(POINT point) const
{
    return point.x >= rect_.left && point.x <= rect_.right && point.y >= rect_.top && point.y <= rect_.bottom;
}

// ---- RowButtonPainter ----

RowButtonPainter::RowButtonPainter()
    : light_(systemPen(COLOR_3DLIGHT)),
      highlight_(systemPen(COLOR_BTNHIGHLIGHT)),
      shadow_(systemPen(COLOR_BTNSHADOW)),
      darkShadow_(systemPen(COLOR_3DDKSHADOW)),
      face_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))),
      font_(CreateFontA(-MulDiv(11, screenPixelsPerInchY(), 72), 0, 0, 0, 500, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"))
{
}

void RowButtonPainter::draw(HDC dc, const RowButton& button, bool pressed) const
{
    const RECT& r = button.rect();
    {
        SelectedObject pen(dc, GetStockObject(NULL_PEN));
        SelectedObject brush(dc, face_.get());
        Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
    drawEdges(dc, r, pressed);
    drawLabel(dc, r, button.label());
}

void RowButtonPainter::drawEdges(HDC dc, const RECT& r, bool pressed) const
{
    const EdgeLine lines[4] = {
        {{{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}}},  // outer bottom, right
        {{{r.left + 1, r.bottom - 2}, {r.right - 2, r.bottom - 2}, {r.right - 2, r.top}}},  // inner bottom, right
        {{{r.right - 2, r.top}, {r.left, r.top}, {r.left, r.bottom - 1}}},                  // outer top, left
        {{{r.right - 3, r.top + 1}, {r.left + 1, r.top + 1}, {r.left + 1, r.bottom - 2}}},  // inner top, left
    };
    // A pressed button swaps light and shade.
    const HPEN raisedPens[4] = {darkShadow_.get(), shadow_.get(), light_.get(), highlight_.get()};
    const HPEN pressedPens[4] = {highlight_.get(), light_.get(), darkShadow_.get(), shadow_.get()};
    const HPEN* pens = pressed ? pressedPens : raisedPens;
    for (int i = 0; i < 4; ++i) {
        SelectedObject pen(dc, pens[i]);
        Polyline(dc, lines[i].points, 3);
    }
}

void RowButtonPainter::drawLabel(HDC dc, const RECT& r, const std::string& label) const
{
    if (label.empty())
        return;
    SelectedObject font(dc, font_.get());
    const int length = static_cast<int>(label.size());
    SIZE extent{};
    GetTextExtentPoint32A(dc, label.c_str(), length, &extent);
    const int x = static_cast<int>(std::lround((r.left + r.right) / 2.0 - (extent.cx - 3) / 2.0));
    const int y = static_cast<int>(std::lround((r.top + r.bottom) / 2.0 - extent.cy / 2.0));
    const RECT inner{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    const bool overflows = x < inner.left || y < inner.top || x + extent.cx > inner.right || y + extent.cy > inner.bottom;
    Region clip;
    if (overflows) {
        clip.reset(CreateRectRgnIndirect(&inner));
        SelectClipRgn(dc, clip.get());
    }
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TextOutA(dc, x, y, label.c_str(), length);
    if (overflows)
        SelectClipRgn(dc, nullptr);
}

// ---- QuorRowHeaderObj ----

QuorRowHeaderObj::QuorRowHeaderObj() = default;

QuorRowHeaderObj::~QuorRowHeaderObj()
{
    if (window_)
        DestroyWindow(window_);
}

bool QuorRowHeaderObj::create(HWND grid)
{
    if (window_ || !grid || !class_.take(rowHeaderClass(&QuorRowHeaderObj::windowProc)))
        return false;
    grid_ = grid;
    painter_ = std::make_unique<RowButtonPainter>();
    RECT client{};
    GetClientRect(grid, &client);
    CreateWindowExA(0, kClassName, "", kWindowStyle, 0, 0, kButtonWidth, client.bottom, grid, nullptr,
                    codeModule(), this);
    return window_ != nullptr;
}

int QuorRowHeaderObj::addButton()
{
    if (buttonCount() >= kMaxButtons)
        return kMaxButtons;
    if (buttons_.empty())
        appendButton("");
    appendButton(std::to_string(buttonCount()));
    return buttonCount();
}

void QuorRowHeaderObj::appendButton(std::string label)
{
    buttons_.emplace_back(buttonCount(), kButtonWidth, kButtonHeight, std::move(label));
    if (window_)
        InvalidateRect(window_, &buttons_.back().rect(), FALSE);
}

HRESULT QuorRowHeaderObj::setLabel(int index, const char* text)
{
    if (index < 0 || index >= buttonCount())
        return S_FALSE;
    buttons_[index].setLabel(text ? text : "");
    redrawButton(index);
    if (window_)
        UpdateWindow(window_);
    return S_OK;
}

std::string QuorRowHeaderObj::label(int index) const
{
    return index >= 0 && index < buttonCount() ? buttons_[index].label() : std::string();
}

void QuorRowHeaderObj::renumber(int firstVisibleRow)
{
    // Every numbered button, the last one too: a stale number on a button
    // would name another row than the one its click selects.
    // Paging sets the same first row again and again: a button whose number
    // stays is not repainted.
    bool changed = false;
    for (int i = 1; i < buttonCount(); ++i) {
        std::string number = std::to_string(firstVisibleRow + i);
        if (buttons_[i].label() == number)
            continue;
        buttons_[i].setLabel(number);
        redrawButton(i);
        changed = true;
    }
    if (window_ && changed)
        UpdateWindow(window_);
}

void QuorRowHeaderObj::show(bool visible)
{
    shown_ = visible;
    if (window_)
        ShowWindow(window_, visible ? SW_SHOW : SW_HIDE);
}

void QuorRowHeaderObj::layout(int controlHeight, int rowHeight, bool columnHeaderShown)
{
    if (rowHeight <= 0)
        return;
    const int missing = controlHeight / rowHeight - buttonCount();
    for (int i = 0; i < missing; ++i)
        addButton();
    if (!shown_ || !window_)
        return;
    // With the column header hidden the corner button goes above the top.
    const int top = columnHeaderShown ? 0 : -rowHeight;
    const int height = columnHeaderShown ? controlHeight : controlHeight + rowHeight;
    SetWindowPos(window_, nullptr, 0, top, kButtonWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK QuorRowHeaderObj::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return quor::routeToOwner(window, message, wParam, lParam, &QuorRowHeaderObj::window_,
                              &QuorRowHeaderObj::handleMessage);
}

LRESULT QuorRowHeaderObj::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_PRINTCLIENT:
        print(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        onButtonDown(point);
        return 0;
    case WM_LBUTTONDBLCLK:
        onButtonDown(point);
        onButtonUp(point);
        return 0;
    case WM_MOUSEMOVE:
        onMouseMove(point);
        return 0;
    case WM_LBUTTONUP:
        // The grid hears of the release before the button's command.
        PostMessageA(grid_, message, wParam, lParam);
        onButtonUp(point);
        return 0;
    case WM_RBUTTONUP:
        PostMessageA(grid_, message, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window_)
            onCaptureLost();
        return 0;
    default:
        return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void QuorRowHeaderObj::paint()
{
    PaintDC dc(window_);
    paintInto(dc.get(), dc.area());
}

void QuorRowHeaderObj::paintInto(HDC dc, const RECT& area) const
{
    // Most of the buttons lie below the window's bottom edge.
    RECT overlap;
    for (const RowButton& button : buttons_) {
        if (IntersectRect(&overlap, &button.rect(), &area))
            painter_->draw(dc, button, isPressed(button.index()));
    }
}

// WM_PRINTCLIENT: the buttons as they look now, into someone else's DC.
void QuorRowHeaderObj::print(HDC dc) const
{
    RECT client;
    GetClientRect(window_, &client);
    paintInto(dc, client);
}

void QuorRowHeaderObj::redrawButton(int index)
{
    if (window_)
        InvalidateRect(window_, &buttons_[index].rect(), FALSE);
}

int QuorRowHeaderObj::buttonAt(POINT point) const
{
    // Neighbouring rectangles share a pixel row; the upper button takes it,
    // so one click never presses two buttons.
    for (const RowButton& button : buttons_) {
        if (button.contains(point))
            return button.index();
    }
    return -1;
}

void QuorRowHeaderObj::onButtonDown(POINT point)
{
    const int index = buttonAt(point);
    if (index < 0)
        return;
    tracked_ = index;
    trackedLooksPressed_ = true;
    SetCapture(window_);
    redrawButton(index);
    UpdateWindow(window_);
}

void QuorRowHeaderObj::onMouseMove(POINT point)
{
    if (tracked_ < 0)
        return;
    const bool inside = buttons_[tracked_].contains(point);
    if (inside != trackedLooksPressed_) {
        trackedLooksPressed_ = inside;
        redrawButton(tracked_);
        UpdateWindow(window_);
    }
}

void QuorRowHeaderObj::onButtonUp(POINT point)
{
    if (tracked_ < 0)
        return;
    const int index = tracked_;
    const bool wasPressed = trackedLooksPressed_;
    tracked_ = -1;
    trackedLooksPressed_ = false;
    ReleaseCapture();
    if (wasPressed && buttons_[index].contains(point))
        postRowButtonCommand(grid_, index);
    redrawButton(index);
    UpdateWindow(window_);
}

void QuorRowHeaderObj::onCaptureLost()
{
    if (tracked_ < 0)
        return;
    const int index = tracked_;
    tracked_ = -1;
    trackedLooksPressed_ = false;
    redrawButton(index);
}

}  // namespace quor
