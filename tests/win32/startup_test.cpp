// Start-up as the user sees it: files named on the command line open once
// the frame is on the screen, so that a message about one of them belongs to
// the frame; so do messages about a file chosen in the Open dialog; and a
// start without the default pens says so once and draws with round pens.
#include "app/session/pen_slots.h"
#include "harness.h"
#include "shell_fixture.h"

#include <fstream>

namespace {

// A 1 x 1 BMP of 24 bits per pixel, which the program does not read.
void write_true_colour_bmp(const std::string& path) {
    const unsigned char bytes[] = {
        'B',  'M',  58,   0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header
        40,   0,    0,    0, 1, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,
        4,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, // info header
        0x10, 0x20, 0x30, 0,                                                   // one pixel, padded
    };
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string temp_file(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + name;
}

// What the user saw of a message box: its owner and whether the frame was
// on the screen behind it.
struct Seen {
    HWND owner;
    bool frame_visible;
};

TEST_F(Shell, MessagesAboutOpeningAPictureBelongToTheVisibleFrame) {
    const std::string bmp = temp_file("velmo-true-colour.bmp");
    write_true_colour_bmp(bmp);
    std::vector<Seen> seen;
    auto record = [&](HWND box) {
        seen.push_back({GetWindow(box, GW_OWNER), IsWindowVisible(shell_windows().frame) != FALSE});
        DialogAnswerer::press(box, IDOK);
    };
    {
        DialogAnswerer answerer(record, "Read Error");
        HWND frame = start(("\"" + bmp + "\"").c_str());
        ASSERT_NE(frame, nullptr);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].owner, frame);
        EXPECT_TRUE(seen[0].frame_visible);
        EXPECT_EQ(answerer.texts(), std::vector<std::string>{"Can't read over 8bit color"});
    }
    {
        // Chosen in the Open dialog: the box comes once the dialog is gone,
        // in front of the frame.
        DialogAnswerer answerer([&](HWND dlg) {
            char title[64] = {};
            GetWindowTextA(dlg, title, sizeof title);
            if (std::string(title) == "Open Picture")
                DialogAnswerer::choose_file(dlg, bmp);
            else
                record(dlg);
        });
        SendMessageA(shell_windows().frame, WM_COMMAND, CMD_OPEN, 0);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].owner, shell_windows().frame);
    }
    DeleteFileA(bmp.c_str());
}

TEST_F(Shell, WithoutTheDefaultPensStartUpSaysSoOnceAndDrawsWithRoundPens) {
    // A module that holds no "VELMO_DEFAULT_PEN".
    shell_state().pen_module = GetModuleHandleA("rasko32.dll");
    ASSERT_NE(shell_state().pen_module, nullptr);
    std::vector<Seen> seen;
    DialogAnswerer answerer([&](HWND box) {
        seen.push_back({GetWindow(box, GW_OWNER), IsWindowVisible(shell_windows().frame) != FALSE});
        DialogAnswerer::press(box, IDOK);
    });
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(answerer.captions(), std::vector<std::string>{"Error"});
    EXPECT_EQ(seen[0].owner, frame);
    EXPECT_TRUE(seen[0].frame_visible);
    for (const Surface* pen : pen_slots().slot)
        ASSERT_NE(pen, nullptr);
    // The new picture's pen (slot 0) paints under the cursor's hot spot
    // (15, 15), row 16 from the bottom.
    EXPECT_EQ(pen_slots().slot[0]->bits[16 * 32 + 15], 0);
}

// A name the system handed over with characters lost ('?') is named in a
// message instead of failing without a word.
TEST_F(Shell, ANameWithLostCharactersIsToldNotSilentlyDropped) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    std::vector<HWND> owners;
    DialogAnswerer answerer([&](HWND box) {
        owners.push_back(GetWindow(box, GW_OWNER));
        DialogAnswerer::press(box, IDOK);
    });
    const char line[] = "\"C:\\pictures\\?.gif\"";
    SendMessageA(frame, kMsgOpenCommandLine, 0, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(answerer.captions(), std::vector<std::string>{"Open Picture"});
    EXPECT_EQ(answerer.texts(),
              std::vector<std::string>{"This file name cannot be used here:\nC:\\pictures\\?.gif"});
    EXPECT_EQ(owners, std::vector<HWND>{frame});
    EXPECT_EQ(active_document_window(), nullptr);
}

} // namespace
