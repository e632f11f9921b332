#include "app/tools/zoom_view.h"

#include <algorithm>

namespace {

constexpr int kTens = 10;
constexpr int kSixteens = 16;

// One axis of clamped_view_area.
void clamp_axis(LONG& origin, LONG& size, int extent) {
    size = std::clamp<LONG>(size, 1, std::max(extent, 1));
    origin = std::clamp<LONG>(origin, 0, std::max<LONG>(extent - size, 0));
}

// One axis of mini_zoom_copy: the source's start and length and the
// target's start, or a length of 0 or less when nothing is left.
void mini_axis(int centre, int extent, LONG& start, LONG& length, LONG& target, bool& cut) {
    start = centre - kMiniSpan / 2;
    length = kMiniSpan;
    target = 0;
    if (start < 0) {
        target = -start * kMiniScale;
        length += start;
        start = 0;
        cut = true;
    }
    if (start + length > extent) {
        length = extent - start;
        cut = true;
    }
}

} // namespace

AreaRect clamped_view_area(AreaRect area, int picture_width, int picture_height) {
    clamp_axis(area.left, area.width, picture_width);
    clamp_axis(area.top, area.height, picture_height);
    return area;
}

int offered_cells(ZoomSizeMode mode, int client, int factor, int old_cells) {
    factor = std::clamp(factor, kZoomFactorMin, kZoomFactorMax);
    const int cells = std::max(client, 0) / factor;
    switch (mode) {
    case ZoomSizeMode::free_size:
        return old_cells * factor < client ? cells + 1 : cells;
    case ZoomSizeMode::tens:
        return std::max((cells + kTens / 2) / kTens * kTens, kTens);
    case ZoomSizeMode::sixteens:
        return std::max((cells + kSixteens / 2) & ~(kSixteens - 1), kSixteens);
    }
    return cells;
}

AreaRect offered_view_area(const AreaRect& old, ZoomSizeMode mode, int client_width,
                           int client_height, int factor, int picture_width, int picture_height) {
    AreaRect area = old;
    area.width = offered_cells(mode, client_width, factor, old.width);
    area.height = offered_cells(mode, client_height, factor, old.height);
    return clamped_view_area(area, picture_width, picture_height);
}

AreaRect capped_view_area(AreaRect area, int factor, int max_width, int max_height) {
    factor = std::clamp(factor, kZoomFactorMin, kZoomFactorMax);
    area.width = std::clamp<LONG>(area.width, 1, std::max(max_width / factor, 1));
    area.height = std::clamp<LONG>(area.height, 1, std::max(max_height / factor, 1));
    return area;
}

POINT zoom_cell(const AreaRect& area, int factor, int cx, int cy, bool hold) {
    factor = std::clamp(factor, kZoomFactorMin, kZoomFactorMax);
    // Floor division, so that a point left of or above the display is
    // outside the area rather than on its first cell.
    const auto floor_div = [factor](int v) {
        return v >= 0 ? v / factor : -((-v - 1) / factor) - 1;
    };
    POINT cell{floor_div(cx) + area.left, floor_div(cy) + area.top};
    if (hold) {
        cell.x = std::clamp<LONG>(cell.x, area.left, area.left + std::max<LONG>(area.width, 1) - 1);
        cell.y = std::clamp<LONG>(cell.y, area.top, area.top + std::max<LONG>(area.height, 1) - 1);
    }
    return cell;
}

POINT cell_centre(const AreaRect& area, int factor, POINT cell) {
    return {(cell.x - area.left) * factor + factor / 2, (cell.y - area.top) * factor + factor / 2};
}

MiniZoomCopy mini_zoom_copy(int x, int y, int picture_width, int picture_height) {
    MiniZoomCopy copy{};
    mini_axis(x, picture_width, copy.source.left, copy.source.width, copy.target.x, copy.cut);
    mini_axis(y, picture_height, copy.source.top, copy.source.height, copy.target.y, copy.cut);
    copy.any = copy.source.width > 0 && copy.source.height > 0;
    return copy;
}
