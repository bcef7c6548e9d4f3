// The plot window's picture: band by band, each lane's envelope drawn
// column by column into the off-screen canvas in its colour on its band's
// value axis, under the page band, the segment edges, the cursors and the
// labels; then the shared time axis, the strip and the readout rows.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

#include "PlotText.h"
#include "PlotWindow.h"
#include "Text.h"
#include "Wide.h"

namespace quor {

namespace {

const COLORREF kBackground = RGB(255, 255, 255);
const COLORREF kGridLine = RGB(232, 232, 232);
const COLORREF kSegmentLine = RGB(190, 190, 190);
const COLORREF kFrame = RGB(128, 128, 128);
const COLORREF kCursorA = RGB(200, 0, 0);
const COLORREF kCursorB = RGB(0, 140, 0);
const COLORREF kText = RGB(0, 0, 0);
const COLORREF kProgressFill = RGB(60, 140, 60);
const char kNoLanes[] = "Add recordings with File > Add Recordings... or drop data files here";
const int kTimeLabelPitch = 170;  // pixels per labelled time tick
const int kValueLabelPitch = 40;
const int kLineHeight = 16;
const int kSwatch = 10;
const int kMarkHalf = 2;
const int kProgressWidth = 200;
const int kProgressHeight = 14;

void drawText(HDC dc, int x, int y, const std::string& text, UINT align)
{
    SetTextAlign(dc, align);
    // The plot's own texts are UTF-8: its readouts write the delta sign,
    // which the ANSI code page lacks.
    const std::wstring w = wideFromUtf8(text);
    TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
}

int textWidth(HDC dc, const std::string& text)
{
    const std::wstring w = wideFromUtf8(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &extent);
    return extent.cx;
}

std::string printed(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// The text of the lanes' drawing: the plot's font, no background.
void prepareText(HDC dc, COLORREF colour)
{
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
}

// A lane that draws an envelope: its file opened and holds samples to plot.
bool hasEnvelope(const PlotLane* lane)
{
    return lane && lane->found && lane->recording.plottable() && lane->recording.hasSamples();
}

int64_t mostInColumn(const PlotLane& lane)
{
    int64_t most = 0;
    for (const LaneColumn& column : lane.columns)
        most = std::max(most, column.count);
    return most;
}

}  // namespace

struct PlotWindow::Frame {
    RECT area{};            // the band's rows of the plot area
    std::vector<int> lanes; // drawn in it, the band's head first
    ValueAxis axis;
    __int128 base = 0;      // what the axis' values are relative to
    bool drawable = false;  // some lane of it has samples to draw
};

void PlotWindow::render()
{
    if (!window_ || !canvas_.dc())
        return;
    canvas_.flush();
    canvas_.fill(client_, kBackground);
    labelRects_.assign(lanes_.count(), RECT{});
    samplesDrawn_ = 0;
    pictureComplete_ = true;
    ticks_ = timeTicks(view_.span().from, view_.span().to, std::max(1, plotWidth() / kTimeLabelPitch));
    takeEnvelopes();
    updateReadout();  // the labels are the rows'
    for (int band = 0; band < lanes_.bandCount() && band < static_cast<int>(bands_.size()); ++band)
        paintBand(band);
    if (lanes_.count() == 0)
        paintMessage(plotArea_, kNoLanes);
    else
        paintTimeAxis();
    paintCursorNames();
    paintBox();
    paintStrip();
}

// The lanes whose envelope must be taken again query it side by side: each
// summary has a lock of its own, and a picture of new column edges spends
// most of its time reading the blocks under them.
void PlotWindow::takeEnvelopes()
{
    std::vector<int> wanted;
    for (int k = 0; k < lanes_.count(); ++k)
        if (envelopeWanted(k))
            wanted.push_back(k);
    queries_.run(static_cast<int>(wanted.size()), [&](int k) { takeEnvelope(wanted[k]); });
    for (int k = 0; k < lanes_.count(); ++k)
        countDrawn(k);
}

// Cursors, the page band and the box leave the envelope as it was.
bool PlotWindow::envelopeWanted(int index) const
{
    const PlotLane* lane = laneState(index);
    if (!hasEnvelope(lane))
        return false;
    return lane->stale || !(lane->span == view_.span()) || lane->columns.size() != size_t(plotWidth());
}

// Any thread of the pool: touches only the lane's own state.
void PlotWindow::takeEnvelope(int index)
{
    PlotLane* lane = laneState(index);
    const TimeSpan shown = view_.span();
    // Asked before the envelope: whatever is summarised then, the envelope holds.
    lane->complete = lane->recording.summarised();
    const int64_t offset = lanes_.at(index).settings.offset;
    const TimeSpan file{fileTimeOf(shown.from, offset), fileTimeOf(shown.to, offset)};
    lane->recording.envelope(file, plotWidth(), lane->columns, lane->base);
    lane->span = shown;
    lane->stale = false;
}

void PlotWindow::countDrawn(int index)
{
    const PlotLane* lane = laneState(index);
    if (!hasEnvelope(lane))
        return;
    pictureComplete_ = pictureComplete_ && lane->complete;
    for (const LaneColumn& column : lane->columns)
        samplesDrawn_ += std::max<int64_t>(column.count, 0);
}

// The lanes of a band share its value axis: the union of what they show,
// each relative to the head's base.
PlotWindow::Frame PlotWindow::bandFrame(int band, const std::vector<int>& members)
{
    Frame frame;
    frame.area = RECT{plotArea_.left, bands_[band].top, plotArea_.right, bands_[band].bottom};
    frame.lanes = members;
    double low = std::numeric_limits<double>::infinity(), high = -low;
    bool based = false;
    for (int k : members) {
        const PlotLane* lane = laneState(k);
        if (!lane || lane->columns.empty() || !lane->found || !lane->recording.hasSamples())
            continue;
        if (!based)
            frame.base = lane->base;
        based = frame.drawable = true;
        const double shift = double(lane->base - frame.base);
        for (const LaneColumn& column : lane->columns) {
            // Infinities are drawn at the edges; they do not stretch the axis.
            for (double v : {column.minimum, column.maximum}) {
                if (column.count > 0 && std::isfinite(v)) {
                    low = std::min(low, v + shift);
                    high = std::max(high, v + shift);
                }
            }
        }
    }
    frame.axis = valueAxis(low, high, std::max(2, int(frame.area.bottom - frame.area.top) / kValueLabelPitch));
    return frame;
}

void PlotWindow::paintBand(int band)
{
    const Frame frame = bandFrame(band, lanes_.lanesOfBand(band));
    if (!frame.drawable) {
        const PlotLane* head = laneState(frame.lanes.front());
        const char* message = !head || !head->found              ? kFileNotFound
                              : !head->recording.plottable()    ? kNoValues
                                                                 : kNoSamples;
        paintMessage(frame.area, message);
        paintLaneLabels(frame);
        return;
    }
    paintShading(frame);
    paintGrid(frame);
    for (int k : frame.lanes)
        paintSegments(frame, k);
    for (int k : frame.lanes) {
        if (const PlotLane* lane = laneState(k); lane && mostInColumn(*lane) > 1)
            paintEnvelope(frame, k);
    }
    paintCursors(frame);
    canvas_.flush();
    for (int k : frame.lanes) {
        if (const PlotLane* lane = laneState(k); lane && mostInColumn(*lane) == 1)
            paintSamples(frame, k);
    }
    paintValueLabels(frame);
    paintLaneLabels(frame);
}

int PlotWindow::valueY(const Frame& frame, double value) const
{
    const int top = frame.area.top, bottom = frame.area.bottom - 1;
    if (std::isnan(value))
        return bottom;
    const double range = frame.axis.high - frame.axis.low;
    const double y = bottom - (value - frame.axis.low) / range * (bottom - top);
    if (!(y > top))
        return top;
    return y < bottom ? static_cast<int>(std::lround(y)) : bottom;
}

void PlotWindow::paintMessage(const RECT& area, const char* text)
{
    HDC dc = canvas_.dc();
    quor::SavedDCState saved(dc);
    prepareText(dc, kText);
    drawText(dc, (area.left + area.right) / 2, (area.top + area.bottom) / 2 - 8, text, TA_CENTER | TA_TOP);
}

// The dialog's page, in the linked lane's band only.
void PlotWindow::paintShading(const Frame& frame)
{
    const int linked = lanes_.linkedIndex();
    if (!hasPage_ || std::find(frame.lanes.begin(), frame.lanes.end(), linked) == frame.lanes.end())
        return;
    const int64_t offset = lanes_.at(linked).settings.offset;
    const int left = std::max<int>(columnOf(shiftedTime(pageFirst_, offset)), plotArea_.left);
    const int right = std::min<int>(columnOf(shiftedTime(pageLast_, offset)), plotArea_.right - 1);
    if (left <= right)
        canvas_.fill(RECT{left, frame.area.top, right + 1, frame.area.bottom}, kPageColour);
}

void PlotWindow::paintGrid(const Frame& frame)
{
    for (int64_t t : ticks_.ticks)
        canvas_.verticalLine(columnOf(t), frame.area.top, frame.area.bottom - 1, kGridLine);
    for (double v : frame.axis.ticks)
        canvas_.horizontalLine(valueY(frame, v), plotArea_.left, plotArea_.right - 1, kGridLine);
}

void PlotWindow::paintSegments(const Frame& frame, int index)
{
    const PlotLane* lane = laneState(index);
    const int64_t offset = lanes_.at(index).settings.offset;
    for (const TimeSpan& segment : lane->recording.segments()) {
        for (int64_t edge : {segment.from, segment.to}) {
            const int x = columnOf(shiftedTime(edge, offset));
            if (x >= plotArea_.left && x < plotArea_.right)
                canvas_.verticalLine(x, frame.area.top, frame.area.bottom - 1, kSegmentLine);
        }
    }
}

// Each column is a stroke from its minimum to its maximum, stretched to meet
// the stroke before it, so that a continuous signal reads as one line and a
// lone spike is still a stroke. An empty column breaks the line.
void PlotWindow::paintEnvelope(const Frame& frame, int index)
{
    const PlotLane& lane = *laneState(index);
    const COLORREF colour = lanes_.at(index).settings.colour;
    const double shift = double(lane.base - frame.base);
    bool previous = false;
    int previousTop = 0, previousBottom = 0;
    for (size_t k = 0; k < lane.columns.size(); ++k) {
        const LaneColumn& column = lane.columns[k];
        if (column.count <= 0) {
            previous = false;
            continue;
        }
        int top = valueY(frame, column.maximum + shift), bottom = valueY(frame, column.minimum + shift);
        const int strokeTop = top, strokeBottom = bottom;
        if (previous) {
            top = std::min(top, previousBottom);
            bottom = std::max(bottom, previousTop);
        }
        canvas_.verticalLine(plotArea_.left + static_cast<int>(k), top, bottom, colour);
        previous = true;
        previousTop = strokeTop;
        previousBottom = strokeBottom;
    }
}

// Zoomed in to single samples: a line through them with a mark on each;
// as steps, each value holds until the next sample. The line does not
// cross from one segment into the next.
void PlotWindow::paintSamples(const Frame& frame, int index)
{
    const PlotLane& lane = *laneState(index);
    const LaneSettings& settings = lanes_.at(index).settings;
    const double shift = double(lane.base - frame.base);
    std::vector<int> segmentEnds;
    for (const TimeSpan& segment : lane.recording.segments())
        segmentEnds.push_back(columnOf(shiftedTime(segment.to, settings.offset)));
    HDC dc = canvas_.dc();
    quor::Pen pen(CreatePen(PS_SOLID, 1, settings.colour));
    quor::Brush brush(CreateSolidBrush(settings.colour));
    quor::SelectedObject selectedPen(dc, pen.get());
    bool previous = false;
    int previousX = 0, previousY = 0;
    for (size_t k = 0; k < lane.columns.size(); ++k) {
        if (lane.columns[k].count <= 0)
            continue;
        const int x = plotArea_.left + static_cast<int>(k), y = valueY(frame, lane.columns[k].maximum + shift);
        const bool crossesGap = std::any_of(segmentEnds.begin(), segmentEnds.end(),
                                            [&](int end) { return end >= previousX && end < x; });
        if (previous && !crossesGap && settings.style == LaneStyle::steps)
            LineTo(dc, x, previousY);
        if (previous && !crossesGap)
            LineTo(dc, x, y);
        MoveToEx(dc, x, y, nullptr);
        RECT mark{x - kMarkHalf, y - kMarkHalf, x + kMarkHalf + 1, y + kMarkHalf + 1};
        FillRect(dc, &mark, brush.get());
        previous = true;
        previousX = x;
        previousY = y;
    }
}

// A cursor panned out of view leaves no mark at the frame's edge.
bool PlotWindow::cursorInView(bool b, int& x) const
{
    if (!cursors_.cursor(b).placed)
        return false;
    x = columnOf(cursors_.cursor(b).time);
    return x >= plotArea_.left && x < plotArea_.right;
}

void PlotWindow::paintCursors(const Frame& frame)
{
    int x = 0;
    if (cursorInView(false, x))
        canvas_.verticalLine(x, frame.area.top, frame.area.bottom - 1, kCursorA);
    if (cursorInView(true, x))
        canvas_.verticalLine(x, frame.area.top, frame.area.bottom - 1, kCursorB);
}

void PlotWindow::paintValueLabels(const Frame& frame)
{
    HDC dc = canvas_.dc();
    quor::SavedDCState saved(dc);
    prepareText(dc, kText);
    quor::Brush frameBrush(CreateSolidBrush(kFrame));
    RECT border{frame.area.left - 1, frame.area.top - 1, frame.area.right + 1, frame.area.bottom + 1};
    FrameRect(dc, &border, frameBrush.get());
    const int decimals = valueDecimals(frame.axis.step);
    for (double v : frame.axis.ticks) {
        const int y = valueY(frame, v);
        RECT tick{plotArea_.left - 4, y, plotArea_.left, y + 1};
        FillRect(dc, &tick, frameBrush.get());
        drawText(dc, plotArea_.left - 6, y - 7, printed("%.*f", decimals, v), TA_RIGHT | TA_TOP);
    }
    // Values beyond a double's whole numbers are drawn relative to a base;
    // the base is written once, in the band's corner.
    if (frame.base != 0)
        drawText(dc, plotArea_.left + 3, frame.area.bottom - 16, "+" + integerText(frame.base), TA_LEFT | TA_TOP);
}

// One line per lane of the band, in the band's corner: its colour, its
// name; with an overlay, the lines are the legend. The current lane's line
// is framed when there are lanes to choose from.
void PlotWindow::paintLaneLabels(const Frame& frame)
{
    HDC dc = canvas_.dc();
    quor::SavedDCState saved(dc);
    prepareText(dc, kText);
    IntersectClipRect(dc, frame.area.left, frame.area.top, frame.area.right, frame.area.bottom);
    quor::Brush frameBrush(CreateSolidBrush(kFrame));
    int y = frame.area.top + 2;
    for (int k : frame.lanes) {
        const int x = frame.area.left + 4;
        const std::string& label = readout_.rows.size() > size_t(k) ? readout_.rows[k].label : std::string();
        labelRects_[k] = RECT{x - 2, y, x + kSwatch + 6 + textWidth(dc, label), y + kLineHeight};
        // The labels are a legend over the lanes: on white, so that they read.
        FillRect(dc, &labelRects_[k], static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const RECT swatch{x, y + 3, x + kSwatch, y + 3 + kSwatch};
        quor::Brush colour(CreateSolidBrush(lanes_.at(k).settings.colour));
        FillRect(dc, &swatch, colour.get());
        drawText(dc, x + kSwatch + 4, y, label, TA_LEFT | TA_TOP);
        if (k == current_ && lanes_.count() > 1)
            FrameRect(dc, &labelRects_[k], frameBrush.get());
        y += kLineHeight;
    }
}

void PlotWindow::paintTimeAxis()
{
    HDC dc = canvas_.dc();
    quor::SavedDCState saved(dc);
    prepareText(dc, kText);
    quor::Brush frameBrush(CreateSolidBrush(kFrame));
    for (int64_t t : ticks_.ticks) {
        const int x = columnOf(t);
        RECT tick{x, plotArea_.bottom, x + 1, plotArea_.bottom + 4};
        FillRect(dc, &tick, frameBrush.get());
        // A label that would be cut by the window's edge is left out.
        const std::string label = plotTimeText(t, ticks_.decimals);
        const int width = textWidth(dc, label);
        if (x - width / 2 >= 0 && x + (width + 1) / 2 <= client_.right)
            drawText(dc, x, plotArea_.bottom + 5, label, TA_CENTER | TA_TOP);
    }
}

// The cursors' names, at the foot of the plot (the lanes' labels are at
// the top of their bands) and clipped to it: B's near the right edge must
// not spill over the frame.
void PlotWindow::paintCursorNames()
{
    HDC dc = canvas_.dc();
    quor::SavedDCState saved(dc);
    prepareText(dc, kCursorA);
    IntersectClipRect(dc, plotArea_.left, plotArea_.top, plotArea_.right, plotArea_.bottom);
    int x = 0;
    const int right = plotArea_.right;
    if (cursorInView(false, x))
        drawText(dc, std::min(x + 3, right), plotArea_.bottom - 2 * kLineHeight, "A", TA_LEFT | TA_TOP);
    SetTextColor(dc, kCursorB);
    if (cursorInView(true, x))
        drawText(dc, std::min(x + 3, right), plotArea_.bottom - kLineHeight, "B", TA_LEFT | TA_TOP);
}

void PlotWindow::paintBox()
{
    if (!gestures_.boxing())
        return;
    RECT box{plotArea_.left + gestures_.boxLeft(), plotArea_.top, plotArea_.left + gestures_.boxRight() + 1,
             plotArea_.bottom};
    DrawFocusRect(canvas_.dc(), &box);
}

// The readout follows the cursors: their times, Δt and 1/Δt, and a row per
// lane with the samples at or before each cursor and the figures between.
void PlotWindow::updateReadout()
{
    PlotReadout r;
    const PlotCursor& a = cursors_.a();
    const PlotCursor& b = cursors_.b();
    r.hasA = a.placed;
    r.hasB = b.placed;
    const int64_t columnSpan = std::max<int64_t>(1, view_.span().length() / std::max(1, plotWidth()));
    const int decimals = std::min(9, timeDecimals(columnSpan) + 1);
    if (a.placed)
        r.a = "A: " + plotTimeText(a.time, decimals);
    if (b.placed)
        r.b = "B: " + plotTimeText(b.time, decimals);
    if (cursors_.bothPlaced()) {
        const double dt = double(b.time - a.time) / 1e9;
        r.delta = printed("\xCE\x94t %.9g s   1/\xCE\x94t %.9g Hz", dt, dt != 0 ? 1 / dt : 0.0);
    }
    r.rows = std::move(readout_.rows);
    readout_ = std::move(r);
    takeRows();
    EnableWindow(exportButton_, cursors_.bothPlaced() && !exporter_.running() && plottable());
}

// What the rows depend on: the cursors, the lanes and how far each lane's
// file has been read. A pan or a zoom leaves it alone, and the rows with it.
std::string PlotWindow::rowsKey() const
{
    const PlotCursor& a = cursors_.a();
    const PlotCursor& b = cursors_.b();
    std::string key = printed("%d %lld %d %lld %d", a.placed, static_cast<long long>(a.time), b.placed,
                              static_cast<long long>(b.time), lanes_.linkedIndex());
    for (int k = 0; k < lanes_.count(); ++k) {
        const PlotLane* lane = laneState(k);
        const LaneSettings& settings = lanes_.at(k).settings;
        key += printed("|%d %lld %d %.17g %lld ", lanes_.at(k).id, static_cast<long long>(settings.offset),
                       lane && lane->found, lane ? lane->recording.progress() : 0.0,
                       static_cast<long long>(lane ? lane->recording.fileSize() : 0)) +
               settings.path;
    }
    return key;
}

void PlotWindow::takeRows()
{
    std::string key = rowsKey();
    if (key == rowsKey_)
        return;
    rowsKey_ = std::move(key);
    readout_.rows.clear();
    std::vector<uint32_t> colours;
    const int linked = lanes_.linkedIndex();
    for (int k = 0; k < lanes_.count(); ++k) {
        PlotLane* lane = laneState(k);
        const LaneSettings& settings = lanes_.at(k).settings;
        colours.push_back(settings.colour);
        if (lane && lane->found) {
            readout_.rows.push_back(laneReadout(lane->recording, settings, cursors_, k == linked));
        } else {
            LaneReadout missing;
            missing.label = unopenedLaneLabel(settings.path, settings.offset, k == linked) + "  " + kFileNotFound;
            readout_.rows.push_back(missing);
        }
    }
    table_.show(readout_.rows, colours);
}

// The cursors' times and Δt above the table, what was done last beside
// them, then the rows.
void PlotWindow::paintStrip()
{
    HDC dc = canvas_.dc();
    quor::SavedDCState saved(dc);
    prepareText(dc, kCursorA);
    const int x = 8, y = strip_.top + 4;
    drawText(dc, x, y, readout_.hasA ? readout_.a : "A: click to place", TA_LEFT | TA_TOP);
    SetTextColor(dc, kCursorB);
    drawText(dc, x + 200, y, readout_.hasB ? readout_.b : "B: Shift+click to place", TA_LEFT | TA_TOP);
    SetTextColor(dc, kText);
    drawText(dc, x, y + kLineHeight, readout_.delta + (notice_.empty() ? "" : "     " + notice_), TA_LEFT | TA_TOP);
    if (exporter_.running())
        paintProgress(exporter_.fraction(), "Exporting");
    else if (reading())
        paintProgress(readProgress(), "Reading");
    paintTable();
}

// The rows as text, where the readout grid cannot be had.
void PlotWindow::paintTable()
{
    if (table_.window())
        return;
    HDC dc = canvas_.dc();
    quor::SavedDCState saved(dc);
    prepareText(dc, kText);
    int y = tableArea_.top + 2;
    for (const LaneReadout& row : readout_.rows) {
        const std::string text = row.label + " | A " + row.valueA + " " + row.timeA + " | B " + row.valueB + " " +
                                 row.timeB + " | \xCE\x94 " + row.deltaValue + " | n " + row.samples + " min " +
                                 row.minimum + " max " + row.maximum + " mean " + row.mean + " rms " + row.rms;
        drawText(dc, 8, y, text, TA_LEFT | TA_TOP);
        y += kTableRowHeight;
    }
}

RECT PlotWindow::progressBar() const
{
    const int left = client_.right - 240 - kProgressWidth, top = strip_.top + 6;
    return RECT{left, top, left + kProgressWidth, top + kProgressHeight};
}

void PlotWindow::paintProgress(double fraction, const char* label)
{
    HDC dc = canvas_.dc();
    quor::Brush frameBrush(CreateSolidBrush(kFrame));
    quor::Brush fillBrush(CreateSolidBrush(kProgressFill));
    const RECT bar = progressBar();
    FrameRect(dc, &bar, frameBrush.get());
    RECT done{bar.left + 1, bar.top + 1,
              bar.left + 1 + static_cast<int>((kProgressWidth - 2) * std::min(1.0, fraction)), bar.bottom - 1};
    FillRect(dc, &done, fillBrush.get());
    SetTextColor(dc, kText);
    drawText(dc, bar.left - 6, bar.top, printed("%s %d%%", label, static_cast<int>(fraction * 100)),
             TA_RIGHT | TA_TOP);
}

}  // namespace quor
