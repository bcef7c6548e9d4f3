#include "PlotWindow.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

#include "Text.h"
#include "WindowClass.h"

namespace quor {

namespace {

const char kClassName[] = "QuorDataPlot";
const char kTitlePrefix[] = "QUOR Data Plot - ";

const int kLeftMargin = 80;
const int kRightMargin = 16;
const int kTopMargin = 12;
const int kTimeAxisHeight = 24;
const int kBandGap = 6;
const int kStripHeight = 40;  // two lines: the cursors, then Δt and what was done last
const int kMostTableRows = 9;  // lanes beyond scroll in the grid
const int kButtonWidth = 104;
const int kButtonHeight = 24;
const int kWidth = 1000, kHeight = 700;
const int kNarrowest = 420, kLowest = 300;
const UINT kFileCheckMs = 1000;
// The lanes' progress notes are drawn together at most this often.
const UINT kNotesMs = 40;

quor::WindowClassUse& plotClass(WNDPROC procedure)
{
    static quor::WindowClassUse use(kClassName, [procedure] {
        WNDCLASSEXA wc = {};
        wc.lpfnWndProc = procedure;
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.hCursor = LoadCursor(nullptr, IDC_CROSS);
        return wc;
    }());
    return use;
}

// Beside the dialog, on its monitor: on the side with more room, narrowed to
// it when need be; over the dialog only when neither side can hold a usable
// window.
RECT besideOwner(HWND owner, int width, int height, int narrowest)
{
    RECT dialog{};
    GetWindowRect(owner, &dialog);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int rightRoom = work.right - dialog.right, leftRoom = dialog.left - work.left;
    const bool right = rightRoom >= leftRoom;
    const int room = right ? rightRoom : leftRoom;
    width = std::min<int>(width, work.right - work.left);
    height = std::min<int>(height, work.bottom - work.top);
    int x = work.right - width;
    if (room >= narrowest) {
        width = std::min(width, room);
        x = right ? dialog.right : dialog.left - width;
    }
    const int y = std::max<int>(work.top, std::min<int>(dialog.top, work.bottom - height));
    return RECT{x, y, x + width, y + height};
}

HWND createButton(HWND parent, const char* text, int id, DWORD visible)
{
    HWND button = CreateWindowExA(0, "BUTTON", text, WS_CHILD | visible | BS_PUSHBUTTON, 0, 0, kButtonWidth,
                                  kButtonHeight, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  quor::codeModule(), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return button;
}

}  // namespace

const char PlotWindow::kNoValues[] = "No numeric values to plot";
const char PlotWindow::kNoSamples[] = "No samples";
const char PlotWindow::kFileNotFound[] = "File not found";
const COLORREF PlotWindow::kSignalColour = kPalette[0];
const COLORREF PlotWindow::kPageColour = RGB(214, 228, 250);

PlotWindow::PlotWindow(GoToTime goTo) : goTo_(std::move(goTo)) {}

PlotWindow::~PlotWindow() { close(); }

// The picture is made before the window shows, so that its first paint
// already has it.
bool PlotWindow::create(HWND owner)
{
    if (!classHold_.take(plotClass(&quor::ownedWindowProc<PlotWindow>)))
        return false;
    const RECT place = besideOwner(owner, kWidth, kHeight, kNarrowest);
    CreateWindowExA(WS_EX_ACCEPTFILES, kClassName, kTitlePrefix, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.left,
                    place.top, place.right - place.left, place.bottom - place.top, owner, createPlotMenuBar(),
                    quor::codeModule(), this);
    return window_ != nullptr;
}

bool PlotWindow::show(HWND owner, const char* dataFilePath)
{
    if (window_) {
        follow(dataFilePath);
        bringToFront();
        return true;
    }
    if (!create(owner))
        return false;
    linkFile(dataFilePath);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    return true;
}

void PlotWindow::follow(const char* dataFilePath)
{
    if (window_)
        linkFile(dataFilePath);
}

void PlotWindow::bringToFront()
{
    if (!window_)
        return;
    if (IsIconic(window_))
        ShowWindow(window_, SW_RESTORE);
    SetForegroundWindow(window_);
}

void PlotWindow::close()
{
    if (window_)
        DestroyWindow(window_);
}

void PlotWindow::setTitle()
{
    SetWindowTextA(window_, (std::string(kTitlePrefix) + path()).c_str());
}

void PlotWindow::setPage(bool shown, int64_t first, int64_t last)
{
    hasPage_ = shown;
    pageFirst_ = std::min(first, last);
    pageLast_ = std::max(first, last);
    if (window_)
        changed();
}

void PlotWindow::setCursor(bool b, int64_t time)
{
    cursors_.set(b, PlotCursor{true, time});
    changed();
}

LRESULT PlotWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: onCreate(); return 0;
    case WM_DESTROY: onDestroy(); return 0;
    case WM_SIZE: onSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{kNarrowest, kLowest};
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: onPaint(); return 0;
    case WM_MOUSEWHEEL: onMouseWheel(wParam, lParam); return 0;
    case WM_LBUTTONDOWN: onLeftDown(lParam); return 0;
    case WM_LBUTTONUP: onLeftUp(wParam, lParam); return 0;
    case WM_LBUTTONDBLCLK: onDoubleClick(lParam); return 0;
    case WM_RBUTTONDOWN: onRightDown(lParam); return 0;
    case WM_RBUTTONUP: onRightUp(lParam); return 0;
    case WM_MOUSEMOVE: onMouseMove(lParam); return 0;
    case WM_CAPTURECHANGED: onCaptureChanged(); return 0;
    case WM_INITMENUPOPUP: onInitMenu(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_KEYDOWN: if (onKey(wParam)) return 0; break;
    case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
    case WM_DROPFILES: addDroppedFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_TIMER: onTimer(wParam); return 0;
    case WM_ACTIVATE: onActivate(wParam); break;
    case kSummaryNote: onSummaryNote(static_cast<int>(wParam)); return 0;
    case kExportNote: onExportNote(); return 0;
    default: break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void PlotWindow::onCreate()
{
    exportButton_ = createButton(window_, "Export A-B...", kExportButton, WS_VISIBLE);
    cancelButton_ = createButton(window_, "Cancel", kCancelButton, 0);
    table_.create(window_, kTableId);
    if (table_.window())
        ShowWindow(table_.window(), SW_SHOW);
    SetTimer(window_, kFileTimer, kFileCheckMs, nullptr);
}

// The workers go before the window: their notes must find no stale window.
void PlotWindow::onDestroy()
{
    KillTimer(window_, kExportTimer);
    KillTimer(window_, kFileTimer);
    KillTimer(window_, kNotesTimer);
    notesTimer_ = false;
    exporter_.cancel();
    exporter_.finish();
    clearLanes();
    table_.destroy();
    history_.clear();
    cursors_.clear();
}

void PlotWindow::onSize(int width, int height)
{
    client_ = RECT{0, 0, width, height};
    layout();
    canvas_.resize(width, height);
    render();
}

// The plot area on top, the time axis under it, then the strip and the
// readout table, one row per lane.
void PlotWindow::layout()
{
    // The heading row, then the lanes' rows, above the grid's horizontal
    // scroll bar: the figures may be wider than the window.
    const int rows = std::min(lanes_.count(), kMostTableRows) + 1;
    const int tableHeight = rows * kTableRowHeight + GetSystemMetrics(SM_CYHSCROLL) + 6;
    const int tableTop = std::max<int>(client_.bottom - tableHeight, 0);
    tableArea_ = RECT{0, tableTop, client_.right, client_.bottom};
    table_.place(tableArea_);
    strip_ = RECT{0, std::max(tableTop - kStripHeight, 0), client_.right, tableTop};
    plotArea_ = RECT{kLeftMargin, kTopMargin, std::max<int>(client_.right - kRightMargin, kLeftMargin + 1),
                     std::max<int>(strip_.top - kTimeAxisHeight, kTopMargin + 1)};
    bands_ = layoutBands(plotArea_.top, plotArea_.bottom, lanes_.bandCount(), kBandGap);
    laidOutLanes_ = lanes_.count();
    const int buttonX = client_.right - kButtonWidth - 8;
    MoveWindow(exportButton_, buttonX, strip_.top + 2, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(cancelButton_, buttonX - kButtonWidth - 6, strip_.top + 2, kButtonWidth, kButtonHeight, TRUE);
}

void PlotWindow::onPaint()
{
    quor::PaintDC paint(window_);
    const RECT& area = paint.area();
    canvas_.flush();
    BitBlt(paint.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, canvas_.dc(),
           area.left, area.top, SRCCOPY);
}

void PlotWindow::onTimer(WPARAM id)
{
    if (id == kFileTimer) {
        checkFiles();
        return;
    }
    if (id == kNotesTimer) {
        takeSummaryNotes();
        return;
    }
    render();
    InvalidateRect(window_, nullptr, FALSE);
}

void PlotWindow::onActivate(WPARAM state)
{
    if (LOWORD(state) != WA_INACTIVE)
        checkFiles();
}

// A note of a lane removed since finds no lane: lane ids are never reused.
void PlotWindow::onSummaryNote(int laneId)
{
    if (PlotLane* lane = laneState(lanes_.indexOf(laneId)))
        lane->noted = true;
    if (!notesTimer_)
        notesTimer_ = SetTimer(window_, kNotesTimer, kNotesMs, nullptr) != 0;
    if (!notesTimer_)
        takeSummaryNotes();
}

// One picture for the notes of every lane that came in a tick: the lanes'
// readers, several at once, keep the cores instead of the window drawing
// after each one. A lane gives no further note until its last is taken.
void PlotWindow::takeSummaryNotes()
{
    if (notesTimer_)
        KillTimer(window_, kNotesTimer);
    notesTimer_ = false;
    for (auto& state : states_) {
        if (!state.second->noted)
            continue;
        state.second->noted = false;
        state.second->recording.noteTaken();
        state.second->stale = true;
    }
    changed();
}

int64_t PlotWindow::timeAtX(int x) const { return view_.timeAtColumn(x - plotArea_.left, plotWidth()); }

int PlotWindow::columnOf(int64_t time) const
{
    const int64_t column = view_.columnOfTime(time, plotWidth());
    return static_cast<int>(std::min<int64_t>(std::max<int64_t>(column, -1), plotWidth())) + plotArea_.left;
}

bool PlotWindow::inPlot(int x, int y) const
{
    return x >= plotArea_.left && x < plotArea_.right && y >= plotArea_.top && y < plotArea_.bottom;
}

RECT PlotWindow::laneRect(int lane) const
{
    const int band = lane >= 0 && lane < lanes_.count() ? lanes_.bandOf(lane) : -1;
    if (band < 0 || band >= static_cast<int>(bands_.size()))
        return RECT{};
    return RECT{plotArea_.left, bands_[band].top, plotArea_.right, bands_[band].bottom};
}

void PlotWindow::showCancel()
{
    const bool running = exporter_.running() || reading();
    const bool shown = (GetWindowLongA(cancelButton_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != running)
        ShowWindow(cancelButton_, running ? SW_SHOW : SW_HIDE);
}

void PlotWindow::changed()
{
    if (!window_)
        return;
    if (bands_.size() != size_t(lanes_.bandCount()) || laidOutLanes_ != lanes_.count())
        layout();
    showCancel();
    render();
    InvalidateRect(window_, nullptr, FALSE);
}

}  // namespace quor
