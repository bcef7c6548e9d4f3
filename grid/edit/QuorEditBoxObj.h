// The single-line edit box laid over a plain-text cell: a superclass of
// "EDIT" that hands the grid the keys that move the editor.
#pragma once

#include <windows.h>

#include <string>

namespace quor {

class QuorEditBoxObj {
public:
    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_AUTOHSCROLL | ES_WANTRETURN;
    static constexpr int kMargin = 3;

    QuorEditBoxObj() = default;
    ~QuorEditBoxObj();
    QuorEditBoxObj(const QuorEditBoxObj&) = delete;
    QuorEditBoxObj& operator=(const QuorEditBoxObj&) = delete;

    // Created hidden, as a child of the grid window, with the grid font.
    bool create(HWND grid, HFONT font);
    HWND window() const { return window_; }

    void setReadOnly(bool readOnly);
    // Shows the text over the rectangle, all of it selected, with the focus
    // and the mouse, so that the release of the opening click comes here.
    // takeMouse: the press that opened it is still down, and its release
    // belongs to the edit box.
    void show(const RECT& rect, const char* text, bool takeMouse);
    void hide();
    void setText(const char* text);
    // All of the box's text, however long.
    std::string text() const;
    void shrinkToNothing();

    // Whether the grid wants this key from the edit box (it posts it on).
    static bool passesOn(WPARAM key, bool control);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static bool registerClass();
    static WNDPROC editProc_;

    HWND window_ = nullptr;
};

}  // namespace quor
