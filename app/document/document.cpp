#include "app/document/picture.h"
#include "engine/rasko.h"

#include <cstring>
#include <new>

namespace {

// Deletes the GDI palette and makes it again from the current layer; the
// window DC, when there is one, gets the new palette selected and realised.
// The palette is remade even without a window DC so that it never lags the
// colour table.
void remake_palette(PictureDocument& doc, const Layer& current) {
    if (doc.palette) {
        if (doc.window_dc && doc.previous_palette)
            SelectPalette(doc.window_dc, doc.previous_palette, FALSE);
        DeleteObject(doc.palette);
    }
    doc.palette = CreatePalette(current.image->logical_palette);
    if (doc.window_dc && doc.palette) {
        doc.previous_palette = SelectPalette(doc.window_dc, doc.palette, FALSE);
        UnrealizeObject(doc.palette);
        RealizePalette(doc.window_dc);
    }
}

} // namespace

PictureDocument* create_document() {
    auto* doc = new (std::nothrow) PictureDocument;
    if (!doc) return nullptr;
    doc->layers = new (std::nothrow) LayerNode;
    if (doc->layers) {
        doc->layers->previous = doc->layers;
        doc->layers->next = doc->layers;
    }
    doc->composite = new (std::nothrow) Surface;
    doc->stroke_surface = new (std::nothrow) Surface;
    doc->colour_swatch = new (std::nothrow) Surface;
    if (!doc->layers || !doc->composite || !doc->stroke_surface || !doc->colour_swatch ||
        !doc->colour_swatch->create(16, 16)) {
        free_document(doc);
        return nullptr;
    }
    return doc;
}

void free_document(PictureDocument* doc) {
    if (!doc) return;
    free_all_layers(*doc);
    delete doc->composite;
    delete doc->colour_swatch;
    delete doc->stroke_surface;
    delete doc->floating;
    if (doc->palette) {
        if (doc->window_dc && doc->previous_palette)
            SelectPalette(doc->window_dc, doc->previous_palette, FALSE);
        DeleteObject(doc->palette);
    }
    delete doc;
}

void draw_colour_swatch(PictureDocument& doc) {
    Surface& swatch = *doc.colour_swatch;
    if (!swatch.info) return;
    RaskoDrawRectangleEx(swatch.info, swatch.bits, 0, 0, 16, 16, doc.left_colour, doc.right_colour,
                         doc.tone_level);
}

void update_palette(PictureDocument& doc) {
    Layer* current = current_layer(doc);
    if (!current) return;
    const RGBQUAD* table = current->image->colour_table();
    for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next) {
        if (node->layer == current)
            current->image->refresh_palette();
        else
            node->layer->image->set_palette(table);
    }
    doc.composite->set_palette(table);
    doc.colour_swatch->set_palette(table);
    remake_palette(doc, *current);
    doc.white_index = RaskoGetNearestColor(current->image->info, 255, 255, 255);
    doc.black_index = RaskoGetNearestColor(current->image->info, 0, 0, 0);
}

PictureDocument* new_picture(int width, int height, Surface* pen,
                             DefaultPaletteLoader load_default_palette) {
    PictureDocument* doc = create_document();
    if (!doc) return nullptr;
    if (!create_bottom_layer(*doc, width, height)) {
        free_document(doc);
        return nullptr;
    }
    std::strcpy(doc->file_name, "untitled.vlx");
    doc->update_rect = {0, 0, width, height};
    doc->current_pen = pen;
    doc->current_pen_index = 0;
    Layer* bottom = bottom_layer(*doc);
    std::memset(bottom->image->bits, 255, bottom->image->pixel_bytes());
    if (load_default_palette && load_default_palette(bottom->image->colour_table()))
        update_palette(*doc);
    bottom->image->copy_to(*bottom->undo_copy);
    return doc;
}
