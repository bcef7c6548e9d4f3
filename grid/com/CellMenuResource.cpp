#include "CellMenuResource.h"

#include "CellMenuCommands.h"

namespace quor {

namespace {

constexpr int kCellMenuResource = 24999;
constexpr int kCopyBitmap = 205;
constexpr int kCutBitmap = 206;
constexpr int kPasteBitmap = 207;

}  // namespace

void CellMenuResource::load(HINSTANCE module)
{
    if (menu_)
        return;
    menu_.reset(LoadMenuA(module, MAKEINTRESOURCEA(kCellMenuResource)));
    if (!menu_) {
        OutputDebugStringA("Failed to load right click menu\n");
        return;
    }
    HMENU popup = GetSubMenu(menu_.get(), 0);
    if (!popup) {
        OutputDebugStringA("Failed to load Popup menu\n");
        menu_.reset();
        return;
    }
    attachBitmap(popup, kCutCommand, module, kCutBitmap, cut_);
    attachBitmap(popup, kCopyCommand, module, kCopyBitmap, copy_);
    attachBitmap(popup, kPasteCommand, module, kPasteBitmap, paste_);
}

void CellMenuResource::attachBitmap(HMENU popup, UINT command, HINSTANCE module, int resource,
                                    Bitmap& bitmap)
{
    bitmap.reset(static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(resource), IMAGE_BITMAP, 0, 0, 0)));
    if (bitmap)
        SetMenuItemBitmaps(popup, command, MF_BYCOMMAND, bitmap.get(), bitmap.get());
}

}  // namespace quor
