// outline.dll: the "Outline..." filter. Its setup dialog chooses inside or
// outside and 4- or 8-connected; the choice holds while the program runs.
#include "addins/outline/outline.h"
#include "addins/outline/outline_ids.h"
#include "addins/sdk/velmo_addin.h"

#include <cstdlib>

namespace {

HINSTANCE g_instance = nullptr;
OutlineOptions g_options;

INT_PTR CALLBACK outline_dialog(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        CheckRadioButton(dialog, kIdOutside, kIdInside, g_options.outside ? kIdOutside : kIdInside);
        CheckRadioButton(dialog, kIdFour, kIdEight, g_options.eight_connected ? kIdEight : kIdFour);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK:
            g_options.outside = IsDlgButtonChecked(dialog, kIdOutside) == BST_CHECKED;
            g_options.eight_connected = IsDlgButtonChecked(dialog, kIdEight) == BST_CHECKED;
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
    return TRUE;
}

extern "C" int VL_CDECL VLGetInfo(AddInInfo* info) {
    info->flags = kAddInHostVersion | kAddInFilter;
    info->name = "Outline...";
    info->description = nullptr;
    info->extension = nullptr;
    info->about1 = "Draws a one-pixel outline in the left colour around every shape";
    info->about2 = "inside or outside, 4- or 8-connected";
    info->about3 = "for sprites";
    return 1;
}

extern "C" int VL_CDECL VLFilterSetup(HWND owner) {
    return DialogBoxParamA(g_instance, "OUTLINE_DIALOG", owner, outline_dialog, 0) == 1 ? 1 : 0;
}

extern "C" int VL_CDECL VLFilter(FilterRequest* request) {
    if (!request || !request->target || !request->target_bits) return 0;
    const BITMAPINFOHEADER& header = *request->target;
    if (header.biBitCount != 8) return 0;
    const int width = header.biWidth, height = std::abs(header.biHeight);
    RECT clip{0, 0, width, height};
    if (request->flags & kFilterArea)
        clip = RECT{request->area_left, request->area_top, request->area_left + request->area_width,
                    request->area_top + request->area_height};
    const BYTE* mask = (request->flags & kFilterMaskOn) ? request->mask_bits : nullptr;
    draw_outline(request->target_bits, width, height, mask, clip, BYTE(request->key_colour),
                 BYTE(request->left_colour), g_options);
    return 1;
}
