#include "app/tools/canvas_steps.h"

#include "app/document/composite.h"
#include "app/tools/drawing.h"
#include "app/tools/stroke_shape.h"

#include <algorithm>

namespace {

// Builds the shape of shape_mode into the stroke surface; without a pen or a
// stroke surface the stroke rectangle is emptied so no tool paints stale
// bytes.
void build_document_stroke(PictureDocument& doc, int shape_mode) {
    const POINT from = shape_mode == kShapeFreeHand ? doc.previous_point : doc.anchor_point;
    if (!doc.stroke_surface || !doc.current_pen) {
        doc.stroke_rect = {0, 0, 0, 0};
        return;
    }
    build_stroke_shape(*doc.stroke_surface, shape_mode, from, doc.current_point, *doc.current_pen,
                       doc.stroke_rect);
}

RECT box_of(const AreaRect& r) {
    return {r.left, r.top, r.left + r.width, r.top + r.height};
}

RECT union_of(const RECT& a, const RECT& b) {
    if (a.right <= a.left || a.bottom <= a.top) return b;
    if (b.right <= b.left || b.bottom <= b.top) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace

DragStep pen_type_move(PictureDocument& doc, int shape_mode, bool points_only) {
    DragStep step;
    const bool free_hand = shape_mode == kShapeFreeHand;
    if (free_hand && points_only) return step;
    recomposite(doc);
    build_document_stroke(doc, shape_mode);
    if (free_hand)
        step.call_tool = true;
    else
        step.present = draw_stroke_preview(doc, doc.stroke_rect);
    return step;
}

DragStep pen_type_release(PictureDocument& doc, int shape_mode, bool points_only) {
    DragStep step;
    const bool free_hand = shape_mode == kShapeFreeHand;
    if (free_hand && points_only) return step;
    const RECT old = doc.update_rect;
    recomposite(doc);
    build_document_stroke(doc, shape_mode);
    if (!free_hand) step.present = union_of(box_of(doc.stroke_rect), old);
    step.call_tool = true;
    return step;
}

MessageEnd end_of_message(PictureDocument& doc, bool palette_window_open) {
    const std::uint32_t bits = doc.flags & kNotifyBits;
    doc.flags &= ~kNotifyBits;
    MessageEnd end;
    end.present = bits & kNotifyPresent;
    end.zoom_window = bits & kNotifyZoomWindow;
    if (!(bits & (kNotifyColours | kNotifyToneLevel | kNotifyColourViews))) return end;
    if (!palette_window_open) {
        end.tool_and_zoom = true;
    } else if (!(bits & kNotifyToneLevel)) {
        end.palette = true;
    } else {
        end.palette_tone_step = doc.tone_level < 15 ? 1 : -1;
        doc.tone_level = std::clamp(doc.tone_level + end.palette_tone_step, 0, 16);
        draw_colour_swatch(doc);
    }
    return end;
}
