#include "app/tools/view.h"

#include "app/tools/stroke_shape.h"

#include <algorithm>
#include <cstdlib>

const int kZoomRates[kZoomRateCount] = {50,  100, 200, 300,  400,  500,  600,
                                        700, 800, 900, 1000, 1200, 1400, 1600};

int zoom_index(int zoom) {
    for (int i = 0; i < kZoomRateCount; ++i)
        if (kZoomRates[i] == zoom) return i;
    return -1;
}

namespace {

int safe_zoom(const PictureDocument& doc) {
    return doc.zoom > 0 ? doc.zoom : 100;
}

int snap_axis(int v, int grid) {
    if (grid <= 0) return v;
    const int half = v + grid / 2;
    // Floor modulo, so that points left of the picture snap the same way.
    int m = half % grid;
    if (m < 0) m += grid;
    return half - m;
}

} // namespace

POINT canvas_to_picture(const PictureDocument& doc, int mx, int my) {
    const int z = safe_zoom(doc);
    return {LONG(mx * 100 / z + doc.view_origin_x), LONG(my * 100 / z + doc.view_origin_y)};
}

POINT picture_to_canvas(const PictureDocument& doc, int x, int y) {
    const int z = safe_zoom(doc);
    return {LONG((long long)(x - doc.view_origin_x) * z / 100),
            LONG((long long)(y - doc.view_origin_y) * z / 100)};
}

POINT snap_to_grid(const PictureDocument& doc, POINT p) {
    return {snap_axis(p.x, doc.grid_width), snap_axis(p.y, doc.grid_height)};
}

POINT constrain_point(int shape_mode, POINT a, POINT p) {
    if (shape_mode == kShapeFreeHand) return p;
    const int dx = p.x - a.x, dy = p.y - a.y;
    const int ax = std::abs(dx), ay = std::abs(dy);
    if (shape_mode == kShapeLine) {
        if (ax < ay)
            p.x = a.x;
        else
            p.y = a.y;
        return p;
    }
    if (ax < ay)
        p.x = a.x + (dx < 0 ? -ay : ay);
    else
        p.y = a.y + (dy < 0 ? -ax : ax);
    return p;
}

AxisLayout layout_axis(int s, int p, int z, int origin) {
    AxisLayout l;
    if (z <= 0) z = 100;
    const long long needed = (long long)p * z / 100;
    if (s < needed) {
        l.offset = 0;
        l.visible = int((long long)s * 100 / z);
        l.extent = int((long long)l.visible * z / 100);
        l.origin = origin + l.visible > p ? p - l.visible : origin;
    } else {
        l.offset = int(((long long)s * 100 - (long long)p * z) / 200);
        l.extent = int(needed);
        l.origin = 0;
        l.visible = p;
    }
    return l;
}

void layout_view(PictureDocument& doc, int client_width, int client_height) {
    const AxisLayout x = layout_axis(client_width, picture_width(doc), doc.zoom, doc.view_origin_x);
    const AxisLayout y =
        layout_axis(client_height, picture_height(doc), doc.zoom, doc.view_origin_y);
    doc.canvas_left = x.offset;
    doc.canvas_width = x.extent;
    doc.visible_width = x.visible;
    doc.view_origin_x = x.origin;
    doc.canvas_top = y.offset;
    doc.canvas_height = y.extent;
    doc.visible_height = y.visible;
    doc.view_origin_y = y.origin;
}

int clamp_origin(int origin, int visible, int extent) {
    if (origin < 0) origin = 0;
    if (origin + visible > extent) origin = extent - visible;
    return origin;
}

bool scrolled_origin(int code, int thumb, int origin, int visible, int extent, int& out) {
    switch (code) {
    case kScrollLineUp:
        out = origin - 1;
        break;
    case kScrollLineDown:
        out = origin + 1;
        break;
    case kScrollPageUp:
        out = origin - visible / 2;
        break;
    case kScrollPageDown:
        out = origin + visible / 2;
        break;
    case kScrollThumbTrack:
        out = thumb;
        break;
    default:
        return false;
    }
    out = clamp_origin(out, visible, extent);
    return true;
}

WheelStep wheel_step(int delta, int lines_per_notch, int visible, int zoom) {
    if (lines_per_notch == kWheelPageScroll) {
        const int pages = delta / kWheelDelta;
        return {-pages * visible, delta - pages * kWheelDelta};
    }
    if (lines_per_notch <= 0) return {0, 0};
    if (zoom <= 0) zoom = 100;
    const long long turned = (long long)delta * lines_per_notch;
    const int lines = int(turned / kWheelDelta);
    const int line_pixels = std::max(1, kWheelLineScreenPixels * 100 / zoom);
    return {-lines * line_pixels, int((turned - (long long)lines * kWheelDelta) / lines_per_notch)};
}

WindowPlace fitted_window(WindowPlace w, int area_width, int area_height) {
    // A workspace with no room (the frame minimised) would leave nothing of
    // the window to restore.
    if (area_width <= 0 || area_height <= 0) return w;
    w.width = std::min(w.width, area_width);
    w.height = std::min(w.height, area_height);
    w.x = std::max(0, std::min(w.x, area_width - w.width));
    w.y = std::max(0, std::min(w.y, area_height - w.height));
    return w;
}
