// Figures for find, merge and the export's rows, each against its target:
// - find on 100 million floats once summarised, whose only hit is the last
//   sample, and with no hit at all, forward and backward: under 5 ms;
// - merge of 4 files of 10 million floats at different rates: at least 2
//   million rows per second, peak memory under 32 MB;
// - export of 10 million float rows to a file: at least 6 million rows per
//   second; int rows at least 12 million (Windows under Wine: within 1.7
//   times the native figures).
// The data files stay in DIR, for timing the quordata binary on them.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include "BenchHeader.h"
#include "CsvExport.h"
#include "DataFile.h"
#include "MergeExport.h"
#include "RangeExport.h"
#include "SignalSummary.h"

namespace quor {

namespace {

typedef std::chrono::steady_clock Clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double peakMegabytes()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / (1 << 20);
#else
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;  // kilobytes on Linux
#endif
}

// A periodic file of a sine with a little ripple; the last sample is lastValue.
template <class T>
bool writeSignal(const std::string& path, int32_t dataFormat, double rate, int64_t samples, T lastValue)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = writeBenchHeader(f, benchHeader(dataFormat, rate, sizeof(T), typePeriodic));
    std::vector<T> block(1 << 18);
    for (int64_t k = 0; ok && k < samples; k += static_cast<int64_t>(block.size())) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(block.size()), samples - k));
        for (size_t i = 0; i < n; ++i) {
            const double x = static_cast<double>(k + static_cast<int64_t>(i));
            block[i] = static_cast<T>(std::sin(x * 1e-4) * 1000 + std::fmod(x, 7) * 0.125);
        }
        if (k + static_cast<int64_t>(n) == samples)
            block[n - 1] = lastValue;
        ok = std::fwrite(block.data(), sizeof(T), n, f) == n;
    }
    return std::fclose(f) == 0 && ok;
}

void benchMerge(const std::string& dir)
{
    const double rates[] = {1000.0, 700.0, 400.0, 250.0};
    MergeRequest request;
    for (double rate : rates) {
        const std::string path = dir + "/merge_" + std::to_string(static_cast<int>(rate)) + ".quorData";
        if (!writeSignal<float>(path, formatFloat, rate, 10000000, 0.0f))
            return void(std::printf("merge: cannot write %s\n", path.c_str()));
        request.files.push_back(MergeFile{path, 0});
    }
    const std::string out = dir + "/merge.csv";
    auto sink = FileExportSink::create(out.c_str());
    std::string failed;
    const Clock::time_point start = Clock::now();
    const MergeResult result = sink ? mergeRecordings(request, *sink, &failed) : MergeResult::writeFailed;
    const double seconds = secondsSince(start);
    FILE* f = std::fopen(out.c_str(), "rb");
    int64_t rows = -1;  // the heading is not a row
    if (f) {
        char buffer[1 << 16];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            rows += std::count(buffer, buffer + n, '\n');
        std::fclose(f);
    }
    std::printf("merge: 4 x 10^7 floats, %lld rows in %.2f s: %.2f M rows/s (target >= 2), peak %.1f MB (target < 32)%s\n",
                static_cast<long long>(rows), seconds, rows / seconds / 1e6, peakMegabytes(),
                result == MergeResult::ok ? "" : " FAILED");
    std::remove(out.c_str());
}

void benchExport(const std::string& dir, const char* name, int32_t dataFormat, double target)
{
    const std::string path = dir + "/export_" + name + ".quorData";
    const int64_t rows = 10000000;
    const bool written = dataFormat == formatFloat ? writeSignal<float>(path, dataFormat, 1000.0, rows, 0.5f)
                                                   : writeSignal<int32_t>(path, dataFormat, 1000.0, rows, 7);
    if (!written)
        return void(std::printf("export: cannot write %s\n", path.c_str()));
    RangeExportRequest request;
    request.path = path.c_str();
    request.to = (rows - 1) * 1000000;
    const std::string out = dir + "/export.csv";
    auto sink = FileExportSink::create(out.c_str());
    const Clock::time_point start = Clock::now();
    const RangeExportResult result = sink ? exportTimeRange(request, *sink, nullptr) : RangeExportResult::writeFailed;
    const double seconds = secondsSince(start);
    std::printf("export: 10^7 %s rows to a file in %.2f s: %.2f M rows/s (target >= %.0f)%s\n", name, seconds,
                rows / seconds / 1e6, target, result == RangeExportResult::ok ? "" : " FAILED");
    std::remove(out.c_str());
}

double findMs(const SignalSummary& summary, FindCondition condition, const char* x, bool last, int64_t* hitTime,
              size_t* hits)
{
    FindRequest request;
    request.condition = condition;
    parseFindThreshold(x, &request.threshold);
    request.from = INT64_MIN;
    request.to = INT64_MAX;
    request.last = last;
    std::vector<FoundSample> found;
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const Clock::time_point start = Clock::now();
        summary.find(request, &found);
        best = std::min(best, secondsSince(start) * 1000);
    }
    *hits = found.size();
    *hitTime = found.empty() ? -1 : found.front().time;
    return best;
}

void benchFind(const std::string& dir)
{
    const std::string path = dir + "/find_float.quorData";
    const int64_t samples = 100000000;
    if (!writeSignal<float>(path, formatFloat, 1000.0, samples, 5000.0f))
        return void(std::printf("find: cannot write %s\n", path.c_str()));
    SignalSummary summary;
    const Clock::time_point start = Clock::now();
    if (summary.open(path.c_str()) != S_OK || summary.build() != S_OK)
        return void(std::printf("find: cannot summarise %s\n", path.c_str()));
    std::printf("find: 10^8 floats summarised in %.2f s\n", secondsSince(start));
    const struct {
        const char* what;
        FindCondition condition;
        const char* x;
        bool last;
    } cases[] = {{"above, only the last sample", FindCondition::above, "2000", false},
                 {"rising, only the last sample", FindCondition::rising, "2000", false},
                 {"above, nothing", FindCondition::above, "1e9", false},
                 {"above --last, nothing", FindCondition::above, "1e9", true},
                 {"rising --last, nothing", FindCondition::rising, "1e9", true}};
    for (const auto& c : cases) {
        int64_t time = 0;
        size_t hits = 0;
        const double ms = findMs(summary, c.condition, c.x, c.last, &time, &hits);
        std::printf("find: %-30s %.3f ms (target < 5), %zu hit(s)%s\n", c.what, ms, hits,
                    hits == 1 && time == (samples - 1) * 1000000 ? " at the last sample" : "");
    }
    std::remove(path.c_str());
}

}  // namespace

}  // namespace quor

int main(int argc, char** argv)
{
    using namespace quor;
    if (argc != 2) {
        std::fprintf(stderr, "usage: find_merge_bench DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    benchMerge(dir);  // first: its peak memory is the process's
    benchExport(dir, "float", formatFloat, 6);
    benchExport(dir, "int", formatInt, 12);
    benchFind(dir);
    return 0;
}
