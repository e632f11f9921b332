#include "app/tools/rotring_tool.h"

#include "app/document/composite.h"
#include "app/tools/line_walk.h"
#include "engine/rasko.h"

#include <algorithm>
#include <cstdio>

void rotring_point(PictureDocument& doc, int x, int y, bool m_held) {
    const DrawTarget t = drawing_target(doc, m_held);
    if (!t.surface || !t.surface->info) return;
    const bool right = (standard_tone(doc.tone_level) >> ((y & 3) * 4 + (x & 3))) & 1;
    const int colour = (right ? doc.right_colour : doc.left_colour) & 0xFF;
    const bool inside = x >= 0 && y >= 0 && x < t.surface->width() && y < t.surface->height();
    if (inside && colour != t.transparent && (!t.mask || *pixel_at_bits(*t.surface, t.mask, x, y)))
        *pixel_at(*t.surface, x, y) = BYTE(colour);
    doc.update_rect = {x, y, x + 1, y + 1};
    recomposite(doc);
}

int rotring_line(PictureDocument& doc, int x0, int y0, int x1, int y1, bool m_held) {
    const DrawTarget t = drawing_target(doc, m_held);
    if (!t.surface || !t.surface->info) return 0;
    if (!RaskoClipLine(t.surface->info, &x0, &y0, &x1, &y1)) return 0;
    const ToneTile tile = tone_tile(doc.left_colour, doc.right_colour, doc.tone_level);
    Surface& s = *t.surface;
    walk_line(x0, y0, x1, y1, [&](int x, int y) {
        if (t.mask && !*pixel_at_bits(s, t.mask, x, y)) return;
        const BYTE colour = tile.colour[y & 3][x & 3];
        if (colour != t.transparent) *pixel_at(s, x, y) = colour;
    });
    doc.update_rect = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1,
                       std::max(y0, y1) + 1};
    recomposite(doc);
    return 1;
}

void rotring_rectangle(PictureDocument& doc, POINT a, POINT c, bool m_held) {
    rotring_line(doc, a.x, a.y, c.x, a.y, m_held);
    rotring_line(doc, a.x, a.y, a.x, c.y, m_held);
    rotring_line(doc, a.x, c.y, c.x, c.y, m_held);
    rotring_line(doc, c.x, a.y, c.x, c.y, m_held);
    // Each side recomposited its own strip; the box is only for presenting,
    // which also wipes the rubber band inside it.
    doc.update_rect = {std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x) + 1,
                       std::max(a.y, c.y) + 1};
}

RotringMode rotring_press(PictureDocument& doc, bool shift, bool ctrl, bool m_held) {
    doc.anchor_point = doc.current_point;
    if (shift) return RotringMode::line;
    if (ctrl) return RotringMode::rectangle;
    rotring_point(doc, doc.current_point.x, doc.current_point.y, m_held);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
    return RotringMode::free;
}

void rotring_move(PictureDocument& doc, RotringMode mode, bool m_held) {
    if (mode != RotringMode::free) return;
    rotring_line(doc, doc.previous_point.x, doc.previous_point.y, doc.current_point.x,
                 doc.current_point.y, m_held);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
}

void rotring_release(PictureDocument& doc, RotringMode mode, bool m_held) {
    const POINT a = doc.anchor_point, c = doc.current_point;
    switch (mode) {
    case RotringMode::free:
        return;
    case RotringMode::line:
        rotring_line(doc, a.x, a.y, c.x, c.y, m_held);
        break;
    case RotringMode::rectangle:
        rotring_rectangle(doc, a, c, m_held);
        break;
    }
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
}

const char* rotring_mode_status(RotringMode mode) {
    switch (mode) {
    case RotringMode::line:
        return "Draw Line";
    case RotringMode::rectangle:
        return "Draw Rectangle";
    case RotringMode::free:
        break;
    }
    return "";
}

void rotring_drag_status(const PictureDocument& doc, RotringMode mode, char (&text)[96]) {
    const POINT a = doc.anchor_point, c = doc.current_point;
    text[0] = 0;
    if (mode == RotringMode::line)
        std::snprintf(text, sizeof text, "\u59cb\u70b9:(%d,%d)-\u7d42\u70b9:(%d,%d)", int(a.x),
                      int(a.y), int(c.x), int(c.y));
    else if (mode == RotringMode::rectangle)
        std::snprintf(text, sizeof text, "(%d,%d)-(%d,%d)", int(a.x), int(a.y), int(c.x), int(c.y));
}
