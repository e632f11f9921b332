// Small pictures and pixel grids for the drawing tests.
#pragma once

#include "app/document/picture.h"

#include <cstring>
#include <memory>
#include <string>

namespace drawing_test {

struct DocumentDeleter {
    void operator()(PictureDocument* doc) const { free_document(doc); }
};
using DocumentPtr = std::unique_ptr<PictureDocument, DocumentDeleter>;

inline BYTE& at(Surface& s, int x, int y) {
    return s.bits[std::size_t(s.height() - 1 - y) * s.stride() + x];
}

inline void fill(Surface& s, BYTE value) {
    std::memset(s.bits, value, s.pixel_bytes());
}

// One character per pixel: '.' for 255, '0' + v below 10, 'a' + v - 10 below
// 36, '?' otherwise; rows end with '\n'. Only the first `width` columns.
inline std::string grid(Surface& s, int width = -1) {
    if (width < 0) width = s.width();
    std::string text;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = at(s, x, y);
            text += v == 255 ? '.' : v < 10 ? char('0' + v) : v < 36 ? char('a' + v - 10) : '?';
        }
        text += '\n';
    }
    return text;
}

// The inverse of grid: one character per pixel, rows ending with '\n'.
inline void paint(Surface& s, const char* text) {
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const char c = *text++;
            at(s, x, y) = c == '.' ? 255 : c >= 'a' ? BYTE(c - 'a' + 10) : BYTE(c - '0');
        }
        ++text; // the row's '\n'
    }
}

// A one-layer picture filled with `value`, current pen slot made by the test.
inline DocumentPtr picture(int width, int height, BYTE value = 255) {
    DocumentPtr doc(create_document());
    if (!doc || !create_bottom_layer(*doc, width, height)) return nullptr;
    fill(*bottom_layer(*doc)->image, value);
    doc->update_rect = {0, 0, width, height};
    return doc;
}

// A 32 x 32 pen: 255 everywhere except the listed offsets from the hot spot
// (15, 15), which get `value`.
struct Dot {
    int dx, dy;
};
inline std::unique_ptr<Surface> pen_of(std::initializer_list<Dot> dots, BYTE value = 0) {
    auto pen = std::make_unique<Surface>();
    if (!pen->create(32, 32)) return nullptr;
    fill(*pen, 255);
    for (const Dot& d : dots)
        at(*pen, 15 + d.dx, 15 + d.dy) = value;
    return pen;
}

} // namespace drawing_test
