// The plot window: one top-level window owned by the viewer's dialog that
// stacks the lanes of a workspace (one data file each) on one shared time
// axis, lets the user zoom and pan them together, shades the page the dialog
// shows in the linked lane, measures every lane between two cursors and
// exports the samples between them. Each lane reads its file through its
// own LaneRecording; the dialog's DataFile is never touched from here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "LaneLayout.h"
#include "LaneList.h"
#include "LaneReadout.h"
#include "LaneRecording.h"
#include "PlotCanvas.h"
#include "PlotCursors.h"
#include "PlotFindDialog.h"
#include "PlotGestures.h"
#include "PlotMenu.h"
#include "PlotMergeExporter.h"
#include "PlotReadoutTable.h"
#include "PlotTicks.h"
#include "PlotView.h"
#include "TaskPool.h"
#include "WindowClass.h"
#include "WindowProc.h"
#include "WorkspaceFile.h"
#include "ZoomHistory.h"

namespace quor {

// What the readout shows, as text; tests read it here.
struct PlotReadout {
    bool hasA = false, hasB = false;
    std::string a, b;    // "A: time"
    std::string delta;   // Δt and 1/Δt
    std::vector<LaneReadout> rows;  // one per lane, in lane order
};

// What the window keeps for one lane: its recording, and the envelope of
// the view it drew last so that cursors and the page band leave it alone.
struct PlotLane {
    LaneRecording recording;
    bool found = false;  // the file could be opened
    std::vector<LaneColumn> columns;
    __int128 base = 0;  // what the columns' values are relative to
    TimeSpan span;      // the shown times the columns were taken for
    bool stale = true;  // the summary moved on since
    bool complete = false;  // the summary was whole when the columns were taken
    bool noted = false;     // a progress note came that the picture has not taken yet
};

class PlotWindow {
public:
    using GoToTime = std::function<void(int64_t time)>;

    static const UINT kSummaryNote = WM_APP + 1;  // wParam: the lane's id
    static const UINT kExportNote = WM_APP + 2;
    static const int kExportButton = PlotCommand::exportAB;
    static const int kCancelButton = PlotCommand::cancel;
    static const int kTableId = 103;

    explicit PlotWindow(GoToTime goTo);
    ~PlotWindow();
    PlotWindow(const PlotWindow&) = delete;
    PlotWindow& operator=(const PlotWindow&) = delete;

    // Creates the window with the file as its linked lane, or brings it to
    // the front and makes the file the linked lane's.
    bool show(HWND owner, const char* dataFilePath);
    // The linked lane takes the file (the other lanes stay), and the view
    // shows all, leaving the focus where it is.
    void follow(const char* dataFilePath);
    void bringToFront();
    void close();
    HWND window() const { return window_; }
    bool isOpen() const { return window_ != nullptr; }
    // The linked lane's file; empty when none.
    const std::string& path() const;

    // Adds a lane for the file; false when it is in the workspace already,
    // the workspace is full or the file cannot be opened.
    bool addRecording(const std::string& path);
    int laneCount() const { return lanes_.count(); }
    const LaneList& lanes() const { return lanes_; }
    // Opens the window (owned by owner) on the lanes of a workspace file,
    // or replaces the lanes of the open one; false when the file is not a
    // workspace.
    bool openWorkspace(HWND owner, const std::string& workspacePath);
    // The box that says a file holds no workspace.
    static void refuseWorkspace(HWND owner, const std::string& path);
    bool saveWorkspace(const std::string& workspacePath);
    // Back to the view before the last zoom or pan; nothing when none.
    void zoomBack();
    // Edit > Find... with the choice made: A goes to the hit. False when
    // nothing was found (the box said so).
    bool findFrom(int lane, FindCondition condition, const FindThreshold& threshold, bool backward);
    // F3 and Shift+F3: the last search again.
    bool findAgain(bool backward);

    // The time span of the page the dialog shows (shaded), or none.
    void setPage(bool shown, int64_t first, int64_t last);

    // For tests and the benchmark.
    const PlotView& view() const { return view_; }
    const RECT& plotArea() const { return plotArea_; }
    // The rows of the plot area the lane's band takes.
    RECT laneRect(int lane) const;
    COLORREF laneColour(int lane) const { return lanes_.at(lane).settings.colour; }
    COLORREF pixel(int x, int y) const { return canvas_.pixel(x, y); }
    const PlotReadout& readout() const { return readout_; }
    const PlotCursors& cursors() const { return cursors_; }
    // The readout grid; its window is null when the grid cannot be made.
    const PlotReadoutTable& table() const { return table_; }
    // What the strip says last: a written export, a search...
    const std::string& notice() const { return notice_; }
    bool summarised() const;
    bool reading() const;
    double readProgress() const;
    bool plottable() const;
    bool exportRunning() const { return exporter_.running(); }
    // Samples in the picture last drawn: the benchmark's sign of a first picture.
    int64_t samplesDrawn() const { return samplesDrawn_; }
    // The picture last drawn holds the whole summary of every lane.
    bool pictureComplete() const { return pictureComplete_; }
    // Where the progress bar of the reading or the export is drawn.
    RECT progressBar() const;
    void setCursor(bool b, int64_t time);
    int currentLane() const { return current_; }
    void selectLane(int lane);

    static const char kNoValues[];
    static const char kNoSamples[];
    static const char kFileNotFound[];
    static const COLORREF kSignalColour;  // the first lane's
    static const COLORREF kPageColour;

private:
    friend LRESULT CALLBACK quor::ownedWindowProc<PlotWindow>(HWND, UINT, WPARAM, LPARAM);
    void attachWindow(HWND window) { window_ = window; }
    void detachWindow() { window_ = nullptr; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // The window (PlotWindow.cpp).
    bool create(HWND owner);
    void onCreate();
    void onDestroy();
    void onSize(int width, int height);
    void onPaint();
    void onTimer(WPARAM id);
    void onActivate(WPARAM state);
    void onSummaryNote(int laneId);
    void takeSummaryNotes();
    void onExportNote();
    void layout();
    void setTitle();
    void showCancel();
    void changed();  // something moved: draw anew
    int plotWidth() const { return plotArea_.right - plotArea_.left; }
    int64_t timeAtX(int x) const;
    int columnOf(int64_t time) const;  // clamped to one column beyond either edge
    bool inPlot(int x, int y) const;

    // Lanes (PlotLanes.cpp).
    PlotLane* laneState(int index) const;
    bool addLane(const LaneSettings& settings, bool mustOpen);
    void openLane(int id, const std::string& path);
    void removeLane(int index);
    void clearLanes();
    void linkFile(const std::string& path);
    void putLinkedFile(const std::string& path);
    void takeExtent(bool showAll);
    void checkFiles();
    void refreshLane(int index);
    void refresh();
    void followEnd();
    void addChosenRecordings();
    void addDroppedFiles(HDROP drop);
    void askOpenWorkspace();
    void askSaveWorkspace();
    void applyWorkspace(const Workspace& workspace);
    void shiftLane(int index, int64_t offset);
    void askShift(int index);
    void alignStart(int index);
    void setStyle(int index, LaneStyle style);

    // Mouse, keys and commands (PlotInput.cpp).
    void onMouseWheel(WPARAM wParam, LPARAM lParam);
    void onLeftDown(LPARAM lParam);
    void onLeftUp(WPARAM wParam, LPARAM lParam);
    void onRightDown(LPARAM lParam);
    void onRightUp(LPARAM lParam);
    void onMouseMove(LPARAM lParam);
    void onDoubleClick(LPARAM lParam);
    void onCaptureChanged();
    void onContextMenu(LPARAM lParam);
    void onInitMenu(HMENU menu);
    bool onKey(WPARAM key);
    bool onControlKey(WPARAM key);
    void onCommand(WORD id);
    bool runLaneCommand(WORD id);
    void onCancel();
    void changeView(const std::function<void()>& change);
    int laneLabelAt(int x, int y) const;
    bool pressAt(LPARAM lParam, int* label);

    // Find, export and copy (PlotActions.cpp).
    void askFind();
    bool runFind(bool backward);
    void bringIntoView(int64_t time);
    bool askForExportFile(std::string& path);
    void startExport();
    void copyToClipboard();
    void copyTable(HDC dc) const;

    // Painting (PlotPainting.cpp).
    struct Frame;
    void render();
    void takeEnvelopes();
    bool envelopeWanted(int index) const;
    void takeEnvelope(int index);
    void countDrawn(int index);
    void paintBand(int band);
    Frame bandFrame(int band, const std::vector<int>& members);
    void paintMessage(const RECT& area, const char* text);
    void paintShading(const Frame& frame);
    void paintGrid(const Frame& frame);
    void paintSegments(const Frame& frame, int index);
    void paintEnvelope(const Frame& frame, int index);
    void paintSamples(const Frame& frame, int index);
    bool cursorInView(bool b, int& x) const;
    void paintCursors(const Frame& frame);
    void paintValueLabels(const Frame& frame);
    void paintLaneLabels(const Frame& frame);
    void paintTimeAxis();
    void paintCursorNames();
    void paintBox();
    void updateReadout();
    std::string rowsKey() const;
    void takeRows();
    void paintStrip();
    void paintTable();
    void paintProgress(double fraction, const char* label);
    int valueY(const Frame& frame, double value) const;

    static const int kTableRowHeight = 20;  // the readout rows, drawn or in the grid
    static const UINT_PTR kExportTimer = 1;
    static const UINT_PTR kFileTimer = 2;
    static const UINT_PTR kNotesTimer = 3;

    GoToTime goTo_;
    quor::WindowClassHold classHold_;
    HWND window_ = nullptr;
    HWND exportButton_ = nullptr;
    HWND cancelButton_ = nullptr;
    LaneList lanes_;
    std::map<int, std::unique_ptr<PlotLane>> states_;  // by Lane::id
    int current_ = 0;  // the lane the Lane menu and keys act on
    PlotView view_;
    ZoomHistory history_;
    PlotCursors cursors_;
    PlotGestures gestures_;
    PlotCanvas canvas_;
    TaskPool queries_{TaskPool::helpersForThisMachine()};  // the lanes' envelopes of one picture
    PlotReadoutTable table_;
    PlotMergeExporter exporter_;
    RECT client_{};
    RECT plotArea_{};
    RECT strip_{};
    RECT tableArea_{};
    std::vector<LaneBand> bands_;
    std::vector<RECT> labelRects_;  // per lane, where its label is drawn
    TimeTicks ticks_;  // of the view, for every band
    int laidOutLanes_ = -1;  // the lane count the layout was made for
    int64_t samplesDrawn_ = 0;
    bool pictureComplete_ = false;
    bool follow_ = false;
    bool notesTimer_ = false;  // the lanes' notes wait for kNotesTimer

    bool hasPage_ = false;
    int64_t pageFirst_ = 0, pageLast_ = 0;
    PlotReadout readout_;
    std::string rowsKey_;  // what readout_.rows were made for
    std::string notice_;

    // The last search, for F3 and Shift+F3, and shown again by Find...
    PlotFindChoice findChoice_;
    int findLaneId_ = 0;  // 0: no search yet
    std::string exportPath_;
};

}  // namespace quor
