// The scrapbook's pictures: named flat bitmaps kept in memory for the run,
// in the order they came. The scrapbook window lists and edits them; the
// document window copies areas in and pastes the current one back. One list
// for the process, emptied at shut-down.
#pragma once

#include "app/document/picture.h"

#include <memory>
#include <vector>

// Room for a name with its terminating zero; longer texts are cut.
inline constexpr int kScrapNameSize = 64;

struct ScrapEntry {
    std::unique_ptr<Surface> picture;
    char name[kScrapNameSize] = {}; // ANSI, as the list box shows it
};

struct ScrapBook {
    std::vector<std::unique_ptr<ScrapEntry>> entries; // in list order
    ScrapEntry* current = nullptr;                    // one of entries, or none
    // Numbers the "scrap%d" names; it only grows, so a name is never given
    // twice in a run, whatever was deleted.
    int counter = 0;
};

// The program's one scrapbook.
ScrapBook& scrap_book();

// Appends picture (owned from here) as the last entry, named "scrap%d" with
// the counter after raising it, and makes it current. Null picture: nothing
// happens and the result is null.
ScrapEntry* append_scrap(ScrapBook& book, std::unique_ptr<Surface> picture);
// Appends a copy of source (size, colour table, pixels). Null, with the
// list unchanged, when the copy cannot be made.
ScrapEntry* append_scrap_copy(ScrapBook& book, const Surface& source);
// A new surface holding the current entry's picture, owned by the caller;
// null without a current entry or when no surface can be made.
std::unique_ptr<Surface> copy_of_current_scrap(const ScrapBook& book);

// The entry at index in list order; null outside the list.
ScrapEntry* scrap_at(const ScrapBook& book, int index);
// The index of the current entry; -1 without one.
int current_scrap_index(const ScrapBook& book);
// Makes the entry at index current; false, changing nothing, outside the
// list.
bool select_scrap(ScrapBook& book, int index);
// Removes the entry at index and its picture. When it was current the next
// entry becomes current, or none after the last. False outside the list.
bool delete_scrap(ScrapBook& book, int index);
// Gives the current entry the name (cut to kScrapNameSize - 1 bytes);
// false, changing nothing, without a current entry.
bool rename_current_scrap(ScrapBook& book, const char* name);
// Releases every entry and its picture; the names count from 1 again, as
// at start-up.
void empty_scrap_book(ScrapBook& book);

// Where a width x height picture is drawn in a preview of box_width x
// box_height: 1:1 when it fits, otherwise scaled down to fit with its
// aspect ratio kept (at least one pixel each way); centred either way.
AreaRect scrap_preview_place(int width, int height, int box_width, int box_height);
