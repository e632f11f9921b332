// The animation test: a sprite sheet seen as equal cells ("patterns") that
// the user picks in any order, plays one after another and exports as an
// animated GIF.
#pragma once

#include "app/document/picture.h"
#include "engine/rasko.h"

#include <cstddef>
#include <memory>
#include <vector>

inline constexpr int kPatternMinInterval = 55; // ms; a timer runs no faster

// Cells of cell_width x cell_height over a picture, counted row by row from
// the top left: pattern k is column k mod columns, row k div columns. Only
// whole cells count; at least one column, so that an index always names a
// place.
struct PatternGrid {
    int cell_width = 1;
    int cell_height = 1;
    int columns = 1;
    int rows = 0;
    AreaRect cell(int index) const;
};

// The grid of a picture of picture_width x picture_height; the cell size is
// held to 1 .. the picture's side first.
PatternGrid pattern_grid(int picture_width, int picture_height, int cell_width, int cell_height);
// The pattern index under picture point (x, y), or -1 when the point lies in
// no whole cell (outside the picture or in the strip right or below the
// last column or row).
int pattern_at(const PatternGrid& grid, int x, int y);

// Where the preview shows a picture inside a control: pictures that fit are
// shown 1:1, larger ones shrunk to fit keeping the aspect ratio; centred.
AreaRect preview_rect(int control_width, int control_height, int picture_width, int picture_height);
// The picture point under control point `at` of a preview shown at `shown`;
// false outside the picture.
bool preview_to_picture(const AreaRect& shown, int picture_width, int picture_height, POINT at,
                        POINT& picture_point);

// What the preview draws over the picture: the grid lines (control
// coordinates, each place once however many cells a preview pixel holds) and
// whether every cell is large enough for its number.
struct PreviewPlan {
    std::vector<int> columns_x; // vertical lines
    std::vector<int> rows_y;    // horizontal lines
    bool numbers = false;
};
// The size a text takes on the preview, in control pixels.
struct TextExtent {
    int width = 0;
    int height = 0;
};
// number_size: the extent of the widest number the grid needs.
PreviewPlan plan_preview(const AreaRect& shown, int picture_width, int picture_height,
                         const PatternGrid& grid, TextExtent number_size);

// Plays a sequence of pattern indexes: each tick shows the cell at the
// current position and moves on.
struct PatternPlayer {
    std::vector<int> sequence;
    std::size_t position = 0;
};
struct PlayerStep {
    bool draw = false;  // cell lies wholly inside the picture
    AreaRect cell{};    // what to show when draw
    bool ended = false; // the last entry has had its time and repeat is off
};
// A cell that no longer lies inside the picture (smaller picture, other
// cell size) is passed over without drawing, so the play never stalls. The
// last entry keeps its interval like the others before the play ends.
PlayerStep step_player(PatternPlayer& player, const PatternGrid& grid, int picture_width,
                       int picture_height, bool repeat);

struct PatternGifOptions {
    int interval = 100; // ms between frames
    bool repeat = true; // loop endlessly, else play once
    bool transparent = false;
    bool interlaced = false;
};

// An animated GIF of patterns, ready for the engine's writer. Owns the frame
// pictures, the frame records and the palette the record points to.
class PatternGif {
  public:
    PatternGif() = default;
    PatternGif(const PatternGif&) = delete;
    PatternGif& operator=(const PatternGif&) = delete;

    GifAnimation& animation() { return animation_; }
    std::size_t frame_count() const { return frames_.size(); }
    const GifFrame& frame(std::size_t i) const { return frames_[i]; }

  private:
    struct DibDeleter {
        void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
    };
    friend bool build_pattern_gif(const PictureDocument&, const PatternGrid&,
                                  const std::vector<int>&, const PatternGifOptions&, PatternGif&);

    GifAnimation animation_{};
    RGBQUAD palette_[256] = {};
    std::vector<std::unique_ptr<BITMAPINFOHEADER, DibDeleter>> pictures_;
    std::vector<GifFrame> frames_;
    std::vector<GifFrame*> frame_pointers_;
};

// One frame per sequence entry, each a grid cell of the document's composite
// in the current layer's colours; the part of a cell outside the picture
// takes the current layer's key colour. Screen = one cell; delay interval /
// 10; disposal Erase; loop count 0 (endless) with repeat, else 1. False
// with fewer than two entries or when a picture cannot be made.
bool build_pattern_gif(const PictureDocument& doc, const PatternGrid& grid,
                       const std::vector<int>& sequence, const PatternGifOptions& options,
                       PatternGif& gif);
// Builds the GIF and writes it to path with the engine's writer (which
// replaces the file only after a complete write). 1 written, 0 failed.
int export_pattern_gif(const char* path, const PictureDocument& doc, const PatternGrid& grid,
                       const std::vector<int>& sequence, const PatternGifOptions& options);
