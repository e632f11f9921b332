// The one Bresenham walk of the drawing tools: pen stamping and Rotring lines
// visit the same points.
#pragma once

#include <cstdlib>

// Calls visit(x, y) for (x0, y0), then once per step along the major axis
// (x when |dx| >= |dy|) up to and including (x1, y1). The error starts at
// 2 minor - major; a step with error >= 0 also moves on the minor axis.
template <typename Visit> void walk_line(int x0, int y0, int x1, int y1, Visit&& visit) {
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x1 < x0 ? -1 : 1, sy = y1 < y0 ? -1 : 1;
    const bool x_major = dx >= dy;
    const int major = x_major ? dx : dy, minor = x_major ? dy : dx;
    int x = x0, y = y0;
    int e = 2 * minor - major;
    visit(x, y);
    for (int i = 0; i < major; ++i) {
        if (x_major)
            x += sx;
        else
            y += sy;
        if (e >= 0) {
            if (x_major)
                y += sy;
            else
                x += sx;
            e += 2 * (minor - major);
        } else {
            e += 2 * minor;
        }
        visit(x, y);
    }
}
