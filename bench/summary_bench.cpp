// Figures for the signal summary on 100 million float samples (400 MB, in
// the OS cache after the first pass): the build, the envelope of 1,000
// columns and the statistics of ranges from the whole file down to 1,000
// samples. Each figure is printed beside a brute-force scan of the same
// samples, with the ratio of the two.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BenchHeader.h"
#include "DataFile.h"
#include "FileHandle.h"
#include "SignalSummary.h"

namespace quor {

namespace {

const int64_t kPeriodNs = 1000000;  // 1000 Hz
const int32_t kColumns = 1000;

typedef std::chrono::steady_clock Clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A sine with a little noise and one spike.
bool writeFloats(const std::string& path, int64_t samples)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = writeBenchHeader(f, benchHeader(formatFloat, 1000.0, 4, typePeriodic));
    std::vector<float> block(1 << 20);
    std::mt19937 rng(1);
    for (int64_t k = 0; ok && k < samples; k += static_cast<int64_t>(block.size())) {
        const size_t n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(block.size()), samples - k));
        for (size_t i = 0; i < n; ++i)
            block[i] = static_cast<float>(std::sin(static_cast<double>(k + static_cast<int64_t>(i)) * 1e-4)) +
                       static_cast<float>(rng() % 1000) * 1e-5f;
        if (k == 0)
            block[n / 2] = 9.0f;
        ok = std::fwrite(block.data(), 4, n, f) == n;
    }
    return std::fclose(f) == 0 && ok;
}

// The brute-force scan: every sample of [first, first + count) read and
// folded into count, minimum, maximum, sum and sum of squares.
struct ScanFigures {
    int64_t count = 0;
    float minimum = 0, maximum = 0;
    double sum = 0, sumOfSquares = 0;
};

ScanFigures scan(FileHandle& file, int64_t first, int64_t count, std::vector<float>& buffer)
{
    ScanFigures f;
    f.minimum = HUGE_VALF;
    f.maximum = -HUGE_VALF;
    for (int64_t done = 0; done < count;) {
        const int64_t n = std::min<int64_t>(static_cast<int64_t>(buffer.size()), count - done);
        uint32_t got = 0;
        file.readAt(1024 + (first + done) * 4, buffer.data(), static_cast<uint32_t>(n * 4), &got);
        for (int64_t i = 0; i < n; ++i) {
            const float v = buffer[static_cast<size_t>(i)];
            if (v != v)
                continue;
            ++f.count;
            f.minimum = std::min(f.minimum, v);
            f.maximum = std::max(f.maximum, v);
            f.sum += v;
            f.sumOfSquares += static_cast<double>(v) * v;
        }
        done += n;
    }
    return f;
}

struct Timing {
    double median = 0, worst = 0;
};

Timing timingOf(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return Timing{ms[ms.size() / 2], ms.back()};
}

void printRow(const char* what, const Timing& summary, double bruteMs)
{
    std::printf("  %-34s median %9.4f ms  worst %9.4f ms   scan %10.3f ms   ratio %10.0fx\n", what, summary.median,
                summary.worst, bruteMs, bruteMs / std::max(summary.median, 1e-6));
}

void benchQueries(const SignalSummary& summary, FileHandle& file, int64_t samples)
{
    std::mt19937_64 rng(7);
    std::vector<float> buffer(1 << 18);
    std::vector<EnvelopeColumn> columns;
    for (int64_t range = samples; range >= 1000; range /= 10) {
        std::vector<double> envelopeMs, statsMs;
        double bruteMs = 0;
        int bruteRuns = 0;
        for (int run = 0; run < 41; ++run) {
            const int64_t first = run == 0 ? 0 : static_cast<int64_t>(rng() % uint64_t(samples - range + 1));
            const int64_t from = first * kPeriodNs;
            const int64_t to = (first + range) * kPeriodNs - 1;
            Clock::time_point start = Clock::now();
            summary.envelope(from, to, kColumns, &columns);
            envelopeMs.push_back(msSince(start));
            RangeStats stats;
            start = Clock::now();
            summary.stats(from, to, &stats);
            statsMs.push_back(msSince(start));
            if (run < 3) {
                start = Clock::now();
                scan(file, first, range, buffer);
                bruteMs += msSince(start);
                ++bruteRuns;
            }
        }
        char what[80];
        std::snprintf(what, sizeof what, "envelope, %lld samples", static_cast<long long>(range));
        printRow(what, timingOf(envelopeMs), bruteMs / bruteRuns);
        std::snprintf(what, sizeof what, "statistics, %lld samples", static_cast<long long>(range));
        printRow(what, timingOf(statsMs), bruteMs / bruteRuns);
    }
}

}  // namespace

}  // namespace quor

int main(int argc, char** argv)
{
    using namespace quor;
    const std::string dir = argc > 1 ? argv[1] : ".";
    const int64_t samples = argc > 2 ? std::atoll(argv[2]) : 100000000;
    const std::string path = dir + "/summary_bench.quorData";
    std::printf("signal summary: %lld float samples\n", static_cast<long long>(samples));
    if (!writeFloats(path, samples)) {
        std::printf("cannot write %s\n", path.c_str());
        return 1;
    }
    FileHandle file;
    file.open(path.c_str(), FileHandle::modeRead);
    std::vector<float> buffer(1 << 18);
    scan(file, 0, samples, buffer);  // into the OS cache
    Clock::time_point start = Clock::now();
    const ScanFigures whole = scan(file, 0, samples, buffer);
    const double scanMs = msSince(start);

    SignalSummary summary;
    start = Clock::now();
    summary.open(path.c_str());
    const HRESULT built = summary.build();
    const double buildMs = msSince(start);
    RangeStats stats;
    summary.stats(INT64_MIN, INT64_MAX, &stats);
    std::printf("  build %s: %.1f ms (scan %.1f ms, ratio %.2f), %.1f MB held, %lld samples per block\n",
                built == S_OK ? "done" : "FAILED", buildMs, scanMs, scanMs / buildMs,
                static_cast<double>(summary.memoryBytes()) / 1e6, static_cast<long long>(summary.blockSamples()));
    std::printf("  whole file: %lld samples, max %g (scan %lld, max %g)\n", static_cast<long long>(stats.count),
                stats.maximum.real, static_cast<long long>(whole.count), static_cast<double>(whole.maximum));
    benchQueries(summary, file, samples);
    file.close();
    summary.close();
    std::remove(path.c_str());
    return 0;
}
