#include "app/session/scrap_book.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

std::unique_ptr<Surface> copy_of(const Surface& source) {
    std::unique_ptr<Surface> s(create_surface(source.width(), source.height()));
    if (s) source.copy_to(*s);
    return s;
}

bool inside(const ScrapBook& book, int index) {
    return index >= 0 && std::size_t(index) < book.entries.size();
}

} // namespace

ScrapBook& scrap_book() {
    static ScrapBook instance;
    return instance;
}

ScrapEntry* append_scrap(ScrapBook& book, std::unique_ptr<Surface> picture) {
    if (!picture) return nullptr;
    auto entry = std::make_unique<ScrapEntry>();
    entry->picture = std::move(picture);
    std::snprintf(entry->name, sizeof entry->name, "scrap%d", ++book.counter);
    book.current = entry.get();
    book.entries.push_back(std::move(entry));
    return book.current;
}

ScrapEntry* append_scrap_copy(ScrapBook& book, const Surface& source) {
    return append_scrap(book, copy_of(source));
}

std::unique_ptr<Surface> copy_of_current_scrap(const ScrapBook& book) {
    if (!book.current || !book.current->picture) return nullptr;
    return copy_of(*book.current->picture);
}

ScrapEntry* scrap_at(const ScrapBook& book, int index) {
    return inside(book, index) ? book.entries[std::size_t(index)].get() : nullptr;
}

int current_scrap_index(const ScrapBook& book) {
    for (std::size_t i = 0; i < book.entries.size(); ++i)
        if (book.entries[i].get() == book.current) return int(i);
    return -1;
}

bool select_scrap(ScrapBook& book, int index) {
    ScrapEntry* entry = scrap_at(book, index);
    if (!entry) return false;
    book.current = entry;
    return true;
}

bool delete_scrap(ScrapBook& book, int index) {
    if (!inside(book, index)) return false;
    const auto at = book.entries.begin() + index;
    const bool was_current = at->get() == book.current;
    const auto next = book.entries.erase(at);
    if (was_current) book.current = next == book.entries.end() ? nullptr : next->get();
    return true;
}

bool rename_current_scrap(ScrapBook& book, const char* name) {
    if (!book.current) return false;
    std::snprintf(book.current->name, sizeof book.current->name, "%s", name ? name : "");
    return true;
}

void empty_scrap_book(ScrapBook& book) {
    book = ScrapBook{};
}

AreaRect scrap_preview_place(int width, int height, int box_width, int box_height) {
    long long w = std::max(width, 1), h = std::max(height, 1);
    const long long bw = std::max(box_width, 1), bh = std::max(box_height, 1);
    if (w > bw || h > bh) {
        // The side that overflows most sets the scale: w / bw against h / bh.
        if (w * bh >= h * bw) {
            h = std::max(1LL, h * bw / w);
            w = bw;
        } else {
            w = std::max(1LL, w * bh / h);
            h = bh;
        }
    }
    return {LONG((bw - w) / 2), LONG((bh - h) / 2), LONG(w), LONG(h)};
}
