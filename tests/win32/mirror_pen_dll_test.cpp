// mirror_pen.dll as the host sees it: loaded by name beside the program,
// asked for its information, and called through the canvas's pen call on a
// real picture, where it paints with rasko32.dll's tone patterns.
#include "app/tools/drawing.h"
#include "app/tools/pen_call.h"
#include "app/tools/stroke_shape.h"
#include "platform/module.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct MirrorPenDll {
    HMODULE dll = LoadLibraryA("mirror_pen.dll");
    ~MirrorPenDll() {
        if (dll) FreeLibrary(dll);
    }
    VLGetInfoFn info() const { return proc_address<VLGetInfoFn>(dll, "_VLGetInfo"); }
    VLPenFn pen() const { return proc_address<VLPenFn>(dll, "_VLPen"); }
};

BYTE& pixel(Surface& s, int x, int y) {
    return s.bits[std::size_t(s.height() - 1 - y) * s.stride() + x];
}

TEST(MirrorPenDll, IsAPreviewedStrokePenForThisHost) {
    MirrorPenDll m;
    ASSERT_NE(m.dll, nullptr);
    ASSERT_NE(m.info(), nullptr);
    ASSERT_NE(m.pen(), nullptr);
    AddInInfo info{};
    EXPECT_EQ(m.info()(&info), 1);
    EXPECT_EQ(info.flags & kAddInKindMask, kAddInPen);
    EXPECT_LE(info.flags & kAddInVersionMask, kAddInHostVersion);
    EXPECT_TRUE(info.flags & kAddInPenStroke);
    EXPECT_TRUE(info.flags & kAddInPenPreview);
    EXPECT_STREQ(info.name, "Mirror Pen");
    EXPECT_NE(FindResourceA(m.dll, "PEN_BUTTON", MAKEINTRESOURCEA(2)), nullptr);
    EXPECT_NE(LoadCursorA(m.dll, "PEN_CURSOR"), nullptr);
}

TEST(MirrorPenDll, PaintsTheSegmentAndItsMirrorThroughThePenCall) {
    MirrorPenDll m;
    ASSERT_NE(m.pen(), nullptr);
    PictureDocument* doc = create_document();
    ASSERT_TRUE(doc && create_bottom_layer(*doc, 20, 6));
    Surface& image = *current_layer(*doc)->image;
    std::memset(image.bits, 9, image.pixel_bytes());
    Surface pen;
    ASSERT_TRUE(pen.create(32, 32));
    std::memset(pen.bits, 255, pen.pixel_bytes());
    pixel(pen, 15, 15) = 0;
    doc->current_pen = &pen;
    doc->left_colour = 1;
    doc->right_colour = 2;
    doc->tone_level = 8;
    doc->previous_point = {2, 2};
    doc->current_point = {5, 2};
    build_stroke_shape(*doc->stroke_surface, kShapeFreeHand, doc->previous_point,
                       doc->current_point, pen, doc->stroke_rect);

    EXPECT_EQ(call_addin_pen(m.pen(), nullptr, WM_MOUSEMOVE, MK_LBUTTON, 0, *doc, nullptr,
                             kShapeFreeHand),
              1);
    std::string row;
    for (int x = 0; x < 20; ++x)
        row += char('0' + pixel(image, x, 2));
    // Level 8 puts the right colour where x + y is even; x 2..5 mirror onto
    // 17..14, each taking the mix of its own place.
    EXPECT_EQ(row, "99212199999999212199");
    EXPECT_EQ(doc->flags & (kNotifyPresent | kNotifyZoomWindow),
              kNotifyPresent | kNotifyZoomWindow);
    EXPECT_EQ(doc->update_rect.left, 0);
    EXPECT_EQ(doc->update_rect.right, 20);
    EXPECT_EQ(pixel(*doc->composite, 15, 2), 1) << "recomposited";

    // A hover move paints nothing and asks for nothing.
    doc->flags = 0;
    EXPECT_EQ(call_addin_pen(m.pen(), nullptr, WM_MOUSEMOVE, 0, 0, *doc, nullptr, kShapeFreeHand),
              0);
    EXPECT_EQ(doc->flags, 0u);
    free_document(doc);
}

} // namespace
