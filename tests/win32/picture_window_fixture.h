// The program started in the test process with real document windows and
// canvases: pictures are opened as the frame opens them, the pen slots are
// the program's own, and the mouse and keys arrive as window messages.
#pragma once

#include "app/windows/document/canvas_wnd.h"
#include "app/session/pen_slots.h"
#include "shell_fixture.h"

#include <cstring>

class PictureWindow : public Shell {
  protected:
    void SetUp() override {
        Shell::SetUp();
        frame_ = start();
        ASSERT_NE(frame_, nullptr);
    }
    void TearDown() override {
        canvas_state() = CanvasState{};
        BYTE keys[256] = {};
        SetKeyboardState(keys);
        ReleaseCapture();
        pump();
        Shell::TearDown();
    }

    // A width x height picture filled with `fill`, in a document window of
    // its own (which becomes the active one).
    HWND open(int width, int height, BYTE fill = 255, const char* name = "C:\\pictures\\draw.vlx") {
        PictureDocument* doc = new_picture(width, height, pen_slots().slot[0], nullptr);
        EXPECT_NE(doc, nullptr);
        if (!doc) return nullptr;
        Surface& image = *current_layer(*doc)->image;
        std::memset(image.bits, fill, image.pixel_bytes());
        image.copy_to(*current_layer(*doc)->undo_copy);
        lstrcpynA(doc->file_name, name, kFileNameSize);
        HWND wnd = open_document_window(doc);
        pump();
        return wnd;
    }

    void command(UINT id) { SendMessageA(frame_, WM_COMMAND, id, 0); }
    void choose_tool(int tool) { command(CMD_TOOL_FIRST + UINT(tool)); }

    static void press(HWND canvas, int x, int y, WPARAM keys = 0) {
        SendMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    }
    static void drag(HWND canvas, int x, int y, WPARAM keys = 0) {
        SendMessageA(canvas, WM_MOUSEMOVE, MK_LBUTTON | keys, MAKELPARAM(x, y));
    }
    static void release(HWND canvas, int x, int y, WPARAM keys = 0) {
        SendMessageA(canvas, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
    }
    // Holds the keys (virtual-key codes) for GetKeyState until the next call.
    static void hold_keys(std::initializer_list<int> held) {
        BYTE keys[256] = {};
        for (int k : held)
            keys[k] = 0x80;
        SetKeyboardState(keys);
    }

    HWND frame_ = nullptr;
};

inline BYTE& pixel(Surface& s, int x, int y) {
    return s.bits[std::size_t(s.height() - 1 - y) * std::size_t(s.stride()) + std::size_t(x)];
}

inline bool same_pixels(const Surface& a, const Surface& b) {
    return a.pixel_bytes() == b.pixel_bytes() && std::memcmp(a.bits, b.bits, a.pixel_bytes()) == 0;
}
