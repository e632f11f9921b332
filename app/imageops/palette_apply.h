// Giving a picture another palette: either the pixels keep their indexes and
// take the new colours, or every pixel moves to the new palette's nearest
// colour and keeps its look.
#pragma once

#include "app/document/picture.h"

enum class PaletteApply { Remap, KeepIndexes };

// Installs the 256 colours in every layer. Remap moves each pixel, and each
// layer's key and background colour, to the index the engine's palette change
// gives its colour (an index whose colour stays the same keeps its place).
// False, with nothing changed, when memory runs out.
bool apply_palette(PictureDocument& doc, const RGBQUAD* palette, PaletteApply how);
