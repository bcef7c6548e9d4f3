#include <gtest/gtest.h>

#include <cstring>

#include "DataFile.h"
#include "HeaderFieldNames.h"
#include "TestFiles.h"
#include "Text.h"
#include "ValueText.h"

namespace quor {

namespace {

Bytes floats(int count)
{
    Bytes values;
    for (int i = 0; i < count; ++i)
        values.put<float>(static_cast<float>(i));
    return values;
}

class DataFileOpen : public ::testing::Test {
protected:
    std::string native(const std::string& name, const DataFileHeader& h, const Bytes& values)
    {
        const std::string path = dir.path(name);
        EXPECT_TRUE(writeNative(path, h, values));
        return path;
    }

    std::string legacy(const std::string& name, bool bigEndian, int32_t tagId, double rate,
                       int64_t startIndex, const Bytes& values)
    {
        Bytes file;
        if (bigEndian)
            file.putBigEndian(tagId).putBigEndian(rate).putBigEndian(startIndex);
        else
            file.put(tagId).put(rate).put(startIndex);
        file.putText(std::string(8, '\0')).putRaw(values.data().data(), values.data().size());
        const std::string path = dir.path(name);
        EXPECT_TRUE(writeFile(path, file));
        return path;
    }

    TempDir dir;
    DataFile file;
};

}  // namespace

TEST_F(DataFileOpen, KindComesFromTheExtensionIgnoringCase)
{
    const DataFileHeader h = nativeHeader(formatFloat, 4, 10.0);
    EXPECT_EQ(file.open(native("a.QUORDATA", h, floats(3)).c_str(), 1), S_OK);
    EXPECT_EQ(file.getKind(), kindNative);
    file.close();

    EXPECT_EQ(file.open(legacy("b.LittleEndianZIBdata", false, 1, 10.0, 0, floats(2)).c_str(), 1), S_OK);
    EXPECT_EQ(file.getKind(), kindLittleEndianLegacy);
    EXPECT_FALSE(file.swapsValues());
    file.close();

    EXPECT_EQ(file.open(native("c.dat", h, floats(3)).c_str(), 1), E_FAIL);
    EXPECT_FALSE(file.isOpen());
    // Only the extension counts, not a directory or an earlier part of the name.
    EXPECT_EQ(file.open(native("d.quorData.bak", h, floats(3)).c_str(), 1), E_FAIL);
    EXPECT_EQ(file.open(dir.path("missing.quorData").c_str(), 1), E_FAIL);
}

TEST_F(DataFileOpen, VersionPrefixIsCheckedIgnoringCaseAndNothingAfterIt)
{
    DataFileHeader h = nativeHeader(formatFloat, 4, 10.0);
    std::strcpy(h.version, "quordatafileversionXYZ");
    EXPECT_EQ(file.open(native("ok.quorData", h, floats(1)).c_str(), 1), S_OK);
    file.close();
    std::strcpy(h.version, "QuorDataFileVersio");
    EXPECT_EQ(file.open(native("short.quorData", h, floats(1)).c_str(), 1), E_FAIL);
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(writeFile(dir.path("tiny.quorData"), std::string("QuorDataFileVersion1.0")));
    EXPECT_EQ(file.open(dir.path("tiny.quorData").c_str(), 1), E_FAIL);
}

TEST_F(DataFileOpen, DataSizeWithoutStrideIsRefused)
{
    for (int32_t size : {0, -4}) {
        DataFileHeader h = nativeHeader(formatFloat, size, 10.0);
        EXPECT_EQ(file.open(native("zero.quorData", h, floats(4)).c_str(), 1), E_FAIL) << size;
        EXPECT_FALSE(file.isOpen());
    }
}

TEST_F(DataFileOpen, PeriodicStateIsDerivedFromTheFileSize)
{
    DataFileHeader h = nativeHeader(formatInt, 4, 10.0);
    h.startTime = 1234567890;  // aligned down to the 100 ms grid
    h.endTime = 999999999999;  // replaced by the last whole sample
    Bytes values = floats(10);
    values.putText("xyz");  // a partial trailing sample is ignored
    ASSERT_EQ(file.open(native("p.quorData", h, values).c_str(), 1), S_OK);
    DataFileHeader got;
    std::memset(&got, 0x55, sizeof got);
    EXPECT_EQ(file.getHeader(&got), S_OK);
    EXPECT_STREQ(got.version, "QuorDataFileVersion1.0");
    EXPECT_EQ(got.startTime, 1200000000);
    EXPECT_EQ(file.getStartIndex(), 12);
    EXPECT_EQ(file.getEndIndex(), 21);
    EXPECT_EQ(got.endTime, 2100000000);
    EXPECT_EQ(file.getEndTime(), 2100000000);
    EXPECT_EQ(file.getFileSize(), 1024 + 43);
    EXPECT_EQ(got.reserved[0], 0x55);  // the caller's reserved bytes are untouched
    file.close();
    EXPECT_EQ(file.getFileSize(), 0);
}

TEST_F(DataFileOpen, HeaderOnlyFileHoldsNoSamples)
{
    DataFileHeader h = nativeHeader(formatInt, 4, 1.0);
    h.startTime = 5000000000;
    ASSERT_EQ(file.open(native("empty.quorData", h, Bytes()).c_str(), 1), S_OK);
    EXPECT_EQ(file.getEndIndex(), file.getStartIndex() - 1);
    EXPECT_EQ(file.getEndTime(), 4000000000);
    int32_t n = -1;
    int32_t value = 0;
    EXPECT_EQ(file.readSamples(5000000000, 1, &value, &n), S_OK);
    EXPECT_EQ(n, 0);
}

TEST_F(DataFileOpen, NonPositiveRateBecomesFiftyInMemoryOnly)
{
    DataFileHeader h = nativeHeader(formatInt, 4, 0.0);
    const std::string path = native("rate.quorData", h, floats(2));
    ASSERT_EQ(file.open(path.c_str(), 2), S_OK);
    DataFileHeader got;
    file.getHeader(&got);
    EXPECT_EQ(got.sampleRate, 50.0);
    EXPECT_EQ(file.getSamplePeriod(), 20000000u);
    file.close();
    DataFile again;
    ASSERT_EQ(again.open(path.c_str(), 1), S_OK);
    FileHandle raw;
    ASSERT_EQ(raw.open(path.c_str(), 1), S_OK);
    double stored = -1;
    uint32_t n = 0;
    ASSERT_EQ(raw.readAt(72, &stored, 8, &n), S_OK);
    EXPECT_EQ(stored, 0.0);
}

TEST_F(DataFileOpen, BigEndianLegacyFileIsSwapped)
{
    Bytes values;
    const uint8_t one[] = {0x3F, 0x80, 0x00, 0x00};
    values.putRaw(one, 4).putRaw(one, 4);
    ASSERT_EQ(file.open(legacy("x.ZIBdata", true, 7, 2.0, 3, values).c_str(), 1), S_OK);
    DataFileHeader got;
    file.getHeader(&got);
    EXPECT_EQ(got.tagId, 7);
    EXPECT_EQ(got.byteOrder, 2);
    EXPECT_STREQ(got.version, "QUOR Legacy File");
    EXPECT_EQ(got.dataFormat, formatFloat);
    EXPECT_EQ(got.dataSize, 4);
    EXPECT_EQ(got.startTime, 1500000000);
    EXPECT_EQ(file.getEndIndex(), 4);
    float read[2] = {};
    int64_t times[2] = {};
    int32_t n = 0;
    ASSERT_EQ(file.readSamples(1500000000, 5, read, &n, times), S_OK);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(read[0], 1.0f);
    EXPECT_EQ(times[1], 2000000000);
}

TEST_F(DataFileOpen, NegativeLegacyStartIndexIsRefused)
{
    EXPECT_EQ(file.open(legacy("neg.LittleEndianZIBdata", false, 1, 1.0, -1, floats(1)).c_str(), 1),
              E_FAIL);
    EXPECT_FALSE(file.isOpen());
}

TEST_F(DataFileOpen, PeriodOfZeroReadsNothing)
{
    ASSERT_EQ(file.open(legacy("zero.LittleEndianZIBdata", false, 1, 0.0, 0, floats(3)).c_str(), 1), S_OK);
    float value = 0;
    int32_t n = 5;
    EXPECT_EQ(file.readSamples(0, 1, &value, &n), E_FAIL);
    EXPECT_EQ(n, 0);
}

TEST_F(DataFileOpen, SaveHeaderWritesTheRecordAndKeepsReservedBytes)
{
    DataFileHeader h = nativeHeader(formatInt, 4, 10.0);
    std::memset(h.reserved, 0xAB, sizeof h.reserved);
    const std::string path = native("save.quorData", h, floats(4));
    ASSERT_EQ(file.open(path.c_str(), 2), S_OK);
    DataFileHeader edited;
    std::memset(&edited, 0, sizeof edited);
    file.getHeader(&edited);
    edited.tagId = 99;
    edited.sampleRate = -1;
    EXPECT_EQ(file.saveHeader(edited), S_OK);
    DataFileHeader got;
    file.getHeader(&got);
    EXPECT_EQ(got.tagId, 99);
    EXPECT_EQ(got.sampleRate, 50.0);
    file.close();

    Bytes expected;
    std::vector<uint8_t> onDisk(1024);
    FileHandle raw;
    uint32_t n = 0;
    ASSERT_EQ(raw.open(path.c_str(), 1), S_OK);
    ASSERT_EQ(raw.readAt(0, onDisk.data(), 1024, &n), S_OK);
    DataFileHeader stored;
    std::memcpy(&stored, onDisk.data(), sizeof stored);
    EXPECT_EQ(stored.tagId, 99);
    EXPECT_EQ(stored.sampleRate, -1.0);
    EXPECT_EQ(stored.reserved[0], 0xAB);
    EXPECT_EQ(stored.reserved[915], 0xAB);
}

TEST_F(DataFileOpen, SaveHeaderIsRefusedWhereItWouldDamageTheFile)
{
    const DataFileHeader h = nativeHeader(formatInt, 4, 10.0);
    ASSERT_EQ(file.open(legacy("l.LittleEndianZIBdata", false, 1, 1.0, 0, floats(300)).c_str(), 2), S_OK);
    EXPECT_EQ(file.saveHeader(h), E_FAIL);
    file.close();

    ASSERT_EQ(file.open(native("ro.quorData", h, floats(4)).c_str(), 1), S_OK);
    DataFileHeader edited = h;
    edited.tagId = 5;
    EXPECT_EQ(file.saveHeader(edited), E_FAIL);  // opened read-only
    DataFileHeader got;
    file.getHeader(&got);
    EXPECT_EQ(got.tagId, 42);
    file.close();

    ASSERT_EQ(file.open(dir.path("ro.quorData").c_str(), 2), S_OK);
    edited.dataSize = 0;
    EXPECT_EQ(file.saveHeader(edited), E_FAIL);
}

TEST_F(DataFileOpen, ValuesAreSwappedByDataSizeExceptTextAndBlobs)
{
    DataFileHeader h = nativeHeader(formatLong, 8, 1.0);
    h.byteOrder = 0;
    Bytes values;
    values.putBigEndian<int64_t>(0x0102030405060708LL);
    ASSERT_EQ(file.open(native("be.quorData", h, values).c_str(), 1), S_OK);
    int64_t value = 0;
    int32_t n = 0;
    ASSERT_EQ(file.readSamples(0, 1, &value, &n), S_OK);
    EXPECT_EQ(value, 0x0102030405060708LL);
    file.close();

    h.dataFormat = formatBlob;
    ASSERT_EQ(file.open(native("blob.quorData", h, values).c_str(), 1), S_OK);
    uint8_t raw[8] = {};
    ASSERT_EQ(file.readSamples(0, 1, raw, &n), S_OK);
    EXPECT_EQ(raw[0], 0x01);
}

// Swapping goes by Data Size alone: 2 bytes are reversed, an odd size is
// left as stored. A format of the wrong width prints its bytes as blob text.
TEST_F(DataFileOpen, BigEndianValuesOfOtherSizesSwapOnlyAtTwoFourOrEightBytes)
{
    const struct {
        int32_t format;
        int32_t size;
        const char* text;
    } cases[] = {
        {formatInt, 2, "02-01"},
        {formatInt, 3, "01-02-03"},
        {formatUlong, 3, "01-02-03"},
        {formatDouble, 4, "04-03-02-01"},
    };
    for (const auto& c : cases) {
        DataFileHeader h = nativeHeader(c.format, c.size, 1.0);
        h.byteOrder = 0;
        const uint8_t stored[] = {1, 2, 3, 4};
        ASSERT_EQ(file.open(native("be.quorData", h, Bytes().putRaw(stored, c.size)).c_str(), 1), S_OK);
        uint8_t value[4] = {};
        int32_t n = 0;
        ASSERT_EQ(file.readSamples(0, 1, value, &n), S_OK);
        ASSERT_EQ(n, 1);
        Text text;
        appendValueText(text, value, c.size, c.format, ValueStyle::exportCsv);
        EXPECT_STREQ(text.c_str(), c.text) << "format " << c.format << ", size " << c.size;
        file.close();
    }
}

TEST_F(DataFileOpen, PeriodicReadIsBoundedByTheFile)
{
    const DataFileHeader h = nativeHeader(formatFloat, 4, 1.0);
    ASSERT_EQ(file.open(native("f.quorData", h, floats(100)).c_str(), 1), S_OK);
    std::vector<float> page(100);
    std::vector<int64_t> times(100);
    int32_t n = 0;
    ASSERT_EQ(file.readSamples(60000000000LL + 999, 100, page.data(), &n, times.data()), S_OK);
    EXPECT_EQ(n, 40);
    EXPECT_EQ(page[0], 60.0f);
    EXPECT_EQ(times[0], 60000000000LL);
    EXPECT_EQ(file.readSamples(500000000000LL, 100, page.data(), &n), S_OK);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(file.readSamples(-1000000000, 10, page.data(), &n), E_FAIL);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(file.readSamples(0, -1, page.data(), &n), E_FAIL);
}

TEST_F(DataFileOpen, UnknownDataTypeOpensButReadsNothing)
{
    DataFileHeader h = nativeHeader(formatFloat, 4, 1.0, 7);
    ASSERT_EQ(file.open(native("u.quorData", h, floats(3)).c_str(), 1), S_OK);
    float value = 0;
    int32_t n = 0;
    EXPECT_EQ(file.readSamples(0, 1, &value, &n), E_FAIL);
}

TEST(DataFileNames, CodesNamesAndIndexPath)
{
    const char* name = nullptr;
    EXPECT_EQ(dataFormatName(4, &name), S_OK);
    EXPECT_STREQ(name, "ulong");
    EXPECT_EQ(dataFormatName(8, &name), E_FAIL);
    EXPECT_STREQ(name, "none");
    dataTypeName(1, &name);
    EXPECT_STREQ(name, "Asynchronous");
    dataTypeName(-1, &name);
    EXPECT_STREQ(name, "Unknown");
    EXPECT_STREQ(byteOrderName(1), "Little Endian");
    EXPECT_STREQ(byteOrderName(0), "Big Endian");
    Text index;
    EXPECT_TRUE(makeIndexPath("C:\\data\\run.QUORDATA", index));
    EXPECT_STREQ(index.c_str(), "C:\\data\\run.quorIndex");
    EXPECT_FALSE(makeIndexPath("run.ZIBdata", index));
}

}  // namespace quor
