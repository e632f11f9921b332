#include "app/tools/scroller_tool.h"

#include "app/tools/view.h"

bool scroll_to_grab(PictureDocument& doc, POINT grab, POINT p) {
    const int width = picture_width(doc), height = picture_height(doc);
    if (p.x < 0 || p.y < 0 || p.x > width || p.y > height) return false;
    const int x = clamp_origin(doc.view_origin_x - (p.x - grab.x), doc.visible_width, width);
    const int y = clamp_origin(doc.view_origin_y - (p.y - grab.y), doc.visible_height, height);
    if (x == doc.view_origin_x && y == doc.view_origin_y) return false;
    doc.view_origin_x = x;
    doc.view_origin_y = y;
    return true;
}
