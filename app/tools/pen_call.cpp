#include "app/tools/pen_call.h"

#include "app/document/composite.h"
#include "app/tools/drawing.h"
#include "app/tools/stroke_shape.h"

#include <algorithm>

void fill_pen_call_block(PictureDocument& doc, PenCallBlock& block, HDC dc, int shape_mode) {
    block = PenCallBlock{};
    block.size = sizeof(PenCallBlock);
    Layer* layer = current_layer(doc);
    if (layer) {
        Surface* target = (doc.flags & kDocMaskView) ? layer->mask : layer->image;
        block.target = target->info;
        block.target_bits = target->bits;
        block.mask_bits = layer->mask->bits;
        block.key_colour = DWORD(layer->key_colour);
        block.background_colour = DWORD(layer->background_colour);
    }
    if (doc.composite) block.composite_bits = doc.composite->bits;
    if (doc.current_pen) {
        block.pen = doc.current_pen->info;
        block.pen_bits = doc.current_pen->bits;
    }
    block.flags = doc.flags & ~kNotifyBits;
    block.left_colour = DWORD(doc.left_colour);
    block.right_colour = DWORD(doc.right_colour);
    block.tone_level = DWORD(doc.tone_level);
    block.x = doc.current_point.x;
    block.y = doc.current_point.y;
    block.dc = dc;
    block.document = &doc;
    if (doc.stroke_surface) block.stroke_bits = doc.stroke_surface->bits;
    block.stroke_x = doc.stroke_rect.left;
    block.stroke_y = doc.stroke_rect.top;
    block.stroke_width = doc.stroke_rect.width;
    block.stroke_height = doc.stroke_rect.height;
    block.shape_bounds = shape_bounds(shape_mode, doc.anchor_point, doc.current_point);
}

void merge_pen_call_result(PictureDocument& doc, const PenCallBlock& block) {
    const std::uint32_t bits = block.flags & kNotifyBits;
    doc.flags |= bits;
    if (bits & (kNotifyPresent | kNotifyZoomWindow)) {
        doc.update_rect = block.update;
        if (!(bits & kNotifyNoRecomposite)) recomposite(doc);
    }
    bool swatch = false;
    if (bits & kNotifyColours) {
        doc.left_colour = int(block.left_colour & 0xFF);
        doc.right_colour = int(block.right_colour & 0xFF);
        swatch = true;
    }
    if (bits & kNotifyToneLevel) {
        doc.tone_level = std::clamp(int(block.tone_level), 0, 16);
        swatch = true;
    }
    if (swatch) drawing_colours_changed(doc);
}

int call_addin_pen(VLPenFn pen, HWND canvas, UINT message, WPARAM wparam, LPARAM lparam,
                   PictureDocument& doc, HDC dc, int shape_mode) {
    if (!pen) return 0;
    PenCallBlock block;
    fill_pen_call_block(doc, block, dc, shape_mode);
    const int result = pen(canvas, message, wparam, lparam, &block);
    merge_pen_call_result(doc, block);
    return result;
}
