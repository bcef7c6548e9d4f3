// The column of numbered row buttons at the grid's left edge. The buttons
// are drawn rectangles inside one child window; a click on one posts a row
// button command (RowButtonCommand.h) to the grid window.
#pragma once

#include "GdiHandles.h"
#include "WindowClass.h"
#include "WindowProc.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace quor {

class RowButton {
public:
    RowButton(int index, int width, int height, std::string label);

    int index() const { return index_; }
    const RECT& rect() const { return rect_; }
    const std::string& label() const { return label_; }
    void setLabel(std::string label) { label_ = std::move(label); }
    // The rectangle counts one pixel more to the right and at the bottom.
    bool contains(POINT point) const;

private:
    int index_;
    RECT rect_;
    std::string label_;
};

// The pens, brush and font every button of one row header is drawn with.
class RowButtonPainter {
public:
    RowButtonPainter();
    void draw(HDC dc, const RowButton& button, bool pressed) const;

private:
    void drawEdges(HDC dc, const RECT& r, bool pressed) const;
    void drawLabel(HDC dc, const RECT& r, const std::string& label) const;

    Pen light_;
    Pen highlight_;
    Pen shadow_;
    Pen darkShadow_;
    Brush face_;
    Font font_;
};

class QuorRowHeaderObj {
public:
    static constexpr int kButtonWidth = 39;
    static constexpr int kButtonHeight = 20;
    static constexpr int kMaxButtons = 75;

    QuorRowHeaderObj();
    ~QuorRowHeaderObj();
    QuorRowHeaderObj(const QuorRowHeaderObj&) = delete;
    QuorRowHeaderObj& operator=(const QuorRowHeaderObj&) = delete;

    // Creates the window as a visible child of the grid window, to which
    // the button commands go.
    bool create(HWND grid);
    HWND window() const { return window_; }

    // Adds the next numbered button (and the corner button first); at
    // kMaxButtons nothing is added. Returns the button count.
    int addButton();
    int buttonCount() const { return static_cast<int>(buttons_.size()); }
    HRESULT setLabel(int index, const char* text);
    std::string label(int index) const;
    bool isPressed(int index) const { return index == tracked_ && trackedLooksPressed_; }

    // Labels the numbered buttons for the row shown at the top.
    void renumber(int firstVisibleRow);
    void show(bool visible);
    // The container gave the control height controlHeight: adds the
    // buttons that fit and places the window beside the rows.
    void layout(int controlHeight, int rowHeight, bool columnHeaderShown);

private:
    friend LRESULT CALLBACK ownedWindowProc<QuorRowHeaderObj>(HWND, UINT, WPARAM, LPARAM);
    void attachWindow(HWND window) { window_ = window; }
    void detachWindow() { window_ = nullptr; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void appendButton(std::string label);
    void paint();
    void paintInto(HDC dc, const RECT& area) const;
    void print(HDC dc) const;
    void redrawButton(int index);
    int buttonAt(POINT point) const;
    void onButtonDown(POINT point);
    void onMouseMove(POINT point);
    void onButtonUp(POINT point);
    void onCaptureLost();

    HWND grid_ = nullptr;
    HWND window_ = nullptr;
    // Given back after the window is gone (the destructor's body destroys it).
    WindowClassHold class_;
    bool shown_ = true;
    std::vector<RowButton> buttons_;
    std::unique_ptr<RowButtonPainter> painter_;
    int tracked_ = -1;  // the button pressed with the mouse captured
    bool trackedLooksPressed_ = false;
};

}  // namespace quor
