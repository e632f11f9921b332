// Surfaces and documents over the real GDI: the DIB section is what GDI and
// the engine both draw into, and everything a document made is released.
#include "app/document/picture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(RealSurface, GdiDrawsIntoTheBitsTheEngineReads) {
    Surface s;
    ASSERT_TRUE(s.create(5, 3));
    ASSERT_TRUE(s.bits && s.bitmap && s.dc && s.previous_bitmap);
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_BITMAP), s.bitmap);
    // Pure red is entry 249 of the default table; the top-left pixel lies in
    // the last stored row.
    SetPixelV(s.dc, 0, 0, RGB(255, 0, 0));
    GdiFlush();
    EXPECT_EQ(s.bits[2 * s.stride()], 249);
    // A changed colour table reaches the section: red now sits at entry 3.
    s.colour_table()[3] = {0, 0, 255, 0};
    s.colour_table()[249] = {0, 0, 0, 0};
    s.refresh_palette();
    RGBQUAD section[256];
    ASSERT_EQ(GetDIBColorTable(s.dc, 0, 256, section), 256u);
    EXPECT_EQ(std::memcmp(section, s.colour_table(), 1024), 0);
    SetPixelV(s.dc, 1, 0, RGB(255, 0, 0));
    GdiFlush();
    EXPECT_EQ(s.bits[2 * s.stride() + 1], 3);
    EXPECT_EQ(s.logical_palette->palPalEntry[3].peRed, 255);

    const HBITMAP bitmap = s.bitmap;
    const HDC dc = s.dc;
    s.destroy();
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST(RealSurface, DocumentsReleaseEveryGdiObject) {
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    HDC window_dc = CreateCompatibleDC(nullptr);
    for (int round = 0; round < 3; ++round) {
        PictureDocument* doc = new_picture(20, 10, nullptr, nullptr);
        ASSERT_NE(doc, nullptr);
        doc->window_dc = window_dc;
        ASSERT_NE(add_layer_above(*doc), nullptr);
        update_palette(*doc);
        EXPECT_EQ(GetCurrentObject(window_dc, OBJ_PAL), doc->palette);
        undo_exchange(*doc);
        free_document(doc);
    }
    DeleteDC(window_dc);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
}

TEST(RealSurface, PictureBeyondMemoryYieldsNoDocument) {
    // Four 4 GB layers exceed a 32-bit address space; a 64-bit process may
    // well get them (committed lazily), so only the product's width tests it.
    if (sizeof(void*) > 4) GTEST_SKIP() << "32-bit address space only";
    EXPECT_EQ(new_picture(32767, 32767 * 4, nullptr, nullptr), nullptr);
}

} // namespace
