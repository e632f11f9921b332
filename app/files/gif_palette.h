// One palette for every frame of a GIF: a picture holds 256 colours that all
// its layers share, while each GIF frame may bring a colour table of its own.
#pragma once

#include "engine/rasko.h"

// Fills `palette` with the GIF's global colours and the colours of every
// frame that has a table of its own, and renumbers those frames' pixels into
// it. A frame colour takes an entry of the same colour, else an entry that
// neither the global table, a frame's pixels, a transparent index nor the
// background uses; only when none is left does it take the nearest colour.
// A frame's transparent index stays where it was. Returns false when some
// colours had to be merged that way.
bool merge_gif_palettes(const GifAnimation& gif, RGBQUAD* palette);
