// The Layer Manager and the Mask and Layer menu commands through the real
// windows: the manager's controls change the active picture and its
// composite, filling them changes nothing, keys typed into it stay there,
// and the Select Color and Select Layer dialogs answer the commands.
#include "app/shell/startup.h"
#include "harness.h"
#include "picture_window_fixture.h"

#include <string>

namespace {

using LayerManager = PictureWindow;

void click(HWND dlg, int id) {
    SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

std::string list_entry(HWND dlg, int entry) {
    char text[kLayerNameSize] = {};
    SendDlgItemMessageA(dlg, IDC_LAYER_LIST, LB_GETTEXT, WPARAM(entry),
                        reinterpret_cast<LPARAM>(text));
    return text;
}

int count_of(const Surface& s, BYTE value) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            n += pixel(const_cast<Surface&>(s), x, y) == value;
    return n;
}

TEST_F(LayerManager, ControlsChangeTheLayersAndTheComposite) {
    HWND wnd = open(8, 8, 3);
    PictureDocument& doc = *document_of(wnd);
    command(CMD_LAYER_MANAGER);
    HWND dlg = shell_windows().layer_manager;
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(doc.flags & kDocModified); // filling its controls is no edit

    click(dlg, IDC_LAYER_NEW);
    ASSERT_EQ(doc.layer_count, 2);
    EXPECT_EQ(doc.current, layer_node_at(doc, 2));
    EXPECT_TRUE(doc.flags & kDocModified);
    Layer& added = *current_layer(doc);
    std::memset(added.image->bits, 7, added.image->pixel_bytes());

    SetDlgItemTextA(dlg, IDC_LAYER_NAME, "Sky");
    EXPECT_STREQ(added.name, "Sky");
    EXPECT_EQ(list_entry(dlg, 0), "Sky");

    SetDlgItemTextA(dlg, IDC_LAYER_OPACITY, "8");
    EXPECT_EQ(added.opacity, 8);
    EXPECT_TRUE(added.flags & kLayerTranslucent);
    EXPECT_EQ(count_of(*doc.composite, 7), 32); // half the pixels through the tone
    SetDlgItemTextA(dlg, IDC_LAYER_OPACITY, "17");
    EXPECT_EQ(added.opacity, 8);

    click(dlg, IDC_LAYER_VISIBLE);
    EXPECT_FALSE(added.flags & kLayerVisible);
    EXPECT_EQ(count_of(*doc.composite, 3), 64);

    click(dlg, IDC_LAYER_TO_LOWER);
    EXPECT_EQ(bottom_layer(doc), &added);
    EXPECT_FALSE(added.flags & kLayerDeletable);
    EXPECT_TRUE(layer_node_at(doc, 2)->layer->flags & kLayerDeletable);
    EXPECT_EQ(list_entry(dlg, 1), "Sky");

    SetDlgItemTextA(dlg, IDC_LAYER_AREA_LEFT, "500");
    EXPECT_EQ(added.area.left, 7);
    EXPECT_EQ(added.area.width, 1);

    {
        DialogAnswerer answerer([&](HWND box) { DialogAnswerer::press(box, IDCANCEL); });
        command(CMD_CLOSE);
        EXPECT_EQ(answerer.captions().size(), 1u);
    }
    EXPECT_TRUE(IsWindow(wnd));
}

TEST_F(LayerManager, DeleteAsksAndKeepsTheBottomLayer) {
    HWND wnd = open(4, 4, 3);
    PictureDocument& doc = *document_of(wnd);
    command(CMD_LAYER_MANAGER);
    HWND dlg = shell_windows().layer_manager;
    ASSERT_NE(dlg, nullptr);
    click(dlg, IDC_LAYER_NEW);
    ASSERT_EQ(doc.layer_count, 2);
    {
        DialogAnswerer answerer([](HWND box) { DialogAnswerer::press(box, IDYES); },
                                "delete layer");
        click(dlg, IDC_LAYER_DELETE);
        click(dlg, IDC_LAYER_DELETE); // the bottom layer now: it stays
        EXPECT_EQ(answerer.captions().size(), 2u);
    }
    EXPECT_EQ(doc.layer_count, 1);
    EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_LAYER_LIST, LB_GETCOUNT, 0, 0), 1);

    // The manager follows the last picture out.
    doc.flags &= ~kDocModified;
    command(CMD_CLOSE);
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(SendDlgItemMessageA(dlg, IDC_LAYER_LIST, LB_GETCOUNT, 0, 0), 0);
    command(CMD_LAYER_MANAGER);
    EXPECT_EQ(shell_windows().layer_manager, nullptr);
    EXPECT_FALSE(GetMenuState(GetMenu(frame_), CMD_LAYER_MANAGER, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(LayerManager, KeysTypedIntoTheNameBoxEditTheName) {
    HWND wnd = open(4, 4, 3);
    PictureDocument& doc = *document_of(wnd);
    Layer& layer = *current_layer(doc);
    std::memset(layer.undo_copy->bits, 9, layer.undo_copy->pixel_bytes());
    command(CMD_LAYER_MANAGER);
    HWND dlg = shell_windows().layer_manager;
    ASSERT_NE(dlg, nullptr);
    HWND name = GetDlgItem(dlg, IDC_LAYER_NAME);
    SetDlgItemTextA(dlg, IDC_LAYER_NAME, "Ab");
    SetFocus(name);
    SendMessageA(name, EM_SETSEL, 0, 0);
    auto type = [](HWND to, WPARAM key) {
        MSG msg{to, WM_KEYDOWN, key, 1, 0, {}};
        if (!take_message(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    };
    hold_keys({VK_CONTROL});
    type(name, 'Z');
    hold_keys({});
    pump();
    type(name, VK_DELETE);
    pump();
    EXPECT_STREQ(layer.name, "b");
    EXPECT_EQ(count_of(*layer.image, 3), 16); // neither Undo nor Delete ran
}

TEST_F(LayerManager, MaskAndLayerCommandsAskForTheirColourAndLayer) {
    HWND wnd = open(16, 1, 3);
    PictureDocument& doc = *document_of(wnd);
    Layer& first = *current_layer(doc);
    for (int x = 8; x < 16; ++x)
        pixel(*first.image, x, 0) = 5;
    auto answer_colour = [](const char* value) {
        return [value](HWND dlg) {
            SetDlgItemTextA(dlg, IDC_SELECT_COLOR, value);
            DialogAnswerer::press(dlg, IDOK);
        };
    };
    {
        DialogAnswerer answerer(answer_colour("3"), "Select Color");
        command(CMD_MASK_WITH_COLOR);
    }
    EXPECT_EQ(count_of(*first.mask, 0), 8);
    EXPECT_EQ(pixel(*first.mask, 0, 0), 0);
    EXPECT_EQ(pixel(*first.mask, 15, 0), 255);
    {
        DialogAnswerer answerer(answer_colour("300"), "Select Color");
        command(CMD_NEW_LAYER_WITH_COLOR); // 255: the new layer's own key colour
    }
    {
        DialogAnswerer answerer(answer_colour("5"), "Select Color");
        command(CMD_NEW_LAYER_WITH_COLOR);
    }
    ASSERT_EQ(doc.layer_count, 3);
    EXPECT_EQ(current_layer(doc), &first);
    Layer& third = *layer_node_at(doc, 3)->layer;
    EXPECT_EQ(count_of(*third.image, 5), 8);
    EXPECT_EQ(pixel(*third.image, 0, 0), 255);

    // Add Selected Area to Layer into the layer the Select Layer dialog
    // shows first (the top one).
    std::memset(third.image->bits, 255, third.image->pixel_bytes());
    {
        DialogAnswerer answerer(
            [](HWND dlg) {
                SendDlgItemMessageA(dlg, IDC_SELECT_LAYER, LB_SETCURSEL, 0, 0);
                DialogAnswerer::press(dlg, IDOK);
            },
            "Select Layer");
        command(CMD_ADD_AREA_TO_LAYER);
    }
    EXPECT_EQ(count_of(*third.image, 3), 8);
    EXPECT_EQ(count_of(*third.image, 5), 8);

    command(CMD_INVERT_MASK);
    EXPECT_EQ(pixel(*first.mask, 0, 0), 255);
    EXPECT_EQ(pixel(*first.mask, 15, 0), 0);
}

} // namespace
