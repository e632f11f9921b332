// The BMP and GIF save dialogs under Wine, through the program's own saving
// code: each opens on the depth the picture was read with, and the GIF
// dialog's "Spoit" takes the key colour from a click on the canvas.
#include "app/shell/frame_wnd.h"
#include "app/shell/gif_dlg.h"
#include "app/shell/picture_io.h"
#include "engine/rasko.h"
#include "harness.h"
#include "picture_window_fixture.h"

#include <string>

namespace {

class SaveDialogs : public PictureWindow {
  protected:
    void SetUp() override {
        PictureWindow::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ =
            std::string(temp) + "velmo-dialogs-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        PictureWindow::TearDown();
        for (const std::string& name : written_)
            DeleteFileA(name.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    // A 5 x 3 picture written by the engine's writers, opened as the frame
    // opens files; its document window is the active one.
    PictureDocument* written_and_opened(const std::string& name, int bmp_bits, int gif_bits) {
        const std::string path = folder_ + name;
        written_.push_back(path);
        BITMAPINFOHEADER* dib = RaskoCreateDIB(5, 3);
        EXPECT_NE(dib, nullptr);
        if (!dib) return nullptr;
        BYTE* bits = reinterpret_cast<BYTE*>(dib) + dib->biSize + 256 * sizeof(RGBQUAD);
        char comment[] = "";
        if (gif_bits)
            RaskoSaveGIF(path.c_str(), dib, bits, gif_bits, 0, -1, comment);
        else if (bmp_bits == 4)
            RaskoSaveDIB4bit(path.c_str(), dib, bits);
        else
            RaskoSaveDIB(path.c_str(), dib, bits);
        RaskoDestroyDIB(dib);
        EXPECT_TRUE(open_file_in_window(path.c_str())) << name;
        pump();
        return active_document();
    }

    std::string folder_;
    std::vector<std::string> written_;
};

// The colour button a save dialog shows checked when it opens; the dialog
// is cancelled.
int checked_colours_at_opening(PictureDocument& doc) {
    int checked = 0;
    DialogAnswerer answerer([&](HWND dlg) {
        for (int id : {IDC_COLORS_2, IDC_COLORS_4, IDC_COLORS_8, IDC_COLORS_16, IDC_COLORS_32,
                       IDC_COLORS_64, IDC_COLORS_128, IDC_COLORS_256})
            if (IsDlgButtonChecked(dlg, id)) checked = checked ? -1 : id;
        DialogAnswerer::press(dlg, IDCANCEL);
    });
    EXPECT_EQ(write_picture(shell_windows().frame, doc), WriteResult::Cancelled);
    return checked;
}

TEST_F(SaveDialogs, OpenOnTheDepthThePictureCameWith) {
    const struct {
        const char* name;
        int bmp_bits, gif_bits;
        int button;
    } pictures[] = {
        {"sixteen.bmp", 4, 0, IDC_COLORS_16}, {"full.bmp", 8, 0, IDC_COLORS_256},
        {"two.gif", 0, 1, IDC_COLORS_2},      {"thirty-two.gif", 0, 5, IDC_COLORS_32},
        {"full.gif", 0, 8, IDC_COLORS_256},
    };
    for (const auto& p : pictures) {
        PictureDocument* doc = written_and_opened(p.name, p.bmp_bits, p.gif_bits);
        ASSERT_NE(doc, nullptr) << p.name;
        EXPECT_EQ(checked_colours_at_opening(*doc), p.button) << p.name;
    }

    // What the BMP dialog chose is offered the next time.
    PictureDocument* doc = written_and_opened("chosen.bmp", 8, 0);
    ASSERT_NE(doc, nullptr);
    {
        DialogAnswerer answerer([](HWND dlg) {
            CheckRadioButton(dlg, IDC_COLORS_16, IDC_COLORS_256, IDC_COLORS_16);
            DialogAnswerer::press(dlg, IDOK);
        });
        EXPECT_EQ(write_picture(shell_windows().frame, *doc), WriteResult::Written);
    }
    EXPECT_EQ(checked_colours_at_opening(*doc), IDC_COLORS_16);
}

// At zoom 300 with the view scrolled right by 5, canvas point (13, 10) shows
// picture pixel (9, 3).
TEST_F(SaveDialogs, SpoitPicksTheKeyColourUnderAClickOnTheCanvas) {
    HWND wnd = open(40, 30, 9);
    MoveWindow(wnd, 0, 0, 100, 100, TRUE);
    command(CMD_ZOOM_RATE_FIRST + 3);
    SendMessageA(wnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5), 0);
    PictureDocument& doc = *document_of(wnd);
    ASSERT_EQ(doc.view_origin_x, 5);
    pixel(*current_layer(doc)->image, 9, 3) = 77;
    POINT on_picture{13, 10}, off_picture{doc.canvas_width + 2, 10};
    ClientToScreen(canvas_of(wnd), &on_picture);
    ClientToScreen(canvas_of(wnd), &off_picture);

    auto key_text = [](HWND dlg) {
        char text[16] = {};
        GetDlgItemTextA(dlg, IDC_GIF_KEY, text, sizeof text);
        return std::string(text);
    };
    // The dialog's own click on "Spoit", then a click where the mouse is
    // held: the dialog gets it in its client coordinates.
    auto spoit_then_click = [](HWND dlg, UINT button, POINT screen) {
        HWND spoit = GetDlgItem(dlg, IDC_GIF_SPOIT);
        SendMessageA(spoit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageA(spoit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        pump();
        const bool captured = GetCapture() == dlg;
        ScreenToClient(dlg, &screen);
        SendMessageA(dlg, button, button == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON,
                     MAKELPARAM(screen.x, screen.y));
        return captured;
    };
    std::vector<std::string> keys;
    bool captured = false, released = false;
    int key = 1;
    {
        DialogAnswerer answerer([&](HWND dlg) {
            // Well away from the picture, so that no click lands on the dialog.
            RECT r;
            GetWindowRect(dlg, &r);
            SetWindowPos(dlg, nullptr, GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left),
                         GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top), 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
            captured = spoit_then_click(dlg, WM_LBUTTONDOWN, on_picture);
            released = GetCapture() == nullptr;
            keys.push_back(key_text(dlg));
            spoit_then_click(dlg, WM_LBUTTONDOWN, off_picture);
            keys.push_back(key_text(dlg));
            // The right button ends picking without a pick.
            SetDlgItemTextA(dlg, IDC_GIF_KEY, "3");
            spoit_then_click(dlg, WM_RBUTTONDOWN, on_picture);
            keys.push_back(key_text(dlg));
            spoit_then_click(dlg, WM_LBUTTONDOWN, on_picture);
            DialogAnswerer::press(dlg, IDOK);
        });
        EXPECT_EQ(run_gif_dialog(shell_windows().frame, doc, key), 1);
    }
    EXPECT_TRUE(captured) << "Spoit holds the mouse until the click";
    EXPECT_TRUE(released);
    EXPECT_EQ(keys, (std::vector<std::string>{"77", "77", "3"}));
    EXPECT_EQ(key, 77);
}

} // namespace
