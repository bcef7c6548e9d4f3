// A GridCore with no window behind it, for the interaction tests and the
// CSV benchmark: its listener counts what would have reached the windows
// and measures text in a DC and font that the test gives.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "GridCore.h"
#include "TextMeasure.h"

namespace quor {

struct RecordingGridListener : GridCoreListener {
    int32_t appends = 0;
    int32_t widthChanges = 0;
    int32_t headingChanges = 0;
    int32_t originMoves = 0;
    int32_t rowChanges = 0;
    HDC measureDC = nullptr;
    HFONT font = nullptr;

    void rowsAppended() override { ++appends; }
    void columnWidthChanged(int32_t, int32_t) override { ++widthChanges; }
    void headingsChanged() override { ++headingChanges; }
    void originMoved() override { ++originMoves; }
    void rowsChanged() override { ++rowChanges; }
    int32_t textWidth(const std::string& text) override { return measureTextWidth(measureDC, font, text); }
    void commitOpenEdit() override {}
};

class TestGrid : public RecordingGridListener, public GridCore {
public:
    TestGrid() : GridCore(static_cast<RecordingGridListener&>(*this)) {}
    // Measuring needs a DC and the font the editor shows; the grid does not own it.
    void setMeasuring(HDC dc, HFONT measureFont)
    {
        measureDC = dc;
        font = measureFont;
    }
};

}  // namespace quor
