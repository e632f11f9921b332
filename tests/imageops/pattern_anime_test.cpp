#include "app/imageops/pattern_anime.h"

#include "app/document/composite.h"
#include "tests/support/drawing_fixture.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

namespace {

using drawing_test::at;
using drawing_test::DocumentPtr;

TEST(PatternAnimeTest, GridCountsWholeCellsAndMapsPoints) {
    const PatternGrid g = pattern_grid(100, 70, 32, 32);
    EXPECT_EQ(g.columns, 3);
    EXPECT_EQ(g.rows, 2);
    struct Case {
        int x, y, index;
    };
    const Case cases[] = {
        {0, 0, 0},   {31, 31, 0}, {32, 0, 1},   {95, 63, 5},
        {10, 40, 3}, {96, 0, -1}, {99, 10, -1}, // the 4-pixel strip right of the last column
        {0, 64, -1}, {-1, 0, -1}, {0, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(pattern_at(g, c.x, c.y), c.index);
    }
    const AreaRect cell = g.cell(4);
    EXPECT_EQ(cell.left, 32);
    EXPECT_EQ(cell.top, 32);

    // Sizes are held inside the picture, with at least one column.
    const PatternGrid wide = pattern_grid(10, 5, 300, 0);
    EXPECT_EQ(wide.cell_width, 10);
    EXPECT_EQ(wide.cell_height, 1);
    EXPECT_EQ(wide.columns, 1);
    EXPECT_EQ(wide.rows, 5);
}

TEST(PatternAnimeTest, PreviewFitsCentresAndMapsBack) {
    struct Case {
        int control_w, control_h, w, h;
        AreaRect want;
    };
    const Case cases[] = {
        {200, 200, 100, 70, {50, 65, 100, 70}}, // fits: 1:1
        {200, 200, 400, 100, {0, 75, 200, 50}},
        {200, 200, 100, 400, {75, 0, 50, 200}},
        {200, 200, 1024, 1024, {0, 0, 200, 200}},
        {200, 100, 300, 300, {50, 0, 100, 100}}, // wide control, square picture
        {200, 100, 150, 120, {37, 0, 125, 100}}, // narrower than the control, too tall
        {200, 200, 5000, 1, {0, 99, 200, 1}},    // never thinner than a pixel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.w << "x" << c.h << " in " << c.control_w << "x" << c.control_h);
        const AreaRect r = preview_rect(c.control_w, c.control_h, c.w, c.h);
        EXPECT_EQ(r.left, c.want.left);
        EXPECT_EQ(r.top, c.want.top);
        EXPECT_EQ(r.width, c.want.width);
        EXPECT_EQ(r.height, c.want.height);
        POINT p{};
        ASSERT_TRUE(preview_to_picture(r, c.w, c.h, {r.left, r.top}, p));
        EXPECT_EQ(p.x, 0);
        EXPECT_EQ(p.y, 0);
        ASSERT_TRUE(
            preview_to_picture(r, c.w, c.h, {r.left + r.width - 1, r.top + r.height - 1}, p));
        EXPECT_GE(p.x, c.w - c.w / r.width - 1);
        EXPECT_LT(p.x, c.w);
        EXPECT_FALSE(preview_to_picture(r, c.w, c.h, {r.left + r.width, r.top}, p));
        EXPECT_FALSE(preview_to_picture(r, c.w, c.h, {r.left, r.top - 1}, p));
    }
}

TEST(PatternAnimeTest, PreviewDrawsEachLineOnceAndNumbersOnlyWhereTheyFit) {
    const TextExtent digits{14, 12};
    const AreaRect sheet = preview_rect(300, 200, 96, 32);
    const PreviewPlan plan = plan_preview(sheet, 96, 32, pattern_grid(96, 32, 32, 32), digits);
    EXPECT_EQ(plan.columns_x, (std::vector<int>{102, 134, 166, 198}));
    EXPECT_EQ(plan.rows_y, (std::vector<int>{84, 116}));
    EXPECT_TRUE(plan.numbers);

    const AreaRect big = preview_rect(200, 200, 1024, 1024);
    const PreviewPlan fine = plan_preview(big, 1024, 1024, pattern_grid(1024, 1024, 1, 1), digits);
    EXPECT_EQ(fine.columns_x.size(), 201u);
    EXPECT_EQ(fine.rows_y.size(), 201u);
    EXPECT_FALSE(fine.numbers);
    // 20-pixel cells shrunk to 3 hold no number either.
    EXPECT_FALSE(plan_preview(big, 1024, 1024, pattern_grid(1024, 1024, 20, 20), digits).numbers);
}

TEST(PatternAnimeTest, PlayerMovesOnPastCellsOutsideThePicture) {
    const PatternGrid g = pattern_grid(96, 64, 32, 32); // 3 x 2
    PatternPlayer player{{2, 0, 5}};
    struct Tick {
        int picture_w, picture_h;
        bool draw;
        LONG left, top;
        bool ended;
    };
    // The picture shrinks while playing: cell 2 ends past a 90-pixel width,
    // cell 5 below a 60-pixel height; both are passed over.
    const Tick once[] = {
        {96, 64, true, 64, 0, false},   {96, 64, true, 0, 0, false},
        {96, 64, true, 64, 32, false},  {90, 64, false, 0, 0, true},
        {90, 64, false, 64, 0, false},  {90, 60, true, 0, 0, false},
        {96, 60, false, 64, 32, false}, {96, 60, false, 0, 0, true},
    };
    int tick = 0;
    for (const Tick& t : once) {
        SCOPED_TRACE(testing::Message() << "tick " << tick++);
        const PlayerStep s = step_player(player, g, t.picture_w, t.picture_h, false);
        EXPECT_EQ(s.ended, t.ended);
        EXPECT_EQ(s.draw, t.draw);
        if (s.ended) continue;
        EXPECT_EQ(s.cell.left, t.left);
        EXPECT_EQ(s.cell.top, t.top);
    }
    // With repeat the sequence starts over without a pause.
    PatternPlayer looping{{1, 4}};
    for (int i = 0; i < 5; ++i) {
        const PlayerStep s = step_player(looping, g, 96, 64, true);
        EXPECT_FALSE(s.ended);
        EXPECT_EQ(s.cell.left, 32);
        EXPECT_EQ(s.cell.top, i % 2 ? 32 : 0);
    }
}

// A 96 x 32 sheet whose three 32 x 32 cells hold 1, 2 and 3, with one
// pixel of 9 at each cell's top left.
DocumentPtr sheet() {
    DocumentPtr doc = drawing_test::picture(96, 32, 0);
    Surface& image = *bottom_layer(*doc)->image;
    for (int x = 0; x < 96; ++x)
        for (int y = 0; y < 32; ++y)
            at(image, x, y) = BYTE(x % 32 ? 1 + x / 32 : 9);
    bottom_layer(*doc)->key_colour = 7;
    bottom_layer(*doc)->background_colour = 4;
    recomposite(*doc);
    return doc;
}

BYTE pixel(const GifFrame& f, int x, int y) {
    const int stride = (f.dib->biWidth + 3) & ~3;
    return f.bits[(f.dib->biHeight - 1 - y) * stride + x];
}

TEST(PatternAnimeTest, GifFramesFollowTheSequence) {
    DocumentPtr doc = sheet();
    const PatternGrid g = pattern_grid(96, 32, 32, 32);
    struct Case {
        PatternGifOptions options;
        LONG delay, transparent;
        WORD loop;
    };
    const Case cases[] = {
        {{100, true, false, false}, 10, -1, 0},
        {{55, false, true, true}, 5, 7, 1},
    };
    for (const Case& c : cases) {
        PatternGif gif;
        ASSERT_TRUE(build_pattern_gif(*doc, g, {2, 0, 1, 3}, c.options, gif));
        const GifAnimation& a = gif.animation();
        EXPECT_EQ(a.frameCount, 4u);
        EXPECT_EQ(a.screenWidth, 32u);
        EXPECT_EQ(a.screenHeight, 32u);
        EXPECT_EQ(a.backgroundIndex, 4u);
        EXPECT_EQ(a.bitsPerPixel, 8u);
        EXPECT_EQ(a.interlaced, c.options.interlaced ? 1u : 0u);
        EXPECT_EQ(a.loopCount, c.loop);
        const BYTE want[] = {3, 1, 2, 7}; // index 3 lies below the one-row sheet
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            const GifFrame& f = *a.frames[i];
            EXPECT_EQ(f.dib->biWidth, 32);
            EXPECT_EQ(pixel(f, 5, 30), want[i]);
            EXPECT_EQ(pixel(f, 0, 0), i < 3 ? 9 : 7);
            EXPECT_EQ(f.left, 0);
            EXPECT_EQ(f.delay, c.delay);
            EXPECT_EQ(f.disposal, 2);
            EXPECT_EQ(f.userInput, 0);
            EXPECT_EQ(f.transparentIndex, c.transparent);
        }
    }
    // A grid chosen on a wider picture: the part of a cell past the sheet
    // takes the key colour.
    PatternGif cut;
    ASSERT_TRUE(build_pattern_gif(*doc, pattern_grid(120, 32, 40, 32), {2, 0}, {}, cut));
    EXPECT_EQ(pixel(*cut.animation().frames[0], 15, 3), 3);
    EXPECT_EQ(pixel(*cut.animation().frames[0], 16, 3), 7);
    PatternGif single;
    EXPECT_FALSE(build_pattern_gif(*doc, g, {1}, {}, single));
}

TEST(PatternAnimeTest, ExportReportsAFileThatCannotBeWritten) {
    DocumentPtr doc = sheet();
    TestFolder folder;
    const PatternGrid g = pattern_grid(96, 32, 32, 32);
    EXPECT_EQ(export_pattern_gif(folder.file("cells.gif").c_str(), *doc, g, {2, 0}, {}), 1);
    EXPECT_EQ(export_pattern_gif(folder.file("none/cells.gif").c_str(), *doc, g, {2, 0}, {}), 0);
}

} // namespace
