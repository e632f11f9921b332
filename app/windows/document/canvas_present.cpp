#include "app/windows/document/canvas_present.h"

#include "app/session/gdi_object.h"

namespace {

int zoom_of(const PictureDocument& doc) {
    return doc.zoom > 0 ? doc.zoom : 100;
}

// A picture coordinate on the canvas, on one axis.
int to_canvas(int v, int origin, int zoom) {
    return int((long long)(v - origin) * zoom / 100);
}

// Restores a DC's raster operation and the objects a drawing step selected.
class DrawingState {
  public:
    DrawingState(HDC dc, HGDIOBJ pen, HGDIOBJ brush)
        : dc_(dc), old_pen_(SelectObject(dc, pen)),
          old_brush_(brush ? SelectObject(dc, brush) : nullptr), old_rop_(SetROP2(dc, R2_NOT)) {}
    ~DrawingState() {
        SetROP2(dc_, old_rop_);
        SelectObject(dc_, old_pen_);
        if (old_brush_) SelectObject(dc_, old_brush_);
    }
    DrawingState(const DrawingState&) = delete;
    DrawingState& operator=(const DrawingState&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_pen_;
    HGDIOBJ old_brush_;
    int old_rop_;
};

void draw_floating_frame(PictureDocument& doc) {
    const RECT& f = doc.floating_rect;
    draw_inverted_frame(doc, {f.left, f.top, f.right + 1, f.bottom + 1});
}

// Grid lines on every multiple of the grid size within the picture
// rectangle (l, t, r, b), inverting what lies under them.
void draw_grid(PictureDocument& doc, int l, int t, int r, int b) {
    const int gw = doc.grid_width > 0 ? doc.grid_width : 1;
    const int gh = doc.grid_height > 0 ? doc.grid_height : 1;
    const int z = zoom_of(doc);
    const int ox = doc.view_origin_x, oy = doc.view_origin_y;
    LOGBRUSH brush{BS_SOLID, RGB(0, 0, 0), 0};
    GdiObject pen(ExtCreatePen(PS_COSMETIC | PS_SOLID, 1, &brush, 0, nullptr));
    HDC dc = doc.window_dc;
    DrawingState state(dc, pen.get(), nullptr);
    const int old_mode = SetBkMode(dc, TRANSPARENT);
    const int top = to_canvas(t, oy, z), bottom = to_canvas(b, oy, z);
    for (int x = (l + gw - 1) - (l + gw - 1) % gw; x < r; x += gw) {
        MoveToEx(dc, to_canvas(x, ox, z), top, nullptr);
        LineTo(dc, to_canvas(x, ox, z), bottom);
    }
    const int left = to_canvas(l, ox, z), right = to_canvas(r, ox, z);
    for (int y = (t + gh - 1) - (t + gh - 1) % gh; y < b; y += gh) {
        MoveToEx(dc, left, to_canvas(y, oy, z), nullptr);
        LineTo(dc, right, to_canvas(y, oy, z));
    }
    SetBkMode(dc, old_mode);
}

bool can_present(const PictureDocument& doc) {
    return doc.window_dc && doc.composite && doc.composite->dc;
}

// The overlays drawn on the screen after a copy of (l, t, r, b).
void draw_overlays(PictureDocument& doc, int l, int t, int r, int b) {
    if (doc.flags & kDocFloatingFrame) draw_floating_frame(doc);
    if (doc.flags & kDocGridShown) draw_grid(doc, l, t, r, b);
}

} // namespace

void draw_inverted_frame(PictureDocument& doc, const RECT& r) {
    if (!doc.window_dc) return;
    const int z = zoom_of(doc);
    const int pw = z / 100;
    const int ox = doc.view_origin_x, oy = doc.view_origin_y;
    GdiObject pen(CreatePen(PS_SOLID, pw, RGB(0, 0, 0)));
    DrawingState state(doc.window_dc, pen.get(), GetStockObject(HOLLOW_BRUSH));
    Rectangle(doc.window_dc, to_canvas(r.left, ox, z) + pw / 2, to_canvas(r.top, oy, z) + pw / 2,
              to_canvas(r.right, ox, z) - ((pw + 1) / 2 - 1),
              to_canvas(r.bottom, oy, z) - ((pw + 1) / 2 - 1));
}

void present_rect(PictureDocument& doc, const RECT& u) {
    if (!can_present(doc)) return;
    const int z = zoom_of(doc);
    const int w = u.right - u.left, h = u.bottom - u.top;
    const int dx = to_canvas(u.left, doc.view_origin_x, z);
    const int dy = to_canvas(u.top, doc.view_origin_y, z);
    if (z == 100 && !(doc.flags & kDocPaletteDevice))
        BitBlt(doc.window_dc, dx, dy, w, h, doc.composite->dc, u.left, u.top, SRCCOPY);
    else
        StretchBlt(doc.window_dc, dx, dy, int((long long)w * z / 100), int((long long)h * z / 100),
                   doc.composite->dc, u.left, u.top, w, h, SRCCOPY);
    draw_overlays(doc, u.left, u.top, u.right, u.bottom);
}

void present_update(PictureDocument& doc) {
    present_rect(doc, doc.update_rect);
}

void present_view(PictureDocument& doc) {
    if (!can_present(doc)) return;
    const int z = zoom_of(doc);
    const int ox = doc.view_origin_x, oy = doc.view_origin_y;
    const int vw = doc.visible_width, vh = doc.visible_height;
    if (z == 100 && !(doc.flags & kDocPaletteDevice))
        BitBlt(doc.window_dc, 0, 0, doc.canvas_width, doc.canvas_height, doc.composite->dc, ox, oy,
               SRCCOPY);
    else
        StretchBlt(doc.window_dc, 0, 0, int((long long)vw * z / 100), int((long long)vh * z / 100),
                   doc.composite->dc, ox, oy, vw, vh, SRCCOPY);
    draw_overlays(doc, ox, oy, ox + vw, oy + vh);
}
