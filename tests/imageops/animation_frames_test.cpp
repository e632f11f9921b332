#include "app/imageops/animation_frames.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace drawing_test;

namespace {

constexpr AreaRect kWhole{0, 0, 2, 2};
constexpr std::int32_t kErase = 2, kPrevious = 3;

struct LayerSpec {
    const char* pixels;
    std::int32_t disposal = 0;
    std::uint32_t flags = 0;
    AreaRect area = kWhole;
    std::int32_t interval = 50;
};

// A 2 x 2 picture of the layers, bottom first; key colour 255 ('.').
DocumentPtr animation(const std::vector<LayerSpec>& layers) {
    DocumentPtr doc = picture(2, 2);
    for (std::size_t i = 0; i < layers.size(); ++i) {
        Layer* layer = i == 0 ? bottom_layer(*doc) : add_layer_above(*doc);
        if (!layer) return nullptr;
        paint(*layer->image, layers[i].pixels);
        layer->disposal = layers[i].disposal;
        layer->flags |= layers[i].flags;
        layer->area = layers[i].area;
        layer->interval = layers[i].interval;
    }
    return doc;
}

TEST(AnimationFrames, EachStepDrawsItsLayerAsItsSettingsSay) {
    const LayerSpec b{"56\n78\n"};
    const struct {
        const char* what;
        std::vector<LayerSpec> layers;
        int counter;
        const char* drawn; // over a frame of 4
        int next_counter;
    } cases[] = {
        {"the bottom layer first", {b, {"12\n34\n"}}, 0, "56\n78\n", 1},
        {"a counter past a shorter list starts again", {b, {"12\n34\n"}}, 5, "56\n78\n", 1},
        {"after the top layer comes 0", {b, {"12\n34\n"}}, 1, "12\n34\n", 0},
        {"Transparent leaves the key colour out",
         {b, {"1.\n.3\n", 0, kLayerAnimTransparent}},
         1,
         "14\n43\n",
         0},
        {"only the area", {b, {"12\n34\n", 0, 0, {1, 0, 1, 1}}}, 1, "42\n44\n", 0},
        {"Erase clears to the key colour",
         {b, {"12\n34\n", kErase, 0, {0, 0, 1, 1}}},
         1,
         "1.\n..\n",
         0},
        {"Previous puts back the area below",
         {{"56\n78\n", 0, 0, {1, 1, 1, 1}}, {"12\n34\n", kPrevious, 0, {0, 0, 1, 1}}},
         1,
         "1.\n.8\n",
         0},
        {"below the bottom layer is the top one",
         {{"56\n78\n", kPrevious, 0, {0, 1, 1, 1}}, {"12\n34\n", 0, 0, {1, 0, 1, 1}}},
         0,
         ".2\n7.\n",
         1},
        {"an area past the edges is cut",
         {b, {"12\n34\n", 0, 0, {-1, -1, 2, 9}}},
         1,
         "14\n34\n",
         0},
        {"an area outside draws nothing", {b, {"12\n34\n", 0, 0, {5, 0, 2, 2}}}, 1, "44\n44\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = animation(c.layers);
        ASSERT_NE(doc, nullptr);
        Surface frame;
        ASSERT_TRUE(frame.create(2, 2));
        fill(frame, 4);
        EXPECT_EQ(draw_animation_frame(*doc, c.counter, frame).next_counter, c.next_counter);
        EXPECT_EQ(grid(frame), c.drawn);
    }
}

TEST(AnimationFrames, WaitsTheIntervalForAClickOrForNothing) {
    const struct {
        const char* what;
        std::uint32_t flags;
        std::int32_t interval;
        std::size_t layers;
        bool waits_for_click;
        std::uint32_t wait;
    } cases[] = {
        {"the interval", 0, 30, 2, false, 30},
        {"at least the floor", 0, 0, 2, false, kAnimationIntervalFloor},
        {"User Input holds", kLayerAnimUserInput, 30, 2, true, kAnimationStill},
        {"one layer stays still", 0, 30, 1, false, kAnimationStill},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = animation(std::vector<LayerSpec>(
            c.layers, LayerSpec{"12\n34\n", 0, c.flags, kWhole, c.interval}));
        ASSERT_NE(doc, nullptr);
        Surface frame;
        ASSERT_TRUE(start_animation_frame(*doc, frame));
        const AnimationStep step = draw_animation_frame(*doc, 0, frame);
        EXPECT_EQ(step.waits_for_click, c.waits_for_click);
        EXPECT_EQ(step.wait, c.wait);
    }
}

TEST(AnimationFrames, TheFrameStartsAsTheCurrentLayerSaysAndNeedsALayer) {
    DocumentPtr doc = animation({{"12\n34\n"}, {"56\n78\n"}});
    ASSERT_NE(doc, nullptr);
    current_layer(*doc)->key_colour = 7;
    current_layer(*doc)->image->colour_table()[9].rgbRed = 3;
    Surface frame;
    ASSERT_TRUE(start_animation_frame(*doc, frame));
    EXPECT_EQ(grid(frame), "77\n77\n");
    EXPECT_EQ(frame.colour_table()[9].rgbRed, 3);
    DocumentPtr empty(create_document());
    EXPECT_FALSE(start_animation_frame(*empty, frame));
    EXPECT_EQ(frame.info, nullptr);
    EXPECT_EQ(draw_animation_frame(*empty, 0, frame).wait, kAnimationStill);
}

} // namespace
