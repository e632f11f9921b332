// The layered picture: surfaces, layers, the layer list and the document that
// owns them. Portable: in the win32 build a Surface is a real DIB section in a
// memory DC; natively the platform layer supplies the same calls over memory.
#pragma once

#include "app/document/file_type_id.h"
#include "platform/io/dib_layout.h"
#include "platform/win.h"

#include <cstddef>
#include <cstdint>

// One 8-bit DIB that the engine (header and bits) and GDI (a DIB section
// selected into a memory DC) both draw into. It owns all six resources.
struct Surface {
    // Owned: BITMAPINFOHEADER and 256-entry colour table, a RaskoCreateDIB
    // block; biWidth and biHeight are the surface's size.
    BITMAPINFOHEADER* info = nullptr;
    // Owned by bitmap: the DIB section's bottom-up rows, stride
    // (width + 3) & ~3, one palette index per pixel.
    BYTE* bits = nullptr;
    // Owned: the DIB section.
    HBITMAP bitmap = nullptr;
    // Borrowed: what dc held before bitmap was selected; restored on destroy.
    HBITMAP previous_bitmap = nullptr;
    // Owned: memory DC that has bitmap selected.
    HDC dc = nullptr;
    // Owned: 1028-byte GlobalAlloc block (256 entries) kept equal to the
    // colour table by refresh_palette().
    LOGPALETTE* logical_palette = nullptr;

    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface() { destroy(); }

    // Makes a width x height surface with the engine's default colour table
    // and all pixels 0, destroying what it held first. Returns false, holding
    // nothing, when the header, the section, the DC or the palette cannot be
    // made.
    bool create(int width, int height);
    void destroy();
    // Brings the logical palette and the section's colour table in line with
    // the header's colour table; every colour-table change ends with it.
    void refresh_palette();
    // Installs 256 RGBQUADs as the colour table and refreshes.
    void set_palette(const RGBQUAD* table);
    // Copies header, colour table and every pixel row into other, which must
    // have the same size. Does nothing unless both surfaces exist.
    void copy_to(Surface& other) const;

    int width() const { return info ? info->biWidth : 0; }
    int height() const { return info ? info->biHeight : 0; }
    int stride() const { return io::stride_of(width()); }
    std::size_t pixel_bytes() const { return std::size_t(stride()) * std::size_t(height()); }
    RGBQUAD* colour_table() const { return io::colour_table(info); }
};

// Four signed fields: left, top, width, height (layer areas, the zoom window
// area, the stroke rectangle).
struct AreaRect {
    LONG left;
    LONG top;
    LONG width;
    LONG height;
};

// Layer flag bits.
constexpr std::uint32_t kLayerDeletable = 0x00000001;
constexpr std::uint32_t kLayerTranslucent = 0x00000004;
constexpr std::uint32_t kLayerUseMaskAsOpacity = 0x00000010;
constexpr std::uint32_t kLayerViewAlways = 0x00000100;
constexpr std::uint32_t kLayerAnimTransparent = 0x00001000;
constexpr std::uint32_t kLayerAnimUserInput = 0x00002000;
constexpr std::uint32_t kLayerVisible = 0x10000000;

constexpr int kLayerNameSize = 64;

struct Layer {
    Surface* image = nullptr;     // owned; its colour table is the picture palette
    Surface* undo_copy = nullptr; // owned; the image before the last operation
    Surface* mask = nullptr;      // owned; mask plane, 0 protected, non-zero editable
    std::uint32_t flags = 0;
    std::int32_t key_colour = 255;
    std::int32_t background_colour = 255;
    std::int32_t opacity = 16;  // tone level 0..16
    std::int32_t interval = 50; // animation frame time in milliseconds
    std::int32_t disposal = 0;  // 0 Nothing, 1 Overlap, 2 Erase, 3 Previous
    AreaRect area{};            // animation frame rectangle
    char name[kLayerNameSize] = {};
};

// Node of the circular, doubly linked layer list. The sentinel's next is the
// bottom layer and its previous the top layer; an empty list points to
// itself both ways.
struct LayerNode {
    LayerNode* previous = nullptr; // borrowed
    LayerNode* next = nullptr;     // borrowed
    Layer* layer = nullptr;        // owned; null in the sentinel
};

// Document flag bits. The top byte collects notifications raised while the
// canvas handles a message.
constexpr std::uint32_t kDocModified = 0x2;
constexpr std::uint32_t kDocNamed = 0x4;
constexpr std::uint32_t kDocPaletteDevice = 0x8;
constexpr std::uint32_t kDocMaskOn = 0x10;
constexpr std::uint32_t kDocMaskView = 0x20;
constexpr std::uint32_t kDocOverlapMask = 0x40;
constexpr std::uint32_t kDocMoveWithMask = 0x80;
constexpr std::uint32_t kDocMoveAllLayers = 0x100;
constexpr std::uint32_t kDocGridShown = 0x400;
constexpr std::uint32_t kDocSnapToGrid = 0x800;
constexpr std::uint32_t kDocKeyColourEnabled = 0x1000;
constexpr std::uint32_t kDocOnlyCurrentLayer = 0x4000;
constexpr std::uint32_t kDocWithLayerBelow = 0x8000;
constexpr std::uint32_t kDocFloatingFrame = 0x10000;
constexpr std::uint32_t kDocPasted = 0x40000;

// GIF save options.
constexpr std::uint32_t kGifInterlaced = 0x1;
constexpr std::uint32_t kGifTransparent = 0x2;
constexpr std::uint32_t kGifAnimation = 0x4;

constexpr int kFileNameSize = 1024;
constexpr int kGifCommentSize = 256;

struct PictureDocument {
    LayerNode* layers = nullptr;        // owned sentinel of the layer list
    LayerNode* current = nullptr;       // borrowed node of that list; never the sentinel once open
    Surface* composite = nullptr;       // owned; all layers composited
    Surface* colour_swatch = nullptr;   // owned; 16 x 16 preview of the drawing colours
    Surface* current_pen = nullptr;     // borrowed pen slot (the shell owns the slots)
    std::int32_t current_pen_index = 0; // 0..15
    Surface* floating = nullptr;        // owned when set; the floating area
    Surface* stroke_surface = nullptr;  // owned; shape of the current stroke
    std::uint32_t flags = 0;
    HDC window_dc = nullptr;             // borrowed from the canvas window
    HPALETTE palette = nullptr;          // owned; the picture palette as a GDI object
    HPALETTE previous_palette = nullptr; // borrowed: what window_dc held before
    std::int32_t grid_width = 16;
    std::int32_t grid_height = 16;
    std::int32_t zoom = 100;
    std::int32_t tone_level = 0;
    std::int32_t left_colour = 0;
    std::int32_t right_colour = 0;
    std::int32_t layer_count = 0;
    std::int32_t next_layer_number = 1;
    std::int32_t zoom_window_scale = 10;
    AreaRect zoom_window_area{0, 0, 32, 32};
    RECT update_rect{};
    // One slot: the stroke shape's box (x, y, width, height) while drawing,
    // the floating area's inclusive corners (left, top, right, bottom) while
    // an area floats. Both views are four LONGs, so either reads the other.
    union {
        AreaRect stroke_rect;
        RECT floating_rect{};
    };
    std::int32_t white_index = 0;
    std::int32_t black_index = 0;
    FileTypeId file_type = FileTypeId::Native; // a write type
    std::int32_t gif_colour_bits = 8;
    // The BMP depth the picture was read with, later the one last saved
    // with (1, 2, 4 or 8); what the BMP dialog offers first.
    std::int32_t bmp_colour_bits = 8;
    std::int32_t gif_repeat_count = 0;
    std::uint32_t gif_options = 0;
    char file_name[kFileNameSize] = "untitled.vlx";
    char gif_comment[kGifCommentSize] = {};

    // View state, set by the document window and the canvas.
    std::int32_t view_origin_x = 0;
    std::int32_t view_origin_y = 0;
    std::int32_t visible_width = 0;
    std::int32_t visible_height = 0;
    std::int32_t canvas_left = 0;
    std::int32_t canvas_top = 0;
    std::int32_t canvas_width = 0;
    std::int32_t canvas_height = 0;
    POINT previous_point{};
    POINT current_point{};
    POINT anchor_point{};
};

// The canvas and Paste use the stroke and floating rectangle as one slot,
// through either view, so both views must cover the same four fields.
static_assert(sizeof(AreaRect) == sizeof(RECT) && sizeof(RECT) == 4 * sizeof(LONG));

// ---- Surfaces and layers ----

// A Surface on the heap made width x height, or null (nothing left behind).
Surface* create_surface(int width, int height);
// A 16 x 16 colour-swatch surface drawn from the document's colours.
void draw_colour_swatch(PictureDocument& doc);

// A layer of width x height: image and undo copy with the default colour
// table and pixels 0, mask all 255, defaults of a new layer, empty name.
// Null, with everything freed, when a surface cannot be made.
Layer* create_layer(int width, int height);
void free_layer(Layer* layer);

// ---- Layer list ----

// Inserts node below the sentinel, i.e. as the new top layer.
void append_layer_at_top(LayerNode* sentinel, LayerNode* node);
// Node at position n: 0 is the sentinel, 1 the bottom layer.
LayerNode* layer_node_at(const PictureDocument& doc, int position);
// Unlinks and frees every layer from the bottom up, then the sentinel.
void free_all_layers(PictureDocument& doc);
Layer* bottom_layer(const PictureDocument& doc);
Layer* current_layer(const PictureDocument& doc);

// Position of node: 1 the bottom layer up to layer_count the top; 0 when
// node is null, the sentinel or not in the document's list.
int layer_position(const PictureDocument& doc, const LayerNode* node);
// True for 1..layer_count: a position that names a layer, never the sentinel.
bool is_layer_position(const PictureDocument& doc, int position);
// Lists show the top layer first: entry 0 is position layer_count.
int position_of_list_entry(const PictureDocument& doc, int entry);
int list_entry_of_position(const PictureDocument& doc, int position);

// Takes node out of the list without freeing it and returns it; the bottom
// layer becomes current when node was. Null, with the list unchanged, for
// the sentinel, a node not in the list or the picture's only layer. The
// bottom layer never keeps Deletable.
LayerNode* unlink_layer(PictureDocument& doc, LayerNode* node);
// Unlinks and frees the current layer when it is Deletable and not alone;
// the bottom layer becomes current. False, with nothing changed, otherwise.
bool delete_current_layer(PictureDocument& doc);
// Exchanges the layers at position and position + 1. False, unchanged,
// unless both are layer positions. Deletable stays with the positions above
// the bottom: a layer that leaves the bottom gains it, the new bottom loses it.
bool swap_with_upper(PictureDocument& doc, int position);
// Moves node to position (1..layer_count), shifting the layers between;
// Deletable follows the bottom position as with swap_with_upper. False,
// unchanged, for the sentinel, a node not in the list or a position outside.
bool move_layer_to(PictureDocument& doc, LayerNode* node, int position);

// ---- Layer settings as the user edits them ----

constexpr std::int32_t kLayerIntervalMax = 655350; // ms; the GIF delay field holds a tenth
constexpr std::int32_t kLayerOpacityOpaque = 16;

// Stores an opacity of 0..16 and keeps Translucent in step (set below 16).
// False, unchanged, for other values.
bool set_layer_opacity(Layer& layer, int opacity);
// An interval clamped to 0..kLayerIntervalMax.
std::int32_t clamped_interval(long long interval);
// An animation area inside a width x height picture: left 0..width - 1,
// top 0..height - 1, width and height at least 1 and not past the edge.
AreaRect clamped_area(AreaRect area, int width, int height);

// Picture size: the bottom layer's image header.
int picture_width(const PictureDocument& doc);
int picture_height(const PictureDocument& doc);

// ---- Documents ----

// An empty document: no layers, empty composite and stroke surfaces, a
// 16 x 16 colour swatch, every field at its initial value. Null when memory
// runs out.
PictureDocument* create_document();
// Releases every layer, surface and the palette, then the record. Null is
// fine.
void free_document(PictureDocument* doc);

// The first layer of a picture of width x height in an empty document: the
// layer, palette, composite and stroke surfaces, colour swatch, white and
// black index and zoom window area. Returns false when something cannot be
// made; what was built stays in doc for free_document.
bool create_bottom_layer(PictureDocument& doc, int width, int height);

// Adds a layer above the top one, with the current layer's colour table and
// the bottom layer's key and background colour, filled with its key colour,
// named "Layer:%02d", Visible and Deletable, and makes it current. Null, with
// the document unchanged, when it cannot be made.
Layer* add_layer_above(PictureDocument& doc);

// Copies the current layer's colour table into every layer image, the
// composite and the colour swatch, remakes the GDI palette (reselecting it in
// the window DC when there is one) and recomputes the white and black index.
void update_palette(PictureDocument& doc);

// Reads a palette into a colour table; returns 1 when it changed it. Lets
// New Picture load "default.vlf" without the document library knowing files.
using DefaultPaletteLoader = int (*)(RGBQUAD* colour_table);

// New Picture after its dialog: a width x height picture with one layer
// filled with 255, the default palette when load_default_palette supplies
// one, and pen as the current pen. The caller's document window composites
// it when it is created. Null, with nothing left behind, on failure.
PictureDocument* new_picture(int width, int height, Surface* pen,
                             DefaultPaletteLoader load_default_palette);

// ---- Undo ----

// The layer's undo copy becomes equal to its image (pixels and colour table).
void take_undo_copy(Layer& layer);
// Takes the undo copy of every layer except the current one.
void settle_undo_copies(PictureDocument& doc);
// Exchanges every layer's image with its undo copy, gives every image the
// current layer's colour table, updates the palette and sets the update
// rectangle to the whole picture. The caller recomposites and presents.
void undo_exchange(PictureDocument& doc);
