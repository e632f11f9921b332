#include "app/session/settings.h"

#include "tests/support/memory_store.h"

#include <gtest/gtest.h>

namespace {

constexpr ScreenSize kScreen{1280, 1024};

TEST(Settings, FirstRunKeepsEveryDefaultAndReportsZero) {
    Settings s;
    MemoryStore empty;
    EXPECT_EQ(load_settings(s, &empty, kScreen, "C:\\start"), 0);
    EXPECT_EQ(s.main_left, kDefaultPosition);
    EXPECT_EQ(s.main_top, kDefaultPosition);
    EXPECT_EQ(s.main_right, 640);
    EXPECT_EQ(s.main_bottom, 480);
    EXPECT_EQ(s.anime_left, 100);
    EXPECT_EQ(s.anime_top, 100);
    EXPECT_EQ(s.tool_left, 0);
    EXPECT_EQ(s.zoom_ShowCurrent, 1);
    EXPECT_EQ(s.zoom_ShowGrid, 1);
    EXPECT_EQ(s.zoom_SizeMode, 146);
    EXPECT_EQ(s.pal_ColorModel, 1);
    EXPECT_EQ(s.pal_AutoApply, 1);
    EXPECT_EQ(s.input_fontSize, 16);
    EXPECT_EQ(s.soften_intensity, 100);
    EXPECT_EQ(s.env_intensity, 100);
    EXPECT_EQ(s.darken_intensity, 10);
    EXPECT_EQ(s.lighten_intensity, 10);
    EXPECT_EQ(s.defaultbmp_width, 640);
    EXPECT_EQ(s.defaultbmp_height, 480);
    EXPECT_EQ(s.mainWnd_zoomed, 0);
    EXPECT_STREQ(s.input_fontName, "Arial");
    EXPECT_STREQ(s.current_path, "C:\\start");

    // A key that could not be opened gives the same defaults.
    Settings t;
    EXPECT_EQ(load_settings(t, nullptr, kScreen, "C:\\start"), 0);
    EXPECT_EQ(std::memcmp(&s, &t, sizeof s), 0);
}

TEST(Settings, SaveThenLoadGivesBackEveryValue) {
    Settings s;
    load_settings(s, nullptr, kScreen, "C:\\a");
    s.main_left = 10;
    s.main_top = 20;
    s.main_right = 809;
    s.main_bottom = 619;
    s.tool_left = 900;
    s.mini_top = 33;
    s.MiniOn = 1;
    s.zoom_SizeMode = 148;
    s.input_fontDeg = -45;
    s.defaultbmp_width = 32;
    std::strcpy(s.input_fontName, "Courier New");

    MemoryStore store;
    EXPECT_EQ(save_settings(s, store, "D:\\pictures"), 1);
    // Every DWORD, the font and the current directory: nothing more.
    EXPECT_EQ(store.size(), 56u);
    EXPECT_EQ(std::get<std::string>(store.at("current_path")), "D:\\pictures");

    Settings back;
    EXPECT_EQ(load_settings(back, &store, kScreen, "C:\\elsewhere"), 1);
    EXPECT_EQ(back.main_left, 10);
    EXPECT_EQ(back.main_bottom, 619);
    EXPECT_EQ(back.tool_left, 900);
    EXPECT_EQ(back.mini_top, 33);
    EXPECT_EQ(back.MiniOn, 1);
    EXPECT_EQ(back.zoom_SizeMode, 148);
    EXPECT_EQ(back.input_fontDeg, -45);
    EXPECT_EQ(back.defaultbmp_width, 32);
    EXPECT_STREQ(back.input_fontName, "Courier New");
    EXPECT_STREQ(back.current_path, "D:\\pictures");
}

TEST(Settings, NamesMatchWithoutCaseAndMissingValuesKeepDefaults) {
    MemoryStore store;
    store.write_dword("miniOn", 1);
    store.write_dword("ZOOM_SHOWGRID", 0);
    Settings s;
    EXPECT_EQ(load_settings(s, &store, kScreen, "C:\\"), 1);
    EXPECT_EQ(s.MiniOn, 1);
    EXPECT_EQ(s.zoom_ShowGrid, 0);
    EXPECT_EQ(s.zoom_ShowCurrent, 1);
    EXPECT_EQ(s.main_right, 640);

    // The writer's spelling replaces the value read under another spelling.
    save_settings(s, store, "C:\\");
    EXPECT_TRUE(store.has("MINION"));
    EXPECT_EQ(store.size(), 56u);
}

TEST(Settings, PositionsBeyondTheScreenComeBackAtDefaultOrZero) {
    MemoryStore store;
    store.write_dword("main_left", 1281);
    store.write_dword("main_top", 1025);
    store.write_dword("pal_left", 1281);
    store.write_dword("pal_top", 1025);
    store.write_dword("anime_left", 5000);
    store.write_dword("mini_top", 1024);    // on the edge: kept
    store.write_dword("tool_left", -300);   // below zero is not checked
    store.write_dword("main_right", 99999); // right and bottom are not positions
    Settings s;
    load_settings(s, &store, kScreen, "C:\\");
    EXPECT_EQ(s.main_left, kDefaultPosition);
    EXPECT_EQ(s.main_top, kDefaultPosition);
    EXPECT_EQ(s.pal_left, 0);
    EXPECT_EQ(s.pal_top, 0);
    EXPECT_EQ(s.anime_left, 0);
    EXPECT_EQ(s.anime_top, 100);
    EXPECT_EQ(s.mini_top, 1024);
    EXPECT_EQ(s.tool_left, -300);
    EXPECT_EQ(s.main_right, 99999);
}

TEST(Settings, WrongTypesAndOverlongTextsAreTreatedAsMissing) {
    MemoryStore store;
    store.write_text("main_right", "800");
    store.write_dword("input_fontName", 7);
    store.write_text("current_path", std::string(1100, 'x').c_str());
    Settings s;
    load_settings(s, &store, kScreen, "C:\\here");
    EXPECT_EQ(s.main_right, 640);
    EXPECT_STREQ(s.input_fontName, "Arial");
    EXPECT_STREQ(s.current_path, "C:\\here");

    store.write_text("input_fontName", std::string(39, 'f').c_str());
    load_settings(s, &store, kScreen, "C:\\here");
    EXPECT_EQ(std::strlen(s.input_fontName), 39u);
}

TEST(Settings, AnOverlongStartDirectoryIsCutNotOverrun) {
    std::string long_dir(2000, 'd');
    Settings s;
    load_settings(s, nullptr, kScreen, long_dir.c_str());
    EXPECT_EQ(std::strlen(s.current_path), std::size_t(kPathCapacity - 1));
    MemoryStore store;
    save_settings(s, store, long_dir.c_str());
    EXPECT_EQ(std::get<std::string>(store.at("current_path")).size(),
              std::size_t(kPathCapacity - 1));
}

} // namespace
