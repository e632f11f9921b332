#include "app/files/clipboard.h"

#include "engine/rasko.h"

void copy_to_clipboard(const Surface& source, HWND owner, const AreaRect* r) {
    const AreaRect whole{0, 0, source.width(), source.height()};
    const AreaRect& area = r ? *r : whole;
    RaskoCopyDIB(owner, source.info, source.bits, area.left, area.top, area.width, area.height);
}

Surface* paste_from_clipboard(HWND owner) {
    BITMAPINFOHEADER* dib = RaskoPasteDIB(owner);
    if (!dib) {
        MessageBoxA(owner, "Enable to Open Clipboard", "Error", MB_OK | MB_ICONINFORMATION);
        return nullptr;
    }
    Surface* s = create_surface(dib->biWidth, dib->biHeight);
    if (!s) {
        RaskoDestroyDIB(dib);
        MessageBoxA(owner, "Can't create Bitmap", "Allocate Error", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    s->set_palette(io::colour_table(dib));
    RaskoCopyDIBBits(s->info, s->bits, 0, 0, s->width(), s->height(), dib, io::bits_of(dib), 0, 0);
    RaskoDestroyDIB(dib);
    return s;
}

PictureDocument* picture_from_surface(const Surface& s, Surface* pen) {
    PictureDocument* doc = new_picture(s.width(), s.height(), pen, nullptr);
    if (!doc) return nullptr;
    Layer& layer = *current_layer(*doc);
    s.copy_to(*layer.image);
    layer.image->copy_to(*layer.undo_copy);
    update_palette(*doc);
    return doc;
}
