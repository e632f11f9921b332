// Edits of a picture's palette, which every layer shares. The edits that
// move colours between indexes (swap, a pasted palette arranged onto the
// pixels) remap each layer's pixels and its key and background colour
// indexes with the same table, so that every layer looks as it did. Each
// edit marks the document modified and ends with update_palette; the
// caller recomposites and presents.
#pragma once

#include "app/document/picture.h"

// Entry index of every layer takes the colour. No undo copy: trying colours
// in the colour editor would otherwise lose the picture's last step.
void set_palette_colour(PictureDocument& doc, int index, BYTE red, BYTE green, BYTE blue);

// Entries a and b and every pixel a and b trade places in every layer, as
// do key and background colours equal to a or b. Takes undo copies.
void swap_palette_colours(PictureDocument& doc, int a, int b);

// Entry target := entry source (all four bytes) in every layer. Takes undo
// copies.
void copy_palette_colour(PictureDocument& doc, int target, int source);

// Fills the entries strictly between the two indexes with the even steps
// from the lower one's colour to the higher one's. False, with nothing
// changed, when they are less than two apart. Takes undo copies.
bool grade_palette(PictureDocument& doc, int a, int b);

// Source entries from..to pasted at position into a copy of the current
// table; what would pass entry 255 is left out.
struct PasteRange {
    int from = 0;
    int to = 255;
    int position = 0;
};
// True when from, to and position are entries and from <= to.
bool valid_paste_range(const PasteRange& range);
void pasted_table(const RGBQUAD* current, const RGBQUAD* source, const PasteRange& range,
                  RGBQUAD* result);

// For every old index, the new index an arranged palette moves it to: the
// same index when its colour is unchanged there, else the nearest new
// colour (lowest index on a tie).
void arrange_map(const RGBQUAD* old_table, const RGBQUAD* new_table, BYTE map[256]);

// Installs the table (256 entries) in every layer after taking undo copies.
// With arrange, pixels and key and background colours move to the nearest
// new colour through arrange_map, so the picture keeps its look as far as
// the new colours allow; without, the indexes stay and the colours change.
void install_palette(PictureDocument& doc, const RGBQUAD* table, bool arrange);

// Every pixel p of the surface becomes map[p].
void remap_pixels(Surface& surface, const BYTE map[256]);
