#include "platform/win.h"

#include <map>

namespace {

struct Clipboard {
    std::map<UINT, HANDLE> blocks;
    bool open = false;
    bool refuse_open = false;

    void free_all() {
        for (auto& entry : blocks)
            GlobalFree(entry.second);
        blocks.clear();
    }
    // Blocks left on the clipboard at exit belong to it, not to a leak.
    ~Clipboard() { free_all(); }
};

Clipboard& clipboard() {
    static Clipboard board;
    return board;
}

} // namespace

BOOL OpenClipboard(HWND) {
    Clipboard& board = clipboard();
    if (board.open || board.refuse_open) return FALSE;
    board.open = true;
    return TRUE;
}

BOOL CloseClipboard() {
    Clipboard& board = clipboard();
    if (!board.open) return FALSE;
    board.open = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    Clipboard& board = clipboard();
    if (!board.open) return FALSE;
    board.free_all();
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    Clipboard& board = clipboard();
    if (!board.open || !data) return nullptr;
    auto it = board.blocks.find(format);
    if (it != board.blocks.end() && it->second != data) GlobalFree(it->second);
    board.blocks[format] = data;
    return data;
}

HANDLE GetClipboardData(UINT format) {
    Clipboard& board = clipboard();
    if (!board.open) return nullptr;
    auto it = board.blocks.find(format);
    return it == board.blocks.end() ? nullptr : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    return clipboard().blocks.count(format) != 0;
}

namespace native {

void set_clipboard_open_failure(bool fail) {
    clipboard().refuse_open = fail;
}

void reset_clipboard() {
    Clipboard& board = clipboard();
    board.free_all();
    board.open = false;
    board.refuse_open = false;
}

} // namespace native
