// The plot window: one top-level window owned by the viewer's dialog that
// draws the open data file's envelope, lets the user zoom and pan, shades
// the page the dialog shows, measures between two cursors and exports the
// samples between them. It reads the file through its own PlotRecording;
// the dialog's DataFile is never touched from here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PlotCanvas.h"
#include "PlotExport.h"
#include "PlotRecording.h"
#include "PlotTicks.h"
#include "PlotView.h"
#include "WindowClass.h"
#include "WindowProc.h"

namespace quor {

// What the readout strip shows, as text; tests read it here.
struct PlotReadout {
    bool hasA = false, hasB = false;
    std::string a, b;        // "A: time  value"
    std::string delta;       // Δt, Δvalue, 1/Δt
    std::string range;       // samples, minimum, maximum, mean, RMS
    PlotStats stats;         // the figures of the range line
    PlotSample sampleA, sampleB;
};

class PlotWindow {
public:
    using GoToTime = std::function<void(int64_t time)>;

    static const UINT kSummaryNote = WM_APP + 1;
    static const UINT kExportNote = WM_APP + 2;
    static const int kExportButton = 101;
    static const int kCancelButton = 102;

    explicit PlotWindow(GoToTime goTo);
    ~PlotWindow();
    PlotWindow(const PlotWindow&) = delete;
    PlotWindow& operator=(const PlotWindow&) = delete;

    // Creates the window for the file, or brings it to the front and switches
    // it to the file when it shows another one (or the same one anew).
    bool show(HWND owner, const char* dataFilePath);
    // Switches an open window to the file and shows all of it, leaving the
    // focus where it is.
    void follow(const char* dataFilePath);
    void bringToFront();
    void close();
    HWND window() const { return window_; }
    bool isOpen() const { return window_ != nullptr; }
    const std::string& path() const { return recording_.path(); }

    // Adds a lane for the file; false when it is in the workspace already,
    // the workspace is full or the file cannot be opened.
    bool addRecording(const std::string& path);
    int laneCount() const;
    // Opens the window (owned by owner) on the lanes of a workspace file;
    // false when the file is not a workspace.
    bool openWorkspace(HWND owner, const std::string& workspacePath);
    bool saveWorkspace(const std::string& workspacePath);
    // Back to the view before the last zoom or pan; nothing when none.
    void zoomBack();

    // The time span of the page the dialog shows (shaded), or none.
    void setPage(bool shown, int64_t first, int64_t last);

    // For tests and the benchmark.
    const PlotView& view() const { return view_; }
    const RECT& plotArea() const { return plotArea_; }
    COLORREF pixel(int x, int y) const { return canvas_.pixel(x, y); }
    const PlotReadout& readout() const { return readout_; }
    bool summarised() const { return recording_.summarised(); }
    bool reading() const { return recording_.reading(); }
    double readProgress() const { return recording_.progress(); }
    bool plottable() const { return recording_.plottable(); }
    bool exportRunning() const { return exporter_.running(); }
    // Samples in the picture last drawn: the benchmark's sign of a first picture.
    int64_t samplesDrawn() const { return samplesDrawn_; }
    // The picture last drawn holds the whole summary.
    bool pictureComplete() const { return pictureComplete_; }
    // Where the progress bar of the reading or the export is drawn.
    RECT progressBar() const;
    void setCursor(bool b, int64_t time);

    static const char kNoValues[];
    static const char kNoSamples[];
    static const COLORREF kSignalColour;
    static const COLORREF kPageColour;

private:
    friend LRESULT CALLBACK quor::ownedWindowProc<PlotWindow>(HWND, UINT, WPARAM, LPARAM);
    void attachWindow(HWND window) { window_ = window; }
    void detachWindow() { window_ = nullptr; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void onCreate();
    void onDestroy();
    void onSize(int width, int height);
    void onPaint();
    void onMouseWheel(WPARAM wParam, LPARAM lParam);
    void onLeftDown(LPARAM lParam);
    void onLeftUp(WPARAM wParam, LPARAM lParam);
    void onRightDown(LPARAM lParam);
    void onRightUp(LPARAM lParam);
    void onMouseMove(LPARAM lParam);
    void onDoubleClick(LPARAM lParam);
    bool onKey(WPARAM key);
    void onTimer(WPARAM id);
    void checkFile();
    void onSummaryNote();
    void onExportNote();
    void onCommand(WORD id);
    void refresh();

    void openFile(const char* path);
    void setTitle();
    void layout();
    int plotWidth() const { return plotArea_.right - plotArea_.left; }
    int64_t timeAtX(int x) const;
    int columnOf(int64_t time) const;  // clamped to one column beyond either edge
    bool inPlot(int x, int y) const;
    void changed();  // the view moved: draw anew
    void render();
    void updateReadout();
    void showCancel();
    void copyToClipboard();
    bool askForExportFile(std::string& path);
    void startExport();

    // Painting (PlotPainting.cpp).
    struct Frame;
    void paintMessage(const char* text);
    void paintShading();
    void paintGrid(const Frame& frame);
    void paintSegments();
    void paintEnvelope(const Frame& frame);
    void paintSamples(const Frame& frame);
    bool cursorInView(bool b, int& x) const;
    void paintCursors();
    void paintLabels(const Frame& frame);
    void paintBox();
    void paintStrip();
    void paintProgress(double fraction, const char* label);
    int valueY(const Frame& frame, double value) const;

    GoToTime goTo_;
    quor::WindowClassHold classHold_;
    HWND window_ = nullptr;
    HWND exportButton_ = nullptr;
    HWND cancelButton_ = nullptr;
    PlotRecording recording_;
    PlotView view_;
    PlotCanvas canvas_;
    PlotExporter exporter_;
    RECT client_{};
    RECT plotArea_{};
    RECT strip_{};
    std::vector<PlotColumn> columns_;  // the envelope of the view, one per pixel column
    int64_t samplesDrawn_ = 0;
    __int128 envelopeBase_ = 0;   // what columns_' values are relative to
    TimeSpan envelopeSpan_;       // what columns_ was taken for
    bool envelopeStale_ = true;   // the summary moved on since
    bool pictureComplete_ = false;

    bool hasPage_ = false;
    int64_t pageFirst_ = 0, pageLast_ = 0;
    bool hasA_ = false, hasB_ = false;
    int64_t cursorA_ = 0, cursorB_ = 0;
    PlotReadout readout_;

    // What the last click moved, so that a double-click can put it back: the
    // first click of a double-click is a click too.
    struct CursorUndo {
        bool valid = false;
        bool b = false;
        bool had = false;
        int64_t time = 0;
    };
    CursorUndo clickUndo_;

    // Mouse gestures.
    bool leftDown_ = false, dragging_ = false, boxing_ = false;
    int downX_ = 0, lastX_ = 0, boxFrom_ = 0, boxTo_ = 0;
    std::string exportPath_;
    int64_t fileSize_ = 0;  // of the data file when it was last read
};

}  // namespace quor
