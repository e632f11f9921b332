#include "app/session/settings.h"

#include <cstring>

namespace {

// A left coordinate beyond the screen's width or a top beyond its height
// would put the window out of reach; the frame then falls back to the
// system's default position, every other window to 0.
enum class Check { None, FrameLeft, FrameTop, Left, Top };

struct SettingField {
    const char* name;
    std::int32_t Settings::*value; // null for the two texts
    std::int32_t initial;
    Check check;
};

// One row per stored value, in the order they are read and written. The two
// texts (input_fontName, current_path) are handled beside the table.
constexpr SettingField kFields[] = {
    {"main_left", &Settings::main_left, kDefaultPosition, Check::FrameLeft},
    {"main_top", &Settings::main_top, kDefaultPosition, Check::FrameTop},
    {"main_right", &Settings::main_right, 640, Check::None},
    {"main_bottom", &Settings::main_bottom, 480, Check::None},
    {"pal_left", &Settings::pal_left, 0, Check::Left},
    {"pal_top", &Settings::pal_top, 0, Check::Top},
    {"palMake_left", &Settings::palMake_left, 0, Check::Left},
    {"palMake_top", &Settings::palMake_top, 0, Check::Top},
    {"zoom_left", &Settings::zoom_left, 0, Check::Left},
    {"zoom_top", &Settings::zoom_top, 0, Check::Top},
    {"pen_left", &Settings::pen_left, 0, Check::Left},
    {"pen_top", &Settings::pen_top, 0, Check::Top},
    {"penMake_left", &Settings::penMake_left, 0, Check::Left},
    {"penMake_top", &Settings::penMake_top, 0, Check::Top},
    {"layer_left", &Settings::layer_left, 0, Check::Left},
    {"layer_top", &Settings::layer_top, 0, Check::Top},
    {"scrap_left", &Settings::scrap_left, 0, Check::Left},
    {"scrap_top", &Settings::scrap_top, 0, Check::Top},
    {"font_left", &Settings::font_left, 0, Check::Left},
    {"font_top", &Settings::font_top, 0, Check::Top},
    {"intensity_left", &Settings::intensity_left, 0, Check::Left},
    {"intensity_top", &Settings::intensity_top, 0, Check::Top},
    {"tool_left", &Settings::tool_left, 0, Check::Left},
    {"tool_top", &Settings::tool_top, 0, Check::Top},
    {"main_size_mode", &Settings::main_size_mode, 0, Check::None},
    {"anime_left", &Settings::anime_left, 100, Check::Left},
    {"anime_top", &Settings::anime_top, 100, Check::Top},
    {"gifanime_left", &Settings::gifanime_left, 0, Check::Left},
    {"gifanime_top", &Settings::gifanime_top, 0, Check::Top},
    {"mini_left", &Settings::mini_left, 0, Check::Left},
    {"mini_top", &Settings::mini_top, 0, Check::Top},
    {"PaletteOn", &Settings::PaletteOn, 0, Check::None},
    {"PaletteMakeOn", &Settings::PaletteMakeOn, 0, Check::None},
    {"PenOn", &Settings::PenOn, 0, Check::None},
    {"LayerOn", &Settings::LayerOn, 0, Check::None},
    {"ScrapOn", &Settings::ScrapOn, 0, Check::None},
    {"MiniOn", &Settings::MiniOn, 0, Check::None},
    {"zoom_ShowCurrent", &Settings::zoom_ShowCurrent, 1, Check::None},
    {"zoom_ShowGrid", &Settings::zoom_ShowGrid, 1, Check::None},
    {"zoom_SizeMode", &Settings::zoom_SizeMode, 146, Check::None},
    {"pal_ColorModel", &Settings::pal_ColorModel, 1, Check::None},
    {"pal_FitPalette", &Settings::pal_FitPalette, 0, Check::None},
    {"input_fontSize", &Settings::input_fontSize, 16, Check::None},
    {"input_fontType", &Settings::input_fontType, 0, Check::None},
    {"input_fontSpace", &Settings::input_fontSpace, 0, Check::None},
    {"input_fontDeg", &Settings::input_fontDeg, 0, Check::None},
    {"soften_intensity", &Settings::soften_intensity, 100, Check::None},
    {"env_intensity", &Settings::env_intensity, 100, Check::None},
    {"darken_intensity", &Settings::darken_intensity, 10, Check::None},
    {"lighten_intensity", &Settings::lighten_intensity, 10, Check::None},
    {"pal_AutoApply", &Settings::pal_AutoApply, 1, Check::None},
    {"defaultbmp_width", &Settings::defaultbmp_width, 640, Check::None},
    {"defaultbmp_height", &Settings::defaultbmp_height, 480, Check::None},
    {"mainWnd_zoomed", &Settings::mainWnd_zoomed, 0, Check::None},
};

constexpr char kFontNameValue[] = "input_fontName";
constexpr char kCurrentPathValue[] = "current_path";
constexpr char kDefaultFont[] = "Arial";

void copy_text(char* dst, std::size_t capacity, const char* src) {
    std::size_t n = src ? std::strlen(src) : 0;
    if (n >= capacity) n = capacity - 1;
    if (n) std::memcpy(dst, src, n);
    dst[n] = '\0';
}

void apply_check(std::int32_t& v, Check check, ScreenSize screen) {
    switch (check) {
    case Check::FrameLeft:
        if (v > screen.width) v = kDefaultPosition;
        break;
    case Check::FrameTop:
        if (v > screen.height) v = kDefaultPosition;
        break;
    case Check::Left:
        if (v > screen.width) v = 0;
        break;
    case Check::Top:
        if (v > screen.height) v = 0;
        break;
    case Check::None:
        break;
    }
}

void set_defaults(Settings& s, const char* current_dir) {
    s = Settings{};
    for (const SettingField& f : kFields)
        s.*f.value = f.initial;
    copy_text(s.input_fontName, sizeof s.input_fontName, kDefaultFont);
    copy_text(s.current_path, sizeof s.current_path, current_dir);
}

} // namespace

Settings& settings() {
    static Settings instance;
    return instance;
}

int load_settings(Settings& s, KeyValueStore* store, ScreenSize screen, const char* current_dir) {
    set_defaults(s, current_dir);
    if (!store || store->is_empty()) return 0;
    for (const SettingField& f : kFields) {
        store->read_dword(f.name, s.*f.value);
        apply_check(s.*f.value, f.check, screen);
    }
    store->read_text(kFontNameValue, s.input_fontName, sizeof s.input_fontName);
    store->read_text(kCurrentPathValue, s.current_path, sizeof s.current_path);
    return 1;
}

int save_settings(const Settings& s, KeyValueStore& store, const char* current_dir) {
    for (const SettingField& f : kFields)
        store.write_dword(f.name, s.*f.value);
    store.write_text(kFontNameValue, s.input_fontName);
    char path[kPathCapacity];
    copy_text(path, sizeof path, current_dir);
    store.write_text(kCurrentPathValue, path);
    return 1;
}
