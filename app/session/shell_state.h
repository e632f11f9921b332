// Process-wide state of the application shell: the window handles every
// window reaches for, and the start-up values of the frame. One instance,
// owned by the shell; other windows read it and keep their own handle in it
// current (0 while closed).
#pragma once

#include "app/document/picture.h"
#include "app/session/messages.h"
#include "app/session/settings.h"
#include "app/session/tool_table.h"
#include "app/tools/stroke_shape.h"
#include "platform/win.h"

#include <string>

struct ShellWindows {
    HINSTANCE instance = nullptr;
    HWND frame = nullptr;
    HWND mdi_client = nullptr;
    HWND toolbar = nullptr;
    HWND dialog_bar_container = nullptr; // "Velmo DialogBar"
    HWND dialog_bar = nullptr;           // "MAIN_TOOLBAR_DIALOG" inside it
    HWND status_bar = nullptr;
    HWND tool_window = nullptr;
    HWND palette_window = nullptr;
    HWND pen_window = nullptr;
    HWND zoom_window = nullptr;
    HWND layer_manager = nullptr;
    HWND scrapbook = nullptr;
    HWND animation_view = nullptr;
    HWND mini_zoomer = nullptr;
    HWND colour_editor = nullptr; // "Edit Color", owned by the palette window
};

inline constexpr int kMenuHelpIds = 512;

struct ShellState {
    // Bits per pixel of the screen, read once; 8 means a palette device.
    int display_depth = 0;
    // The registered "MSWHEEL_ROLLMSG" message.
    UINT wheel_message = 0;
    HACCEL accelerators = nullptr;
    // Passed to the menu-help function: 0..511, so that a command's help
    // string has the command's own id.
    UINT menu_help_ids[kMenuHelpIds] = {};
    // Numbers the "untitled%d.vlx" names of new pictures.
    int untitled_counter = 1;
    // The tool windows open at the last exit are reopened once, with the
    // first picture.
    bool tool_windows_restored = false;
    int current_tool = kToolZoom;
    // How the drawing tools draw, for every document: kShapeFreeHand to
    // kShapeFilledEllipse, chosen in the tool window.
    int shape_mode = kShapeFreeHand;
    // Where settings and recent files live; tests point it at a key of
    // their own.
    const char* registry_key = kSettingsKey;
    // Where Add-Ins are searched; null: the program's own folder. Tests point
    // it at their own DLLs.
    const char* addin_folder = nullptr;
    // Where the default pens are found; null: the program itself. Tests
    // point it at a module without them.
    HMODULE pen_module = nullptr;
    // The default pens could not be loaded and round pens stand in; said
    // once the frame can be seen.
    bool default_pens_missing = false;
    // The command line given at start, kept until the frame has opened its
    // files.
    std::string start_command_line;
    // Which drawing colour the colour editor edits: the left one after a
    // left click in the palette, the right one after a right click.
    bool editor_edits_left = false;
};

ShellWindows& shell_windows();
ShellState& shell_state();

// The frame's status bar parts.
enum StatusPart : int {
    kStatusToolHint,
    kStatusPosition,
    kStatusSelection,
    kStatusLayerName,
    kStatusPartCount
};

// How a picture is saved: Save writes a named picture after asking to
// overwrite it; Save As (and Save of an unnamed picture) asks for the name.
enum SaveMode : int { kSaveChooseName = 0, kSaveAskOverwrite = 1 };

// The class of the document windows (MDI children) and of the canvas each
// holds.
inline constexpr char kDocumentClass[] = "Velmo DIB window";
inline constexpr char kCanvasClass[] = "Velmo DIB disp window";

// The window property in which a document window keeps its document.
inline constexpr char kDocumentProperty[] = "VL DIB prop";

// The active document window and its document; null when none is active.
HWND active_document_window();
PictureDocument* active_document();
PictureDocument* document_of(HWND document_window);
// The canvas child of a document window; null when it has none.
HWND canvas_of(HWND document_window);

// Ctrl with Page Up or Page Down, on the canvas or the zoom display: the
// next or previous pen slot (none past either end) becomes the document's
// pen, and the tool and pen windows are told.
void step_current_pen(PictureDocument& doc, int step);

// Sends the message to the window when it is open (not null).
void send_if_open(HWND wnd, UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);
// A floating window closing (its WM_DESTROY): remembers where it stood in
// left and top when given, forgets it in `slot`, and unchecks the frame's
// menu item and toolbar button `command` that open it.
void floating_window_closed(HWND wnd, HWND ShellWindows::*slot, UINT command, int* left = nullptr,
                            int* top = nullptr);
// Sizes a restored floating window so that its client area is width x
// height, whatever its caption and borders take; nothing when it already is.
void fit_client_area(HWND wnd, int width, int height);

// The animation view reads the layers from a thread of its own. Every command
// that relinks or replaces layers holds it first and resumes it after (the
// view then plays the active document's new list).
void hold_animation_player();
void resume_animation_player();
// A document window going away (its WM_DESTROY, which Reload and Exit reach
// without Close): the animation view closes, stopping its thread, when it
// plays doc, before doc's layers are freed.
void close_animation_player_of(const PictureDocument& doc);
