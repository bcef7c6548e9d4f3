#include "TextMeasure.h"

namespace quor {

namespace {

// TrueType and vector fonts may overhang the extent at either end.
float overhang(HDC surface, const std::string& text)
{
    TEXTMETRICA metrics;
    if (!GetTextMetricsA(surface, &metrics) || !(metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR)))
        return 0.0f;
    float extra = 0.0f;
    ABCFLOAT first, last;
    const UINT firstChar = static_cast<unsigned char>(text.front());
    const UINT lastChar = static_cast<unsigned char>(text.back());
    if (GetCharABCWidthsFloatA(surface, firstChar, firstChar, &first) && first.abcfA < 0)
        extra -= first.abcfA;
    if (GetCharABCWidthsFloatA(surface, lastChar, lastChar, &last) && last.abcfC < 0)
        extra -= last.abcfC;
    return extra;
}

}  // namespace

int32_t measureTextWidth(HDC surface, HFONT font, const std::string& text)
{
    if (!surface || text.empty())
        return 0;
    HGDIOBJ previous = font ? SelectObject(surface, font) : nullptr;
    SIZE extent = {0, 0};
    int32_t width = 0;
    if (GetTextExtentPoint32A(surface, text.c_str(), static_cast<int>(text.size()), &extent))
        width = static_cast<int32_t>(static_cast<float>(extent.cx) + overhang(surface, text));
    if (previous)
        SelectObject(surface, previous);
    return width;
}

}  // namespace quor
