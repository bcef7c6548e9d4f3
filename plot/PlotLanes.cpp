// The lanes of the plot window: adding them (the dialog's file, the Add
// Recordings prompt, dropped files, a workspace file), removing them,
// shifting them, and following their files as they grow or shrink.
#include <algorithm>
#include <limits>

#include "FilePrompt.h"
#include "PlotWindow.h"
#include "Text.h"

namespace quor {

namespace {

const char kDataFilter[] = "|QUOR Data Files|*.quorData;*.ZIBdata;*.LittleEndianZIBdata|All Files|*.*|";
const char kWorkspaceFilter[] = "|QUOR Workspaces|*.quorWorkspace|";
const char kWorkspaceCaption[] = "Open Workspace";
// A view for a workspace without samples: one second from zero.
const TimeSpan kEmptyExtent{0, 999999999};

}  // namespace

const std::string& PlotWindow::path() const
{
    static const std::string none;
    const int linked = lanes_.linkedIndex();
    return linked >= 0 ? lanes_.at(linked).settings.path : none;
}

PlotLane* PlotWindow::laneState(int index) const
{
    if (index < 0 || index >= lanes_.count())
        return nullptr;
    const auto found = states_.find(lanes_.at(index).id);
    return found == states_.end() ? nullptr : found->second.get();
}

bool PlotWindow::summarised() const
{
    for (const auto& state : states_) {
        if (state.second->found && state.second->recording.plottable() && !state.second->recording.summarised())
            return false;
    }
    return true;
}

bool PlotWindow::reading() const
{
    return std::any_of(states_.begin(), states_.end(), [](const auto& state) {
        return state.second->found && state.second->recording.plottable() && state.second->recording.reading();
    });
}

double PlotWindow::readProgress() const
{
    double least = 1.0;
    for (const auto& state : states_) {
        if (state.second->found && state.second->recording.plottable())
            least = std::min(least, state.second->recording.progress());
    }
    return least;
}

bool PlotWindow::plottable() const
{
    return std::any_of(states_.begin(), states_.end(),
                       [](const auto& state) { return state.second->recording.plottable(); });
}

// The worker's notes come to the window as messages carrying the lane's id.
void PlotWindow::openLane(int id, const std::string& path)
{
    std::unique_ptr<PlotLane>& state = states_[id];
    state.reset(new PlotLane);
    HWND window = window_;
    state->found = state->recording.open(path, [window, id] { PostMessageA(window, kSummaryNote, id, 0); }) != E_FAIL;
}

// A lane whose file cannot be opened is added only from a workspace file,
// where it keeps its place and says "File not found".
// Asynchronous and integer lanes start as steps, floats as lines.
bool PlotWindow::addLane(const LaneSettings& settings, bool mustOpen)
{
    int id = 0;
    if (lanes_.add(settings, &id) != LaneAdd::added)
        return false;
    openLane(id, settings.path);
    PlotLane& lane = *states_[id];
    if (mustOpen && !lane.found) {
        states_.erase(id);
        lanes_.remove(lanes_.indexOf(id));
        return false;
    }
    lanes_.settings(lanes_.indexOf(id)).style = lane.found ? lane.recording.naturalStyle() : LaneStyle::lines;
    return true;
}

bool PlotWindow::addRecording(const std::string& path)
{
    if (!window_)
        return false;
    LaneSettings settings;
    settings.path = path;
    if (!addLane(settings, true))
        return false;
    takeExtent(lanes_.count() == 1);
    setTitle();
    changed();
    return true;
}

void PlotWindow::removeLane(int index)
{
    if (index < 0 || index >= lanes_.count())
        return;
    states_.erase(lanes_.at(index).id);
    lanes_.remove(index);
    current_ = std::min(current_, std::max(lanes_.count() - 1, 0));
    takeExtent(false);
    setTitle();
    changed();
}

// The recordings stop before the lanes that key them go.
void PlotWindow::clearLanes()
{
    states_.clear();
    lanes_.clear();
    current_ = 0;
}

// The dialog's file: the linked lane takes it, or a first lane is made for
// it; the other lanes stay. A file already in another lane becomes the
// linked one.
void PlotWindow::linkFile(const std::string& path)
{
    exporter_.cancel();
    exporter_.finish();
    const int linked = lanes_.linkedIndex();
    if (linked >= 0 && lanes_.indexOfPath(path) == linked) {
        // The same file again (saved, or loaded for a workspace): read anew,
        // the view and the cursors kept.
        refreshLane(linked);
        takeExtent(false);
    } else {
        putLinkedFile(path);
        cursors_.clear();
        history_.clear();
        takeExtent(true);
        setTitle();
    }
    changed();
}

void PlotWindow::putLinkedFile(const std::string& path)
{
    const int existing = lanes_.indexOfPath(path);
    const int linked = lanes_.linkedIndex();
    if (existing >= 0) {
        lanes_.setLinked(existing);
        refreshLane(existing);
    } else if (linked >= 0) {
        lanes_.replacePath(linked, path);
        openLane(lanes_.at(linked).id, path);
        const PlotLane* lane = laneState(linked);
        lanes_.settings(linked).style = lane->found ? lane->recording.naturalStyle() : LaneStyle::lines;
    } else {
        LaneSettings settings;
        settings.path = path;
        addLane(settings, false);
        lanes_.setLinked(lanes_.indexOfPath(path));
    }
}

// The shared time axis: the union of the lanes' shifted extents.
void PlotWindow::takeExtent(bool showAll)
{
    int64_t first = std::numeric_limits<int64_t>::max(), last = std::numeric_limits<int64_t>::min();
    int64_t shortest = std::numeric_limits<int64_t>::max();
    for (int k = 0; k < lanes_.count(); ++k) {
        const PlotLane* lane = laneState(k);
        if (!lane || !lane->found || !lane->recording.plottable() || !lane->recording.hasSamples())
            continue;
        const int64_t offset = lanes_.at(k).settings.offset;
        first = std::min(first, shiftedTime(lane->recording.extent().from, offset));
        last = std::max(last, shiftedTime(lane->recording.extent().to, offset));
        shortest = std::min(shortest, lane->recording.shortestSpan());
        laneState(k)->stale = true;
    }
    if (first > last) {
        first = kEmptyExtent.from;
        last = kEmptyExtent.to;
        shortest = 1;
    }
    const TimeSpan before = view_.span();
    const bool showedAll = view_.showsAll();
    view_.setRecording(first, last, shortest);
    if (!showAll && !showedAll)
        view_.zoomTo(before.from, before.to);
}

void PlotWindow::refreshLane(int index)
{
    PlotLane* lane = laneState(index);
    if (!lane)
        return;
    if (!lane->found) {
        openLane(lanes_.at(index).id, lanes_.at(index).settings.path);
        return;
    }
    lane->recording.refresh();
    lane->stale = true;
}

// F5: every lane reads what its file holds now.
void PlotWindow::refresh()
{
    for (int k = 0; k < lanes_.count(); ++k)
        refreshLane(k);
    takeExtent(false);
    followEnd();
}

// A lane whose file grew or shrank reads it again (on activation and once a
// second): the picture must not hold samples the file no longer has. The
// cursors stay where they were.
void PlotWindow::checkFiles()
{
    bool any = false;
    for (int k = 0; k < lanes_.count(); ++k) {
        PlotLane* lane = laneState(k);
        if (lane && lane->found && lane->recording.changedOnDisk()) {
            refreshLane(k);
            any = true;
        }
    }
    if (!any)
        return;
    takeExtent(false);
    followEnd();
    changed();
}

// View > Follow: the end of the recordings stays in view as they grow.
void PlotWindow::followEnd()
{
    if (!follow_ || view_.span().to >= view_.recording().to)
        return;
    const int64_t length = view_.span().length();
    view_.zoomTo(view_.recording().to - length + 1, view_.recording().to);
}

void PlotWindow::addChosenRecordings()
{
    FilePrompt prompt;
    prompt.owner = window_;
    prompt.title = "Add Recordings";
    prompt.filter = dialogFilter(kDataFilter);
    prompt.flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    std::vector<std::string> paths;
    if (!askFileNames(prompt, paths))
        return;
    for (const std::string& path : paths)
        addRecording(path);
}

void PlotWindow::addDroppedFiles(HDROP drop)
{
    for (const std::string& path : droppedFiles(drop))
        addRecording(path);
}

// ---- workspace files ----

bool PlotWindow::openWorkspace(HWND owner, const std::string& workspacePath)
{
    Workspace workspace;
    if (!loadWorkspaceFile(workspacePath, &workspace, nullptr))
        return false;
    if (!window_) {
        if (!create(owner))
            return false;
        applyWorkspace(workspace);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
    } else {
        applyWorkspace(workspace);
    }
    return true;
}

// The first lane is the linked one: the dialog opens its file.
void PlotWindow::applyWorkspace(const Workspace& workspace)
{
    exporter_.cancel();
    exporter_.finish();
    clearLanes();
    for (const WorkspaceLane& lane : workspace.lanes) {
        if (addLane(lane.settings, false))
            lanes_.settings(lanes_.count() - 1).style = lane.settings.style;
    }
    if (lanes_.count() > 0)
        lanes_.setLinked(0);
    history_.clear();
    cursors_.clear();
    takeExtent(true);
    if (workspace.hasView)
        view_.zoomTo(workspace.view.from, workspace.view.to);
    cursors_.set(false, workspace.a);
    cursors_.set(true, workspace.b);
    setTitle();
    changed();
}

bool PlotWindow::saveWorkspace(const std::string& workspacePath)
{
    Workspace workspace;
    for (int k = 0; k < lanes_.count(); ++k)
        workspace.lanes.push_back(WorkspaceLane{lanes_.at(k).settings});
    workspace.hasView = true;
    workspace.view = view_.span();
    workspace.a = cursors_.a();
    workspace.b = cursors_.b();
    return saveWorkspaceFile(workspacePath, workspace);
}

void PlotWindow::askOpenWorkspace()
{
    FilePrompt prompt;
    prompt.owner = window_;
    prompt.title = kWorkspaceCaption;
    prompt.filter = dialogFilter(kWorkspaceFilter);
    prompt.flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    std::string chosen;
    if (!askFileName(FilePromptKind::open, prompt, chosen))
        return;
    if (!openWorkspace(GetWindow(window_, GW_OWNER), chosen))
        refuseWorkspace(window_, chosen);
}

void PlotWindow::refuseWorkspace(HWND owner, const std::string& path)
{
    Text text;
    text.format("Not a Workspace File: %s", path.c_str());
    MessageBoxA(owner, text.c_str(), kWorkspaceCaption, MB_OK | MB_ICONSTOP);
}

void PlotWindow::askSaveWorkspace()
{
    FilePrompt prompt;
    prompt.owner = window_;
    prompt.title = "Save Workspace";
    prompt.filter = dialogFilter(kWorkspaceFilter);
    prompt.name = "QuorWorkspace" + std::string(kWorkspaceExtension);
    prompt.defaultExtension = std::string(kWorkspaceExtension).substr(1);
    prompt.flags = OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    std::string chosen;
    if (!askFileName(FilePromptKind::save, prompt, chosen))
        return;
    if (!saveWorkspace(chosen)) {
        Text text;
        text.format("Unable to Write File: %s", chosen.c_str());
        MessageBoxA(window_, text.c_str(), "Save Workspace", MB_OK | MB_ICONSTOP);
    }
}

// ---- lane settings ----

void PlotWindow::shiftLane(int index, int64_t offset)
{
    if (index < 0 || index >= lanes_.count())
        return;
    lanes_.settings(index).offset = offset;
    takeExtent(false);
    changed();
}

// The offset that puts the lane's first sample on the linked lane's first
// sample (shifted as that lane is).
void PlotWindow::alignStart(int index)
{
    const int linked = lanes_.linkedIndex();
    const PlotLane* lane = laneState(index);
    const PlotLane* anchor = laneState(linked);
    if (!lane || !anchor || index == linked || !lane->recording.hasSamples() || !anchor->recording.hasSamples())
        return;
    const int64_t target = shiftedTime(anchor->recording.extent().from, lanes_.at(linked).settings.offset);
    const __int128 offset = __int128(target) - lane->recording.extent().from;
    const __int128 most = std::numeric_limits<int64_t>::max(), least = std::numeric_limits<int64_t>::min();
    shiftLane(index, static_cast<int64_t>(std::min(std::max(offset, least), most)));
}

void PlotWindow::setStyle(int index, LaneStyle style)
{
    if (index < 0 || index >= lanes_.count())
        return;
    lanes_.settings(index).style = style;
    changed();
}

void PlotWindow::selectLane(int lane)
{
    if (lane >= 0 && lane < lanes_.count() && lane != current_) {
        current_ = lane;
        changed();
    }
}

}  // namespace quor
