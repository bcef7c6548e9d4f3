// The plot window of the real viewer with the real grids: what it draws,
// where its cursors and double-clicks lead, and how it follows the dialog.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DataViewerDialog.h"
#include "PlotShiftDialog.h"
#include "PlotText.h"
#include "SampleDir.h"
#include "SignalSummary.h"
#include "TimeText.h"
#include "ViewerTestSupport.h"
#include "WindowDriver.h"
#include "resource.h"

namespace quor {

namespace {

const DWORD kWaitMs = 60000;

// A periodic float file of `count` zeros at 1 kHz with one spike.
std::string writeSpikeFile(const std::string& name, int64_t count, int64_t spikeAt, float spike)
{
    DataFileHeader header{};
    std::ifstream in(samplePath("periodic_float.quorData"), std::ios::binary);
    in.read(reinterpret_cast<char*>(&header), sizeof header);
    header.sampleRate = 1000.0;
    const std::string path = sampleDir() + "\\" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    std::vector<float> block(1 << 20, 0.0f);
    for (int64_t done = 0; done < count;) {
        const int64_t n = std::min<int64_t>(block.size(), count - done);
        if (spikeAt >= done && spikeAt < done + n)
            block[spikeAt - done] = spike;
        out.write(reinterpret_cast<const char*>(block.data()), n * sizeof(float));
        if (spikeAt >= done && spikeAt < done + n)
            block[spikeAt - done] = 0.0f;
        done += n;
    }
    return path;
}

// A periodic file at 1 kHz in the given format whose samples are `bytes`,
// possibly cut inside a sample.
std::string writeDataFile(const std::string& name, int32_t format, int32_t size, const std::string& bytes)
{
    DataFileHeader header{};
    std::ifstream in(samplePath("periodic_float.quorData"), std::ios::binary);
    in.read(reinterpret_cast<char*>(&header), sizeof header);
    header.sampleRate = 1000.0;
    header.dataFormat = format;
    header.dataSize = size;
    const std::string path = sampleDir() + "\\" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

class PlotTest : public ViewerFixture {
protected:
    // Tools > Plot, then waits until the whole file is summarised.
    PlotWindow* openPlot()
    {
        sendCommand(window, ID_TOOLS_PLOT);
        PlotWindow* plot = dialog->plotWindow();
        if (plot)
            waitForSummary(plot);
        return plot;
    }
    // Until the picture holds the whole summary: the worker's last note,
    // not only its progress, must have been taken.
    void waitForSummary(PlotWindow* plot)
    {
        waitUntil([plot] { return !plot->plottable() || plot->pictureComplete(); });
    }
    // Pumps the test thread's messages until the condition holds or a minute passed.
    static bool waitUntil(const std::function<bool()>& condition) { return pumpUntil(condition, kWaitMs); }
    void startExport(PlotWindow& plot, const DialogAnswerer::Action& answer)
    {
        DialogAnswerer save("Save Export File", answer);
        SendMessageA(plot.window(), WM_COMMAND, MAKEWPARAM(PlotWindow::kExportButton, BN_CLICKED), 0);
        EXPECT_TRUE(save.wait());
    }
    // The window's own picture, as Ctrl+C copies it, where the shots go.
    bool savePicture(PlotWindow& plot, const std::string& name)
    {
        char folder[MAX_PATH] = "";
        if (GetEnvironmentVariableA("QUOR_SCREENSHOT_DIR", folder, MAX_PATH) == 0)
            return true;
        sendCommand(plot.window(), PlotCommand::copy);
        if (!OpenClipboard(window))
            return false;
        HBITMAP copy = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        const bool saved = copy && saveBitmap(copy, std::string(folder) + "\\" + name);
        CloseClipboard();
        return saved;
    }
    UINT plotItemState() { return GetMenuState(GetMenu(window), ID_TOOLS_PLOT, MF_BYCOMMAND); }

    static bool hasColour(const PlotWindow& plot, int x, COLORREF colour)
    {
        for (int y = plot.plotArea().top; y < plot.plotArea().bottom; ++y) {
            if (plot.pixel(x, y) == colour)
                return true;
        }
        return false;
    }
    static bool progressShown(const PlotWindow& plot)
    {
        const RECT bar = plot.progressBar();
        for (int y = bar.top; y < bar.bottom; ++y) {
            for (int x = bar.left; x < bar.right; ++x) {
                if (plot.pixel(x, y) != RGB(255, 255, 255))
                    return true;
            }
        }
        return false;
    }
    // The envelope column of the view that holds the file's spike of 100; -1 when none.
    static int columnOfSpike(const PlotWindow& plot, const std::string& path)
    {
        const int width = plot.plotArea().right - plot.plotArea().left;
        SignalSummary summary;
        std::vector<EnvelopeColumn> columns;
        if (summary.open(path.c_str()) != S_OK || summary.build() != S_OK ||
            summary.envelope(plot.view().span().from, plot.view().span().to, width, &columns) != S_OK)
            return -1;
        for (int k = 0; k < width && k < static_cast<int>(columns.size()); ++k) {
            if (columns[k].maximum.real == 100.0)
                return k;
        }
        return -1;
    }
    // The plot columns of row y drawn in the colour.
    static std::vector<int> columnsOfColour(const PlotWindow& plot, int y, COLORREF colour)
    {
        std::vector<int> drawn;
        for (int x = plot.plotArea().left; x < plot.plotArea().right; ++x) {
            if (plot.pixel(x, y) == colour)
                drawn.push_back(x - plot.plotArea().left);
        }
        return drawn;
    }
    // Pixels of the colour in the rows [top, bottom) and the columns [left, right).
    static int countColour(const PlotWindow& plot, COLORREF colour, int top, int bottom, int left, int right)
    {
        int found = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x)
                found += plot.pixel(x, y) == colour;
        }
        return found;
    }
    // Rows of a lane's band below its label, where only its signal is drawn.
    static int belowLabel(const RECT& lane) { return lane.top + 20; }
    static LPARAM at(const PlotWindow& plot, int x)
    {
        return MAKELPARAM(x, (plot.plotArea().top + plot.plotArea().bottom) / 2);
    }
    static int plotX(const PlotWindow& plot, int64_t time)
    {
        const int width = plot.plotArea().right - plot.plotArea().left;
        return plot.plotArea().left + static_cast<int>(plot.view().columnOfTime(time, width));
    }
    void click(PlotWindow& plot, int x, bool shift)
    {
        const WPARAM keys = shift ? MK_SHIFT : 0;
        SendMessageA(plot.window(), WM_LBUTTONDOWN, keys | MK_LBUTTON, at(plot, x));
        SendMessageA(plot.window(), WM_LBUTTONUP, keys, at(plot, x));
    }

};

}  // namespace

TEST_F(PlotTest, ToolsPlotOpensOneOwnedWindowOfTheFileWhileOneIsOpen)
{
    start(samplePath("periodic_int.quorData"));
    EXPECT_EQ(plotItemState() & MF_GRAYED, 0u);
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    EXPECT_EQ(windowText(plot->window()), "QUOR Data Plot - " + samplePath("periodic_int.quorData"));
    EXPECT_EQ(GetWindow(plot->window(), GW_OWNER), window);
    EXPECT_TRUE(GetWindowLongA(plot->window(), GWL_STYLE) & WS_THICKFRAME);
    const HWND first = plot->window();
    sendCommand(window, ID_TOOLS_PLOT);
    EXPECT_EQ(dialog->plotWindow()->window(), first);

    sendCommand(window, ID_FILE_CLOSE);
    EXPECT_EQ(dialog->plotWindow(), nullptr);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_NE(plotItemState() & MF_GRAYED, 0u);
}

TEST_F(PlotTest, ASingleSampleSpikeIsDrawnInItsEnvelopeColumn)
{
    const std::string path = writeSpikeFile("spike.quorData", 10000000, 6543210, 100.0f);
    start(path);
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot && plot->summarised());
    const int spikeColumn = columnOfSpike(*plot, path);
    ASSERT_GE(spikeColumn, 0);
    // Halfway up, between the zeros and the spike, only the spike's stroke.
    const int y = (plot->plotArea().top + plot->plotArea().bottom) / 2;
    EXPECT_EQ(columnsOfColour(*plot, y, PlotWindow::kSignalColour), std::vector<int>{spikeColumn});
}

TEST_F(PlotTest, GapsBetweenSegmentsAreBlankAndThePageBandFollowsTheGrid)
{
    start(samplePath("multiperiodic_float.quorData"));
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    SignalSummary summary;
    ASSERT_EQ(summary.open(samplePath("multiperiodic_float.quorData").c_str()), S_OK);
    const std::vector<SegmentSpan> segments = summary.segmentTimes();
    ASSERT_EQ(segments.size(), 3u);
    // Zoomed out this far each column holds one sample at most: the marks
    // on the samples reach two pixels beside their column.
    const int mark = 2;
    for (size_t s = 0; s + 1 < segments.size(); ++s) {
        const int lastDrawn = plotX(*plot, segments[s].endTime);
        const int nextDrawn = plotX(*plot, segments[s + 1].startTime);
        ASSERT_LT(lastDrawn + mark, nextDrawn - mark);
        EXPECT_TRUE(hasColour(*plot, lastDrawn, PlotWindow::kSignalColour));
        EXPECT_TRUE(hasColour(*plot, nextDrawn, PlotWindow::kSignalColour));
        for (int x = lastDrawn + mark + 1; x < nextDrawn - mark; ++x)
            EXPECT_FALSE(hasColour(*plot, x, PlotWindow::kSignalColour)) << "gap " << s << " x " << x;
    }

    auto band = [&] {
        std::vector<int> shaded;
        for (int x = plot->plotArea().left; x < plot->plotArea().right; ++x) {
            if (hasColour(*plot, x, PlotWindow::kPageColour))
                shaded.push_back(x);
        }
        return shaded;
    };
    auto pageColumns = [&] {
        int64_t first = 0, last = 0;
        EXPECT_TRUE(dialog->pager().shownSpan(&first, &last));
        return std::make_pair(plotX(*plot, first), plotX(*plot, last));
    };
    // Time grid lines and segment edges cross the band: a few columns of it
    // are theirs.
    auto expectBand = [&](const std::vector<int>& shaded, std::pair<int, int> page) {
        ASSERT_FALSE(shaded.empty());
        EXPECT_GE(shaded.front(), page.first);
        EXPECT_LE(shaded.front(), page.first + 1);
        EXPECT_LE(shaded.back(), page.second);
        EXPECT_GE(shaded.back(), page.second - 1);
        EXPECT_GE(static_cast<int>(shaded.size()), page.second - page.first + 1 - 3);
    };
    typeText(window, IDC_PAGE_SIZE, "100");
    clickButton(window, IDC_GOTO);
    const std::vector<int> shaded = band();
    expectBand(shaded, pageColumns());
    clickButton(window, IDC_NEXT_PAGE);
    const std::vector<int> moved = band();
    expectBand(moved, pageColumns());
    ASSERT_FALSE(moved.empty() || shaded.empty());
    EXPECT_GT(moved.front(), shaded.back() - 2);
}

TEST_F(PlotTest, CursorReadoutsAreWhatQuordataStatsPrints)
{
    const std::string path = samplePath("periodic_double.quorData");
    start(path);
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    const int left = plot->plotArea().left, width = plot->plotArea().right - left;
    click(*plot, left + width / 5, false);
    click(*plot, left + width * 3 / 5, true);
    const PlotReadout& readout = plot->readout();
    ASSERT_TRUE(readout.hasA && readout.hasB);
    ASSERT_EQ(readout.rows.size(), 1u);
    const LaneReadout row = readout.rows[0];  // a copy: the readout is made anew as messages come
    const int64_t a = plot->view().timeAtColumn(width / 5, width);
    const int64_t b = plot->view().timeAtColumn(width * 3 / 5, width);
    const std::string range = " \"" + path + "\" --from " + std::to_string(a) + " --to " + std::to_string(b);
    const std::string stats = quordataOutput("stats" + range);
    EXPECT_EQ(stats.find("Samples," + row.samples + "\r\n"), 0u) << stats;
    EXPECT_NE(stats.find("Minimum," + row.minimum + ","), std::string::npos) << stats;
    EXPECT_NE(stats.find("Maximum," + row.maximum + ","), std::string::npos) << stats;
    EXPECT_NE(stats.find("Mean," + row.mean + "\r\nRMS," + row.rms + "\r\n"), std::string::npos) << stats;
}

TEST_F(PlotTest, ExportABOfOneLaneWritesWhatQuordataMergeWrites)
{
    const std::string path = samplePath("async_double.quorData");
    start(path);
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    const int left = plot->plotArea().left, width = plot->plotArea().right - left;
    click(*plot, left + width / 3, false);
    click(*plot, left + width / 7, true);  // B before A: the range runs from B
    const int64_t b = plot->view().timeAtColumn(width / 7, width);
    const int64_t a = plot->view().timeAtColumn(width / 3, width);
    const std::string range = " \"" + path + "\" --from " + std::to_string(b) + " --to " + std::to_string(a);
    const std::string target = sampleDir() + "\\plot-export.csv";
    DeleteFileA(target.c_str());
    startExport(*plot, chooseFile(target));
    EXPECT_TRUE(waitUntil([plot] { return !plot->exportRunning(); }));
    EXPECT_EQ(fileBytes(target), quordataOutput("merge" + range));
    const std::string bytes = fileBytes(target);
    const long long rows = std::count(bytes.begin(), bytes.end(), '\n') - 1;
    EXPECT_EQ(plot->notice(), "Wrote " + std::to_string(rows) + " rows to " + target);
}

TEST_F(PlotTest, ExportABCancelRemovesItsPartialFileAndAFailedWriteSaysSo)
{
    // Ten million rows take seconds to write: the cancel comes long before the end.
    const std::string path = writeSpikeFile("long-export.quorData", 10000000, 5, 1.0f);
    start(path);
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    plot->setCursor(false, plot->view().span().from);
    plot->setCursor(true, plot->view().span().to);
    const HWND cancel = GetDlgItem(plot->window(), PlotWindow::kCancelButton);
    const std::string target = sampleDir() + "\\cancelled-export.csv";
    DeleteFileA(target.c_str());
    startExport(*plot, chooseFile(target));
    ASSERT_TRUE(plot->exportRunning());
    EXPECT_TRUE(IsWindowVisible(cancel));
    EXPECT_TRUE(progressShown(*plot) || waitUntil([plot] { return progressShown(*plot); }));
    // The rows go to a temporary file beside the target; the target itself
    // appears only when the export is complete.
    auto temporaryBytes = [&] {
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA((target + ".*.tmp").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return DWORD(0);
        FindClose(search);
        return found.nFileSizeLow;
    };
    EXPECT_TRUE(waitUntil([&] { return temporaryBytes() > 0; }));
    EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
    SendMessageA(plot->window(), WM_COMMAND, MAKEWPARAM(PlotWindow::kCancelButton, BN_CLICKED), 0);
    EXPECT_TRUE(waitUntil([&] { return !plot->exportRunning() && !IsWindowVisible(cancel); }));
    EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(temporaryBytes(), 0u);

    // A target held open without sharing cannot be written. Replacing it
    // is asked first, in a box over the Save dialog.
    const std::string locked = sampleDir() + "\\locked-export.csv";
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    {
        DialogAnswerer failed("Export A-B", pressButton(IDOK));
        startExport(*plot, chooseFileReplacing(locked));
        EXPECT_TRUE(waitUntil([&] { return failed.answered(); }));
        EXPECT_NE(failed.text().find("Unable to Write File: " + locked), std::string::npos) << failed.text();
    }
    EXPECT_FALSE(plot->exportRunning());
    CloseHandle(holder);
    DeleteFileA(locked.c_str());
}

TEST_F(PlotTest, CtrlCCopiesThePictureToTheClipboardAsABitmap)
{
    start(samplePath("periodic_float.quorData"));
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    ASSERT_TRUE(OpenClipboard(window));
    EmptyClipboard();
    CloseClipboard();
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(plot->window(), WM_KEYDOWN, 'C', 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);

    RECT client{};
    GetClientRect(plot->window(), &client);
    ASSERT_TRUE(OpenClipboard(window));
    HBITMAP copy = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP info{};
    ASSERT_TRUE(copy && GetObjectA(copy, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, client.right);
    EXPECT_EQ(info.bmHeight, client.bottom);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, copy, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    CloseClipboard();
    ASSERT_EQ(rows, info.bmHeight);
    // The plot area of the copy is the picture's, signal strokes and all.
    int differ = 0, signal = 0;
    for (int y = plot->plotArea().top; y < plot->plotArea().bottom; ++y) {
        for (int x = plot->plotArea().left; x < plot->plotArea().right; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * info.bmWidth + x];
            const COLORREF colour = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
            differ += colour != plot->pixel(x, y);
            signal += colour == PlotWindow::kSignalColour;
        }
    }
    EXPECT_EQ(differ, 0);
    EXPECT_GT(signal, 0);
    // The readout table is in the copy too: its captions are ink on it.
    ASSERT_TRUE(plot->table().window());
    RECT table{};
    GetWindowRect(plot->table().window(), &table);
    MapWindowPoints(nullptr, plot->window(), reinterpret_cast<POINT*>(&table), 2);
    std::set<uint32_t> tableColours;
    for (int y = std::max<int>(table.top, 0); y < std::min<int>(table.bottom, info.bmHeight); ++y) {
        for (int x = std::max<int>(table.left, 0); x < std::min<int>(table.right, info.bmWidth); ++x)
            tableColours.insert(pixels[static_cast<size_t>(y) * info.bmWidth + x] & 0xFFFFFF);
    }
    EXPECT_GT(tableColours.size(), 2u);
}

TEST_F(PlotTest, TheProgressBarShowsWhileTheSummaryIsReadAndGoesAfter)
{
    // Long enough that the worker is still reading when the test looks,
    // however fast the summary has become.
    const int64_t count = 40000000;
    const std::string path = writeSpikeFile("long-read.quorData", count, 5, 1.0f);
    start(path);
    sendCommand(window, ID_TOOLS_PLOT);
    PlotWindow* plot = dialog->plotWindow();
    ASSERT_TRUE(plot);
    // The first picture comes while the worker has read little of the 160 MB;
    // no note of its progress has been taken yet.
    ASSERT_FALSE(plot->pictureComplete());
    EXPECT_TRUE(progressShown(*plot));
    const HWND cancel = GetDlgItem(plot->window(), PlotWindow::kCancelButton);
    EXPECT_TRUE(IsWindowVisible(cancel));

    // Cancel stops the reading; what was read stays drawn. The notes of
    // the worker wait in the queue meanwhile.
    while (plot->readProgress() == 0)
        Sleep(1);
    ASSERT_TRUE(plot->reading());
    SendMessageA(plot->window(), WM_COMMAND, MAKEWPARAM(PlotWindow::kCancelButton, BN_CLICKED), 0);
    EXPECT_FALSE(plot->reading());
    EXPECT_FALSE(plot->summarised());
    pumpMessages();
    const int64_t drawn = plot->samplesDrawn();
    EXPECT_GT(drawn, 0);
    EXPECT_LT(drawn, count);
    Sleep(300);
    pumpMessages();
    EXPECT_EQ(plot->samplesDrawn(), drawn);
    EXPECT_FALSE(IsWindowVisible(cancel));
    EXPECT_FALSE(progressShown(*plot));

    // F5 reads on to the end.
    SendMessageA(plot->window(), WM_KEYDOWN, VK_F5, 0);
    waitForSummary(plot);
    ASSERT_TRUE(plot->pictureComplete());
    EXPECT_EQ(plot->samplesDrawn(), count);
    EXPECT_FALSE(progressShown(*plot));
    EXPECT_FALSE(IsWindowVisible(cancel));
}

TEST_F(PlotTest, AUlongRampNearTwoToTheSixtyThreeIsARampAndItsDifferencesAreExact)
{
    std::string ramp;
    for (uint64_t k = 0; k < 10000; ++k) {
        const uint64_t value = (uint64_t(1) << 63) + k;
        ramp.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    start(writeDataFile("ulong-ramp.quorData", formatUlong, 8, ramp));
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot && plot->summarised());
    // A double holds these values to 2048: a staircase of five treads.
    std::set<int> tops;
    for (int x = plot->plotArea().left; x < plot->plotArea().right; ++x) {
        for (int y = plot->plotArea().top; y < plot->plotArea().bottom; ++y) {
            if (plot->pixel(x, y) == PlotWindow::kSignalColour) {
                tops.insert(y);
                break;
            }
        }
    }
    EXPECT_GT(tops.size(), 100u);

    const int64_t ms = 1000000, first = plot->view().recording().from;
    ASSERT_GE(first, 0);
    plot->setCursor(false, first + 100 * ms);
    plot->setCursor(true, first + 4006 * ms);
    EXPECT_EQ(plot->readout().rows[0].deltaValue, "3906");
    // Before the first sample A has none: there is no difference, and its
    // time before zero takes one minus sign.
    plot->setCursor(false, -4800 * ms);
    EXPECT_EQ(plot->readout().rows[0].deltaValue, "");
    EXPECT_EQ(plot->readout().a.find("A: -000:00:00:04.800"), 0u) << plot->readout().a;
    EXPECT_EQ(plot->readout().a.find('-', 4), std::string::npos) << plot->readout().a;
}

TEST_F(PlotTest, AFileWithoutSamplesSaysSoInAWindowBesideTheDialog)
{
    const std::string headerOnly = writeDataFile("header-only.quorData", formatFloat, 4, "");
    const std::string cutShort = writeDataFile("cut-short.quorData", formatFloat, 4, "\x01\x02\x03");
    for (const std::string& path : {headerOnly, cutShort}) {
        SCOPED_TRACE(path);
        start(path);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
        SetWindowPos(window, nullptr, monitor.rcWork.left, monitor.rcWork.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PlotWindow* plot = openPlot();
        ASSERT_TRUE(plot);
        RECT dialogRect{}, plotRect{};
        GetWindowRect(window, &dialogRect);
        GetWindowRect(plot->window(), &plotRect);
        EXPECT_EQ(plotRect.left, dialogRect.right);
        EXPECT_EQ(plotRect.top, dialogRect.top);
        EXPECT_LE(plotRect.right, monitor.rcWork.right);
        EXPECT_EQ(MonitorFromWindow(plot->window(), MONITOR_DEFAULTTONULL),
                  MonitorFromWindow(window, MONITOR_DEFAULTTONULL));

        // No axes, no frame: the words in the middle of the lane.
        EXPECT_EQ(plot->pixel(plot->plotArea().left - 1, plot->plotArea().top + 5), RGB(255, 255, 255));
        const RECT lane = plot->laneRect(0);
        const int middle = (lane.top + lane.bottom) / 2;
        int ink = 0;
        for (int y = middle - 8; y < middle + 8; ++y) {
            for (int x = lane.left; x < lane.right; ++x)
                ink += plot->pixel(x, y) == RGB(0, 0, 0);
        }
        EXPECT_GT(ink, 20);
        EXPECT_EQ(plot->readout().rows[0].samples, "");
        clickButton(window, IDCANCEL);
    }
}

TEST_F(PlotTest, CursorsOutOfViewLeaveNoMarkAndBStaysInsideTheFrame)
{
    start(samplePath("periodic_float.quorData"));
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    const RECT area = plot->plotArea();
    const int width = area.right - area.left;
    plot->setCursor(false, plot->view().timeAtColumn(width / 4, width));
    plot->setCursor(true, plot->view().timeAtColumn(width - 1, width));
    auto count = [&](COLORREF colour, int fromX, int toX) {
        int found = 0;
        for (int y = 0; y <= area.bottom; ++y) {
            for (int x = fromX; x < toX; ++x)
                found += plot->pixel(x, y) == colour;
        }
        return found;
    };
    const COLORREF cursorA = RGB(200, 0, 0), cursorB = RGB(0, 140, 0);
    EXPECT_GT(count(cursorB, area.left, area.right), 0);
    EXPECT_EQ(count(cursorB, area.right, area.right + 16), 0);

    // Zoomed in on the middle, both cursors lie outside the view.
    for (int k = 0; k < 4; ++k)
        SendMessageA(plot->window(), WM_KEYDOWN, VK_ADD, 0);
    ASSERT_GT(plot->view().span().from, plot->cursors().a().time);
    EXPECT_EQ(count(cursorA, 0, area.right + 16), 0);
    EXPECT_EQ(count(cursorB, 0, area.right + 16), 0);
}

TEST_F(PlotTest, DoubleClickPagesTheDialogAsGotoWouldAndLeavesCursorA)
{
    start(samplePath("periodic_int.quorData"));  // 50 samples per second
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    click(*plot, plot->plotArea().left + 100, false);
    const std::string cursorA = plot->readout().a;
    const TimeSpan before = plot->view().span();
    const int x = plot->plotArea().left + 333;
    const int64_t time = plot->view().timeAtColumn(333, plot->plotArea().right - plot->plotArea().left);
    // What the system sends for a double-click: a click, then the double-click.
    click(*plot, x, false);
    SendMessageA(plot->window(), WM_LBUTTONDBLCLK, MK_LBUTTON, at(*plot, x));
    SendMessageA(plot->window(), WM_LBUTTONUP, 0, at(*plot, x));
    EXPECT_TRUE(plot->readout().hasA);
    EXPECT_EQ(plot->readout().a, cursorA);
    const int64_t onGrid = time / 20000000 * 20000000;
    Text text;
    formatTime(onGrid, 3, true, text);
    EXPECT_EQ(windowText(GetDlgItem(window, IDC_GOTO_TIME)), text.str());
    EXPECT_EQ(cell(dialog->dataGrid(), 1, 1), std::to_string(onGrid));
    EXPECT_EQ(gridRows(dialog->dataGrid()).size(), 500u);
    EXPECT_TRUE(plot->view().span() == before);
}

TEST_F(PlotTest, AsciiAndBlobFilesSayThereIsNothingToPlot)
{
    for (const char* name : {"periodic_ascii.quorData", "periodic_blob.quorData"}) {
        SCOPED_TRACE(name);
        start(samplePath(name));
        PlotWindow* plot = openPlot();
        ASSERT_TRUE(plot);
        EXPECT_FALSE(plot->plottable());
        EXPECT_EQ(plot->readout().rows[0].samples, "");
        // No axes: the frame around the plot area is not drawn.
        EXPECT_EQ(plot->pixel(plot->plotArea().left - 1, plot->plotArea().top + 5), RGB(255, 255, 255));
        clickButton(window, IDCANCEL);
        EXPECT_FALSE(IsWindow(plot->window()));
    }
}

TEST_F(PlotTest, OpenSwitchesThePlotAndF5ReadsWhatAGrowingFileGained)
{
    const std::string growing = sampleDir() + "\\growing.quorData";
    CopyFileA(samplePath("periodic_float.quorData").c_str(), growing.c_str(), FALSE);
    SetFileAttributesA(growing.c_str(), FILE_ATTRIBUTE_NORMAL);
    start(samplePath("periodic_int.quorData"));
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    plot->setCursor(false, plot->view().span().from);
    // File > Open replaces the linked lane's file; the lane below stays.
    ASSERT_TRUE(plot->addRecording(samplePath("periodic_long.quorData")));
    {
        FileChoice open("Select QUOR Data File", growing);
        sendCommand(window, ID_FILE_OPEN);
        EXPECT_TRUE(open.wait());
    }
    ASSERT_EQ(dialog->plotWindow(), plot);
    ASSERT_EQ(plot->laneCount(), 2);
    EXPECT_EQ(plot->lanes().linkedIndex(), 0);
    EXPECT_EQ(plot->lanes().at(0).settings.path, growing);
    EXPECT_EQ(plot->lanes().at(1).settings.path, samplePath("periodic_long.quorData"));
    plot->selectLane(1);
    SendMessageA(plot->window(), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_EQ(plot->laneCount(), 1);
    waitForSummary(plot);
    EXPECT_EQ(windowText(plot->window()), "QUOR Data Plot - " + growing);
    EXPECT_TRUE(plot->view().showsAll());
    EXPECT_FALSE(plot->readout().hasA);
    const int64_t lastBefore = plot->view().recording().to;

    {
        std::ofstream out(growing, std::ios::binary | std::ios::app);
        const std::vector<float> more(500, 7.0f);
        out.write(reinterpret_cast<const char*>(more.data()), more.size() * sizeof(float));
    }
    SendMessageA(plot->window(), WM_KEYDOWN, VK_F5, 0);
    waitForSummary(plot);
    EXPECT_EQ(plot->view().recording().to, lastBefore + 500 * 1000000);  // 1 kHz
    EXPECT_TRUE(plot->view().showsAll());

    // View > Follow keeps the end of the growing file in view, zoomed in;
    // the size is checked once a second.
    SendMessageA(plot->window(), WM_KEYDOWN, VK_ADD, 0);
    ASSERT_LT(plot->view().span().to, plot->view().recording().to);
    sendCommand(plot->window(), PlotCommand::follow);
    {
        std::ofstream out(growing, std::ios::binary | std::ios::app);
        const std::vector<float> more(500, 3.0f);
        out.write(reinterpret_cast<const char*>(more.data()), more.size() * sizeof(float));
    }
    EXPECT_TRUE(waitUntil([&] {
        return plot->view().recording().to == lastBefore + 1000 * 1000000 &&
               plot->view().span().to == plot->view().recording().to;
    }));
    sendCommand(plot->window(), PlotCommand::follow);

    // Cut short under the plot, the file is read anew within a second; the
    // cursor stays and finds the last sample left.
    const int64_t first = plot->view().recording().from;
    plot->setCursor(false, plot->view().recording().to);
    {
        HANDLE file = CreateFileA(growing.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER end{};
        end.QuadPart = sizeof(DataFileHeader) + 100 * sizeof(float);
        EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        CloseHandle(file);
    }
    EXPECT_TRUE(waitUntil([&] { return plot->view().recording().to == first + 99 * 1000000; }));
    waitForSummary(plot);
    SendMessageA(plot->window(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(plot->samplesDrawn(), 100);
    const RECT lane = plot->laneRect(0);
    EXPECT_EQ(countColour(*plot, plot->laneColour(0), lane.top, lane.bottom, plotX(*plot, first + 99 * 1000000) + 3,
                          lane.right),
              0);
    ASSERT_TRUE(plot->readout().hasA);
    EXPECT_EQ(plot->readout().rows[0].timeA, plotTimeText(first + 99 * 1000000, 9));
}

TEST_F(PlotTest, ARightDragBoxZoomsToItsSpanAndTheCursorsMarkIt)
{
    start(samplePath("multiperiodic_float.quorData"));
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    ShowWindow(window, SW_HIDE);  // the shots show the plot alone
    SetWindowPos(plot->window(), HWND_TOP, 0, 0, 900, 520, SWP_SHOWWINDOW);
    RedrawWindow(plot->window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const int left = plot->plotArea().left, width = plot->plotArea().right - left;
    EXPECT_TRUE(saveScreenNamed("plot-whole-recording.bmp"));

    const int from = left + width / 10, to = left + width / 2;
    const int64_t fromTime = plot->view().timeAtColumn(from - left, width);
    const int64_t toTime = plot->view().timeAtColumn(to - left + 1, width) - 1;
    SendMessageA(plot->window(), WM_RBUTTONDOWN, MK_RBUTTON, at(*plot, from));
    SendMessageA(plot->window(), WM_MOUSEMOVE, MK_RBUTTON, at(*plot, to));
    SendMessageA(plot->window(), WM_RBUTTONUP, 0, at(*plot, to));
    EXPECT_EQ(plot->view().span().from, fromTime);
    EXPECT_EQ(plot->view().span().to, toTime);

    click(*plot, left + width / 4, false);
    click(*plot, left + width * 2 / 3, true);
    EXPECT_TRUE(hasColour(*plot, left + width / 4, RGB(200, 0, 0)));
    EXPECT_TRUE(hasColour(*plot, left + width * 2 / 3, RGB(0, 140, 0)));
    EXPECT_GT(std::atoll(plot->readout().rows[0].samples.c_str()), 0);
    EXPECT_NE(plot->readout().delta.find(" Hz"), std::string::npos);
    RedrawWindow(plot->window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(saveScreenNamed("plot-zoom-cursors.bmp"));

    // Four recordings of one test on one axis, each with its row in the table.
    SetWindowPos(plot->window(), HWND_TOP, 0, 0, 1000, 760, SWP_SHOWWINDOW);
    for (const char* name : {"async_double.quorData", "periodic_long.quorData", "periodic_int.quorData"})
        EXPECT_TRUE(plot->addRecording(samplePath(name)));
    waitForSummary(plot);
    SendMessageA(plot->window(), WM_KEYDOWN, VK_HOME, 0);
    const int wide = plot->plotArea().right - left;
    plot->setCursor(false, plot->view().timeAtColumn(wide / 8, wide));
    plot->setCursor(true, plot->view().timeAtColumn(wide * 5 / 8, wide));
    ASSERT_EQ(plot->table().rowCount(), 5);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(plot->table().cellText(k + 1, 0), plot->readout().rows[k].label);
        EXPECT_EQ(plot->table().cellText(k + 1, 1), plot->readout().rows[k].valueA);
    }
    EXPECT_TRUE(savePicture(*plot, "plot-four-lanes.bmp"));
    // Asynchronous and integer lanes start as steps, floats as lines; the
    // label's context menu switches a lane.
    const LaneStyle steps = LaneStyle::steps, lines = LaneStyle::lines;
    EXPECT_EQ(plot->lanes().at(0).settings.style, lines);
    for (int k = 1; k < 4; ++k)
        EXPECT_EQ(plot->lanes().at(k).settings.style, steps) << k;
    {
        bool checked = false;
        MenuChooser choose(plot->window(), PlotCommand::lines, [&](HMENU menu) {
            checked = (GetMenuState(menu, PlotCommand::steps, MF_BYCOMMAND) & MF_CHECKED) != 0;
        });
        const RECT lane = plot->laneRect(3);
        SendMessageA(plot->window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(lane.left + 12, lane.top + 8));
        choose.wait();
        EXPECT_TRUE(choose.chose());
        EXPECT_TRUE(checked);
    }
    EXPECT_EQ(plot->lanes().at(3).settings.style, lines);
    EXPECT_EQ(plot->currentLane(), 3);
    plot->selectLane(1);
    sendCommand(plot->window(), PlotCommand::overlay);
    EXPECT_TRUE(savePicture(*plot, "plot-overlay.bmp"));
}

TEST_F(PlotTest, ASpikeInLaneThreeOfFourIsDrawnInItsColumnOfLaneThreeOnly)
{
    std::vector<std::string> paths;
    for (int k = 0; k < 4; ++k) {
        const std::string name = "lane" + std::to_string(k + 1) + ".quorData";
        paths.push_back(writeSpikeFile(name, 1000000, 654321, k == 2 ? 100.0f : 0.0f));
    }
    start(paths[0]);
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    for (int k = 1; k < 4; ++k)
        EXPECT_TRUE(plot->addRecording(paths[k]));
    waitForSummary(plot);
    ASSERT_EQ(plot->laneCount(), 4);
    EXPECT_EQ(std::set<COLORREF>({plot->laneColour(0), plot->laneColour(1), plot->laneColour(2), plot->laneColour(3)}).size(), 4u);

    const RECT area = plot->plotArea();
    const int spikeColumn = columnOfSpike(*plot, paths[2]);
    ASSERT_GE(spikeColumn, 0);
    // Halfway up lane 3's band, between its zeros and its spike, only the spike's stroke.
    const RECT lane3 = plot->laneRect(2);
    const int y = (lane3.top + lane3.bottom) / 2;
    EXPECT_EQ(columnsOfColour(*plot, y, plot->laneColour(2)), std::vector<int>{spikeColumn});
    // Lane 3's colour is nowhere outside its band, and the other lanes are
    // as flat at the spike as beside it.
    EXPECT_EQ(countColour(*plot, plot->laneColour(2), area.top, lane3.top, area.left, area.right), 0);
    EXPECT_EQ(countColour(*plot, plot->laneColour(2), lane3.bottom, area.bottom, area.left, area.right), 0);
    for (int k : {0, 1, 3}) {
        const RECT lane = plot->laneRect(k);
        EXPECT_TRUE(lane.bottom <= lane3.top || lane.top >= lane3.bottom) << k;
        const int spikeX = area.left + spikeColumn;
        EXPECT_EQ(countColour(*plot, plot->laneColour(k), belowLabel(lane), lane.bottom, spikeX, spikeX + 1),
                  countColour(*plot, plot->laneColour(k), belowLabel(lane), lane.bottom, spikeX - 5, spikeX - 4))
            << k;
    }
}

TEST_F(PlotTest, LanesThatDoNotOverlapLeaveBlankColumnsAndZoomBackRetracesEveryGesture)
{
    const std::string early = writeSpikeFile("early.quorData", 1000, 500, 1.0f);
    const std::string late = writeSpikeFile("late.quorData", 1000, 500, 1.0f);
    start(early);
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot && plot->addRecording(late));
    waitForSummary(plot);
    const int64_t first = plot->view().recording().from, second = 1000000000;
    // Lane > Shift... puts the second lane two seconds later, after the first one's end.
    plot->selectLane(1);
    {
        LaneShiftAnswer shift([](const std::string&, const std::string&, std::string& typed) {
            typed = "2";
            return true;
        });
        sendCommand(plot->window(), PlotCommand::shift);
    }
    waitForSummary(plot);
    ASSERT_EQ(plot->lanes().at(1).settings.offset, 2 * second);
    EXPECT_EQ(plot->view().recording().to, first + 2 * second + 999 * 1000000);
    EXPECT_TRUE(plot->view().showsAll());
    const RECT area = plot->plotArea();
    const RECT lane1 = plot->laneRect(0), lane2 = plot->laneRect(1);
    const int end1 = plotX(*plot, first + 999 * 1000000), start2 = plotX(*plot, first + 2 * second);
    EXPECT_GT(countColour(*plot, plot->laneColour(0), belowLabel(lane1), lane1.bottom, area.left, end1 + 1), 0);
    EXPECT_EQ(countColour(*plot, plot->laneColour(0), lane1.top, lane1.bottom, end1 + 2, area.right), 0);
    EXPECT_EQ(countColour(*plot, plot->laneColour(1), belowLabel(lane2), lane2.bottom, area.left, start2 - 1), 0);
    EXPECT_GT(countColour(*plot, plot->laneColour(1), lane2.top, lane2.bottom, start2, area.right), 0);

    // Ten changes of view through the keys, the wheel and the mouse; then
    // Backspace ten times walks back through each view to the first.
    std::vector<TimeSpan> views{plot->view().span()};
    const int left = area.left, width = area.right - area.left;
    auto remember = [&] { views.push_back(plot->view().span()); };
    for (int k = 0; k < 3; ++k) {
        SendMessageA(plot->window(), WM_KEYDOWN, VK_ADD, 0);
        remember();
    }
    POINT screen{left + width / 3, (area.top + area.bottom) / 2};
    ClientToScreen(plot->window(), &screen);
    for (int k = 0; k < 2; ++k) {
        SendMessageA(plot->window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
        remember();
    }
    SendMessageA(plot->window(), WM_RBUTTONDOWN, MK_RBUTTON, at(*plot, left + width / 5));
    SendMessageA(plot->window(), WM_MOUSEMOVE, MK_RBUTTON, at(*plot, left + width / 2));
    SendMessageA(plot->window(), WM_RBUTTONUP, 0, at(*plot, left + width / 2));
    remember();
    SendMessageA(plot->window(), WM_LBUTTONDOWN, MK_LBUTTON, at(*plot, left + width / 2));
    for (int x = width / 2; x > width / 4; x -= 20)
        SendMessageA(plot->window(), WM_MOUSEMOVE, MK_LBUTTON, at(*plot, left + x));
    SendMessageA(plot->window(), WM_LBUTTONUP, 0, at(*plot, left + width / 4));
    remember();
    SendMessageA(plot->window(), WM_KEYDOWN, VK_RIGHT, 0);
    remember();
    SendMessageA(plot->window(), WM_KEYDOWN, VK_SUBTRACT, 0);
    remember();
    SendMessageA(plot->window(), WM_KEYDOWN, VK_HOME, 0);
    remember();
    ASSERT_EQ(views.size(), 11u);
    for (size_t k = 1; k < views.size(); ++k)
        EXPECT_FALSE(views[k] == views[k - 1]) << k;
    for (size_t k = views.size() - 1; k > 0; --k) {
        SendMessageA(plot->window(), WM_KEYDOWN, VK_BACK, 0);
        EXPECT_EQ(plot->view().span().from, views[k - 1].from) << k;
        EXPECT_EQ(plot->view().span().to, views[k - 1].to) << k;
    }
}

TEST_F(PlotTest, AddRecordingsTakesSeveralFilesOnceEachUpToThirtyTwoLanes)
{
    const std::string folder = sampleDir() + "\\lanes";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> names;
    for (int k = 0; k < 34; ++k) {
        names.push_back("lane" + std::to_string(100 + k) + ".quorData");
        const std::string path = folder + "\\" + names.back();
        CopyFileA(samplePath("periodic_int.quorData").c_str(), path.c_str(), FALSE);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    start(folder + "\\" + names[0]);
    PlotWindow* plot = openPlot();
    ASSERT_TRUE(plot);
    // The dialog's file again, spelt another way, is a duplicate.
    std::string spelt = folder + "/" + names[0];
    for (char& c : spelt)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_FALSE(plot->addRecording(spelt));
    // One choice of 32 files, the first of them in the workspace already:
    // 31 are added, the last one finds the workspace full.
    std::string chosen = folder;
    for (int k = 0; k < 33; ++k)
        chosen += std::string(1, '\0') + names[k];
    {
        FileChoice add("Add Recordings", chosen);
        sendCommand(plot->window(), PlotCommand::addRecordings);
        EXPECT_TRUE(add.wait());
    }
    ASSERT_EQ(plot->laneCount(), 32);
    EXPECT_EQ(plot->lanes().at(31).settings.path, folder + "\\" + names[31]);
    EXPECT_FALSE(plot->addRecording(folder + "\\" + names[33]));
    EXPECT_EQ(plot->lanes().linkedIndex(), 0);
    // Delete removes the current lane and makes room; the bands stay inside the plot.
    plot->selectLane(5);
    SendMessageA(plot->window(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(plot->laneCount(), 31);
    EXPECT_EQ(plot->lanes().indexOfPath(folder + "\\" + names[5]), -1);
    // Files dropped onto the window are added as the prompt's are.
    const std::string dropped = folder + "\\" + names[33];
    HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + dropped.size() + 2);
    ASSERT_TRUE(drop);
    DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), dropped.c_str(), dropped.size());
    GlobalUnlock(drop);
    SendMessageA(plot->window(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);  // the window frees it
    ASSERT_EQ(plot->laneCount(), 32);
    EXPECT_EQ(plot->lanes().at(31).settings.path, dropped);
    waitForSummary(plot);
    EXPECT_LE(plot->laneRect(31).bottom, plot->plotArea().bottom);
    EXPECT_GT(plot->laneRect(31).top, plot->laneRect(30).top);
    // Overlaid on the lane above, a lane draws in its band, and moves with it.
    plot->selectLane(2);
    sendCommand(plot->window(), PlotCommand::overlay);
    EXPECT_EQ(plot->laneRect(2).top, plot->laneRect(1).top);
    EXPECT_EQ(plot->readout().rows.size(), 32u);
    sendCommand(plot->window(), PlotCommand::separate);
    EXPECT_GT(plot->laneRect(2).top, plot->laneRect(1).top);
}

}  // namespace quor
