#pragma once

#include <windows.h>

namespace quor {

// The wait cursor for the scope: the grid window holds the mouse, and
// afterwards the previous cursor comes back and the window under the
// pointer is asked to set its own. (The desktop window belongs to another
// thread, so it cannot take the capture.)
class WaitCursor {
public:
    explicit WaitCursor(HWND window);
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
    bool captured_;
};

}  // namespace quor
