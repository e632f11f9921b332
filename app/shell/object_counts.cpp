#include "app/shell/object_counts.h"

#include <algorithm>

namespace {

// Wine answers GetGuiResources with 0. Its handle tables accept a handle's
// slot number alone (high word 0), so there every slot is asked instead:
// GDI handles are the slot number itself, USER handles start at 0x20 and
// step by two.
constexpr UINT_PTR kGdiSlotCount = 0x10000;
constexpr UINT_PTR kFirstUserHandle = 0x20;
constexpr UINT_PTR kLastUserHandle = 0xFFEF;
constexpr UINT_PTR kUserHandleStep = 2;
constexpr unsigned kLargestCount = 0xFFFF;

unsigned count_gdi_slots() {
    unsigned count = 0;
    for (UINT_PTR slot = 1; slot < kGdiSlotCount; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++count;
    return count;
}

BOOL CALLBACK count_child(HWND, LPARAM counter) {
    ++*reinterpret_cast<unsigned*>(counter);
    return TRUE;
}

BOOL CALLBACK count_window_tree(HWND wnd, LPARAM counter) {
    ++*reinterpret_cast<unsigned*>(counter);
    EnumChildWindows(wnd, count_child, counter);
    return TRUE;
}

// Windows of this thread (menus and windows are the USER objects the
// program makes itself; its cursors and icons are shared resources).
unsigned count_user_objects() {
    unsigned count = 0;
    EnumThreadWindows(GetCurrentThreadId(), count_window_tree, reinterpret_cast<LPARAM>(&count));
    for (UINT_PTR h = kFirstUserHandle; h <= kLastUserHandle; h += kUserHandleStep)
        if (IsMenu(reinterpret_cast<HMENU>(h))) ++count;
    return count;
}

} // namespace

ObjectCounts count_objects() {
    ObjectCounts counts;
    counts.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (counts.gdi == 0 && counts.user == 0) {
        counts.gdi = count_gdi_slots();
        counts.user = count_user_objects();
    }
    return counts;
}

LRESULT object_counts_result(const ObjectCounts& counts) {
    return MAKELONG(std::min(counts.gdi, kLargestCount), std::min(counts.user, kLargestCount));
}
