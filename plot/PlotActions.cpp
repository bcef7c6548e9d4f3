// What the plot window does beyond drawing: Find on a lane, Export A-B of
// every lane as one merge, and the copy of the whole picture.
#include <ole2.h>
#include <wrl/client.h>

#include <algorithm>
#include <limits>

#include "FilePrompt.h"
#include "PlotWindow.h"
#include "Text.h"

namespace quor {

namespace {

const char kExportCaption[] = "Export A-B";
const char kNotFound[] = "Not found";
const char kOnlyReadPart[] = "\r\n\r\nOnly the part of the file read so far was searched.";
const int64_t kLatest = std::numeric_limits<int64_t>::max();
const int64_t kEarliest = std::numeric_limits<int64_t>::min();

// The search runs past its start: forward from the first time after it,
// backward from the last time before it, so that F3 moves on from a hit.
FindRequest requestFrom(int64_t start, bool after, bool backward, const PlotFindChoice& choice)
{
    FindRequest request;
    request.condition = choice.condition;
    request.threshold = choice.threshold;
    if (backward) {
        request.from = kEarliest;
        request.to = after && start > kEarliest ? start - 1 : start;
        request.last = true;
    } else {
        request.from = after && start < kLatest ? start + 1 : start;
        request.to = kLatest;
    }
    return request;
}

}  // namespace

// ---- find ----

void PlotWindow::askFind()
{
    if (lanes_.count() == 0)
        return;
    std::vector<std::string> labels;
    for (const LaneReadout& row : readout_.rows)
        labels.push_back(row.label);
    PlotFindChoice choice = findChoice_;
    const int last = lanes_.indexOf(findLaneId_);
    choice.lane = last >= 0 ? last : current_;
    if (!askPlotFind(window_, labels, choice) || choice.lane < 0 || choice.lane >= lanes_.count())
        return;
    findChoice_ = choice;
    findLaneId_ = lanes_.at(choice.lane).id;
    runFind(choice.backward);
}

bool PlotWindow::findFrom(int lane, FindCondition condition, const FindThreshold& threshold, bool backward)
{
    if (lane < 0 || lane >= lanes_.count())
        return false;
    findChoice_.lane = lane;
    findChoice_.condition = condition;
    findChoice_.threshold = threshold;
    findChoice_.backward = backward;
    findLaneId_ = lanes_.at(lane).id;
    return runFind(backward);
}

bool PlotWindow::findAgain(bool backward)
{
    if (lanes_.indexOf(findLaneId_) < 0) {
        askFind();
        return cursors_.a().placed;
    }
    return runFind(backward);
}

// From A, or from the view's start when A is not placed, in the lane's
// shifted times; A goes onto the hit. While the file is read the part read
// is searched, and a miss says so.
bool PlotWindow::runFind(bool backward)
{
    const int index = lanes_.indexOf(findLaneId_);
    PlotLane* lane = laneState(index);
    if (!lane || !lane->found)
        return false;
    const int64_t offset = lanes_.at(index).settings.offset;
    const bool fromA = cursors_.a().placed;
    const int64_t start = fileTimeOf(fromA ? cursors_.a().time : view_.span().from, offset);
    std::vector<FoundSample> hits;
    if (lane->recording.find(requestFrom(start, fromA, backward, findChoice_), &hits) == S_OK && !hits.empty()) {
        const int64_t time = shiftedTime(hits.front().time, offset);
        cursors_.set(false, PlotCursor{true, time});
        bringIntoView(time);
        return true;
    }
    const std::string text = std::string(kNotFound) + (lane->recording.summarised() ? "" : kOnlyReadPart);
    MessageBoxA(window_, text.c_str(), kFindCaption, MB_OK | MB_ICONINFORMATION);
    return false;
}

// A time out of view is brought to the middle of it, the zoom kept.
void PlotWindow::bringIntoView(int64_t time)
{
    const TimeSpan span = view_.span();
    if (time < span.from || time > span.to) {
        const int64_t half = span.length() / 2;
        const int64_t from = time > kEarliest + half ? time - half : kEarliest;
        changeView([&] { view_.zoomTo(from, from + (span.length() - 1)); });
    } else {
        changed();
    }
}

// ---- export ----

bool PlotWindow::askForExportFile(std::string& path)
{
    FilePrompt prompt;
    prompt.owner = window_;
    prompt.title = "Save Export File";
    prompt.filter = dialogFilter("|*.csv|*.csv|");
    prompt.name = "QuorExportFile.csv";
    prompt.flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    return askFileName(FilePromptKind::save, prompt, path);
}

// Every lane whose file holds values, with its offset, between the cursors
// in shown times: the bytes of `quordata merge --from A --to B`.
void PlotWindow::startExport()
{
    if (!cursors_.bothPlaced() || exporter_.running() || !plottable())
        return;
    MergeRequest request;
    for (int k = 0; k < lanes_.count(); ++k) {
        const PlotLane* lane = laneState(k);
        if (lane && lane->found && lane->recording.plottable())
            request.files.push_back(MergeFile{lanes_.at(k).settings.path, lanes_.at(k).settings.offset});
    }
    request.hasFrom = request.hasTo = true;
    request.from = std::min(cursors_.a().time, cursors_.b().time);
    request.to = std::max(cursors_.a().time, cursors_.b().time);
    if (!askForExportFile(exportPath_) || !exporter_.start(request, exportPath_, window_, kExportNote))
        return;
    notice_.clear();
    SetTimer(window_, kExportTimer, 100, nullptr);
    changed();
}

void PlotWindow::onExportNote()
{
    int64_t rows = 0;
    const MergeResult result = exporter_.finish(&rows);
    KillTimer(window_, kExportTimer);
    Text text;
    if (result == MergeResult::ok)
        notice_ = text.format("Wrote %lld rows to %s", static_cast<long long>(rows), exportPath_.c_str()).str();
    changed();
    if (result == MergeResult::ok || result == MergeResult::cancelled)
        return;
    if (result == MergeResult::writeFailed)
        text.format("Unable to Write File: %s", exportPath_.c_str());
    else
        text.format("Unable to Read File: %s", exporter_.failedPath().c_str());
    MessageBoxA(window_, text.c_str(), kExportCaption, MB_OK | MB_ICONSTOP);
}

// ---- clipboard ----

// The whole picture: the lanes, the strip and the readout table.
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
        copyTable(copyDC.get());
    }
    if (quor::handToClipboard(window_, CF_BITMAP, copy.get()))
        copy.release();  // the clipboard owns it now
}

// The grid draws itself into the copy, as a control draws into a
// container's picture, where it lies in the window.
void PlotWindow::copyTable(HDC dc) const
{
    if (!table_.window() || !table_.grid())
        return;
    Microsoft::WRL::ComPtr<IViewObject> view;
    if (FAILED(table_.grid()->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(view.GetAddressOf()))))
        return;
    RECT place{};
    GetWindowRect(table_.window(), &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    const RECTL bounds{place.left, place.top, place.right, place.bottom};
    view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0);
}

}  // namespace quor
