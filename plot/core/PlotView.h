// Which stretch of time the plot shows and how it maps onto pixel columns.
// Column k of a view [from, to] drawn in n columns covers the times
// [from + floor(k * span / n), from + floor((k + 1) * span / n)), span =
// to - from + 1: the same columns the envelope query answers for, so that a
// pixel and its column of the envelope always hold the same samples.
#pragma once

#include <cstdint>

namespace quor {

struct TimeSpan {
    int64_t from = 0;
    int64_t to = 0;  // inclusive
    int64_t length() const { return to - from + 1; }
    bool operator==(const TimeSpan& other) const { return from == other.from && to == other.to; }
};

class PlotView {
public:
    // The recording's first and last sample time, and the shortest span the
    // view may zoom to (a few samples). Shows the whole recording.
    void setRecording(int64_t first, int64_t last, int64_t shortestSpan);
    // A recording that grew: the limits follow, the view stays; a view that
    // showed everything goes on showing everything.
    void extendRecording(int64_t last);

    const TimeSpan& span() const { return span_; }
    const TimeSpan& recording() const { return recording_; }
    bool showsAll() const { return span_ == recording_; }

    void showAll();
    // factor < 1 zooms in, > 1 out, keeping the time under column x in place.
    void zoomAround(int x, int width, double factor);
    // Moves the view by pixels (positive: towards later times).
    void panPixels(int pixels, int width);
    void panFraction(double fraction);
    void zoomTo(int64_t from, int64_t to);

    // The first time of column x (x may lie outside 0..width-1).
    int64_t timeAtColumn(int x, int width) const;
    // The column holding time t (may lie outside 0..width-1).
    int64_t columnOfTime(int64_t t, int width) const;

private:
    void place(int64_t from, int64_t length);

    TimeSpan recording_;
    TimeSpan span_;
    int64_t shortestSpan_ = 1;
};

}  // namespace quor
