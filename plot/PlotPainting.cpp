// The plot window's picture: the envelope of the view drawn column by
// column into the off-screen canvas, under the axes, the page band, the
// segment edges, the cursors and the readout strip.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

#include "PlotWindow.h"
#include "Text.h"
#include "Wide.h"
#include "TimeText.h"

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
const int kTimeLabelPitch = 170;  // pixels per labelled time tick
const int kValueLabelPitch = 40;
const int kLineHeight = 16;
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

// Before zero the plot writes one minus sign before the distance from zero:
// the time text itself signs every field.
std::string timeText(int64_t time, int decimals)
{
    Text text;
    const int64_t distance = time >= 0 ? time : time == INT64_MIN ? INT64_MAX : -time;
    formatTime(distance, decimals, true, text);
    return time < 0 ? "-" + text.str() : text.str();
}

std::string integerText(__int128 value)
{
    const bool negative = value < 0;
    unsigned __int128 magnitude = negative ? -static_cast<unsigned __int128>(value) : value;
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
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

}  // namespace

struct PlotWindow::Frame {
    ValueAxis axis;
    TimeTicks ticks;
    int64_t mostInColumn = 0;
};

void PlotWindow::render()
{
    if (!window_ || !canvas_.dc())
        return;
    canvas_.flush();
    canvas_.fill(client_, kBackground);
    if (!recording_.plottable()) {
        readout_ = PlotReadout{};
        EnableWindow(exportButton_, FALSE);
        paintMessage(kNoValues);
        return;
    }
    if (!recording_.hasSamples()) {
        readout_ = PlotReadout{};
        EnableWindow(exportButton_, FALSE);
        paintMessage(kNoSamples);
        return;
    }
    Frame frame;
    // Cursors, the page band and the box leave the envelope as it was.
    if (envelopeStale_ || !(envelopeSpan_ == view_.span()) || columns_.size() != size_t(plotWidth())) {
        // Asked before the envelope: whatever it is summarised then, the envelope holds.
        pictureComplete_ = recording_.summarised();
        recording_.envelope(view_.span(), plotWidth(), columns_, envelopeBase_);
        envelopeSpan_ = view_.span();
        envelopeStale_ = false;
    }
    double low = std::numeric_limits<double>::infinity(), high = -low;
    samplesDrawn_ = 0;
    for (const PlotColumn& column : columns_) {
        if (column.count <= 0)
            continue;
        samplesDrawn_ += column.count;
        frame.mostInColumn = std::max(frame.mostInColumn, column.count);
        // Infinities are drawn at the edges; they do not stretch the axis.
        if (std::isfinite(column.minimum))
            low = std::min(low, column.minimum);
        if (std::isfinite(column.maximum))
            high = std::max(high, column.maximum);
        if (std::isfinite(column.maximum))
            low = std::min(low, column.maximum);
        if (std::isfinite(column.minimum))
            high = std::max(high, column.minimum);
    }
    const int plotHeight = plotArea_.bottom - plotArea_.top;
    frame.axis = valueAxis(low, high, std::max(2, plotHeight / kValueLabelPitch));
    frame.ticks = timeTicks(view_.span().from, view_.span().to, std::max(1, plotWidth() / kTimeLabelPitch));

    paintShading();
    paintGrid(frame);
    paintSegments();
    if (frame.mostInColumn > 1)
        paintEnvelope(frame);
    paintCursors();
    canvas_.flush();
    if (frame.mostInColumn == 1)
        paintSamples(frame);
    paintLabels(frame);
    paintBox();
    updateReadout();
    paintStrip();
}

int PlotWindow::valueY(const Frame& frame, double value) const
{
    const int top = plotArea_.top, bottom = plotArea_.bottom - 1;
    if (std::isnan(value))
        return bottom;
    const double range = frame.axis.high - frame.axis.low;
    const double y = bottom - (value - frame.axis.low) / range * (bottom - top);
    if (!(y > top))
        return top;
    return y < bottom ? static_cast<int>(std::lround(y)) : bottom;
}

void PlotWindow::paintMessage(const char* text)
{
    HDC dc = canvas_.dc();
    quor::SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    drawText(dc, client_.right / 2, client_.bottom / 2 - 8, text, TA_CENTER | TA_TOP);
}

void PlotWindow::paintShading()
{
    if (!hasPage_)
        return;
    const int left = std::max<int>(columnOf(pageFirst_), plotArea_.left);
    const int right = std::min<int>(columnOf(pageLast_), plotArea_.right - 1);
    if (left <= right)
        canvas_.fill(RECT{left, plotArea_.top, right + 1, plotArea_.bottom}, kPageColour);
}

void PlotWindow::paintGrid(const Frame& frame)
{
    for (int64_t t : frame.ticks.ticks)
        canvas_.verticalLine(columnOf(t), plotArea_.top, plotArea_.bottom - 1, kGridLine);
    for (double v : frame.axis.ticks)
        canvas_.horizontalLine(valueY(frame, v), plotArea_.left, plotArea_.right - 1, kGridLine);
}

void PlotWindow::paintSegments()
{
    for (const TimeSpan& segment : recording_.segments()) {
        for (int64_t edge : {segment.from, segment.to}) {
            const int x = columnOf(edge);
            if (x >= plotArea_.left && x < plotArea_.right)
                canvas_.verticalLine(x, plotArea_.top, plotArea_.bottom - 1, kSegmentLine);
        }
    }
}

// Each column is a stroke from its minimum to its maximum, stretched to meet
// the stroke before it, so that a continuous signal reads as one line and a
// lone spike is still a stroke. An empty column breaks the line.
void PlotWindow::paintEnvelope(const Frame& frame)
{
    bool previous = false;
    int previousTop = 0, previousBottom = 0;
    for (size_t k = 0; k < columns_.size(); ++k) {
        const PlotColumn& column = columns_[k];
        if (column.count <= 0) {
            previous = false;
            continue;
        }
        int top = valueY(frame, column.maximum), bottom = valueY(frame, column.minimum);
        const int strokeTop = top, strokeBottom = bottom;
        if (previous) {
            if (previousBottom < top)
                top = previousBottom;
            if (previousTop > bottom)
                bottom = previousTop;
        }
        canvas_.verticalLine(plotArea_.left + static_cast<int>(k), top, bottom, kSignalColour);
        previous = true;
        previousTop = strokeTop;
        previousBottom = strokeBottom;
    }
}

// Zoomed in to single samples: a line through them with a mark on each. The
// line does not cross from one segment into the next.
void PlotWindow::paintSamples(const Frame& frame)
{
    std::vector<int> segmentEnds;
    for (const TimeSpan& segment : recording_.segments())
        segmentEnds.push_back(columnOf(segment.to));
    HDC dc = canvas_.dc();
    quor::Pen pen(CreatePen(PS_SOLID, 1, kSignalColour));
    quor::Brush brush(CreateSolidBrush(kSignalColour));
    quor::SelectedObject selectedPen(dc, pen.get());
    bool previous = false;
    int previousX = 0;
    for (size_t k = 0; k < columns_.size(); ++k) {
        if (columns_[k].count <= 0)
            continue;
        const int x = plotArea_.left + static_cast<int>(k), y = valueY(frame, columns_[k].maximum);
        const bool crossesGap = std::any_of(segmentEnds.begin(), segmentEnds.end(),
                                            [&](int end) { return end >= previousX && end < x; });
        if (previous && !crossesGap)
            LineTo(dc, x, y);
        MoveToEx(dc, x, y, nullptr);
        RECT mark{x - kMarkHalf, y - kMarkHalf, x + kMarkHalf + 1, y + kMarkHalf + 1};
        FillRect(dc, &mark, brush.get());
        previous = true;
        previousX = x;
    }
}

// A cursor panned out of view leaves no mark at the frame's edge.
bool PlotWindow::cursorInView(bool b, int& x) const
{
    if (!(b ? hasB_ : hasA_))
        return false;
    x = columnOf(b ? cursorB_ : cursorA_);
    return x >= plotArea_.left && x < plotArea_.right;
}

void PlotWindow::paintCursors()
{
    int x = 0;
    if (cursorInView(false, x))
        canvas_.verticalLine(x, plotArea_.top, plotArea_.bottom - 1, kCursorA);
    if (cursorInView(true, x))
        canvas_.verticalLine(x, plotArea_.top, plotArea_.bottom - 1, kCursorB);
}

void PlotWindow::paintLabels(const Frame& frame)
{
    HDC dc = canvas_.dc();
    quor::SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);
    quor::Brush frameBrush(CreateSolidBrush(kFrame));
    RECT border{plotArea_.left - 1, plotArea_.top - 1, plotArea_.right + 1, plotArea_.bottom + 1};
    FrameRect(dc, &border, frameBrush.get());
    for (int64_t t : frame.ticks.ticks) {
        const int x = columnOf(t);
        RECT tick{x, plotArea_.bottom, x + 1, plotArea_.bottom + 4};
        FillRect(dc, &tick, frameBrush.get());
        // A label that would be cut by the window's edge is left out.
        const std::string label = timeText(t, frame.ticks.decimals);
        SIZE extent{};
        GetTextExtentPoint32A(dc, label.c_str(), static_cast<int>(label.size()), &extent);
        if (x - extent.cx / 2 >= 0 && x + (extent.cx + 1) / 2 <= client_.right)
            drawText(dc, x, plotArea_.bottom + 5, label, TA_CENTER | TA_TOP);
    }
    const int decimals = valueDecimals(frame.axis.step);
    for (double v : frame.axis.ticks) {
        const int y = valueY(frame, v);
        RECT tick{plotArea_.left - 4, y, plotArea_.left, y + 1};
        FillRect(dc, &tick, frameBrush.get());
        drawText(dc, plotArea_.left - 6, y - 7, printed("%.*f", decimals, v), TA_RIGHT | TA_TOP);
    }
    // Values beyond a double's whole numbers are drawn relative to a base;
    // the base is written once, in the corner.
    if (envelopeBase_ != 0)
        drawText(dc, plotArea_.left + 3, plotArea_.bottom - 16, "+" + integerText(envelopeBase_), TA_LEFT | TA_TOP);
    // A label is clipped to the frame: B's near the right edge must not
    // spill over it.
    IntersectClipRect(dc, plotArea_.left, plotArea_.top, plotArea_.right, plotArea_.bottom);
    int x = 0;
    SetTextColor(dc, kCursorA);
    if (cursorInView(false, x))
        drawText(dc, x + 3, plotArea_.top + 2, "A", TA_LEFT | TA_TOP);
    SetTextColor(dc, kCursorB);
    if (cursorInView(true, x))
        drawText(dc, x + 3, plotArea_.top + 16, "B", TA_LEFT | TA_TOP);
    SelectClipRgn(dc, nullptr);
}

void PlotWindow::paintBox()
{
    if (!boxing_)
        return;
    RECT box{std::min(boxFrom_, boxTo_), plotArea_.top, std::max(boxFrom_, boxTo_) + 1, plotArea_.bottom};
    DrawFocusRect(canvas_.dc(), &box);
}

// The readout follows the cursors: the sample at or before each, their
// differences and the figures of the range between them.
void PlotWindow::updateReadout()
{
    PlotReadout r;
    r.hasA = hasA_;
    r.hasB = hasB_;
    const int decimals = std::min(9, timeDecimals(std::max<int64_t>(1, view_.span().length() / std::max(1, plotWidth()))) + 1);
    bool sampledA = false, sampledB = false;
    auto line = [&](const char* name, int64_t time, PlotSample& sample, bool& sampled) {
        std::string text = std::string(name) + ": " + timeText(time, decimals);
        sampled = recording_.sampleAtOrBefore(time, sample);
        if (sampled)
            text += "   value " + sample.text + " at " + timeText(sample.time, 9);
        else
            text += "   no sample";
        return text;
    };
    if (hasA_)
        r.a = line("A", cursorA_, r.sampleA, sampledA);
    if (hasB_)
        r.b = line("B", cursorB_, r.sampleB, sampledB);
    if (hasA_ && hasB_) {
        const double dt = double(cursorB_ - cursorA_) / 1e9;
        // Without a sample under both cursors there is no difference to show.
        std::string dv;
        if (sampledA && sampledB)
            dv = recording_.integerValues()
                     ? integerText(recording_.wideValue(r.sampleB.exact) - recording_.wideValue(r.sampleA.exact))
                     : printed("%.9g", r.sampleB.value - r.sampleA.value);
        r.delta = printed("\xCE\x94t %.9g s   \xCE\x94value %s   1/\xCE\x94t %.9g Hz", dt, dv.c_str(),
                          dt != 0 ? 1 / dt : 0.0);
        if (recording_.stats(std::min(cursorA_, cursorB_), std::max(cursorA_, cursorB_), r.stats)) {
            r.range = r.stats.count > 0
                          ? printed("Samples %lld   Minimum %s   Maximum %s   Mean %.17g   RMS %.17g",
                                    static_cast<long long>(r.stats.count), r.stats.minimum.c_str(),
                                    r.stats.maximum.c_str(), r.stats.mean, r.stats.rms)
                          : std::string("Samples 0");
        }
    }
    readout_ = r;
    EnableWindow(exportButton_, hasA_ && hasB_ && !exporter_.running());
}

void PlotWindow::paintStrip()
{
    HDC dc = canvas_.dc();
    quor::SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    const int x = 8;
    int y = strip_.top + 4;
    SetTextColor(dc, kCursorA);
    drawText(dc, x, y, readout_.hasA ? readout_.a : "A: click to place", TA_LEFT | TA_TOP);
    y += kLineHeight;
    SetTextColor(dc, kCursorB);
    drawText(dc, x, y, readout_.hasB ? readout_.b : "B: Shift+click to place", TA_LEFT | TA_TOP);
    SetTextColor(dc, kText);
    y += kLineHeight;
    drawText(dc, x, y, readout_.delta, TA_LEFT | TA_TOP);
    y += kLineHeight;
    drawText(dc, x, y, readout_.range, TA_LEFT | TA_TOP);
    if (exporter_.running())
        paintProgress(exporter_.fraction(), "Exporting");
    else if (recording_.reading())
        paintProgress(recording_.progress(), "Reading");
}

RECT PlotWindow::progressBar() const
{
    const int left = client_.right - 120 - kProgressWidth, top = strip_.top + 8;
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
