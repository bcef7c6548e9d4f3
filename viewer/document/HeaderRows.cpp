#include "HeaderRows.h"

#include <cstring>
#include <limits>

#include "HeaderFieldNames.h"
#include "SampleTime.h"
#include "TimeText.h"

namespace quor {

namespace {

const int32_t kTimeDecimals = 3;

Text timeText(int64_t time)
{
    Text text;
    formatTime(time, kTimeDecimals, true, text);
    return text;
}

using Rows = const HeaderRowVisitor;

void add(Rows& rows, const Text& text, bool flagged = false)
{
    HeaderRow row;
    row.text = text;
    row.scrollTo = flagged;
    row.markEdited = flagged;
    rows(row);
}

void addTimeRow(Rows& rows, const char* label, int64_t time, uint64_t period)
{
    Text text;
    text.format("%s|%lld|%lld|%s", label, static_cast<long long>(time),
                static_cast<long long>(divideByPeriod(time, period)), timeText(time).c_str());
    add(rows, text);
}

void addFieldRows(Rows& rows, const DataFileHeader& h, uint64_t period)
{
    Text text;
    const char* name = nullptr;
    add(rows, text.format("Version|%.*s", static_cast<int>(strnlen(h.version, sizeof h.version)), h.version));
    add(rows, text.format("Tag Id|%d", h.tagId));
    add(rows, text.format("Sample Rate|%lf", h.sampleRate));
    addTimeRow(rows, "Start Time", h.startTime, period);
    addTimeRow(rows, " End Time", h.endTime, period);
    dataFormatName(h.dataFormat, &name);
    add(rows, text.format("Data Format|%d|%s", h.dataFormat, name));
    add(rows, text.format("Data Size(bytes)|%d", h.dataSize));
    dataTypeName(h.dataType, &name);
    add(rows, text.format("Data Type|%d|%s", h.dataType, name));
    add(rows, text.format("Byte Order|%d|%s", h.byteOrder, byteOrderName(h.byteOrder)));
}

void addGeneralRows(Rows& rows, const HeaderFacts& facts)
{
    Text text;
    const int32_t dataSize = facts.header->dataSize;
    add(rows, "--GeneralInfo--");
    add(rows, text.format("File Size(bytes)|%lld", static_cast<long long>(facts.fileSize)));
    add(rows, text.format("Total Data Elements|%lld",
                          static_cast<long long>(dataSize > 0 ? facts.fileSize / dataSize : 0)));
}

void addSegmentRows(Rows& rows, const HeaderFacts& facts, uint64_t period)
{
    if (facts.segmentCount <= 0 || !facts.segments)
        return;
    add(rows, "--MultiPeriodic Info--");
    add(rows, "Start Index|End Index|Byte Offset", true);
    const int64_t step = period > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())
                             ? std::numeric_limits<int64_t>::max()
                             : static_cast<int64_t>(period);
    Text text;
    for (int32_t s = 0; s < facts.segmentCount; ++s) {
        const int64_t start = saturatingMultiply(facts.segments[s].startIndex, step);
        const int64_t end = saturatingMultiply(facts.segments[s].endIndex, step);
        text.format("%lld|%lld|%s|%s", static_cast<long long>(start), static_cast<long long>(end),
                    timeText(start).c_str(), timeText(end).c_str());
        add(rows, text, true);
    }
}

void copyVersion(const Text& value, DataFileHeader& record)
{
    std::memset(record.version, 0, sizeof record.version);
    std::strncpy(record.version, value.c_str(), sizeof record.version - 1);
}

}  // namespace

void visitHeaderRows(const HeaderFacts& facts, const HeaderRowVisitor& rows)
{
    if (!facts.header)
        return;
    const uint64_t period = samplePeriod(facts.header->sampleRate);
    addFieldRows(rows, *facts.header, period);
    addGeneralRows(rows, facts);
    addSegmentRows(rows, facts, period);
}

std::vector<HeaderRow> buildHeaderRows(const HeaderFacts& facts)
{
    std::vector<HeaderRow> rows;
    visitHeaderRows(facts, [&rows](const HeaderRow& row) { rows.push_back(row); });
    return rows;
}

bool applyEditedRow(const char* rowText, DataFileHeader& record)
{
    const Text row(rowText ? rowText : "");
    const Text value = row.field(1, '|');
    // The order matters: the first name found in the row decides.
    if (row.containsNoCase("Version")) copyVersion(value, record);
    else if (row.containsNoCase("Tag Id")) record.tagId = value.toInt32();
    else if (row.containsNoCase("Sample Rate")) record.sampleRate = value.toDouble();
    else if (row.containsNoCase("Start Time")) record.startTime = value.toInt64();
    else if (row.containsNoCase("End Time")) record.endTime = value.toInt64();
    else if (row.containsNoCase("Data Format")) record.dataFormat = value.toInt32();
    else if (row.containsNoCase("Data Size")) record.dataSize = value.toInt32();
    else if (row.containsNoCase("Data Type")) record.dataType = value.toInt32();
    else if (row.containsNoCase("Byte Order")) record.byteOrder = value.toInt32();
    else return false;
    return true;
}

}  // namespace quor
