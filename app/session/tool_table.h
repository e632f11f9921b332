// The tool table: one entry per drawing tool, indexed by tool number (menu
// command 500 + tool number). Twelve built-in tools, then the Add-In pens.
// Built once at start-up, read-only afterwards.
#pragma once

#include "addins/sdk/velmo_addin.h"
#include "platform/win.h"

#include <cstdint>

// A built-in tool's handler. The record is the active PictureDocument.
using ToolHandler = int (*)(HWND canvas, UINT message, WPARAM wparam, LPARAM lparam, void* record);

// The built-in tools by number; menu command 500 + number chooses one.
enum BuiltinToolId : int {
    kToolZoom,
    kToolScroller,
    kToolSelectArea,
    kToolRotring,
    kToolPen,
    kToolFluidFill,
    kToolLayerCopyPen,
    kToolColourExchange,
    kToolLettering,
    kToolSoftenPen,
    kToolDarkenPen,
    kToolLightenPen,
    kBuiltinToolCount
};
// The tools from the rotring on draw, and pick colours with the right button.
constexpr int kFirstDrawingTool = kToolRotring;
constexpr int kToolTextSize = 64;
// Tool flag: a pen-type tool; the canvas builds the stroke shape for it.
constexpr DWORD kToolPenType = 0x10000;
// Tool flag (Add-In pens): in free-hand mode the canvas only records points.
constexpr DWORD kToolRecordPoints = 0x20000;

// What the program knows of a built-in tool before any resource is loaded.
struct BuiltinTool {
    BuiltinToolId id; // its place in kBuiltinTools, checked when compiled
    const char* menu_text;
    const char* hint;
    const char* cursor; // resource name; null: the standard arrow
    const char* button; // resource name of the tool window's button
    DWORD flags;
    DWORD preview; // non-zero: footprint under the cursor while hovering
};

extern const BuiltinTool kBuiltinTools[kBuiltinToolCount];

struct ToolEntry {
    // Built-in tools: their handler; every slot starts with one that does
    // nothing and returns 0. Add-In pens keep the do-nothing handler and are
    // called through pen instead, with a PenCallBlock.
    ToolHandler handler;
    VLPenFn pen;    // the Add-In's _VLPen; null for built-in tools
    HBITMAP button; // owned by the table (loaded from resources)
    HCURSOR cursor; // shared resource, not destroyed; null: the arrow
    char hint[kToolTextSize];
    char name[kToolTextSize];
    DWORD flags;
    DWORD preview;
};

struct ToolTable {
    ToolEntry* entries = nullptr; // GlobalAlloc'd, count entries
    int count = 0;
};

// The handler every slot starts with.
int do_nothing_tool(HWND canvas, UINT message, WPARAM wparam, LPARAM lparam, void* record);

// False for a slot that still holds do_nothing_tool and no Add-In pen: such a
// tool changes no pixel, so a press with it needs no undo copy.
bool tool_has_work(const ToolEntry& entry);

// Allocates count entries (at least the built-in twelve) and fills the
// built-in ones from kBuiltinTools, with handlers from builtin_handlers where
// it is not null and has a non-null entry. Buttons and cursors stay null for
// the window code to load. Returns false, with the table empty, when count is
// below 12 or memory runs out.
bool build_tool_table(ToolTable& table, int count, const ToolHandler* builtin_handlers);
void free_tool_table(ToolTable& table);

// The name a pen Add-In without one gets as tool index: "PenAdd-In(index - 10)".
void default_pen_name(char (&name)[kToolTextSize], int index);

// Fills entry index (12 and up) for a pen Add-In from its information and
// entry point. Resources are the caller's. Returns false when index is not a
// pen slot of the table.
bool set_pen_tool(ToolTable& table, int index, const AddInInfo& info, VLPenFn pen);

// Copies src into a fixed text field, cut to fit; null gives "".
void copy_text(char* dst, int room, const char* src);
