#include "ValueText.h"

#include <cinttypes>
#include <cstring>

#include "DataFile.h"
#include "Text.h"
#include "TimeText.h"

namespace quor {

namespace {

template <class T>
T load(const void* value)
{
    T result;
    std::memcpy(&result, value, sizeof result);
    return result;
}

// The width a fixed-width format needs; 0 for the formats sized by Data Size.
int32_t fixedWidthOf(int32_t dataFormat)
{
    switch (dataFormat) {
    case formatInt:
    case formatDiscrete:
    case formatFloat:
        return 4;
    case formatLong:
    case formatDouble:
    case formatLong8:
        return 8;
    default:
        return 0;
    }
}

void appendBlob(Text& out, const uint8_t* bytes, int32_t dataSize)
{
    static const char kHex[] = "0123456789ABCDEF";
    for (int32_t i = 0; i < dataSize; ++i) {
        if (i > 0)
            out.append('-');
        out.append(kHex[bytes[i] >> 4]);
        out.append(kHex[bytes[i] & 0x0F]);
    }
}

void appendAscii(Text& out, const char* text, int32_t dataSize)
{
    const void* end = std::memchr(text, '\0', static_cast<size_t>(dataSize));
    const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - text)
                              : static_cast<size_t>(dataSize);
    out.append(text, length);
}

bool appendUlong(Text& out, const void* value, int32_t dataSize)
{
    if (dataSize == 4)
        out.appendFormat("%" PRIu32, load<uint32_t>(value));
    else if (dataSize == 8)
        out.appendFormat("%" PRIu64, load<uint64_t>(value));
    else
        return false;
    return true;
}

void appendFixedWidth(Text& out, const void* value, int32_t dataFormat, ValueStyle style)
{
    switch (dataFormat) {
    case formatInt:
        out.appendFormat("%" PRId32, load<int32_t>(value));
        break;
    case formatDiscrete:
        if (style == ValueStyle::grid)
            out.appendFormat("0x%" PRIX32, load<uint32_t>(value));
        else
            out.appendFormat("%" PRId32, load<int32_t>(value));
        break;
    case formatFloat:
        out.appendFormat("%f", static_cast<double>(load<float>(value)));
        break;
    case formatDouble:
        out.appendFormat("%f", load<double>(value));
        break;
    default:  // long and code 8
        out.appendFormat("%" PRId64, load<int64_t>(value));
        break;
    }
}

}  // namespace

void appendValueText(Text& out, const void* value, int32_t dataSize, int32_t dataFormat,
                     ValueStyle style)
{
    if (dataSize <= 0 || !value)
        return;
    const uint8_t* bytes = static_cast<const uint8_t*>(value);
    if (dataFormat == formatAscii) {
        appendAscii(out, static_cast<const char*>(value), dataSize);
        return;
    }
    if (dataFormat == formatUlong && appendUlong(out, value, dataSize))
        return;
    const int32_t width = fixedWidthOf(dataFormat);
    if (width != 0 && width == dataSize) {
        appendFixedWidth(out, value, dataFormat, style);
        return;
    }
    appendBlob(out, bytes, dataSize);
}

void appendSampleRow(Text& out, int64_t time, const void* value, int32_t dataSize,
                     int32_t dataFormat, ValueStyle style)
{
    const char separator = style == ValueStyle::grid ? '|' : ',';
    Text timeText;
    formatTime(time, 3, true, timeText);
    out.append(timeText).append(separator);
    out.appendFormat("%" PRId64, time).append(separator);
    appendValueText(out, value, dataSize, dataFormat, style);
}

}  // namespace quor
