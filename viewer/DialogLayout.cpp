#include "DialogLayout.h"

#include <algorithm>

#include "resource.h"

namespace quor {

namespace {

RECT rectInParent(HWND child, HWND parent)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

void DialogLayout::capture(HWND dialog)
{
    dialog_ = dialog;
    RECT client{}, window{};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    baseClient_ = SIZE{client.right, client.bottom};
    minimumWindow_ = SIZE{window.right - window.left, window.bottom - window.top};
    const int ids[kPlacedCount] = {IDC_HEADER_GRID, IDC_DATA_GRID, IDOK, IDCANCEL};
    const Anchor anchors[kPlacedCount] = {Anchor::growWidth, Anchor::growBoth, Anchor::followBottom,
                                          Anchor::followBottom};
    for (int i = 0; i < kPlacedCount; ++i)
        placed_[i] = Placed{ids[i], anchors[i], rectInParent(GetDlgItem(dialog, ids[i]), dialog)};
}

void DialogLayout::limit(MINMAXINFO* info) const
{
    if (!captured())
        return;
    info->ptMinTrackSize.x = minimumWindow_.cx;
    info->ptMinTrackSize.y = minimumWindow_.cy;
}

void DialogLayout::apply(int clientWidth, int clientHeight) const
{
    if (!captured())
        return;
    const int dx = std::max(0, clientWidth - static_cast<int>(baseClient_.cx));
    const int dy = std::max(0, clientHeight - static_cast<int>(baseClient_.cy));
    HDWP batch = BeginDeferWindowPos(kPlacedCount);
    for (const Placed& p : placed_) {
        HWND control = GetDlgItem(dialog_, p.id);
        if (!control || !batch)
            continue;
        RECT r = p.base;
        switch (p.anchor) {
        case Anchor::growWidth: r.right += dx; break;
        case Anchor::growBoth: r.right += dx; r.bottom += dy; break;
        case Anchor::followBottom: OffsetRect(&r, 0, dy); break;
        }
        batch = DeferWindowPos(batch, control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS);
    }
    if (batch)
        EndDeferWindowPos(batch);
}

}  // namespace quor
