#include "app/imageops/sprite_sheet.h"

#include "engine/rasko.h"

#include <cmath>
#include <cstring>

AreaRect SheetLayout::cell(int index) const {
    const int column = index % columns, row = index / columns;
    return {LONG(column * (cell_width + padding)), LONG(row * (cell_height + padding)),
            LONG(cell_width), LONG(cell_height)};
}

namespace {

bool fits(const SheetLayout& layout) {
    // In 64 bits: a sheet's side is checked before it is used as an int.
    const long long width =
        1LL * layout.columns * layout.cell_width + 1LL * (layout.columns - 1) * layout.padding;
    const long long height =
        1LL * layout.rows * layout.cell_height + 1LL * (layout.rows - 1) * layout.padding;
    return width <= kSheetMaxSide && height <= kSheetMaxSide;
}

// The picture's single layer, `key_colour` its key and its fill.
Layer* make_single_layer(PictureDocument& doc, int width, int height, const RGBQUAD* palette,
                         int key_colour) {
    if (!create_bottom_layer(doc, width, height)) return nullptr;
    Layer& layer = *bottom_layer(doc);
    layer.key_colour = key_colour & 0xFF;
    layer.background_colour = key_colour & 0xFF;
    std::memset(layer.image->bits, layer.key_colour, layer.image->pixel_bytes());
    layer.image->set_palette(palette);
    update_palette(doc);
    return &layer;
}

} // namespace

bool layout_for_cells(int cells, int cell_width, int cell_height, int columns, int padding,
                      SheetLayout& layout) {
    if (cells < 1 || cell_width < 1 || cell_height < 1 || columns < 0 || padding < 0) return false;
    if (columns == 0) columns = int(std::ceil(std::sqrt(double(cells))));
    if (columns > cells) columns = cells;
    layout = {columns, (cells + columns - 1) / columns, cell_width, cell_height, padding};
    return fits(layout);
}

bool layout_of_sheet(int width, int height, int cell_width, int cell_height, int padding,
                     SheetLayout& layout) {
    if (cell_width < 1 || cell_height < 1 || padding < 0 || width < cell_width ||
        height < cell_height)
        return false;
    layout = {(width + padding) / (cell_width + padding),
              (height + padding) / (cell_height + padding), cell_width, cell_height, padding};
    return true;
}

bool build_sprite_sheet(const PictureDocument& source, const SheetLayout& layout,
                        PictureDocument& sheet) {
    const Layer* bottom = bottom_layer(source);
    const Layer* current = current_layer(source);
    if (!bottom || !current || layout.cells() < source.layer_count ||
        layout.cell_width != picture_width(source) || layout.cell_height != picture_height(source))
        return false;
    Layer* target = make_single_layer(sheet, layout.width(), layout.height(),
                                      current->image->colour_table(), bottom->key_colour);
    if (!target) return false;
    Surface& image = *target->image;
    int index = 0;
    for (const LayerNode* node = source.layers->next; node != source.layers;
         node = node->next, ++index) {
        const Surface& cell = *node->layer->image;
        const AreaRect at = layout.cell(index);
        RaskoCopyDIBBits(image.info, image.bits, at.left, at.top, at.width, at.height, cell.info,
                         cell.bits, 0, 0);
    }
    image.copy_to(*target->undo_copy);
    return true;
}

bool build_picture_from_area(const Surface& image, const AreaRect& area, int key_colour,
                             PictureDocument& out) {
    const AreaRect inside = clamped_area(area, image.width(), image.height());
    Layer* target =
        make_single_layer(out, inside.width, inside.height, image.colour_table(), key_colour);
    if (!target) return false;
    Surface& picture = *target->image;
    RaskoCopyDIBBits(picture.info, picture.bits, 0, 0, inside.width, inside.height, image.info,
                     image.bits, inside.left, inside.top);
    picture.copy_to(*target->undo_copy);
    return true;
}
