// The plot workspace on 8 lanes of 100 million float samples each, window
// 1,000 x 900: the time from opening a workspace of them to its first
// picture (files in the OS cache), until every lane is summarised, the
// memory the window adds, the redraw after a pan and after a zoom step at
// every zoom level from the whole files to a few samples, and a Find whose
// only hit is the last sample. Prints medians and worst cases; judges
// nothing.
//
//   plot_bench [DATA_FOLDER [LANES [SAMPLES]]]
//
// The data files are written into DATA_FOLDER once and reused while they
// have the size wanted. With LANES above 8 the files are linked again under
// other names: each lane keeps a summary of its own, the disk and the OS
// cache hold 8 files.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "BenchHeader.h"
#include "BenchSupport.h"
#include "PlotWindow.h"
#include "TaskPool.h"
#include "WorkspaceFile.h"

namespace quor {

namespace {

const int kWindowWidth = 1000;
const int kWindowHeight = 900;
const int kRedrawsPerLevel = 11;
const int kFiles = 8;
const int kFinds = 11;
const double kSampleRate = 1000.0;
const int64_t kStartTime = 86400LL * 1000000000LL;
// Every lane's values stay well below this, but for lane 0's last sample.
const double kFindThreshold = 500.0;

// A 1 kHz float signal per lane: a slow sine of its own phase with noise and
// a one-sample spike every ten million samples; the first lane ends on a
// sample far above all others, the only one Find's threshold meets.
bool writeLane(const std::string& path, int lane, int64_t count)
{
    DataFileHeader header = benchHeader(formatFloat, kSampleRate, 4, typePeriodic);
    header.tagId = 100 + lane;
    header.startTime = kStartTime;
    header.endTime = kStartTime + (count - 1) * 1000000LL;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = writeBenchHeader(file, header);
    std::vector<float> block(1 << 20);
    uint32_t noise = 12345u + uint32_t(lane);
    for (int64_t done = 0; ok && done < count;) {
        const int64_t n = std::min<int64_t>(block.size(), count - done);
        for (int64_t i = 0; i < n; ++i) {
            const int64_t k = done + i;
            noise = noise * 1664525u + 1013904223u;
            block[i] = float(std::sin(double(k) * 2e-6 + lane) * 10.0 + double(noise >> 20) / 4096.0 - 0.5);
            if (k % 10000000 == 5000000 + lane * 100000)
                block[i] = 40.0f;
            if (lane == 0 && k == count - 1)
                block[i] = 1000.0f;
        }
        ok = std::fwrite(block.data(), sizeof(float), size_t(n), file) == size_t(n);
        done += n;
    }
    return std::fclose(file) == 0 && ok;
}

int64_t sizeOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<int64_t>((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

// The lanes' files, written when missing or of another length.
bool prepareFiles(const std::string& folder, int lanes, int64_t samples, std::vector<std::string>* paths)
{
    const int64_t size = kHeaderSize + samples * 4;
    for (int k = 0; k < lanes; ++k) {
        const std::string file = folder + "\\plot_lane_" + std::to_string(k % kFiles) + "_" +
                                 std::to_string(static_cast<long long>(samples)) + ".quorData";
        if (k < kFiles && sizeOf(file) != size) {
            std::printf("writing %s...\n", file.c_str());
            std::fflush(stdout);
            if (!writeLane(file, k, samples))
                return false;
        }
        if (k < kFiles) {
            paths->push_back(file);
            continue;
        }
        const std::string link = folder + "\\plot_lane_" + std::to_string(k) + "_" +
                                 std::to_string(static_cast<long long>(samples)) + ".quorData";
        if (sizeOf(link) != size && (DeleteFileA(link.c_str()), !CreateHardLinkA(link.c_str(), file.c_str(), nullptr)))
            return false;
        paths->push_back(link);
    }
    return true;
}

// A few messages at a time: the lanes' progress notes may keep coming.
void pump()
{
    MSG message;
    for (int k = 0; k < 16 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++k)
        DispatchMessageA(&message);
}

void pumpAll()
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

// One message and the paint it asks for, in ms, until the picture is on
// the screen: GDI may batch the drawing and leave it to the next frame.
double timedMessage(PlotWindow& plot, UINT message, WPARAM wParam, LPARAM lParam)
{
    const double start = now();
    SendMessageA(plot.window(), message, wParam, lParam);
    UpdateWindow(plot.window());
    GdiFlush();
    return (now() - start) * 1000.0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double worst(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

struct Opening {
    double firstPicture = -1;  // s
    double summarised = 0;     // s
};

// Opens the workspace and waits for every lane's summary.
Opening openAndSummarise(PlotWindow& plot, const std::string& workspace)
{
    Opening o;
    const double start = now();
    if (!plot.openWorkspace(nullptr, workspace))
        return o;
    SetWindowPos(plot.window(), nullptr, 0, 0, kWindowWidth, kWindowHeight, SWP_NOMOVE | SWP_NOZORDER);
    while (!plot.summarised()) {
        if (o.firstPicture < 0 && plot.samplesDrawn() > 0)
            o.firstPicture = now() - start;
        pump();
        Sleep(1);
    }
    pumpAll();
    UpdateWindow(plot.window());
    if (o.firstPicture < 0)
        o.firstPicture = now() - start;
    o.summarised = now() - start;
    return o;
}

// Drags the plot by the mouse at every zoom level from the whole view
// inwards: each move brings 40 new columns.
std::vector<double> measureDrags(PlotWindow& plot)
{
    std::vector<double> times;
    SendMessageA(plot.window(), WM_KEYDOWN, VK_HOME, 0);
    UpdateWindow(plot.window());
    const RECT area = plot.plotArea();
    const int y = (area.top + area.bottom) / 2;
    for (int level = 0; level < 12; ++level) {
        int x = (area.left + area.right) / 2;
        SendMessageA(plot.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        for (int move = 0; move < 5; ++move) {
            x += (level % 2 ? 40 : -40);
            times.push_back(timedMessage(plot, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)));
        }
        SendMessageA(plot.window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        SendMessageA(plot.window(), WM_KEYDOWN, VK_ADD, 0);
        UpdateWindow(plot.window());
    }
    return times;
}

// Pans at every zoom level and the zoom step into it, from the whole view
// inwards; then wheel notches from the whole view, whose every column edge
// is new.
void measureRedraws(PlotWindow& plot)
{
    std::printf("%-26s %14s %12s %12s %14s\n", "view", "ms across", "pan median", "pan worst", "zoom-in ms");
    SendMessageA(plot.window(), WM_KEYDOWN, VK_HOME, 0);
    std::vector<double> pans, zooms;
    double zoomIn = 0;
    for (int level = 0;; ++level) {
        std::vector<double> times;
        for (int i = 0; i < kRedrawsPerLevel; ++i)
            times.push_back(timedMessage(plot, WM_KEYDOWN, (i % 2) ? VK_LEFT : VK_RIGHT, 0));
        pans.insert(pans.end(), times.begin(), times.end());
        std::printf("zoom 1/2^%-17d %14lld %12.2f %12.2f %14.2f\n", level,
                    static_cast<long long>(plot.view().span().length() / 1000000), median(times), worst(times),
                    zoomIn);
        const int64_t lengthBefore = plot.view().span().length();
        zoomIn = timedMessage(plot, WM_KEYDOWN, VK_ADD, 0);
        if (plot.view().span().length() == lengthBefore)
            break;
        zooms.push_back(zoomIn);
    }
    SendMessageA(plot.window(), WM_KEYDOWN, VK_HOME, 0);
    UpdateWindow(plot.window());
    std::vector<double> wheel;
    for (int i = 0; i < kRedrawsPerLevel; ++i) {
        POINT at{(plot.plotArea().left + plot.plotArea().right) / 3, (plot.plotArea().top + plot.plotArea().bottom) / 2};
        ClientToScreen(plot.window(), &at);
        wheel.push_back(timedMessage(plot, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(at.x, at.y)));
    }
    std::printf("redraw after a pan (arrow keys): median %.2f ms, worst %.2f ms (target 16 ms)\n", median(pans),
                worst(pans));
    std::vector<double> drags = measureDrags(plot);
    std::printf("redraw after a mouse move of a drag, 40 pixels: median %.2f ms, worst %.2f ms (target 16 ms)\n",
                median(drags), worst(drags));
    std::printf("redraw after a zoom step (+ key): median %.2f ms, worst %.2f ms (target 16 ms)\n", median(zooms),
                worst(zooms));
    std::printf("redraw after a wheel notch from the whole view: median %.2f ms, worst %.2f ms (target 16 ms)\n",
                median(wheel), worst(wheel));
    std::printf("  each notch inwards from the whole view, ms:");
    for (double ms : wheel)
        std::printf(" %.1f", ms);
    std::printf("\n");
}

// Find above the threshold from the start of the first lane: the only hit is
// its last sample.
void measureFind(PlotWindow& plot)
{
    FindThreshold threshold;
    if (!parseFindThreshold("500", &threshold)) {
        std::printf("find: threshold not understood\n");
        return;
    }
    std::vector<double> times;
    bool found = true;
    for (int i = 0; i < kFinds && found; ++i) {
        plot.setCursor(false, kStartTime);
        const double start = now();
        found = plot.findFrom(0, FindCondition::above, threshold, false);
        times.push_back((now() - start) * 1000.0);
    }
    std::printf("find with the only hit at the last sample: median %.2f ms, worst %.2f ms%s (target 20 ms)\n",
                median(times), worst(times), found ? "" : ", NOT FOUND");
}

// The lanes' envelope queries alone, outside the window, at every zoom
// step from the whole view: what a redraw with every column edge new spends
// reading and scanning the blocks under the edges, the rest being painting.
// One lane after another, then side by side on the window's kind of pool
// (fresh summaries each time: none keeps the other's edges).
void measureQueries(const std::vector<std::string>& paths, int helpers)
{
    std::vector<std::unique_ptr<LaneRecording>> lanes;
    for (const std::string& path : paths) {
        lanes.emplace_back(new LaneRecording);
        lanes.back()->open(path, nullptr);
    }
    for (const auto& lane : lanes)
        while (lane->reading())
            Sleep(5);
    PlotView view;
    view.setRecording(lanes[0]->extent().from, lanes[0]->extent().to, lanes[0]->shortestSpan());
    std::vector<std::vector<LaneColumn>> columns(lanes.size());
    std::vector<__int128> bases(lanes.size());
    TaskPool pool(helpers);
    std::printf("the lanes' envelopes alone, every edge new (%lld samples a block), %d thread(s):",
                static_cast<long long>(lanes[0]->blockSamples()), helpers + 1);
    for (int level = 1; level <= 8; ++level) {
        view.zoomAround(kWindowWidth / 3, kWindowWidth - 100, 0.5);
        const double start = now();
        pool.run(static_cast<int>(lanes.size()), [&](int k) {
            lanes[k]->envelope(view.span(), kWindowWidth - 100, columns[k], bases[k]);
        });
        std::printf(" %.1f", (now() - start) * 1000.0);
    }
    std::printf(" ms at zoom 1/2^1 .. 1/2^8\n");
}

}  // namespace

}  // namespace quor

int main(int argc, char** argv)
{
    using namespace quor;
    const std::string folder = argc > 1 ? argv[1] : benchFolder("quorplot_bench_");
    const int lanes = argc > 2 ? std::max(1, std::min(LaneList::kMostLanes, std::atoi(argv[2]))) : kFiles;
    const int64_t samples = argc > 3 ? std::atoll(argv[3]) : 100000000LL;
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> paths;
    if (!prepareFiles(folder, lanes, samples, &paths)) {
        std::fprintf(stderr, "plot_bench: cannot write the data files in %s\n", folder.c_str());
        return 1;
    }
    Workspace workspace;
    for (const std::string& path : paths) {
        WorkspaceLane lane;
        lane.settings.path = path;
        workspace.lanes.push_back(lane);
    }
    const std::string workspacePath = folder + "\\plot_bench.quorWorkspace";
    if (!saveWorkspaceFile(workspacePath, workspace)) {
        std::fprintf(stderr, "plot_bench: cannot write %s\n", workspacePath.c_str());
        return 1;
    }
    std::printf("%d lanes of %lld float samples, window %d x %d\n", lanes, static_cast<long long>(samples),
                kWindowWidth, kWindowHeight);
    {
        // The first opening brings the files into the OS cache.
        PlotWindow warm(nullptr);
        openAndSummarise(warm, workspacePath);
        warm.close();
        pumpAll();
    }
    std::vector<double> firsts, wholes;
    const SIZE_T before = privateBytes();
    SIZE_T added = 0;
    for (int run = 0; run < 3; ++run) {
        PlotWindow plot(nullptr);
        const Opening o = openAndSummarise(plot, workspacePath);
        firsts.push_back(o.firstPicture);
        wholes.push_back(o.summarised);
        if (run == 2) {
            added = privateBytes() - before;
            std::printf("first picture after opening: median %.3f s (target 0.5 s)\n", median(firsts));
            std::printf("all %d lanes summarised: median %.2f s (target 4 s for 8 lanes)\n", lanes, median(wholes));
            std::printf("memory added by the window: %.1f MB for %d lanes (target 160 MB for 32 lanes)\n",
                        double(added) / 1e6, lanes);
            measureRedraws(plot);
            measureFind(plot);
        }
        plot.close();
        pumpAll();
    }
    measureQueries(paths, 0);
    measureQueries(paths, TaskPool::helpersForThisMachine());
    DeleteFileA(workspacePath.c_str());
    return 0;
}
