#include "app/files/clipboard.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace drawing_test;

namespace {

struct ClipboardTest : ::testing::Test {
    void SetUp() override {
        native::reset_clipboard();
        native::reset_message_boxes();
    }
    void TearDown() override {
        native::set_global_alloc_failure(false);
        native::reset_clipboard();
    }
};

// Widths around the row padding: a 5 x 2 rectangle of a 7 x 3 surface and
// the whole surface come back with their pixels and colour table.
TEST_F(ClipboardTest, SurfacesRoundTrip) {
    std::unique_ptr<Surface> source(create_surface(7, 3));
    ASSERT_NE(source, nullptr);
    paint(*source, "1234567\n89abcde\nfghijkl\n");
    source->colour_table()[5] = {1, 2, 3, 0};
    source->refresh_palette();
    const AreaRect part{1, 1, 5, 2};
    copy_to_clipboard(*source, nullptr, &part);
    std::unique_ptr<Surface> pasted(paste_from_clipboard(nullptr));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(grid(*pasted), "9abcd\nghijk\n");
    EXPECT_EQ(pasted->colour_table()[5].rgbRed, 3);
    EXPECT_EQ(pasted->logical_palette->palPalEntry[5].peRed, 3);

    copy_to_clipboard(*source, nullptr);
    pasted.reset(paste_from_clipboard(nullptr));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(grid(*pasted), grid(*source));
    EXPECT_EQ(native::last_message_box().count, 0);
}

TEST_F(ClipboardTest, FailuresAreToldAndChangeNothing) {
    EXPECT_EQ(paste_from_clipboard(nullptr), nullptr);
    EXPECT_EQ(native::last_message_box().text, "Enable to Open Clipboard");
    EXPECT_EQ(native::last_message_box().caption, "Error");

    // Without memory for the bitmap the user hears of it too.
    std::unique_ptr<Surface> source(create_surface(4, 4));
    copy_to_clipboard(*source, nullptr);
    const int told = native::last_message_box().count;
    native::set_global_alloc_failure(true);
    EXPECT_EQ(paste_from_clipboard(nullptr), nullptr);
    native::set_global_alloc_failure(false);
    EXPECT_GT(native::last_message_box().count, told);
}

} // namespace
