#include "app/session/pen_edit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

BYTE& pen_pixel(Surface& pen, int x, int y) {
    return pen.bits[std::size_t(pen.stride()) * std::size_t(kPenSize - 1 - y) + std::size_t(x)];
}

TEST(PenEditor, EveryEditorPointMapsToTheCellUnderItOrToNone) {
    const struct {
        int x, y;
        bool on_pen;
        POINT cell;
    } points[] = {
        {0, 0, true, {0, 0}},    {9, 9, true, {0, 0}},       {10, 0, true, {1, 0}},
        {0, 19, true, {0, 1}},   {319, 319, true, {31, 31}}, {320, 5, false, {}},
        {5, 320, false, {}},     {-1, 5, false, {}},         {5, -9, false, {}},
        {-320, -320, false, {}},
    };
    for (const auto& p : points) {
        POINT cell{-7, -7};
        EXPECT_EQ(pen_cell_at(p.x, p.y, cell), p.on_pen) << p.x << ", " << p.y;
        if (!p.on_pen) continue;
        EXPECT_EQ(cell.x, p.cell.x) << p.x;
        EXPECT_EQ(cell.y, p.cell.y) << p.y;
        const RECT shown = pen_cell_rect(cell);
        EXPECT_TRUE(p.x >= shown.left && p.x < shown.right && p.y >= shown.top &&
                    p.y < shown.bottom);
        const RECT outline = pen_cursor_rect(cell);
        EXPECT_EQ(outline.right - outline.left, 12);
        EXPECT_EQ(outline.bottom - outline.top, 12);
        EXPECT_EQ(outline.left, shown.left - 1);
        EXPECT_EQ(outline.top, shown.top - 1);
    }
}

TEST(PenEditor, PaintingWritesTheShapeAndErasingTheBackgroundIntoThatPixelOnly) {
    std::unique_ptr<Surface> owned(create_surface(kPenSize, kPenSize));
    ASSERT_NE(owned, nullptr);
    Surface* pen = owned.get();
    std::memset(pen->bits, kPenBackground, pen->pixel_bytes());
    // Counted from the top: cell (0, 0) is the last row of the bottom-up DIB.
    EXPECT_TRUE(paint_pen_cell(*pen, {0, 0}, true));
    EXPECT_EQ(pen->bits[std::size_t(pen->stride()) * (kPenSize - 1)], kPenShape);
    EXPECT_FALSE(paint_pen_cell(*pen, {0, 0}, true)) << "already the shape";
    EXPECT_TRUE(paint_pen_cell(*pen, {31, 31}, true));
    EXPECT_EQ(pen->bits[31], kPenShape);
    EXPECT_TRUE(paint_pen_cell(*pen, {0, 0}, false));
    EXPECT_FALSE(paint_pen_cell(*pen, {32, 0}, true)) << "beyond the pen";
    int shape = 0;
    for (int y = 0; y < kPenSize; ++y)
        for (int x = 0; x < kPenSize; ++x)
            shape += pen_pixel(*pen, x, y) == kPenShape;
    EXPECT_EQ(shape, 1);
    EXPECT_EQ(pen_pixel(*pen, 31, 31), kPenShape);
}

} // namespace
