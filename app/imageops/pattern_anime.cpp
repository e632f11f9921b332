#include "app/imageops/pattern_anime.h"

#include "platform/io/dib_layout.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kGifBits = 8;
constexpr int kDisposalErase = 2;
constexpr WORD kLoopEndless = 0;
constexpr WORD kLoopOnce = 1;
constexpr int kDelayUnit = 10; // ms in one GIF delay step

// Picture length `value` on a preview that shows `length` picture pixels in
// `shown` control pixels.
int scaled(long long value, int shown, int length) {
    return int(value * shown / length);
}

// Line places for multiples of step up to count * step, each place once.
std::vector<int> line_places(int origin, int shown, int length, int step, int count) {
    std::vector<int> places;
    for (int i = 0; i <= count; ++i) {
        const int at = origin + scaled(1LL * i * step, shown, length);
        if (places.empty() || places.back() != at) places.push_back(at);
    }
    return places;
}

bool inside(const AreaRect& cell, int picture_width, int picture_height) {
    return cell.left >= 0 && cell.top >= 0 && cell.left + cell.width <= picture_width &&
           cell.top + cell.height <= picture_height;
}

} // namespace

AreaRect PatternGrid::cell(int index) const {
    return {LONG(index % columns * cell_width), LONG(index / columns * cell_height),
            LONG(cell_width), LONG(cell_height)};
}

PatternGrid pattern_grid(int picture_width, int picture_height, int cell_width, int cell_height) {
    PatternGrid grid;
    grid.cell_width = std::clamp(cell_width, 1, std::max(picture_width, 1));
    grid.cell_height = std::clamp(cell_height, 1, std::max(picture_height, 1));
    grid.columns = std::max(picture_width / grid.cell_width, 1);
    grid.rows = std::max(picture_height, 0) / grid.cell_height;
    return grid;
}

int pattern_at(const PatternGrid& grid, int x, int y) {
    if (x < 0 || y < 0) return -1;
    const int column = x / grid.cell_width, row = y / grid.cell_height;
    if (column >= grid.columns || row >= grid.rows) return -1;
    return row * grid.columns + column;
}

AreaRect preview_rect(int control_width, int control_height, int picture_width,
                      int picture_height) {
    int width = picture_width, height = picture_height;
    if (width > control_width || height > control_height) {
        // Whichever side is held by the control decides the scale.
        if (1LL * picture_width * control_height >= 1LL * picture_height * control_width) {
            width = control_width;
            height = std::max(scaled(picture_height, control_width, picture_width), 1);
        } else {
            height = control_height;
            width = std::max(scaled(picture_width, control_height, picture_height), 1);
        }
    }
    return {LONG((control_width - width) / 2), LONG((control_height - height) / 2), LONG(width),
            LONG(height)};
}

bool preview_to_picture(const AreaRect& shown, int picture_width, int picture_height, POINT at,
                        POINT& picture_point) {
    const long long dx = at.x - shown.left, dy = at.y - shown.top;
    if (dx < 0 || dy < 0 || dx >= shown.width || dy >= shown.height) return false;
    picture_point = {LONG(dx * picture_width / shown.width),
                     LONG(dy * picture_height / shown.height)};
    return true;
}

PreviewPlan plan_preview(const AreaRect& shown, int picture_width, int picture_height,
                         const PatternGrid& grid, TextExtent number_size) {
    PreviewPlan plan;
    if (picture_width < 1 || picture_height < 1) return plan;
    plan.columns_x = line_places(shown.left, shown.width, picture_width, grid.cell_width,
                                 picture_width / grid.cell_width);
    plan.rows_y = line_places(shown.top, shown.height, picture_height, grid.cell_height,
                              picture_height / grid.cell_height);
    plan.numbers = scaled(grid.cell_width, shown.width, picture_width) >= number_size.width &&
                   scaled(grid.cell_height, shown.height, picture_height) >= number_size.height;
    return plan;
}

PlayerStep step_player(PatternPlayer& player, const PatternGrid& grid, int picture_width,
                       int picture_height, bool repeat) {
    PlayerStep step;
    if (player.sequence.empty()) {
        step.ended = true;
        return step;
    }
    if (player.position >= player.sequence.size()) {
        player.position = 0;
        if (!repeat) {
            step.ended = true;
            return step;
        }
    }
    step.cell = grid.cell(player.sequence[player.position++]);
    step.draw = inside(step.cell, picture_width, picture_height);
    return step;
}

bool build_pattern_gif(const PictureDocument& doc, const PatternGrid& grid,
                       const std::vector<int>& sequence, const PatternGifOptions& options,
                       PatternGif& gif) {
    const Layer* current = current_layer(doc);
    const Surface* sheet = doc.composite;
    if (sequence.size() < 2 || !current || !sheet || !sheet->info) return false;
    std::memcpy(gif.palette_, current->image->colour_table(), io::kPaletteBytes);
    const int key = current->key_colour & 0xFF;
    for (const int index : sequence) {
        PatternGif::DibDeleter deleter;
        std::unique_ptr<BITMAPINFOHEADER, PatternGif::DibDeleter> picture(
            RaskoCreateDIB(grid.cell_width, grid.cell_height), deleter);
        if (!picture) return false;
        BYTE* bits = io::bits_of(picture.get());
        std::memcpy(io::colour_table(picture.get()), gif.palette_, sizeof gif.palette_);
        RaskoFillDIB(picture.get(), bits, key);
        // The engine refuses a source rectangle that leaves the sheet, so
        // the cell is cut to the part the sheet holds.
        const AreaRect cell = grid.cell(index);
        const int width = std::min<int>(cell.width, sheet->width() - cell.left);
        const int height = std::min<int>(cell.height, sheet->height() - cell.top);
        if (width > 0 && height > 0)
            RaskoCopyDIBBits(picture.get(), bits, 0, 0, width, height, sheet->info, sheet->bits,
                             cell.left, cell.top);
        GifFrame frame{};
        frame.dib = picture.get();
        frame.bits = bits;
        frame.transparentIndex = options.transparent ? key : -1;
        frame.delay = options.interval / kDelayUnit;
        frame.disposal = kDisposalErase;
        gif.frames_.push_back(frame);
        gif.pictures_.push_back(std::move(picture));
    }
    for (GifFrame& frame : gif.frames_)
        gif.frame_pointers_.push_back(&frame);

    GifAnimation& a = gif.animation_;
    a = GifAnimation{};
    a.frameCount = DWORD(gif.frames_.size());
    a.screenWidth = DWORD(grid.cell_width);
    a.screenHeight = DWORD(grid.cell_height);
    a.backgroundIndex = DWORD(current->background_colour & 0xFF);
    a.bitsPerPixel = kGifBits;
    a.interlaced = options.interlaced ? 1 : 0;
    a.loopCount = options.repeat ? kLoopEndless : kLoopOnce;
    a.globalPalette = gif.palette_;
    a.frames = gif.frame_pointers_.data();
    return true;
}

int export_pattern_gif(const char* path, const PictureDocument& doc, const PatternGrid& grid,
                       const std::vector<int>& sequence, const PatternGifOptions& options) {
    PatternGif gif;
    if (!build_pattern_gif(doc, grid, sequence, options, gif)) return 0;
    return RaskoSaveGIFEx(path, &gif.animation());
}
