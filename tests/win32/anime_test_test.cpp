// The animation test as the zoom window opens it: clicks on the preview
// pick cells into the list (Delete takes the selected one out again), Start
// plays them in the "Anime" window at the cell's size and Stop ends it,
// Export GIF writes the picked cells in their order, closing the picture
// ends the play, and Cancel closes.
#include "app/windows/anime_test/anime_test.h"
#include "app/imageops/pattern_anime.h"
#include "harness.h"
#include "picture_window_fixture.h"

#include <string>

namespace {

constexpr int kCell = 32;
// The colour indexes of the sheet's three cells, left to right.
constexpr BYTE kCellColour[] = {40, 80, 120};

class AnimeTest : public PictureWindow {
  protected:
    // A 96 x 32 sheet of three cells in the zoom window, whose area gives
    // the cell size.
    void open_sheet() {
        wnd_ = open(3 * kCell, kCell);
        PictureDocument& doc = *document_of(wnd_);
        Surface& image = *current_layer(doc)->image;
        for (int x = 0; x < 3 * kCell; ++x)
            for (int y = 0; y < kCell; ++y)
                pixel(image, x, y) = kCellColour[x / kCell];
        SendMessageA(wnd_, kMsgRedrawPicture, 0, 0);
        doc.zoom_window_area = {0, 0, kCell, kCell};
        command(CMD_ZOOM_WINDOW);
        pump();
    }
    // A click on the middle of cell `index` of the preview.
    static void click_cell(HWND dlg, int index) {
        HWND preview = GetDlgItem(dlg, IDC_ANIME_PREVIEW);
        RECT client;
        GetClientRect(preview, &client);
        const AreaRect shown = preview_rect(client.right, client.bottom, 3 * kCell, kCell);
        POINT p{shown.left + (index * kCell + kCell / 2) * shown.width / (3 * kCell),
                shown.top + shown.height / 2};
        ClientToScreen(preview, &p);
        SetCursorPos(p.x, p.y);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_ANIME_PREVIEW, STN_CLICKED), LPARAM(preview));
    }
    static std::string list_texts(HWND dlg) {
        std::string texts;
        const int count = int(SendDlgItemMessageA(dlg, IDC_ANIME_LIST, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[16] = {};
            SendDlgItemMessageA(dlg, IDC_ANIME_LIST, LB_GETTEXT, i, LPARAM(text));
            texts += std::string(i ? " " : "") + text;
        }
        return texts;
    }
    static std::string button_text(HWND dlg, int id) {
        char text[32] = {};
        GetDlgItemTextA(dlg, id, text, sizeof text);
        return text;
    }
    // Runs the messages for `ms` milliseconds, so that timers fire.
    static void run_for(DWORD ms) {
        const DWORD end = GetTickCount() + ms;
        while (GetTickCount() < end) {
            pump();
            Sleep(5);
        }
    }
    // The colour the window shows next, once it changes (within a second).
    static COLORREF next_colour(HWND wnd, COLORREF from) {
        for (int i = 0; i < 100; ++i) {
            run_for(10);
            const COLORREF c = screen(wnd, 5, 5);
            if (c != from) return c;
        }
        return from;
    }
    COLORREF colour_of(BYTE index) const {
        const RGBQUAD c = current_layer(*document_of(wnd_))->image->colour_table()[index];
        return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
    }
    static COLORREF screen(HWND wnd, int x, int y) {
        GdiFlush();
        HDC dc = GetDC(wnd);
        const COLORREF c = GetPixel(dc, x, y) & 0xFFFFFF;
        ReleaseDC(wnd, dc);
        return c;
    }

    HWND wnd_ = nullptr;
};

TEST_F(AnimeTest, PicksPlaysAndExportsCellsInTheirOrder) {
    open_sheet();
    HWND zoom = shell_windows().zoom_window;
    ASSERT_NE(zoom, nullptr);
    // The test closes the picture on its way; its colours are taken first.
    const COLORREF first = colour_of(kCellColour[0]), third = colour_of(kCellColour[2]);
    EXPECT_FALSE(GetMenuState(GetMenu(zoom), CMD_ZOOM_ANIMATION_TEST, MF_BYCOMMAND) & MF_GRAYED);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string gif =
        std::string(temp) + "velmo-anime-" + std::to_string(GetCurrentProcessId()) + ".gif";
    std::string picked, after_delete, start_text, stop_text;
    RECT played{};
    COLORREF shown_first = 0, shown_later = 0;
    bool anime_closed = false, ended_without_picture = false;

    DialogAnswerer answer(
        [&](HWND dlg) {
            EXPECT_EQ(GetDlgItemInt(dlg, IDC_ANIME_WIDTH, nullptr, FALSE), UINT(kCell));
            for (int cell : {2, 0, 1, 1})
                click_cell(dlg, cell);
            picked = list_texts(dlg);
            // The last entry selected, Delete in the list removes it.
            SendDlgItemMessageA(dlg, IDC_ANIME_LIST, LB_SETCURSEL, 3, 0);
            SendDlgItemMessageA(dlg, IDC_ANIME_LIST, WM_KEYDOWN, VK_DELETE, 0);
            after_delete = list_texts(dlg);

            DialogAnswerer::press(dlg, IDC_ANIME_START);
            start_text = button_text(dlg, IDC_ANIME_START);
            HWND anime = FindWindowA(kAnimeTestClass, "Anime");
            if (anime) {
                GetClientRect(anime, &played);
                run_for(30);
                shown_first = next_colour(anime, screen(anime, 5, 5));
                shown_later = next_colour(anime, shown_first);
            }
            DialogAnswerer::press(dlg, IDC_ANIME_START);
            anime_closed = anime && !IsWindow(anime);
            stop_text = button_text(dlg, IDC_ANIME_START);

            DialogAnswerer save([&](HWND d) { DialogAnswerer::choose_file(d, gif); }, "Export GIF");
            DialogAnswerer::press(dlg, IDC_ANIME_EXPORT);

            // Playing on while the picture closes: the next tick ends it.
            DialogAnswerer::press(dlg, IDC_ANIME_START);
            HWND again = FindWindowA(kAnimeTestClass, "Anime");
            SendMessageA(shell_windows().mdi_client, WM_MDIDESTROY, WPARAM(wnd_), 0);
            run_for(300);
            ended_without_picture =
                again && !IsWindow(again) && button_text(dlg, IDC_ANIME_START) == "Start";
            DialogAnswerer::press(dlg, IDCANCEL);
        },
        "Animation Test");
    SendMessageA(zoom, WM_COMMAND, CMD_ZOOM_ANIMATION_TEST, 0);

    ASSERT_EQ(answer.captions().size(), 1u) << "the dialog ran";
    EXPECT_EQ(picked, "3 1 2 2");
    EXPECT_EQ(after_delete, "3 1 2");
    EXPECT_EQ(start_text, "Stop");
    EXPECT_EQ(played.right, kCell);
    EXPECT_EQ(played.bottom, kCell);
    EXPECT_EQ(shown_first, third) << "cell 3 plays first";
    EXPECT_EQ(shown_later, first) << "then cell 1";
    EXPECT_TRUE(anime_closed);
    EXPECT_EQ(stop_text, "Start");
    EXPECT_TRUE(ended_without_picture);

    GifAnimation read{};
    ASSERT_EQ(RaskoOpenGIFEx(gif.c_str(), &read), 1);
    ASSERT_EQ(read.frameCount, 3u);
    for (DWORD i = 0; i < read.frameCount; ++i) {
        GifFrame& f = *read.frames[i];
        EXPECT_EQ(f.dib->biWidth, kCell);
        EXPECT_EQ(f.bits[0], kCellColour[(i + 2) % 3]) << "frame " << i;
        EXPECT_EQ(f.delay, 10);
        RaskoDestroyDIB(f.dib);
        GlobalFree(read.frames[i]);
    }
    GlobalFree(read.frames);
    GlobalFree(read.globalPalette);
    DeleteFileA(gif.c_str());
}

} // namespace
