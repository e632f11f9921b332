// What the drawing benchmarks share: a picture of equal layers and the round
// pen of the default set. Both abort when memory runs out, as a benchmark
// without its picture measures nothing.
#pragma once

#include "app/document/picture.h"

#include <cstdlib>

namespace bench {

inline PictureDocument* layered_picture(int side, int layers) {
    PictureDocument* doc = create_document();
    if (!doc || !create_bottom_layer(*doc, side, side)) std::abort();
    for (int i = 1; i < layers; ++i)
        if (!add_layer_above(*doc)) std::abort();
    return doc;
}

// A disc of radius 15 about (15, 15), 0 on 255.
inline void make_round_pen(Surface& pen) {
    if (!pen.create(32, 32)) std::abort();
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pen.bits[(31 - y) * 32 + x] =
                (x - 15) * (x - 15) + (y - 15) * (y - 15) <= 225 ? 0 : 255;
}

} // namespace bench
