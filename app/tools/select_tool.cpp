#include "app/tools/select_tool.h"

#include "app/tools/drawing.h"

#include "app/document/composite.h"
#include "app/imageops/floating_area.h"

#include <algorithm>

namespace {

bool inside(const RECT& r, POINT p) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

// Both values beyond the same end of 0 .. extent - 1.
bool beyond_same_end(int a, int b, int extent) {
    return (a < 0 && b < 0) || (a >= extent && b >= extent);
}

} // namespace

SelectionEnd selection_rect(const PictureDocument& doc, POINT a, POINT b, bool snapping,
                            RECT& out) {
    const int width = picture_width(doc), height = picture_height(doc);
    if (beyond_same_end(a.x, b.x, width) || beyond_same_end(a.y, b.y, height))
        return SelectionEnd::Outside;
    if (a.x == b.x && a.y == b.y) return SelectionEnd::Click;
    const int inner = snapping ? 1 : 0;
    out.left = std::max<LONG>(std::min(a.x, b.x), 0);
    out.top = std::max<LONG>(std::min(a.y, b.y), 0);
    out.right = std::min<LONG>(std::max(a.x, b.x) - inner, width - 1);
    out.bottom = std::min<LONG>(std::max(a.y, b.y) - inner, height - 1);
    // A drag along a grid line has nothing between its lines.
    if (out.right < out.left || out.bottom < out.top) return SelectionEnd::Click;
    return SelectionEnd::Area;
}

RECT rubber_band_rect(POINT a, POINT b, bool snapping) {
    const int beyond = snapping ? 0 : 1;
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + beyond,
            std::max(a.y, b.y) + beyond};
}

SelectPress select_press(PictureDocument& doc, POINT p, bool m_held) {
    SelectPress press;
    if (doc.floating && inside(doc.floating_rect, p)) {
        press.drags = true;
        return press;
    }
    if (doc.floating) {
        commit_floating(doc, m_held);
        press.committed = true;
    }
    doc.anchor_point = doc.current_point;
    return press;
}

RECT drag_floating(PictureDocument& doc) {
    RECT& f = doc.floating_rect;
    const RECT old = f;
    const LONG dx = doc.current_point.x - doc.previous_point.x;
    const LONG dy = doc.current_point.y - doc.previous_point.y;
    f = {f.left + dx, f.top + dy, f.right + dx, f.bottom + dy};
    doc.flags |= kDocFloatingFrame;
    doc.update_rect = {std::min(old.left, f.left), std::min(old.top, f.top),
                       std::max(old.right, f.right) + 1, std::max(old.bottom, f.bottom) + 1};
    recomposite(doc);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
    return doc.update_rect;
}

SelectionEnd select_release(PictureDocument& doc) {
    if (doc.floating) return SelectionEnd::Outside;
    RECT r;
    const SelectionEnd end =
        selection_rect(doc, doc.anchor_point, doc.current_point, doc.flags & kDocSnapToGrid, r);
    if (end != SelectionEnd::Area) return end;
    if (!lift_area(doc, r)) return SelectionEnd::Click;
    doc.update_rect = {0, 0, picture_width(doc), picture_height(doc)};
    recomposite(doc);
    return SelectionEnd::Area;
}
