#include "SampleWriter.h"

#include "DataFile.h"
#include "ReplacingFile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace quor {

namespace {

const int64_t kSecondNs = 1000000000LL;
// 045:12:30:00.000, the start of every recording of the set.
const int64_t kRecordingStart = (45LL * 86400 + 12 * 3600 + 30 * 60) * kSecondNs;


// sin(2 pi k / 10) written out, so that the files come out bit-identical
// whatever libm the writer is linked with.
const double kSineTenth[10] = {
    0.0, 0.58778525229247314, 0.95105651629515357, 0.95105651629515357, 0.58778525229247314,
    0.0, -0.58778525229247314, -0.95105651629515357, -0.95105651629515357, -0.58778525229247314};

// Little- or big-endian image of a file under construction.
class ByteImage {
public:
    explicit ByteImage(bool bigEndian = false) : bigEndian_(bigEndian) {}

    void putUint(uint64_t v, int width) {
        unsigned char b[8];
        for (int i = 0; i < width; ++i) {
            b[i] = static_cast<unsigned char>(v >> (8 * i));
        }
        if (bigEndian_) {
            for (int i = 0; i < width / 2; ++i) {
                unsigned char t = b[i];
                b[i] = b[width - 1 - i];
                b[width - 1 - i] = t;
            }
        }
        bytes_.insert(bytes_.end(), b, b + width);
    }
    void putInt32(int32_t v) { putUint(static_cast<uint32_t>(v), 4); }
    void putInt64(int64_t v) { putUint(static_cast<uint64_t>(v), 8); }
    void putFloat(float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        putUint(u, 4);
    }
    void putDouble(double v) {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        putUint(u, 8);
    }
    void putBytes(const void* p, size_t n) {
        const unsigned char* c = static_cast<const unsigned char*>(p);
        bytes_.insert(bytes_.end(), c, c + n);
    }
    void putText(const char* text, size_t width) {
        size_t n = std::strlen(text);
        if (n > width) {
            n = width;
        }
        putBytes(text, n);
        putZeros(width - n);
    }
    void putZeros(size_t n) { bytes_.insert(bytes_.end(), n, 0); }
    void padTo(size_t size) {
        if (bytes_.size() < size) {
            putZeros(size - bytes_.size());
        }
    }

    // Values may be big-endian; the native header before them never is.
    void useBigEndian(bool bigEndian) { bigEndian_ = bigEndian; }

    const std::vector<unsigned char>& bytes() const { return bytes_; }

private:
    bool bigEndian_;
    std::vector<unsigned char> bytes_;
};

DataFileHeader makeHeader(int32_t tagId, int32_t format, double rate, int64_t start, int64_t end,
                          int32_t dataSize, int32_t dataType) {
    DataFileHeader h;
    std::memset(&h, 0, sizeof h);
    h.tagId = tagId;
    h.dataFormat = format;
    h.sampleRate = rate;
    h.startTime = start;
    h.endTime = end;
    h.dataSize = dataSize;
    h.byteOrder = 1;
    h.dataType = dataType;
    return h;
}

// The header block is little-endian whatever order the values are in.
void putNativeHeader(ByteImage& image, const DataFileHeader& h) {
    image.putText("QuorDataFileVersion1.0", 64);
    image.putInt32(h.tagId);
    image.putInt32(h.dataFormat);
    image.putDouble(h.sampleRate);
    image.putInt64(h.startTime);
    image.putInt64(h.endTime);
    image.putInt32(h.dataSize);
    image.putInt32(h.byteOrder);
    image.putInt32(h.dataType);
    image.padTo(1024);
}

void putIndexHeader(ByteImage& image) {
    image.putText("QuorIndexVersion1.0", 76);
    image.padTo(1024);
}

// The reader's integer rule: 10^18 divided by the rate in nanohertz.
int64_t periodNs(double rate) {
    return static_cast<int64_t>(1000000000000000000ULL / static_cast<uint64_t>(rate * 1e9));
}

// The recording start on the rate's sample grid, as a periodic reader sees it.
int64_t alignedStart(double rate) { return kRecordingStart / periodNs(rate) * periodNs(rate); }

DataFileHeader periodicHeader(int32_t tagId, int32_t format, int32_t dataSize, double rate, int count) {
    int64_t start = alignedStart(rate);
    return makeHeader(tagId, format, rate, start, start + (count - 1) * periodNs(rate), dataSize, typePeriodic);
}

typedef void (*ValueWriter)(ByteImage& image, int k);

void sineFloat(ByteImage& image, int k) { image.putFloat(static_cast<float>(2.5 * kSineTenth[k % 10])); }
void sineDouble(ByteImage& image, int k) { image.putDouble(2.5 * kSineTenth[k % 10] + 10.0); }
void counterInt(ByteImage& image, int k) { image.putInt32(k - 100); }
void counterLong(ByteImage& image, int k) { image.putInt64(5000000000LL + 3LL * k); }
// Above the signed range, so that only an unsigned reading shows it right.
void counterUlong(ByteImage& image, int k) { image.putUint(10000000000000000000ULL + 7ULL * k, 8); }

void statusWord(ByteImage& image, int k) {
    static const uint32_t kWords[] = {0x00000001u, 0x00000003u, 0x00008003u, 0x00000000u, 0x80000101u, 0x0000A5A5u};
    image.putUint(kWords[k % 6], 4);
}

void message(ByteImage& image, int k) {
    // The last text fills its 16 bytes and so has no terminator of its own.
    static const char* kMessages[] = {"ENGINE START", "VALVE OPEN", "PUMP 2 ON", "LOW FUEL", "VALVE CLOSED",
                                      "CHECK PRESSURE16"};
    image.putText(kMessages[k % 6], 16);
}

void record(ByteImage& image, int k) {
    unsigned char r[6] = {0xA5, static_cast<unsigned char>(k), static_cast<unsigned char>(k >> 8), 0x00,
                          static_cast<unsigned char>(0xFF - k % 256), 0x5A};
    image.putBytes(r, sizeof r);
}

void pressure(ByteImage& image, int k) { image.putDouble(101.325 + (k % 17) * 0.125); }
void temperature(ByteImage& image, int k) { image.putFloat(20.0f + 0.25f * static_cast<float>(k % 40)); }

struct PeriodicSample {
    SampleFileInfo file;
    int32_t tagId;
    int32_t format;
    int32_t dataSize;
    double rate;
    int count;
    bool bigEndian;
    ValueWriter value;
};

const PeriodicSample kPeriodic[] = {
    {{"periodic_int.quorData", ""}, 101, formatInt, 4, 50.0, 1000, false, counterInt},
    {{"periodic_discrete.quorData", ""}, 102, formatDiscrete, 4, 10.0, 600, false, statusWord},
    {{"periodic_float.quorData", ""}, 103, formatFloat, 4, 1000.0, 1000, false, sineFloat},
    {{"periodic_long.quorData", ""}, 104, formatLong, 8, 100.0, 1000, false, counterLong},
    {{"periodic_ulong.quorData", ""}, 105, formatUlong, 8, 100.0, 1000, false, counterUlong},
    {{"periodic_double.quorData", ""}, 106, formatDouble, 8, 1000.0, 1000, false, sineDouble},
    {{"periodic_ascii.quorData", ""}, 107, formatAscii, 16, 1.0, 60, false, message},
    {{"periodic_blob.quorData", ""}, 108, formatBlob, 6, 20.0, 200, false, record},
    {{"bigendian_double.quorData", ""}, 109, formatDouble, 8, 1000.0, 1000, true, sineDouble},
};
const int kPeriodicCount = sizeof kPeriodic / sizeof kPeriodic[0];

const SampleFileInfo kMultiPeriodic = {"multiperiodic_float.quorData", "multiperiodic_float.quorIndex"};
const SampleFileInfo kAsync = {"async_double.quorData", "async_double.quorIndex"};
const SampleFileInfo kLegacyLittle = {"legacy_little.LittleEndianZIBdata", ""};
const SampleFileInfo kLegacyBig = {"legacy_big.ZIBdata", ""};

class SetWriter {
public:
    SetWriter(const std::string& dir, std::string* failedPath) : dir_(dir), failedPath_(failedPath) {}

    bool write(const char* name, const ByteImage& image) {
        std::string path = dir_;
        if (!path.empty() && path[path.size() - 1] != '/' && path[path.size() - 1] != '\\') {
            path += '/';
        }
        path += name;
        // Each file replaces its old copy only once it is whole.
        ReplacingFile file;
        const std::vector<unsigned char>& b = image.bytes();
        const bool ok = file.create(path.c_str()) && file.write(b.data(), b.size()) && file.commit();
        if (!ok && failedPath_) {
            *failedPath_ = path;
        }
        return ok;
    }

private:
    std::string dir_;
    std::string* failedPath_;
};

bool writePeriodic(SetWriter& out, const PeriodicSample& s) {
    ByteImage image;
    DataFileHeader h = periodicHeader(s.tagId, s.format, s.dataSize, s.rate, s.count);
    h.byteOrder = s.bigEndian ? 2 : 1;
    putNativeHeader(image, h);
    image.useBigEndian(s.bigEndian);
    for (int k = 0; k < s.count; ++k) {
        s.value(image, k);
    }
    return out.write(s.file.name, image);
}

// Three runs of 200, 150 and 200 samples with gaps of 100 and 150 samples,
// stored back to back; the index lists them out of order, with a comment
// and a blank line, as hand-edited index files have them.
bool writeMultiPeriodic(SetWriter& out) {
    const double rate = 100.0;
    const int64_t period = periodNs(rate);
    const int64_t base = alignedStart(rate);
    const int runFirst[3] = {0, 300, 600};
    const int runLength[3] = {200, 150, 200};

    ByteImage data;
    putNativeHeader(data, periodicHeader(110, formatFloat, 4, rate, 550));
    int stored = 0;
    char lines[3][80];
    for (int r = 0; r < 3; ++r) {
        int64_t offset = 1024 + 4LL * stored;
        int64_t first = base + runFirst[r] * period;
        int64_t last = base + (runFirst[r] + runLength[r] - 1) * period;
        std::snprintf(lines[r], sizeof lines[r], "%lld %lld %lld\n", static_cast<long long>(first),
                      static_cast<long long>(last), static_cast<long long>(offset));
        for (int k = 0; k < runLength[r]; ++k) {
            temperature(data, stored++);
        }
    }

    ByteImage index;
    putIndexHeader(index);
    const char* text[] = {"* start_ns end_ns byte_offset\n", lines[2], "\n", lines[0], lines[1]};
    for (const char* line : text) {
        index.putBytes(line, std::strlen(line));
    }
    return out.write(kMultiPeriodic.name, data) && out.write(kMultiPeriodic.indexName, index);
}

// Irregular but strictly increasing times, between 5 and 17 ms apart.
bool writeAsynchronous(SetWriter& out) {
    const int count = 1000;
    std::vector<int64_t> times(count);
    int64_t t = kRecordingStart + 1234567;
    for (int k = 0; k < count; ++k) {
        times[k] = t;
        t += 5000000 + (k * 7919 % 13) * 1000000 + (k * 31 % 1000);
    }
    ByteImage data;
    DataFileHeader h = makeHeader(111, formatDouble, 100.0, times[0], times[count - 1], 8, typeAsynchronous);
    putNativeHeader(data, h);
    ByteImage index;
    putIndexHeader(index);
    for (int k = 0; k < count; ++k) {
        pressure(data, k);
        index.putInt64(times[k]);
    }
    return out.write(kAsync.name, data) && out.write(kAsync.indexName, index);
}

// A legacy header counts its start in sample periods and stores fields in
// the file's own byte order.
bool writeLegacy(SetWriter& out, const SampleFileInfo& file, bool bigEndian, int32_t tagId) {
    const double rate = 100.0;
    ByteImage image(bigEndian);
    image.putInt32(tagId);
    image.putDouble(rate);
    image.putInt64(kRecordingStart / periodNs(rate));
    image.putZeros(8);
    for (int k = 0; k < 500; ++k) {
        sineFloat(image, k);
    }
    return out.write(file.name, image);
}

std::vector<SampleFileInfo> allFiles() {
    std::vector<SampleFileInfo> files;
    for (const PeriodicSample& s : kPeriodic) {
        files.push_back(s.file);
    }
    files.push_back(kMultiPeriodic);
    files.push_back(kAsync);
    files.push_back(kLegacyLittle);
    files.push_back(kLegacyBig);
    return files;
}

}  // namespace

int sampleFileCount() { return kPeriodicCount + 4; }

const SampleFileInfo& sampleFile(int i) {
    static const std::vector<SampleFileInfo> files = allFiles();
    return files.at(static_cast<size_t>(i));
}

HRESULT writeSampleSet(const std::string& dir, std::string* failedPath) {
    SetWriter out(dir, failedPath);
    for (const PeriodicSample& s : kPeriodic) {
        if (!writePeriodic(out, s)) {
            return E_FAIL;
        }
    }
    bool ok = writeMultiPeriodic(out) && writeAsynchronous(out) && writeLegacy(out, kLegacyLittle, false, 201) &&
              writeLegacy(out, kLegacyBig, true, 202);
    return ok ? S_OK : E_FAIL;
}

}  // namespace quor
