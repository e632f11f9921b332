// The user's settings: window positions, which tool windows were open,
// options of the zoom and palette windows, lettering, pen intensities, the
// default picture size and the last directory. Loaded once before any
// window exists and saved once after the message loop ends; between the two
// the fields are the live settings the windows read and change.
#pragma once

#include "app/session/key_value_store.h"

#include <cstdint>

// The registry key, under HKEY_CURRENT_USER, that holds the settings and the
// recent-file list.
inline constexpr char kSettingsKey[] = "Software\\Korvane\\Velmo\\2.00";

// The system's "default position" for a window (CW_USEDEFAULT).
inline constexpr std::int32_t kDefaultPosition = std::int32_t(0x80000000u);

inline constexpr int kFontNameCapacity = 40;
inline constexpr int kPathCapacity = 1024;

// Field names are the stored value names.
struct Settings {
    std::int32_t main_left, main_top;
    // Inclusive: the frame is main_right - main_left + 1 pixels wide.
    std::int32_t main_right, main_bottom;
    std::int32_t pal_left, pal_top;
    std::int32_t palMake_left, palMake_top;
    std::int32_t zoom_left, zoom_top;
    std::int32_t pen_left, pen_top;
    std::int32_t penMake_left, penMake_top;
    std::int32_t layer_left, layer_top;
    std::int32_t scrap_left, scrap_top;
    std::int32_t font_left, font_top;
    std::int32_t intensity_left, intensity_top;
    std::int32_t tool_left, tool_top;
    std::int32_t main_size_mode;
    std::int32_t anime_left, anime_top;
    std::int32_t gifanime_left, gifanime_top;
    std::int32_t mini_left, mini_top;
    std::int32_t PaletteOn, PaletteMakeOn, PenOn, LayerOn, ScrapOn, MiniOn;
    std::int32_t zoom_ShowCurrent, zoom_ShowGrid, zoom_SizeMode;
    std::int32_t pal_ColorModel, pal_FitPalette;
    char input_fontName[kFontNameCapacity];
    std::int32_t input_fontSize, input_fontType, input_fontSpace, input_fontDeg;
    std::int32_t soften_intensity, env_intensity, darken_intensity, lighten_intensity;
    std::int32_t pal_AutoApply;
    std::int32_t defaultbmp_width, defaultbmp_height;
    std::int32_t mainWnd_zoomed;
    char current_path[kPathCapacity];
};

// The program's one instance of the settings.
Settings& settings();

struct ScreenSize {
    int width;
    int height;
};

// Sets every default, then, when the store holds values, reads each one that
// is present and applies the position rules: a frame left or top beyond the
// screen becomes the default position, any other window's left or top beyond
// the screen becomes 0. `store` is null when the key could not be opened.
// `current_dir` is the process's current directory, the default of
// current_path. Returns 1 when values were read, 0 on a first run or failure.
int load_settings(Settings& s, KeyValueStore* store, ScreenSize screen, const char* current_dir);

// Writes every value; current_path is the process's current directory now.
// Returns 1.
int save_settings(const Settings& s, KeyValueStore& store, const char* current_dir);
