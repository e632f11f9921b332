// mirror_pen.dll: the "Mirror Pen" tool. The canvas builds the stroke with
// the current pen and shape mode; this pen paints it and its mirror image.
#include "addins/mirror_pen/mirror_pen.h"

namespace {

// The deactivation message the canvas sends before another tool takes over.
constexpr UINT kMsgDeactivate = 0x409;

void report(PenCallBlock& block, const RECT& r) {
    block.update = r;
    block.flags |= kPenPresent | kPenZoomWindow;
}

} // namespace

extern "C" int VL_CDECL VLGetInfo(AddInInfo* info) {
    info->flags = kAddInHostVersion | kAddInPen | kAddInPenStroke | kAddInPenPreview;
    info->name = "Mirror Pen";
    info->description = "Drag to Draw Mirrored";
    info->extension = nullptr;
    info->about1 = "Draws with the current pen and again mirrored left to right";
    info->about2 = "about the picture's vertical centre line";
    info->about3 = "every shape mode";
    return 1;
}

extern "C" int VL_CDECL VLPen(HWND, UINT message, WPARAM wparam, LPARAM, PenCallBlock* block) {
    if (!block || block->size < sizeof(PenCallBlock)) return 0;
    switch (message) {
    case WM_MOUSEMOVE:
        if (!(wparam & MK_LBUTTON)) return 0;
        [[fallthrough]];
    case WM_LBUTTONUP: {
        const RECT r = mirror_pen_paint(*block, GetKeyState('M') < 0);
        if (r.right <= r.left) return 0;
        report(*block, r);
        return 1;
    }
    case WM_KILLFOCUS:
    case kMsgDeactivate:
        // Clears the footprint the canvas drew under the cursor.
        report(*block, {block->x - 15, block->y - 15, block->x + 17, block->y + 17});
        return 1;
    }
    return 0;
}
