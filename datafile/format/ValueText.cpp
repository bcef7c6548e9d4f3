#include "ValueText.h"

#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstring>

#include "DataFile.h"
#include "DecimalText.h"
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

}  // namespace

char* putFixedSix(char* out, double value)
{
    if (std::isnan(value) || std::isinf(value)) {
        const char* text = std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : value > 0 ? "inf" : "-inf";
        const size_t length = std::strlen(text);
        std::memcpy(out, text, length);
        return out + length;
    }
    // Exact digits rounded to six decimals, ties to even: the bytes of "%f"
    // in every C runtime that rounds correctly.
    return std::to_chars(out, out + kNumericTextMax, value, std::chars_format::fixed, 6).ptr;
}

char* putNumericValue(char* out, const void* value, int32_t dataSize, int32_t dataFormat)
{
    if (!value)
        return nullptr;
    if (dataFormat == formatUlong) {
        if (dataSize == 4)
            return putUnsigned64(out, load<uint32_t>(value));
        return dataSize == 8 ? putUnsigned64(out, load<uint64_t>(value)) : nullptr;
    }
    if (fixedWidthOf(dataFormat) != dataSize)
        return nullptr;
    switch (dataFormat) {
    case formatInt:
    case formatDiscrete:
        return putSigned64(out, load<int32_t>(value));
    case formatFloat:
        return putFixedSix(out, static_cast<double>(load<float>(value)));
    case formatDouble:
        return putFixedSix(out, load<double>(value));
    case formatLong:
    case formatLong8:
        return putSigned64(out, load<int64_t>(value));
    default:
        return nullptr;
    }
}

void appendValueText(Text& out, const void* value, int32_t dataSize, int32_t dataFormat,
                     ValueStyle style)
{
    if (dataSize <= 0 || !value)
        return;
    if (dataFormat == formatAscii) {
        appendAscii(out, static_cast<const char*>(value), dataSize);
        return;
    }
    if (dataFormat == formatDiscrete && dataSize == 4 && style == ValueStyle::grid) {
        out.appendFormat("0x%" PRIX32, load<uint32_t>(value));
        return;
    }
    char text[kNumericTextMax];
    if (const char* end = putNumericValue(text, value, dataSize, dataFormat)) {
        out.append(text, static_cast<size_t>(end - text));
        return;
    }
    appendBlob(out, static_cast<const uint8_t*>(value), dataSize);
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

void appendFigure(Text& out, double figure)
{
    if (figure != figure)
        out.append("nan");
    else if (figure == HUGE_VAL || figure == -HUGE_VAL)
        out.append(figure > 0 ? "inf" : "-inf");
    else
        out.appendFormat("%.17g", figure);
}

}  // namespace quor
