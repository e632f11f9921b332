#include "app/windows/document/decrease_dlg.h"

#include "app/imageops/decrease_colours.h"
#include "app/resources/resource_ids.h"
#include "app/session/shell_state.h"
#include "engine/rasko.h"

#include <memory>

namespace {

// The colour counts by their radio buttons, most colours first: the first
// checked one decides, none checked counts as the fewest.
struct ColourButton {
    int control;
    int colours;
};
constexpr ColourButton kButtons[] = {
    {IDC_DECREASE_128, 128}, {IDC_DECREASE_64, 64}, {IDC_DECREASE_32, 32}, {IDC_DECREASE_16, 16},
    {IDC_DECREASE_8, 8},     {IDC_DECREASE_4, 4},   {IDC_DECREASE_2, 2},
};

// What the dialog's OK stored, for the process.
struct DecreaseChoice {
    int colours = kDecreaseMaxColours;
    bool dither = false;
    bool clipboard_palette = false;
};
DecreaseChoice choice;

INT_PTR CALLBACK decrease_dialog(HWND dlg, UINT msg, WPARAM wparam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        CheckDlgButton(dlg, IDC_DECREASE_128, BST_CHECKED);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK) {
            choice.dither = IsDlgButtonChecked(dlg, IDC_DECREASE_DITHER);
            choice.clipboard_palette = IsDlgButtonChecked(dlg, IDC_DECREASE_CLIPBOARD);
            choice.colours = kDecreaseMinColours;
            for (const ColourButton& b : kButtons)
                if (IsDlgButtonChecked(dlg, b.control)) {
                    choice.colours = b.colours;
                    break;
                }
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wparam) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
    }
    return FALSE;
}

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};

} // namespace

bool decrease_colours_command(HWND wnd, PictureDocument& doc) {
    if (DialogBoxParamA(shell_windows().instance, "DECREASE_DIALOG", wnd, decrease_dialog, 0) !=
        IDOK)
        return false;
    HWND canvas = canvas_of(wnd);
    const WPARAM tool = WPARAM(shell_state().current_tool);
    // A floating area is written into its layer before the layers change.
    send_if_open(canvas, kMsgDeactivateTool, tool);
    std::unique_ptr<BITMAPINFOHEADER, DibDeleter> clip(
        choice.clipboard_palette ? RaskoPasteDIB(shell_windows().frame) : nullptr);
    const RGBQUAD* palette = clip ? reinterpret_cast<const RGBQUAD*>(
                                        reinterpret_cast<const BYTE*>(clip.get()) + clip->biSize)
                                  : nullptr;
    const bool done = decrease_colours(doc, {choice.colours, choice.dither, palette});
    send_if_open(canvas, kMsgActivateTool, tool);
    return done;
}
