// Figures for the data file library on files of 100 million samples: seeks
// from disk and from the cache, 500-sample page reads, and a whole export.
// The data files are sparse; the asynchronous file's index holds real times.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BenchHeader.h"
#include "CsvExport.h"
#include "DataFile.h"

namespace quor {

namespace {

const int64_t kSamples = 100000000;
const int32_t kPage = 500;
const int kRuns = 201;
const int64_t kPeriodNs = 10000000;  // 100 Hz
const int64_t kStart = 1000000000000LL;

typedef std::chrono::steady_clock Clock;

double medianMs(std::vector<double>& ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

bool writeHeader(FILE* f, int32_t type)
{
    DataFileHeader h = benchHeader(formatInt, 100.0, 4, type);
    h.tagId = 1;
    h.startTime = kStart;
    h.endTime = kStart + (kSamples - 1) * kPeriodNs;
    return writeBenchHeader(f, h);
}

// Header, then a hole up to the last sample's value.
bool writeSparseData(const std::string& path, int32_t type)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    int32_t last = 1;
    bool ok = writeHeader(f, type) && std::fseek(f, static_cast<long>(1024 + (kSamples - 1) * 4), SEEK_SET) == 0 &&
              std::fwrite(&last, 4, 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

// Irregular times around the nominal period.
bool writeIndex(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    std::vector<char> header(1024, 0);
    std::strcpy(header.data(), "QuorIndexVersion1.0");
    bool ok = std::fwrite(header.data(), 1, header.size(), f) == header.size();
    std::vector<int64_t> block(1 << 16);
    int64_t t = kStart;
    for (int64_t k = 0; ok && k < kSamples; k += static_cast<int64_t>(block.size())) {
        size_t n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(block.size()), kSamples - k));
        for (size_t i = 0; i < n; ++i) {
            block[i] = t;
            t += kPeriodNs - 3000 + static_cast<int64_t>((k + static_cast<int64_t>(i)) % 7) * 1000;
        }
        ok = std::fwrite(block.data(), 8, n, f) == n;
    }
    return std::fclose(f) == 0 && ok;
}

template <class F>
double timeMedian(F step)
{
    std::vector<double> ms;
    for (int r = 0; r < kRuns; ++r) {
        Clock::time_point begin = Clock::now();
        step(r);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
    }
    return medianMs(ms);
}

void benchAsynchronous(const std::string& path)
{
    DataFile file;
    if (FAILED(file.open(path.c_str(), 1))) {
        std::printf("cannot open %s\n", path.c_str());
        return;
    }
    std::mt19937_64 random(42);
    const int64_t span = (kSamples - 10) * kPeriodNs;
    std::vector<int64_t> targets(kRuns);
    for (int64_t& t : targets)
        t = kStart + static_cast<int64_t>(random() % static_cast<uint64_t>(span));
    int64_t p = 0, q = 0;
    file.gotoTime(targets[0], &p, &q);  // the first seek builds the jump list

    int64_t scanned = 0;
    double disk = timeMedian([&](int r) {
        file.gotoTime(targets[r], &p, &q);
        scanned = std::max(scanned, file.lastSeekStats().timesScanned);
    });
    double cache = timeMedian([&](int r) { file.gotoTime(targets[kRuns - 1] + r * 1000, &p, &q); });
    std::vector<int32_t> values(kPage);
    std::vector<int64_t> times(kPage);
    int32_t got = 0;
    double page = timeMedian([&](int r) {
        file.readSamples(targets[r], kPage, values.data(), &got, times.data());
    });
    std::printf("asynchronous: seek from disk %.4f ms (at most %lld time stamps read), seek from cache %.4f ms, "
                "500-sample page %.4f ms\n",
                disk, static_cast<long long>(scanned), cache, page);
}

void benchPeriodic(const std::string& path)
{
    DataFile file;
    if (FAILED(file.open(path.c_str(), 1))) {
        std::printf("cannot open %s\n", path.c_str());
        return;
    }
    DataFileHeader header;
    std::memset(&header, 0, sizeof header);
    file.getHeader(&header);
    std::mt19937_64 random(7);
    std::vector<int32_t> values(kPage);
    std::vector<int64_t> times(kPage);
    int32_t got = 0;
    auto randomPage = [&]() {
        return kStart + static_cast<int64_t>(random() % static_cast<uint64_t>(kSamples - kPage)) * kPeriodNs;
    };
    double page = timeMedian([&](int) { file.readSamples(randomPage(), kPage, values.data(), &got, times.data()); });
    ExportPage exportPage;
    exportPage.header = &header;
    exportPage.fileSize = file.getFileSize();
    double whole = timeMedian([&](int) {
        exportPage.currentTime = randomPage();
        BufferExportSink sink;
        writeCsvExport(exportPage, file, sink);
    });
    std::printf("periodic: 500-sample page %.4f ms, whole export of a 500-sample page %.4f ms\n", page, whole);
}

}  // namespace

}  // namespace quor

int main(int argc, char** argv)
{
    using namespace quor;
    const std::string dir = argc > 1 ? argv[1] : ".";
#if defined(__SANITIZE_ADDRESS__)
    std::printf("note: built with AddressSanitizer; figures are not representative\n");
#endif
    const std::string async = dir + "/bench_async.quorData";
    const std::string periodic = dir + "/bench_periodic.quorData";
    std::printf("writing %lld-sample files in %s ...\n", static_cast<long long>(kSamples), dir.c_str());
    if (!writeSparseData(async, typeAsynchronous) || !writeIndex(dir + "/bench_async.quorIndex") ||
        !writeSparseData(periodic, typePeriodic)) {
        std::printf("cannot write the benchmark files\n");
        return 1;
    }
    std::printf("medians of %d runs:\n", kRuns);
    benchAsynchronous(async);
    benchPeriodic(periodic);
    std::remove(async.c_str());
    std::remove((dir + "/bench_async.quorIndex").c_str());
    std::remove(periodic.c_str());
    return 0;
}
