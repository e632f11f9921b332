#include "app/session/tool_table.h"

#include <cstdio>
#include <cstring>

constexpr BuiltinTool kBuiltinTools[kBuiltinToolCount] = {
    {.id = kToolZoom,
     .menu_text = "&Zoom In/Out",
     .hint = "Left:Zoom-In Right:Zoom-Out",
     .cursor = "ZOOM_CURSOR",
     .button = "VL_ZOOM_BUTTON",
     .flags = 0,
     .preview = 0},
    {.id = kToolScroller,
     .menu_text = "Scr&oller",
     .hint = "Drag to Scroll",
     .cursor = "HAND_CURSOR",
     .button = "VL_HAND_BUTTON",
     .flags = 0,
     .preview = 0},
    {.id = kToolSelectArea,
     .menu_text = "&Select Area",
     .hint = "Drag to Select Area",
     .cursor = nullptr,
     .button = "VL_SELECT_BUTTON",
     .flags = 0,
     .preview = 0},
    {.id = kToolRotring,
     .menu_text = "&Rotring",
     .hint = "Drag to Draw",
     .cursor = "ROT_CURSOR",
     .button = "VL_ROT_BUTTON",
     .flags = 0,
     .preview = 0},
    {.id = kToolPen,
     .menu_text = "&Pen",
     .hint = "Drag to Draw",
     .cursor = "PEN_CURSOR",
     .button = "VL_PEN_BUTTON",
     .flags = kToolPenType,
     .preview = 1},
    {.id = kToolFluidFill,
     .menu_text = "&Fluid Fill",
     .hint = "Left to Fill",
     .cursor = nullptr,
     .button = "VL_FILL_BUTTON",
     .flags = 0,
     .preview = 0},
    {.id = kToolLayerCopyPen,
     .menu_text = "La&yer Copy Pen",
     .hint = "Drag to Draw",
     .cursor = "PEN_CURSOR",
     .button = "VL_RECT_BUTTON",
     .flags = kToolPenType,
     .preview = 1},
    {.id = kToolColourExchange,
     .menu_text = "Color E&xchange Ctrl+6",
     .hint = "Drag to Draw",
     .cursor = "EXCHANGE_CURSOR",
     .button = "VL_EXCHANGE_BUTTON",
     .flags = kToolPenType,
     .preview = 1},
    {.id = kToolLettering,
     .menu_text = "Le&ttering",
     .hint = "Lettering",
     .cursor = "CHAR_CURSOR",
     .button = "VL_CHAR_BUTTON",
     .flags = 0,
     .preview = 0},
    {.id = kToolSoftenPen,
     .menu_text = "Soften Pen",
     .hint = "Drag to Draw",
     .cursor = "BOKASI_CURSOR",
     .button = "VL_BOKASI_BUTTON",
     .flags = kToolPenType,
     .preview = 1},
    {.id = kToolDarkenPen,
     .menu_text = "&Darken Pen",
     .hint = "Drag to Draw",
     .cursor = "DARKEN_CURSOR",
     .button = "VL_DARKEN_BUTTON",
     .flags = kToolPenType,
     .preview = 1},
    {.id = kToolLightenPen,
     .menu_text = "&Lighten Pen",
     .hint = "Drag to Draw",
     .cursor = "LIGHTEN_CURSOR",
     .button = "VL_LIGHTEN_BUTTON",
     .flags = kToolPenType,
     .preview = 1},
};

constexpr bool tools_in_order() {
    for (int i = 0; i < kBuiltinToolCount; ++i)
        if (kBuiltinTools[i].id != i) return false;
    return true;
}
static_assert(tools_in_order(), "kBuiltinTools must list the tools in the order of their ids");

int do_nothing_tool(HWND, UINT, WPARAM, LPARAM, void*) {
    return 0;
}

bool tool_has_work(const ToolEntry& entry) {
    return entry.pen || (entry.handler && entry.handler != do_nothing_tool);
}

void copy_text(char* dst, int room, const char* src) {
    const std::size_t length = src ? strnlen(src, std::size_t(room - 1)) : 0;
    if (length) std::memcpy(dst, src, length);
    dst[length] = '\0';
}

bool build_tool_table(ToolTable& table, int count, const ToolHandler* builtin_handlers) {
    table = ToolTable{};
    if (count < kBuiltinToolCount || count > 0x10000) return false;
    auto* entries = static_cast<ToolEntry*>(GlobalAlloc(GPTR, sizeof(ToolEntry) * count));
    if (!entries) return false;
    for (int i = 0; i < count; ++i)
        entries[i].handler = do_nothing_tool;
    for (int i = 0; i < kBuiltinToolCount; ++i) {
        const BuiltinTool& tool = kBuiltinTools[i];
        ToolEntry& entry = entries[i];
        if (builtin_handlers && builtin_handlers[i]) entry.handler = builtin_handlers[i];
        copy_text(entry.hint, kToolTextSize, tool.hint);
        copy_text(entry.name, kToolTextSize, tool.menu_text);
        entry.flags = tool.flags;
        entry.preview = tool.preview;
    }
    table.entries = entries;
    table.count = count;
    return true;
}

void free_tool_table(ToolTable& table) {
    GlobalFree(table.entries);
    table = ToolTable{};
}

void default_pen_name(char (&name)[kToolTextSize], int index) {
    std::snprintf(name, sizeof name, "PenAdd-In(%d)", index - 10);
}

bool set_pen_tool(ToolTable& table, int index, const AddInInfo& info, VLPenFn pen) {
    if (index < kBuiltinToolCount || index >= table.count) return false;
    ToolEntry& entry = table.entries[index];
    entry.pen = pen;
    copy_text(entry.hint, kToolTextSize, info.description ? info.description : "Pen Add-In");
    if (info.name)
        copy_text(entry.name, kToolTextSize, info.name);
    else
        default_pen_name(entry.name, index);
    entry.flags = info.flags & ~kAddInKindMask;
    entry.preview = (info.flags & kAddInPenPreview) ? 1 : 0;
    return true;
}
