// The control's right-click cell menu as loaded from the module's
// resources, with the bitmaps of Cut, Copy and Paste; all of it is given
// back when the control goes.
#pragma once

#include <windows.h>

#include "GdiHandles.h"

namespace quor {

class CellMenuResource {
public:
    CellMenuResource() = default;
    CellMenuResource(const CellMenuResource&) = delete;
    CellMenuResource& operator=(const CellMenuResource&) = delete;

    // Once, at window creation. Without the resource the grid works
    // without a menu: menu() stays null.
    void load(HINSTANCE module);
    HMENU menu() const { return menu_.get(); }

private:
    void attachBitmap(HMENU popup, UINT command, HINSTANCE module, int resource, Bitmap& bitmap);

    Bitmap cut_;
    Bitmap copy_;
    Bitmap paste_;
    // Last, so that it goes first: it must not refer to the bitmaps once
    // they are deleted.
    Menu menu_;
};

}  // namespace quor
