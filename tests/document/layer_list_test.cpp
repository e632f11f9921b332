#include "app/document/picture.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <string>

using namespace drawing_test;

namespace {

// A 2 x 2 picture of `count` layers named A (bottom), B, C ... with the
// current layer at position `current`.
DocumentPtr stack(int count, int current) {
    DocumentPtr doc = picture(2, 2);
    bottom_layer(*doc)->name[0] = 'A';
    bottom_layer(*doc)->name[1] = 0;
    for (int i = 1; i < count; ++i) {
        Layer* layer = add_layer_above(*doc);
        layer->name[0] = char('A' + i);
        layer->name[1] = 0;
    }
    doc->current = layer_node_at(*doc, current);
    return doc;
}

// Names from the bottom up, a '*' after the deletable ones, and the current
// layer in brackets; the walk checks the back links too.
std::string order(const PictureDocument& doc) {
    std::string text;
    int count = 0;
    for (LayerNode* n = doc.layers->next; n != doc.layers; n = n->next, ++count) {
        EXPECT_EQ(n->next->previous, n);
        const bool current = n == doc.current;
        if (current) text += '[';
        text += n->layer->name;
        if (n->layer->flags & kLayerDeletable) text += '*';
        if (current) text += ']';
    }
    EXPECT_EQ(count, doc.layer_count);
    EXPECT_EQ(doc.layers->previous->next, doc.layers);
    return text;
}

TEST(LayerList, PositionsAndListEntriesNameLayersOnly) {
    DocumentPtr doc = stack(3, 1);
    EXPECT_EQ(order(*doc), "[A]B*C*");
    EXPECT_EQ(layer_position(*doc, doc->layers), 0);
    EXPECT_EQ(layer_position(*doc, nullptr), 0);
    LayerNode stranger;
    EXPECT_EQ(layer_position(*doc, &stranger), 0);
    for (int p = 1; p <= 3; ++p) {
        EXPECT_EQ(layer_position(*doc, layer_node_at(*doc, p)), p);
        EXPECT_EQ(position_of_list_entry(*doc, list_entry_of_position(*doc, p)), p);
    }
    EXPECT_EQ(position_of_list_entry(*doc, 0), 3); // the list shows the top first
    for (int p : {-1, 0, 4})
        EXPECT_FALSE(is_layer_position(*doc, p)) << p;
}

TEST(LayerList, ReorderingKeepsTheBottomUndeletable) {
    struct Case {
        const char* what;
        int count, current;
        bool (*run)(PictureDocument&);
        bool changed;
        const char* expected;
    };
    const Case cases[] = {
        {"bottom up one", 3, 1, [](PictureDocument& d) { return swap_with_upper(d, 1); }, true,
         "B[A*]C*"},
        {"middle up one", 3, 2, [](PictureDocument& d) { return swap_with_upper(d, 2); }, true,
         "AC*[B*]"},
        {"top has no upper", 3, 3, [](PictureDocument& d) { return swap_with_upper(d, 3); }, false,
         "AB*[C*]"},
        {"sentinel is no position", 3, 1, [](PictureDocument& d) { return swap_with_upper(d, 0); },
         false, "[A]B*C*"},
        {"top to the bottom", 3, 3,
         [](PictureDocument& d) { return move_layer_to(d, d.current, 1); }, true, "[C]A*B*"},
        {"bottom to the top", 3, 1,
         [](PictureDocument& d) { return move_layer_to(d, d.current, 3); }, true, "BC*[A*]"},
        {"to the middle", 4, 4, [](PictureDocument& d) { return move_layer_to(d, d.current, 2); },
         true, "A[D*]B*C*"},
        {"to where it is", 3, 2, [](PictureDocument& d) { return move_layer_to(d, d.current, 2); },
         true, "A[B*]C*"},
        {"past the top", 3, 1, [](PictureDocument& d) { return move_layer_to(d, d.current, 4); },
         false, "[A]B*C*"},
        {"onto the sentinel", 3, 2,
         [](PictureDocument& d) { return move_layer_to(d, d.current, 0); }, false, "A[B*]C*"},
        {"the sentinel itself", 3, 2,
         [](PictureDocument& d) { return move_layer_to(d, d.layers, 1); }, false, "A[B*]C*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = stack(c.count, c.current);
        EXPECT_EQ(c.run(*doc), c.changed);
        EXPECT_EQ(order(*doc), c.expected);
    }
}

TEST(LayerList, DeletingTakesDeletableLayersOnly) {
    struct Case {
        const char* what;
        int count, current;
        bool deleted;
        const char* expected;
    };
    const Case cases[] = {
        {"top layer", 3, 3, true, "[A]B*"},
        {"middle layer", 3, 2, true, "[A]C*"},
        {"bottom layer", 3, 1, false, "[A]B*C*"},
        {"only layer", 1, 1, false, "[A]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentPtr doc = stack(c.count, c.current);
        EXPECT_EQ(delete_current_layer(*doc), c.deleted);
        EXPECT_EQ(order(*doc), c.expected);
    }
}

TEST(LayerList, ABottomCarryingDeletableFromAFileStays) {
    DocumentPtr doc = stack(2, 1);
    bottom_layer(*doc)->flags |= kLayerDeletable;
    EXPECT_FALSE(delete_current_layer(*doc));
    EXPECT_EQ(doc->layer_count, 2);
}

TEST(LayerList, UnlinkingTheBottomHandsItsPlaceOn) {
    DocumentPtr doc = stack(3, 1);
    LayerNode* node = unlink_layer(*doc, doc->current);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(order(*doc), "[B]C*");
    free_layer(node->layer);
    delete node;
    EXPECT_EQ(unlink_layer(*doc, doc->layers), nullptr);
    LayerNode* last = layer_node_at(*doc, 1);
    LayerNode* second = unlink_layer(*doc, layer_node_at(*doc, 2));
    ASSERT_NE(second, nullptr);
    free_layer(second->layer);
    delete second;
    EXPECT_EQ(unlink_layer(*doc, last), nullptr); // never the only layer
    free_all_layers(*doc);
}

TEST(LayerSettings, OpacityIntervalAndAreaStayInRange) {
    Layer layer;
    EXPECT_TRUE(set_layer_opacity(layer, 8));
    EXPECT_EQ(layer.opacity, 8);
    EXPECT_TRUE(layer.flags & kLayerTranslucent);
    EXPECT_FALSE(set_layer_opacity(layer, 17));
    EXPECT_FALSE(set_layer_opacity(layer, -1));
    EXPECT_EQ(layer.opacity, 8);
    EXPECT_TRUE(set_layer_opacity(layer, 16));
    EXPECT_FALSE(layer.flags & kLayerTranslucent);

    EXPECT_EQ(clamped_interval(-5), 0);
    EXPECT_EQ(clamped_interval(655351), 655350);
    EXPECT_EQ(clamped_interval(1LL << 40), 655350);
    EXPECT_EQ(clamped_interval(120), 120);

    struct Case {
        AreaRect in, out;
    };
    const Case cases[] = {
        {{500, 0, 320, 200}, {319, 0, 1, 200}},
        {{10, 20, 0, -3}, {10, 20, 1, 1}},
        {{-4, -4, 400, 400}, {0, 0, 320, 200}},
        {{100, 50, 300, 300}, {100, 50, 220, 150}},
    };
    for (const Case& c : cases) {
        const AreaRect a = clamped_area(c.in, 320, 200);
        EXPECT_EQ(a.left, c.out.left);
        EXPECT_EQ(a.top, c.out.top);
        EXPECT_EQ(a.width, c.out.width);
        EXPECT_EQ(a.height, c.out.height);
    }
}

} // namespace
