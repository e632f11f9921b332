// What the animation test's dialog and its test window share: one of each
// per process.
#pragma once

#include "app/imageops/pattern_anime.h"
#include "platform/win.h"

struct AnimeTestState {
    // Cell size; taken from the document's zoom window area each time the
    // dialog opens.
    int cell_width = 32;
    int cell_height = 32;
    // Kept for the whole run.
    int interval = 100; // ms, at least kPatternMinInterval
    bool repeat = true;
    HWND dialog = nullptr;
    HWND test_window = nullptr;
    PatternPlayer player; // the sequence the test window plays
    int syncing = 0;      // the dialog writes its own fields
};
AnimeTestState& anime_test_state();

// The cells of the active picture at the current cell size.
PatternGrid anime_grid(const PictureDocument& doc);
