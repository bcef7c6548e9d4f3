// The plot window on 100 million float samples at 1,000 x 400 pixels: the
// time from opening the window to its first picture (file in the OS cache),
// the time until everything is summarised, and the redraw after a zoom or
// pan message at every zoom level from the whole file to a few samples.
// Prints medians and worst cases; judges nothing.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "DataFile.h"
#include "PlotWindow.h"
#include "SignalSummary.h"

namespace quor {

namespace {

const int kPlotWidth = 1000;
const int kPlotHeight = 400;
const int kRedrawsPerLevel = 21;

// A 1 kHz float signal: a slow sine with noise and a one-sample spike every
// ten million samples.
bool writeSignal(const std::string& path, int64_t count)
{
    DataFileHeader header{};
    std::snprintf(header.version, sizeof header.version, "QuorDataFileVersion 1.0");
    header.tagId = 1;
    header.dataFormat = formatFloat;
    header.sampleRate = 1000.0;
    header.startTime = 86400LL * 1000000000LL;
    header.endTime = header.startTime + (count - 1) * 1000000LL;
    header.dataSize = 4;
    header.byteOrder = 1;
    header.dataType = typePeriodic;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(&header, sizeof header, 1, file) == 1;
    std::vector<float> block(1 << 20);
    uint32_t noise = 12345;
    for (int64_t done = 0; ok && done < count;) {
        const int64_t n = std::min<int64_t>(block.size(), count - done);
        for (int64_t i = 0; i < n; ++i) {
            const int64_t k = done + i;
            noise = noise * 1664525u + 1013904223u;
            block[i] = float(std::sin(double(k) * 2e-6) * 10.0 + double(noise >> 20) / 4096.0 - 0.5);
            if (k % 10000000 == 5000000)
                block[i] = 40.0f;
        }
        ok = std::fwrite(block.data(), sizeof(float), size_t(n), file) == size_t(n);
        done += n;
    }
    return std::fclose(file) == 0 && ok;
}

void pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

double now()
{
    static LARGE_INTEGER start = [] {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        return t;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return secondsBetween(start, t);
}

// The window's outer size that gives a plot area of exactly the wanted size.
void sizePlotArea(PlotWindow& plot)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT outer;
        GetWindowRect(plot.window(), &outer);
        const RECT& area = plot.plotArea();
        const int dw = kPlotWidth - (area.right - area.left), dh = kPlotHeight - (area.bottom - area.top);
        if (dw == 0 && dh == 0)
            return;
        SetWindowPos(plot.window(), nullptr, 0, 0, outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
}

// One message and the paint it asks for.
double timedMessage(PlotWindow& plot, UINT message, WPARAM wParam, LPARAM lParam)
{
    const double start = now();
    SendMessageA(plot.window(), message, wParam, lParam);
    UpdateWindow(plot.window());
    return (now() - start) * 1000.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double summarise(PlotWindow& plot, const std::string& path, double* firstPicture)
{
    const double start = now();
    plot.show(nullptr, path.c_str());
    sizePlotArea(plot);
    *firstPicture = -1;
    while (!plot.summarised()) {
        pump();
        if (*firstPicture < 0 && plot.samplesDrawn() > 0)
            *firstPicture = now() - start;
        Sleep(1);
    }
    pump();
    if (*firstPicture < 0)
        *firstPicture = now() - start;
    return now() - start;
}

}  // namespace

}  // namespace quor

int main(int argc, char** argv)
{
    using namespace quor;
    const int64_t samples = argc > 1 ? std::atoll(argv[1]) : 100000000LL;
    const std::string dir = benchFolder("quorplot_bench_");
    const std::string path = dir + "\\signal.quorData";
    std::printf("writing %lld float samples...\n", static_cast<long long>(samples));
    if (!writeSignal(path, samples)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    const SIZE_T before = privateBytes();
    {
        PlotWindow plot(nullptr);
        double firstPicture = 0;
        summarise(plot, path, &firstPicture);  // brings the file into the OS cache
        const double whole = summarise(plot, path, &firstPicture);
        std::printf("first picture: %.3f s after the window opened (target 0.5 s); whole file summarised in %.2f s\n",
                    firstPicture, whole);
        std::printf("private bytes with the plot open: +%.1f MB\n", double(privateBytes() - before) / 1e6);

        // The envelope query alone, from a summary of the same file, for the
        // share of each redraw that is the engine's.
        SignalSummary summary;
        summary.open(path.c_str());
        summary.build();
        std::vector<EnvelopeColumn> columns;
        std::printf("%-28s %12s %12s %14s %12s\n", "view (samples across)", "median ms", "worst ms", "envelope ms",
                    "zoom-in ms");
        SendMessageA(plot.window(), WM_KEYDOWN, VK_HOME, 0);
        double worstOfAll = 0;
        double zoomIn = 0;  // the redraw that brought the view to this level: all its column edges new
        for (int level = 0;; ++level) {
            std::vector<double> times;
            for (int i = 0; i < kRedrawsPerLevel; ++i)
                times.push_back(timedMessage(plot, WM_KEYDOWN, (i % 2) ? VK_LEFT : VK_RIGHT, 0));
            const double worst = *std::max_element(times.begin(), times.end());
            worstOfAll = std::max(worstOfAll, worst);
            const long long across = static_cast<long long>(plot.view().span().length() / 1000000);
            std::vector<double> queries;
            for (int i = 0; i < kRedrawsPerLevel; ++i) {
                const double start = now();
                summary.envelope(plot.view().span().from, plot.view().span().to, kPlotWidth, &columns);
                queries.push_back((now() - start) * 1000.0);
            }
            std::printf("zoom 1/2^%-2d %16lld %12.2f %12.2f %14.2f %12.2f\n", level, across, median(times), worst,
                        median(queries), zoomIn);
            const int64_t lengthBefore = plot.view().span().length();
            zoomIn = timedMessage(plot, WM_KEYDOWN, VK_ADD, 0);
            worstOfAll = std::max(worstOfAll, zoomIn);
            if (plot.view().span().length() == lengthBefore)
                break;
        }
        // A notch of the wheel at a time from the whole view inwards: each
        // redraw's column edges are all new.
        SendMessageA(plot.window(), WM_KEYDOWN, VK_HOME, 0);
        std::vector<double> wheel;
        for (int i = 0; i < kRedrawsPerLevel; ++i) {
            POINT middle{(plot.plotArea().left + plot.plotArea().right) / 3, 100};
            ClientToScreen(plot.window(), &middle);
            wheel.push_back(
                timedMessage(plot, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(middle.x, middle.y)));
        }
        worstOfAll = std::max(worstOfAll, *std::max_element(wheel.begin(), wheel.end()));
        std::printf("wheel zoom-in from the whole view, %d notches: median %.2f ms, worst %.2f ms\n",
                    kRedrawsPerLevel, median(wheel), *std::max_element(wheel.begin(), wheel.end()));
        std::printf("worst redraw at any level, pans and zooms: %.2f ms (target 16 ms)\n", worstOfAll);
        plot.close();
    }
    DeleteFileA(path.c_str());
    RemoveDirectoryA(dir.c_str());
    return 0;
}
