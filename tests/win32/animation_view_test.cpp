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

constexpr int kSide = 16;
constexpr int kFrameInterval = 30; // ms
constexpr DWORD kSamplePause = 5;  // ms between two looks at the screen
constexpr DWORD kLongLook = 1500;  // ms: many rounds even on a busy machine

class AnimationView : public PictureWindow {
  protected:
    void TearDown() override {
        PictureWindow::TearDown();
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    // A picture of three layers filled with 1, 2 and 3 from the bottom up,
    // named after a file that holds it, so that Reload finds it.
    PictureDocument& three_layers() {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        path_ =
            std::string(temp) + "velmo-animation-" + std::to_string(GetCurrentProcessId()) + ".vlx";
        wnd_ = open(kSide, kSide, 1, path_.c_str());
        PictureDocument& doc = *document_of(wnd_);
        for (BYTE fill : {BYTE(2), BYTE(3)}) {
            Layer* layer = add_layer_above(doc);
            std::memset(layer->image->bits, fill, layer->image->pixel_bytes());
        }
        for (int position = 1; position <= 3; ++position)
            layer_node_at(doc, position)->layer->interval = kFrameInterval;
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(write_native_file(file, doc), 1);
        CloseHandle(file);
        return doc;
    }
    HWND open_view() {
        command(CMD_ANIMATION_VIEW);
        pump();
        return shell_windows().animation_view;
    }
    // The colours the view's middle pixel showed while messages ran for ms.
    static std::set<COLORREF> seen_for(HWND view, DWORD ms) {
        std::set<COLORREF> seen;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms && IsWindow(view)) {
            pump();
            seen.insert(screen(view));
            Sleep(kSamplePause);
        }
        return seen;
    }
    static COLORREF screen(HWND view) {
        GdiFlush();
        HDC dc = GetDCEx(view, nullptr, DCX_CACHE);
        const COLORREF c = GetPixel(dc, kSide / 2, kSide / 2) & 0xFFFFFF;
        ReleaseDC(view, dc);
        return c;
    }
    static COLORREF colour_of(const PictureDocument& doc, BYTE index) {
        const RGBQUAD c = current_layer(doc)->image->colour_table()[index];
        return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
    bool given_back() const {
        return shell_windows().animation_view == nullptr &&
               !(GetMenuState(GetMenu(frame_), CMD_ANIMATION_VIEW, MF_BYCOMMAND) & MF_CHECKED) &&
               !SendMessageA(shell_windows().toolbar, TB_ISBUTTONCHECKED, CMD_ANIMATION_VIEW, 0);
    }

    std::string path_;
    HWND wnd_ = nullptr;
};

TEST_F(AnimationView, PlaysTheLayersInTurnAndHoldsAUserInputFrameUntilAClick) {
    EXPECT_EQ(open_view(), nullptr); // no picture: nothing opens
    EXPECT_TRUE(given_back());
    EXPECT_EQ(create_animation_view(frame_), nullptr);

    PictureDocument& doc = three_layers();
    HWND view = open_view();
    ASSERT_NE(view, nullptr);
    RECT client;
    GetClientRect(view, &client);
    EXPECT_EQ(client.right, kSide);
    EXPECT_EQ(client.bottom, kSide);
    const std::set<COLORREF> all{colour_of(doc, 1), colour_of(doc, 2), colour_of(doc, 3)};
    EXPECT_EQ(seen_for(view, kLongLook), all);

    hold_animation_player();
    layer_node_at(doc, 2)->layer->flags |= kLayerAnimUserInput;
    resume_animation_player();
    seen_for(view, kLongLook / 2);
    EXPECT_EQ(seen_for(view, kLongLook / 3), std::set<COLORREF>{colour_of(doc, 2)});
    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    EXPECT_EQ(seen_for(view, kLongLook), all);

    SetWindowPos(view, nullptr, 77, 66, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    command(CMD_ANIMATION_VIEW);
    EXPECT_TRUE(given_back());
    EXPECT_EQ(settings().gifanime_left, 77);
    EXPECT_EQ(settings().gifanime_top, 66);
}

TEST_F(AnimationView, DeletingALayerReloadAndExitWhileItPlaysEndCleanly) {
    PictureDocument& doc = three_layers();
    ASSERT_NE(open_view(), nullptr);
    seen_for(shell_windows().animation_view, kLongLook / 5);

    command(CMD_LAYER_MANAGER);
    HWND manager = shell_windows().layer_manager;
    ASSERT_NE(manager, nullptr);
    {
        DialogAnswerer yes([](HWND box) { DialogAnswerer::press(box, IDYES); }, "delete layer");
        SendMessageA(GetDlgItem(manager, IDC_LAYER_DELETE), BM_CLICK, 0, 0);
    }
    ASSERT_EQ(doc.layer_count, 2);
    // The top layer is gone from the screen too.
    EXPECT_EQ(seen_for(shell_windows().animation_view, kLongLook),
              (std::set<COLORREF>{colour_of(doc, 1), colour_of(doc, 2)}));

    // Reload frees the played document without Close: the view goes first.
    {
        DialogAnswerer yes([](HWND box) { DialogAnswerer::press(box, IDYES); }, "Reload");
        command(CMD_RELOAD);
    }
    pump();
    EXPECT_TRUE(given_back());
    PictureDocument* reloaded = active_document();
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(reloaded->layer_count, 3);

    HWND view = open_view();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(seen_for(view, kLongLook).size(), 3u);
    exit_program();
    EXPECT_FALSE(IsWindow(view));
    EXPECT_FALSE(IsWindow(frame_));
    EXPECT_EQ(shell_windows().animation_view, nullptr);
}

} // namespace
