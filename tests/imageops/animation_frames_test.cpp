#include "app/imageops/animation_frames.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace drawing_test;

namespace {

constexpr int kWidth = 3;
constexpr int kHeight = 2;
constexpr AreaRect kWhole{0, 0, kWidth, kHeight};
constexpr std::int32_t kNothing = 0, kErase = 2, kPrevious = 3;

struct LayerSpec {
    const char* pixels;
    std::int32_t disposal = kNothing;
    std::uint32_t flags = 0;
    AreaRect area = kWhole;
    std::int32_t interval = 50;
};

// A 3 x 2 picture of the layers, bottom first; key colour 255 ('.').
DocumentPtr animation(const std::vector<LayerSpec>& layers) {
    DocumentPtr doc = picture(kWidth, kHeight);
    for (std::size_t i = 1; i < layers.size(); ++i)
        if (!add_layer_above(*doc)) return nullptr;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        Layer& layer = *layer_node_at(*doc, int(i) + 1)->layer;
        paint(*layer.image, layers[i].pixels);
        layer.disposal = layers[i].disposal;
        layer.flags |= layers[i].flags;
        layer.area = layers[i].area;
        layer.interval = layers[i].interval;
    }
    return doc;
}

struct Case {
    const char* what;
    std::vector<LayerSpec> layers;
    int counter;
    const char* expected; // the frame after drawing over "444\n444\n"
    int next_counter;
    bool waits_for_click;
    std::uint32_t wait;
};

TEST(AnimationFrames, EachStepDrawsItsLayerAsItsSettingsSay) {
    const LayerSpec bottom{"567\n890\n"};
    const Case cases[] = {
        {"the bottom layer comes first", {bottom, {"123\n123\n"}}, 0, "567\n890\n", 1, false, 50},
        {"the top layer wraps to 0", {bottom, {"123\n123\n"}}, 1, "123\n123\n", 0, false, 50},
        {"a counter past a shorter list starts again",
         {bottom, {"123\n123\n"}},
         5,
         "567\n890\n",
         1,
         false,
         50},
        {"transparent leaves the key colour out",
         {bottom, {"1.2\n..3\n", kNothing, kLayerAnimTransparent}},
         1,
         "142\n443\n",
         0,
         false,
         50},
        {"without Transparent the key colour is copied",
         {bottom, {"1.2\n..3\n"}},
         1,
         "1.2\n..3\n",
         0,
         false,
         50},
        {"only the area is copied",
         {bottom, {"123\n123\n", kNothing, 0, {1, 0, 2, 1}}},
         1,
         "423\n444\n",
         0,
         false,
         50},
        {"Erase clears the whole frame to the key colour",
         {bottom, {"123\n123\n", kErase, 0, {0, 0, 1, 1}}},
         1,
         "1..\n...\n",
         0,
         false,
         50},
        {"Previous puts back the area of the layer below",
         {{"567\n890\n", kNothing, 0, {2, 1, 1, 1}}, {"123\n123\n", kPrevious, 0, {0, 0, 1, 1}}},
         1,
         "1..\n..0\n",
         0,
         false,
         50},
        {"below the bottom layer comes the top one",
         {{"567\n890\n", kPrevious, 0, {0, 1, 1, 1}}, {"123\n123\n", kNothing, 0, {1, 0, 1, 1}}},
         0,
         ".2.\n8..\n",
         1,
         false,
         50},
        {"an area past the edge is cut",
         {bottom, {"123\n123\n", kNothing, 0, {2, 1, 40, 40}}},
         1,
         "444\n443\n",
         0,
         false,
         50},
        {"an area left of and above the picture is cut",
         {bottom, {"123\n123\n", kNothing, 0, {-2, -1, 3, 2}}},
         1,
         "144\n444\n",
         0,
         false,
         50},
        {"an area wholly outside draws nothing",
         {bottom, {"123\n123\n", kNothing, 0, {5, 0, 2, 2}}},
         1,
         "444\n444\n",
         0,
         false,
         50},
        {"user input holds the frame",
         {bottom, {"123\n123\n", kNothing, kLayerAnimUserInput, kWhole, 10}},
         1,
         "123\n123\n",
         0,
         true,
         kAnimationStill},
        {"a zero interval waits the floor",
         {bottom, {"123\n123\n", kNothing, 0, kWhole, 0}},
         1,
         "123\n123\n",
         0,
         false,
         kAnimationIntervalFloor},
        {"one layer is shown once and stays", {bottom}, 0, "567\n890\n", 0, false, kAnimationStill},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = animation(c.layers);
        ASSERT_NE(doc, nullptr);
        Surface frame;
        ASSERT_TRUE(frame.create(kWidth, kHeight));
        fill(frame, 4);
        const AnimationStep step = draw_animation_frame(*doc, c.counter, frame);
        EXPECT_EQ(grid(frame), c.expected);
        EXPECT_EQ(step.next_counter, c.next_counter);
        EXPECT_EQ(step.waits_for_click, c.waits_for_click);
        EXPECT_EQ(step.wait, c.wait);
    }
}

TEST(AnimationFrames, ThreeLayersPlayInOrderAndAgain) {
    DocumentPtr doc = animation({{"111\n111\n"}, {"222\n222\n"}, {"333\n333\n"}});
    ASSERT_NE(doc, nullptr);
    Surface frame;
    ASSERT_TRUE(start_animation_frame(*doc, frame));
    int counter = 0;
    std::string seen;
    for (int i = 0; i < 4; ++i) {
        counter = draw_animation_frame(*doc, counter, frame).next_counter;
        seen += grid(frame).substr(0, 1);
    }
    EXPECT_EQ(seen, "1231");
}

TEST(AnimationFrames, TheFrameStartsAsTheCurrentLayerSaysAndNeedsALayer) {
    DocumentPtr doc = animation({{"111\n111\n"}, {"222\n222\n"}});
    ASSERT_NE(doc, nullptr);
    Layer& current = *current_layer(*doc);
    current.key_colour = 7;
    current.image->colour_table()[9] = RGBQUAD{1, 2, 3, 0};
    Surface frame;
    ASSERT_TRUE(start_animation_frame(*doc, frame));
    EXPECT_EQ(frame.width(), kWidth);
    EXPECT_EQ(frame.height(), kHeight);
    EXPECT_EQ(grid(frame), "777\n777\n");
    EXPECT_EQ(frame.colour_table()[9].rgbRed, 3);

    DocumentPtr empty(create_document());
    ASSERT_NE(empty, nullptr);
    EXPECT_FALSE(start_animation_frame(*empty, frame));
    EXPECT_EQ(frame.info, nullptr);
    EXPECT_EQ(draw_animation_frame(*empty, 0, frame).wait, kAnimationStill);
}

} // namespace
