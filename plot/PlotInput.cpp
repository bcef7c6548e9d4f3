// The plot window's mouse, keys and commands. Every gesture acts on the
// shared time axis, so all lanes move together; each change of view is
// remembered for Zoom Back.
#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "PlotShiftDialog.h"
#include "PlotWindow.h"

namespace quor {

void PlotWindow::changeView(const std::function<void()>& change)
{
    history_.push(view_.span());
    change();
    changed();
}

void PlotWindow::zoomBack()
{
    TimeSpan previous;
    if (!history_.back(&previous))
        return;
    view_.zoomTo(previous.from, previous.to);
    changed();
}

// The lane whose label holds the point; -1 when none does.
int PlotWindow::laneLabelAt(int x, int y) const
{
    for (size_t k = 0; k < labelRects_.size(); ++k) {
        const RECT& r = labelRects_[k];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return static_cast<int>(k);
    }
    return -1;
}

// ---- mouse ----

void PlotWindow::onMouseWheel(WPARAM wParam, LPARAM lParam)
{
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window_, &at);
    const double notches = GET_WHEEL_DELTA_WPARAM(wParam) / double(WHEEL_DELTA);
    changeView([&] { view_.zoomAround(at.x - plotArea_.left, plotWidth(), std::pow(0.5, notches * 0.5)); });
}

// A press takes the focus; false when it lands outside the plot. *label:
// the lane whose label it lands on, or -1.
bool PlotWindow::pressAt(LPARAM lParam, int* label)
{
    SetFocus(window_);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    *label = inPlot(x, y) ? laneLabelAt(x, y) : -1;
    return inPlot(x, y);
}

// A press on a label picks its lane and does no more; elsewhere it picks
// the band's lane and starts a click or a drag.
void PlotWindow::onLeftDown(LPARAM lParam)
{
    int label = -1;
    if (!pressAt(lParam, &label))
        return;
    if (label >= 0) {
        selectLane(label);
        return;
    }
    const int x = GET_X_LPARAM(lParam);
    const int band = bandAt(bands_, GET_Y_LPARAM(lParam));
    if (band >= 0 && band < lanes_.bandCount())
        current_ = lanes_.lanesOfBand(band).front();
    cursors_.forgetClick();
    gestures_.leftDown(x - plotArea_.left);
    SetCapture(window_);
}

void PlotWindow::onLeftUp(WPARAM wParam, LPARAM lParam)
{
    const bool pressed = gestures_.pressed();
    const bool click = gestures_.leftUp(GET_X_LPARAM(lParam) - plotArea_.left);
    if (pressed)
        ReleaseCapture();
    if (!click)
        return;
    cursors_.place((wParam & MK_SHIFT) != 0, timeAtX(GET_X_LPARAM(lParam)));
    changed();
}

// Right on a lane's label: the lane's menu. Anywhere else in the plot: the
// box that zooms.
void PlotWindow::onRightDown(LPARAM lParam)
{
    int label = -1;
    if (!pressAt(lParam, &label))
        return;
    if (label >= 0) {
        current_ = label;
        onContextMenu(lParam);
        return;
    }
    gestures_.rightDown(GET_X_LPARAM(lParam) - plotArea_.left);
    SetCapture(window_);
}

void PlotWindow::onRightUp(LPARAM lParam)
{
    if (!gestures_.boxing())
        return;
    int left = 0, right = 0;
    const bool box = gestures_.rightUp(GET_X_LPARAM(lParam) - plotArea_.left, &left, &right);
    ReleaseCapture();
    if (box)
        changeView([&] { view_.zoomTo(timeAtX(left + plotArea_.left), timeAtX(right + plotArea_.left + 1) - 1); });
    else
        changed();
}

// A drag is one change of view for Zoom Back, however many moves it takes.
void PlotWindow::onMouseMove(LPARAM lParam)
{
    const bool wasDragging = gestures_.dragging();
    const GestureMove move = gestures_.move(GET_X_LPARAM(lParam) - plotArea_.left);
    if (move.panPixels != 0) {
        if (!wasDragging)
            history_.push(view_.span());
        view_.panPixels(move.panPixels, plotWidth());
    }
    if (move.panPixels != 0 || move.boxMoved)
        changed();
}

void PlotWindow::onCaptureChanged()
{
    if (!gestures_.pressed())
        return;
    gestures_.cancel();
    changed();
}

// The dialog pages to the time in its own file's times: the linked lane's.
void PlotWindow::onDoubleClick(LPARAM lParam)
{
    cursors_.undoClick();
    changed();
    const int x = GET_X_LPARAM(lParam);
    const int linked = lanes_.linkedIndex();
    if (inPlot(x, GET_Y_LPARAM(lParam)) && goTo_ && linked >= 0)
        goTo_(fileTimeOf(timeAtX(x), lanes_.at(linked).settings.offset));
}

void PlotWindow::onContextMenu(LPARAM lParam)
{
    changed();
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(window_, &at);
    OwnedMenu menu = createLaneMenu();
    const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD;
    const WORD chosen = static_cast<WORD>(TrackPopupMenu(menu.get(), flags, at.x, at.y, 0, window_, nullptr));
    if (chosen)
        onCommand(chosen);
}

// Items that cannot act now are greyed; Steps, Lines and Follow show their state.
void PlotWindow::onInitMenu(HMENU menu)
{
    const int n = lanes_.count(), k = current_;
    const bool lane = k >= 0 && k < n;
    const bool overlaid = lane && lanes_.at(k).settings.overlaid;
    const int linked = lanes_.linkedIndex();
    enableItem(menu, PlotCommand::exportAB, cursors_.bothPlaced() && !exporter_.running() && n > 0);
    enableItem(menu, PlotCommand::findNext, findLaneId_ != 0);
    enableItem(menu, PlotCommand::findPrevious, findLaneId_ != 0);
    enableItem(menu, PlotCommand::zoomBack, history_.size() > 0);
    checkItem(menu, PlotCommand::follow, follow_);
    enableItem(menu, PlotCommand::moveUp, lane && lanes_.bandOf(k) > 0);
    enableItem(menu, PlotCommand::moveDown, lane && lanes_.bandOf(k) + 1 < lanes_.bandCount());
    enableItem(menu, PlotCommand::overlay, lane && k > 0 && !overlaid);
    enableItem(menu, PlotCommand::separate, overlaid);
    for (WORD id : {PlotCommand::steps, PlotCommand::lines, PlotCommand::shift, PlotCommand::remove})
        enableItem(menu, id, lane);
    checkItem(menu, PlotCommand::steps, lane && lanes_.at(k).settings.style == LaneStyle::steps);
    checkItem(menu, PlotCommand::lines, lane && lanes_.at(k).settings.style == LaneStyle::lines);
    enableItem(menu, PlotCommand::alignStart, lane && linked >= 0 && k != linked);
}

// ---- keys ----

bool PlotWindow::onKey(WPARAM key)
{
    if (GetKeyState(VK_CONTROL) < 0)
        return onControlKey(key);
    const int middle = plotWidth() / 2;
    // A tenth of the width in whole columns: the columns' edges then mostly
    // stay where they were, and the lanes' summaries keep what they read there.
    const int step = std::max(1, plotWidth() / 10);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
    case VK_HOME: changeView([&] { view_.showAll(); }); return true;
    case VK_LEFT: changeView([&] { view_.panPixels(-step, plotWidth()); }); return true;
    case VK_RIGHT: changeView([&] { view_.panPixels(step, plotWidth()); }); return true;
    case VK_ADD:
    case VK_OEM_PLUS: changeView([&] { view_.zoomAround(middle, plotWidth(), 0.5); }); return true;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: changeView([&] { view_.zoomAround(middle, plotWidth(), 2.0); }); return true;
    case VK_BACK: zoomBack(); return true;
    case VK_F5: onCommand(PlotCommand::refresh); return true;
    case VK_F3: findAgain(shift); return true;
    case VK_DELETE: onCommand(PlotCommand::remove); return true;
    case VK_UP: selectLane(current_ - 1); return true;
    case VK_DOWN: selectLane(current_ + 1); return true;
    default: return false;
    }
}

bool PlotWindow::onControlKey(WPARAM key)
{
    switch (key) {
    case 'C': onCommand(PlotCommand::copy); return true;
    case 'F': onCommand(PlotCommand::find); return true;
    case VK_UP: onCommand(PlotCommand::moveUp); return true;
    case VK_DOWN: onCommand(PlotCommand::moveDown); return true;
    default: return false;
    }
}

// ---- commands ----

void PlotWindow::onCommand(WORD id)
{
    switch (id) {
    case PlotCommand::exportAB: startExport(); break;
    case PlotCommand::cancel: onCancel(); break;
    case PlotCommand::addRecordings: addChosenRecordings(); break;
    case PlotCommand::openWorkspace: askOpenWorkspace(); break;
    case PlotCommand::saveWorkspace: askSaveWorkspace(); break;
    case PlotCommand::close: close(); return;
    case PlotCommand::copy: copyToClipboard(); break;
    case PlotCommand::find: askFind(); break;
    case PlotCommand::findNext: findAgain(false); break;
    case PlotCommand::findPrevious: findAgain(true); break;
    case PlotCommand::zoomBack: zoomBack(); break;
    case PlotCommand::showAll: changeView([&] { view_.showAll(); }); break;
    case PlotCommand::follow: follow_ = !follow_; followEnd(); changed(); break;
    case PlotCommand::refresh: refresh(); changed(); break;
    default: runLaneCommand(id); break;
    }
    if (window_)
        SetFocus(window_);
}

// The Lane menu acts on the current lane.
bool PlotWindow::runLaneCommand(WORD id)
{
    const int k = current_;
    if (k < 0 || k >= lanes_.count())
        return false;
    const int laneId = lanes_.at(k).id;
    switch (id) {
    case PlotCommand::moveUp: lanes_.moveUp(k); break;
    case PlotCommand::moveDown: lanes_.moveDown(k); break;
    case PlotCommand::overlay: lanes_.overlay(k); break;
    case PlotCommand::separate: lanes_.separate(k); break;
    case PlotCommand::steps: setStyle(k, LaneStyle::steps); return true;
    case PlotCommand::lines: setStyle(k, LaneStyle::lines); return true;
    case PlotCommand::alignStart: alignStart(k); return true;
    case PlotCommand::remove: removeLane(k); return true;
    case PlotCommand::shift: askShift(k); return true;
    default: return false;
    }
    // The lane stays current wherever it moved.
    current_ = lanes_.indexOf(laneId);
    changed();
    return true;
}

void PlotWindow::askShift(int index)
{
    int64_t offset = lanes_.at(index).settings.offset;
    if (askLaneShift(window_, offset))
        shiftLane(index, offset);
}

// One button stops what runs: the export, or else the lanes' reading (what
// was read stays drawn).
void PlotWindow::onCancel()
{
    if (exporter_.running()) {
        exporter_.cancel();
    } else {
        for (auto& state : states_)
            state.second->recording.cancelReading();
    }
    for (auto& state : states_)
        state.second->stale = true;
    changed();
}

}  // namespace quor
