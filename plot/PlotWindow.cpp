#include "PlotWindow.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "FilePrompt.h"
#include "Text.h"
#include "WindowClass.h"

namespace quor {

namespace {

const char kClassName[] = "QuorDataPlot";
const char kTitlePrefix[] = "QUOR Data Plot - ";
const char kExportCaption[] = "Export A-B";

const int kLeftMargin = 80;
const int kRightMargin = 16;
const int kTopMargin = 12;
const int kTimeAxisHeight = 24;
const int kStripHeight = 72;  // four lines of readout
const int kButtonWidth = 104;
const int kButtonHeight = 24;
const int kDragThreshold = 3;
const int kWidth = 1000, kHeight = 600;
const int kNarrowest = 420, kLowest = 260;
const UINT_PTR kExportTimer = 1;
const UINT_PTR kFileTimer = 2;
const UINT kFileCheckMs = 1000;

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

// -1 when the file cannot be seen.
int64_t fileSize(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    return static_cast<int64_t>((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

}  // namespace

const char PlotWindow::kNoValues[] = "No numeric values to plot";
const char PlotWindow::kNoSamples[] = "No samples";
const COLORREF PlotWindow::kSignalColour = RGB(0, 0, 160);
const COLORREF PlotWindow::kPageColour = RGB(214, 228, 250);

PlotWindow::PlotWindow(GoToTime goTo) : goTo_(std::move(goTo)) {}

PlotWindow::~PlotWindow() { close(); }

bool PlotWindow::show(HWND owner, const char* dataFilePath)
{
    if (!window_) {
        if (!classHold_.take(plotClass(&quor::ownedWindowProc<PlotWindow>)))
            return false;
        // The picture is made before the window shows, so that its first
        // paint already has it.
        const RECT place = besideOwner(owner, kWidth, kHeight, kNarrowest);
        CreateWindowExA(0, kClassName, kTitlePrefix, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, owner, nullptr, quor::codeModule(),
                        this);
        if (!window_)
            return false;
        openFile(dataFilePath);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
    } else {
        follow(dataFilePath);
        bringToFront();
    }
    return true;
}

void PlotWindow::follow(const char* dataFilePath)
{
    if (window_)
        openFile(dataFilePath);
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

void PlotWindow::openFile(const char* path)
{
    exporter_.cancel();
    exporter_.finish();
    // The size first: what is appended while the summary opens is F5's.
    fileSize_ = fileSize(path);
    recording_.open(path, window_, kSummaryNote);
    envelopeStale_ = true;
    const TimeSpan extent = recording_.hasSamples() ? recording_.extent() : TimeSpan{0, 999999999};
    view_.setRecording(extent.from, extent.to, recording_.shortestSpan());
    hasA_ = hasB_ = false;
    setTitle();
    changed();
}

bool PlotWindow::addRecording(const std::string& path)
{
    if (!window_ || !recording_.path().empty())
        return false;
    openFile(path.c_str());
    return true;
}

int PlotWindow::laneCount() const { return recording_.path().empty() ? 0 : 1; }

bool PlotWindow::openWorkspace(HWND, const std::string&) { return false; }

bool PlotWindow::saveWorkspace(const std::string&) { return false; }

void PlotWindow::zoomBack() {}

void PlotWindow::setTitle()
{
    SetWindowTextA(window_, (std::string(kTitlePrefix) + recording_.path()).c_str());
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
    (b ? hasB_ : hasA_) = true;
    (b ? cursorB_ : cursorA_) = time;
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
    case WM_CAPTURECHANGED: leftDown_ = dragging_ = boxing_ = false; return 0;
    case WM_KEYDOWN:
        if (onKey(wParam))
            return 0;
        break;
    case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
    case WM_TIMER: onTimer(wParam); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            checkFile();
        break;
    default:
        if (message == kSummaryNote) {
            onSummaryNote();
            return 0;
        }
        if (message == kExportNote) {
            onExportNote();
            return 0;
        }
        break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void PlotWindow::onTimer(WPARAM id)
{
    if (id == kFileTimer) {
        checkFile();
        return;
    }
    render();
    InvalidateRect(window_, nullptr, FALSE);
}

// A file cut shorter under the plot is read anew: the picture must not hold
// samples the file no longer has. The cursors stay where they were.
void PlotWindow::checkFile()
{
    if (recording_.path().empty() || fileSize(recording_.path().c_str()) >= fileSize_)
        return;
    const bool hadA = hasA_, hadB = hasB_;
    const int64_t a = cursorA_, b = cursorB_;
    openFile(recording_.path().c_str());
    hasA_ = hadA;
    hasB_ = hadB;
    cursorA_ = a;
    cursorB_ = b;
    changed();
}

void PlotWindow::onCreate()
{
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    exportButton_ = CreateWindowExA(0, "BUTTON", "Export A-B...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0,
                                    kButtonWidth, kButtonHeight, window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kExportButton)),
                                    quor::codeModule(), nullptr);
    cancelButton_ = CreateWindowExA(0, "BUTTON", "Cancel", WS_CHILD | BS_PUSHBUTTON, 0, 0, kButtonWidth,
                                    kButtonHeight, window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelButton)),
                                    quor::codeModule(), nullptr);
    for (HWND button : {exportButton_, cancelButton_})
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetTimer(window_, kFileTimer, kFileCheckMs, nullptr);
}

// The workers go before the window: their notes must find no stale window.
void PlotWindow::onDestroy()
{
    KillTimer(window_, kExportTimer);
    KillTimer(window_, kFileTimer);
    exporter_.cancel();
    exporter_.finish();
    recording_.stop();
}

void PlotWindow::onSize(int width, int height)
{
    client_ = RECT{0, 0, width, height};
    layout();
    canvas_.resize(width, height);
    render();
}

void PlotWindow::layout()
{
    strip_ = RECT{0, std::max<int>(client_.bottom - kStripHeight, 0), client_.right, client_.bottom};
    plotArea_ = RECT{kLeftMargin, kTopMargin, std::max<int>(client_.right - kRightMargin, kLeftMargin + 1),
                     std::max<int>(strip_.top - kTimeAxisHeight, kTopMargin + 1)};
    const int buttonX = client_.right - kButtonWidth - 8;
    MoveWindow(exportButton_, buttonX, strip_.top + 6, kButtonWidth, kButtonHeight, TRUE);
    MoveWindow(cancelButton_, buttonX, strip_.top + 6 + kButtonHeight + 4, kButtonWidth, kButtonHeight, TRUE);
}

void PlotWindow::onPaint()
{
    quor::PaintDC paint(window_);
    const RECT& area = paint.area();
    canvas_.flush();
    BitBlt(paint.get(), area.left, area.top, area.right - area.left, area.bottom - area.top, canvas_.dc(),
           area.left, area.top, SRCCOPY);
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

void PlotWindow::showCancel()
{
    const bool running = exporter_.running() || recording_.reading();
    const bool shown = (GetWindowLongA(cancelButton_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != running)
        ShowWindow(cancelButton_, running ? SW_SHOW : SW_HIDE);
}

void PlotWindow::changed()
{
    if (!window_)
        return;
    showCancel();
    render();
    InvalidateRect(window_, nullptr, FALSE);
}

// ---- mouse and keys ----

void PlotWindow::onMouseWheel(WPARAM wParam, LPARAM lParam)
{
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window_, &at);
    const double notches = GET_WHEEL_DELTA_WPARAM(wParam) / double(WHEEL_DELTA);
    view_.zoomAround(at.x - plotArea_.left, plotWidth(), std::pow(0.5, notches * 0.5));
    changed();
}

void PlotWindow::onLeftDown(LPARAM lParam)
{
    SetFocus(window_);
    if (!inPlot(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
        return;
    leftDown_ = true;
    dragging_ = false;
    clickUndo_.valid = false;
    downX_ = lastX_ = GET_X_LPARAM(lParam);
    SetCapture(window_);
}

void PlotWindow::onLeftUp(WPARAM wParam, LPARAM lParam)
{
    if (!leftDown_)
        return;
    const bool click = !dragging_;
    leftDown_ = dragging_ = false;
    ReleaseCapture();
    if (!click)
        return;
    const bool b = (wParam & MK_SHIFT) != 0;
    clickUndo_ = CursorUndo{true, b, b ? hasB_ : hasA_, b ? cursorB_ : cursorA_};
    setCursor(b, timeAtX(GET_X_LPARAM(lParam)));
}

void PlotWindow::onRightDown(LPARAM lParam)
{
    SetFocus(window_);
    if (!inPlot(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)))
        return;
    boxing_ = true;
    boxFrom_ = boxTo_ = GET_X_LPARAM(lParam);
    SetCapture(window_);
}

void PlotWindow::onRightUp(LPARAM lParam)
{
    if (!boxing_)
        return;
    boxing_ = false;
    boxTo_ = GET_X_LPARAM(lParam);
    ReleaseCapture();
    const int left = std::min(boxFrom_, boxTo_), right = std::max(boxFrom_, boxTo_);
    if (right - left >= kDragThreshold)
        view_.zoomTo(timeAtX(left), timeAtX(right + 1) - 1);
    changed();
}

void PlotWindow::onMouseMove(LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam);
    if (boxing_) {
        boxTo_ = x;
        changed();
    } else if (leftDown_) {
        if (!dragging_ && std::abs(x - downX_) < kDragThreshold)
            return;
        dragging_ = true;
        view_.panPixels(lastX_ - x, plotWidth());
        lastX_ = x;
        changed();
    }
}

void PlotWindow::onDoubleClick(LPARAM lParam)
{
    if (clickUndo_.valid) {
        clickUndo_.valid = false;
        (clickUndo_.b ? hasB_ : hasA_) = clickUndo_.had;
        (clickUndo_.b ? cursorB_ : cursorA_) = clickUndo_.time;
        changed();
    }
    const int x = GET_X_LPARAM(lParam);
    if (inPlot(x, GET_Y_LPARAM(lParam)) && goTo_)
        goTo_(timeAtX(x));
}

bool PlotWindow::onKey(WPARAM key)
{
    const int middle = plotWidth() / 2;
    switch (key) {
    case VK_HOME: view_.showAll(); break;
    case VK_LEFT: view_.panFraction(-0.1); break;
    case VK_RIGHT: view_.panFraction(0.1); break;
    case VK_ADD:
    case VK_OEM_PLUS: view_.zoomAround(middle, plotWidth(), 0.5); break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: view_.zoomAround(middle, plotWidth(), 2.0); break;
    case VK_F5: refresh(); break;
    case 'C':
        if (GetKeyState(VK_CONTROL) >= 0)
            return false;
        copyToClipboard();
        return true;
    default: return false;
    }
    changed();
    return true;
}

void PlotWindow::refresh()
{
    fileSize_ = fileSize(recording_.path().c_str());
    recording_.refresh();
    envelopeStale_ = true;
    if (recording_.hasSamples())
        view_.extendRecording(recording_.extent().to);
}

void PlotWindow::onCommand(WORD id)
{
    if (id == kExportButton) {
        startExport();
    } else if (id == kCancelButton) {
        // One button stops what runs: the export, or else the reading.
        if (exporter_.running())
            exporter_.cancel();
        else
            recording_.cancelReading();
        envelopeStale_ = true;
        changed();
    }
    SetFocus(window_);
}

void PlotWindow::onSummaryNote()
{
    recording_.noteTaken();
    envelopeStale_ = true;
    changed();
}

// ---- export ----

bool PlotWindow::askForExportFile(std::string& path)
{
    quor::FilePrompt prompt;
    prompt.owner = window_;
    prompt.title = "Save Export File";
    prompt.filter = quor::dialogFilter("|*.csv|*.csv|");
    prompt.name = "QuorExportFile.csv";
    prompt.flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    std::string name;
    if (!quor::askFileName(quor::FilePromptKind::save, prompt, name))
        return false;
    path = name;
    return true;
}

void PlotWindow::startExport()
{
    if (!hasA_ || !hasB_ || !recording_.plottable() || exporter_.running())
        return;
    if (!askForExportFile(exportPath_))
        return;
    if (!exporter_.start(recording_.path(), std::min(cursorA_, cursorB_), std::max(cursorA_, cursorB_),
                         exportPath_, window_, kExportNote))
        return;
    SetTimer(window_, kExportTimer, 100, nullptr);
    changed();
}

void PlotWindow::onExportNote()
{
    const RangeExportResult result = exporter_.finish();
    KillTimer(window_, kExportTimer);
    changed();
    if (result == RangeExportResult::ok || result == RangeExportResult::cancelled)
        return;
    Text text;
    text.format("Unable to Write File: %s", exportPath_.c_str());
    MessageBoxA(window_, text.c_str(), kExportCaption, MB_OK | MB_ICONSTOP);
}

// ---- clipboard ----

void PlotWindow::copyToClipboard()
{
    canvas_.flush();
    quor::WindowDC screen(window_);
    quor::MemoryDC copyDC(screen.get());
    quor::Bitmap copy(CreateCompatibleBitmap(screen.get(), canvas_.width(), canvas_.height()));
    if (!copy || !copyDC.get())
        return;
    {
        quor::SelectedObject selected(copyDC.get(), copy.get());
        BitBlt(copyDC.get(), 0, 0, canvas_.width(), canvas_.height(), canvas_.dc(), 0, 0, SRCCOPY);
    }
    if (quor::handToClipboard(window_, CF_BITMAP, copy.get()))
        copy.release();  // the clipboard owns it now
}

}  // namespace quor
