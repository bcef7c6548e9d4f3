// Writes each input as a data file with an index file beside it, opens it
// and reads it the ways the viewer does: pages at the start, the end and
// around them, the export and the index report. Then it summarises the file
// and checks the envelope, the statistics and the cursor sample against a
// scan of every sample.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "CsvExport.h"
#include "DataFile.h"
#include "FuzzInput.h"
#include "IndexReport.h"
#include "SignalSummary.h"
#include "SummaryReference.h"

namespace quor {

namespace {

// Big enough for any page the viewer shows, small enough that a hostile
// Data Size cannot ask for gigabytes.
const size_t kPageBytesLimit = 1 << 20;

std::string& scratchDirName()
{
    static std::string dir;
    return dir;
}

void removeScratchDir()
{
    const std::string& dir = scratchDirName();
    for (const char* ext : kFuzzExtensions)
        std::remove((dir + "/fuzz" + ext).c_str());
    std::remove((dir + "/fuzz.quorIndex").c_str());
    rmdir(dir.c_str());
}

const std::string& scratchDir()
{
    std::string& dir = scratchDirName();
    if (dir.empty()) {
        char pattern[] = "/tmp/quorfuzz.XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made)
            std::abort();
        dir = made;
        std::atexit(removeScratchDir);
    }
    return dir;
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

int32_t pageCount(int32_t dataSize)
{
    if (dataSize <= 0)
        return 500;
    size_t fit = kPageBytesLimit / static_cast<size_t>(dataSize);
    return fit >= 500 ? 500 : static_cast<int32_t>(fit);
}

void readPages(DataFile& file, const DataFileHeader& header)
{
    int32_t count = pageCount(header.dataSize);
    if (count < 1 || header.dataSize <= 0)
        return;
    std::vector<uint8_t> values(static_cast<size_t>(count) * static_cast<size_t>(header.dataSize));
    std::vector<int64_t> times(static_cast<size_t>(count));
    // Header times and the period are untrusted, so the probe times wrap
    // instead of overflowing.
    const uint64_t start = static_cast<uint64_t>(header.startTime);
    const uint64_t period = static_cast<uint64_t>(file.getSamplePeriod());
    const int64_t starts[] = {header.startTime, header.endTime, static_cast<int64_t>(start - 5 * period),
                              static_cast<int64_t>(start + 17 * period), (header.startTime / 2) + (header.endTime / 2),
                              INT64_MIN, INT64_MAX, -1, 0};
    for (int64_t start : starts) {
        int32_t got = 0;
        file.readSamples(start, count, values.data(), &got, times.data());
        file.readSamples(start, 1, values.data(), &got, nullptr);
    }
}

void exportAndReport(DataFile& file, const DataFileHeader& header, const std::string& path)
{
    ExportPage page;
    page.header = &header;
    page.fileSize = file.getFileSize();
    page.segments = file.getSegments(&page.segmentCount);
    page.pageSize = pageCount(header.dataSize);
    page.currentTime = header.startTime;
    BufferExportSink sink;
    writeCsvExport(page, file, sink);

    IndexReportInput input = {path, header.startTime, header.endTime, header.dataType};
    Text report;
    buildIndexReport(input, &report);
}

// Times to ask about: the ends of the samples, around them, and times the
// input's last bytes pick.
std::vector<int64_t> probeTimes(const std::vector<ReferenceSample>& samples, const uint8_t* bytes, size_t size)
{
    std::vector<int64_t> times = {INT64_MIN, INT64_MAX, 0};
    if (!samples.empty()) {
        const uint64_t first = static_cast<uint64_t>(samples.front().time);
        const uint64_t last = static_cast<uint64_t>(samples.back().time);
        for (uint64_t t : {first, last, first - 1, last + 1})
            times.push_back(static_cast<int64_t>(t));
        for (size_t k = 0; k < 2 && k < size; ++k)
            times.push_back(samples[bytes[size - 1 - k] * samples.size() / 256].time + (bytes[k] % 3) - 1);
    }
    return times;
}

void compareSummary(const SignalSummary& summary, const SummaryReference& reference,
                    const std::vector<int64_t>& times)
{
    const int32_t n = static_cast<int32_t>(reference.samples().size());
    for (int64_t from : times) {
        for (int64_t to : times) {
            if (to < from)
                continue;
            RangeStats stats;
            if (summary.stats(from, to, &stats) != S_OK ||
                !reference.compareStats(reference.stats(from, to), stats, from, to).empty())
                std::abort();
            // One column per sample and more only once: it costs a query per sample.
            const bool whole = from == times.front() && to == times[1];
            for (int32_t width : {1, 17, whole ? n + 2 : 0}) {
                std::vector<EnvelopeColumn> columns;
                if (width > 0 && (summary.envelope(from, to, width, &columns) != S_OK ||
                                  !reference.compareColumns(reference.envelope(from, to, width), columns).empty()))
                    std::abort();
            }
        }
        ReferenceSample expected;
        int64_t time = 0;
        SampleValue value;
        const HRESULT hr = summary.sampleAtOrBefore(from, &time, &value);
        if (reference.atOrBefore(from, &expected) ? hr != S_OK || time != expected.time : hr != S_FALSE)
            std::abort();
    }
}

// Thresholds to search for: zero, a sample's own value (exactly as text)
// and just off it, so that ties and the neighbouring values are tried.
std::vector<std::string> thresholdTexts(const SummaryReference& reference, const uint8_t* bytes, size_t size)
{
    std::vector<std::string> texts = {"0"};
    const auto& samples = reference.samples();
    if (samples.empty() || size == 0)
        return texts;
    const ReferenceSample& s = samples[bytes[0] * samples.size() / 256];
    char text[64];
    if (reference.kind() != SummaryReference::real) {
        if (reference.kind() == SummaryReference::signedInt)
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(s.value.exact));
        else
            std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(s.value.exact));
        texts.push_back(text);
        texts.push_back(std::string(text) + ".5");
    }
    if (s.value.real == s.value.real && s.value.real - s.value.real == 0) {
        std::snprintf(text, sizeof text, "%.17g", s.value.real);
        texts.push_back(text);
        std::snprintf(text, sizeof text, "%.9g", s.value.real);
        texts.push_back(text);
    }
    return texts;
}

// Every condition, first and last hits, over the ranges the other checks
// use; the search must find exactly what a sample-by-sample scan finds.
void compareFind(const SignalSummary& summary, const SummaryReference& reference,
                 const std::vector<int64_t>& times, const std::vector<std::string>& thresholds)
{
    const FindCondition conditions[] = {FindCondition::above, FindCondition::below, FindCondition::rising,
                                        FindCondition::falling};
    for (const std::string& text : thresholds) {
        FindRequest request;
        if (!parseFindThreshold(text.c_str(), &request.threshold))
            std::abort();
        for (FindCondition condition : conditions) {
            request.condition = condition;
            for (size_t k = 0; k + 1 < times.size(); k += 2) {
                request.from = std::min(times[k], times[k + 1]);
                request.to = std::max(times[k], times[k + 1]);
                for (int32_t count : {1, 3}) {
                    for (bool last : {false, true}) {
                        request.count = count;
                        request.last = last;
                        std::vector<FoundSample> hits;
                        const std::vector<ReferenceSample> expected = reference.find(request);
                        const HRESULT hr = summary.find(request, &hits);
                        if (hr != (expected.empty() ? S_FALSE : S_OK) ||
                            !reference.compareHits(expected, hits).empty())
                            std::abort();
                    }
                }
            }
        }
    }
}

// The summary is also built with a low block limit (16 blocks become 8), so
// that even small inputs have levels and merged blocks to get wrong.
void checkSummary(const std::string& path, const uint8_t* bytes, size_t size)
{
    SummaryReference::Kind kind;
    std::vector<ReferenceSample> samples;
    if (!readReferenceSamples(path.c_str(), &kind, &samples, 20000))
        return;
    for (int32_t maxBlocks : {SignalSummary::kMaxBlocks, 16}) {
        SignalSummary summary(maxBlocks);
        if (summary.open(path.c_str()) != S_OK || !summary.hasNumericValues())
            std::abort();
        while (summary.buildStep(1000) == S_FALSE) {
        }
        if (summary.progress().done.load() != static_cast<int64_t>(samples.size()))
            std::abort();
        const SummaryReference reference(kind, samples);
        const std::vector<int64_t> times = probeTimes(samples, bytes, size);
        compareSummary(summary, reference, times);
        compareFind(summary, reference, times, thresholdTexts(reference, bytes, size));
    }
}

}  // namespace

}  // namespace quor

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    using namespace quor;
    FuzzFiles files;
    if (!splitFuzzInput(bytes, size, &files))
        return 0;
    const std::string base = scratchDir() + "/fuzz";
    const std::string path = base + kFuzzExtensions[files.kind];
    if (!writeFile(path, files.data) || !writeFile(base + ".quorIndex", files.index))
        std::abort();

    DataFile file;
    if (SUCCEEDED(file.open(path.c_str(), 1))) {
        DataFileHeader header;
        std::memset(&header, 0, sizeof header);
        file.getHeader(&header);
        readPages(file, header);
        exportAndReport(file, header, path);
    }
    file.close();
    checkSummary(path, bytes, size);
    std::remove(path.c_str());
    return 0;
}
