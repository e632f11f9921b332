// Sprite sheets: the layers (or animation frames) of a picture laid out as
// equal cells of one picture, and cells cut out of such a sheet again.
#pragma once

#include "app/document/picture.h"

// Cells of cell_width x cell_height in a grid of columns x rows, padding
// pixels between neighbouring cells and none around the edge.
struct SheetLayout {
    int columns = 1;
    int rows = 1;
    int cell_width = 1;
    int cell_height = 1;
    int padding = 0;
    int width() const { return columns * cell_width + (columns - 1) * padding; }
    int height() const { return rows * cell_height + (rows - 1) * padding; }
    // Cell `index`, counted row by row from the top left.
    AreaRect cell(int index) const;
    int cells() const { return columns * rows; }
};

// The layout for `cells` cells in `columns` columns (0: as square a grid as
// fits them; more than cells: cells). False when a count or size is not
// positive, padding is negative, or the sheet would be wider or higher than
// kSheetMaxSide.
constexpr int kSheetMaxSide = 32767;
bool layout_for_cells(int cells, int cell_width, int cell_height, int columns, int padding,
                      SheetLayout& layout);
// The layout of cell_width x cell_height cells that fit in a sheet of
// width x height with padding between them; false when not one cell fits.
bool layout_of_sheet(int width, int height, int cell_width, int cell_height, int padding,
                     SheetLayout& layout);

// Lays every layer's image of source, bottom layer first, into the cells of
// a new one-layer picture in `sheet` (an empty document, create_document)
// with the source's palette; padding and unused cells take the bottom
// layer's key colour, which the sheet's layer keeps. False when the layout
// has fewer cells than layers, its cells are not the picture's size or the
// picture cannot be made; the caller frees `sheet`.
bool build_sprite_sheet(const PictureDocument& source, const SheetLayout& layout,
                        PictureDocument& sheet);

// A one-layer picture in `out` (an empty document) of the `area` of image
// (kept inside it), with image's colour table and key_colour as its key
// colour. False when the picture cannot be made; the caller frees `out`.
bool build_picture_from_area(const Surface& image, const AreaRect& area, int key_colour,
                             PictureDocument& out);
