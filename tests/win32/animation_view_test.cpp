// The animation view as the frame opens it: its thread shows the layers in
// turn on the screen, a User Input layer holds until a click, and deleting a
// layer, Reload and Exit while it plays end with the thread stopped and the
// frame's check mark and toolbar button given back.
#include "app/files/native_file.h"
#include "app/windows/animation_view/animation_view_wnd.h"
#include "harness.h"
#include "picture_window_fixture.h"

#include <commctrl.h>

#include <set>
#include <string>

namespace {

using AnimationView = PictureWindow;
using Colours = std::set<COLORREF>;

// The colours of the view's middle pixel while messages ran for ms.
Colours seen_for(DWORD ms) {
    Colours seen;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(5)) {
        pump();
        HWND view = shell_windows().animation_view;
        HDC dc = GetDCEx(view, nullptr, DCX_CACHE);
        seen.insert(GetPixel(dc, 8, 8) & 0xFFFFFF);
        ReleaseDC(view, dc);
    }
    return seen;
}

TEST_F(AnimationView, PlaysInTurnHoldsForAClickAndEndsCleanlyUnderChanges) {
    auto given_back = [&] {
        return !shell_windows().animation_view &&
               !(GetMenuState(GetMenu(frame_), CMD_ANIMATION_VIEW, MF_BYCOMMAND) & MF_CHECKED) &&
               !SendMessageA(shell_windows().toolbar, TB_ISBUTTONCHECKED, CMD_ANIMATION_VIEW, 0);
    };
    command(CMD_ANIMATION_VIEW); // no picture: nothing opens
    EXPECT_TRUE(given_back());
    EXPECT_EQ(create_animation_view(frame_), nullptr);

    // Three layers of 1, 2 and 3, kept in a file for Reload.
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "velmo-animation.vlx";
    PictureDocument& doc = *document_of(open(16, 16, 1, path.c_str()));
    for (BYTE fill : {2, 3})
        std::memset(add_layer_above(doc)->image->bits, fill, 16 * 16);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_EQ(write_native_file(file, doc), 1);
    CloseHandle(file);
    COLORREF colour[4];
    for (int index : {1, 2, 3}) {
        const RGBQUAD c = current_layer(doc)->image->colour_table()[index];
        colour[index] = RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }

    command(CMD_ANIMATION_VIEW);
    ASSERT_NE(shell_windows().animation_view, nullptr);
    EXPECT_EQ(seen_for(1500), (Colours{colour[1], colour[2], colour[3]}));
    hold_animation_player();
    layer_node_at(doc, 2)->layer->flags |= kLayerAnimUserInput;
    resume_animation_player();
    seen_for(700);
    EXPECT_EQ(seen_for(500), Colours{colour[2]});
    SendMessageA(shell_windows().animation_view, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_EQ(seen_for(700).count(colour[3]), 1u);

    command(CMD_LAYER_MANAGER);
    {
        DialogAnswerer yes([](HWND box) { DialogAnswerer::press(box, IDYES); }, "delete layer");
        SendDlgItemMessageA(shell_windows().layer_manager, IDC_LAYER_DELETE, BM_CLICK, 0, 0);
    }
    ASSERT_EQ(doc.layer_count, 2);
    EXPECT_EQ(seen_for(700).count(colour[3]), 0u);

    // Reload frees the played document without Close: the view goes first.
    {
        DialogAnswerer yes([](HWND box) { DialogAnswerer::press(box, IDYES); }, "Reload");
        command(CMD_RELOAD);
    }
    EXPECT_TRUE(given_back());
    ASSERT_EQ(active_document()->layer_count, 3);
    command(CMD_ANIMATION_VIEW);
    HWND view = shell_windows().animation_view;
    EXPECT_EQ(seen_for(1000).size(), 3u);
    exit_program();
    EXPECT_FALSE(IsWindow(view));
    EXPECT_FALSE(IsWindow(frame_));
    DeleteFileA(path.c_str());
}

} // namespace
