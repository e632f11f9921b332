#include "app/session/scrap_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> names(const ScrapBook& book) {
    std::vector<std::string> out;
    for (const auto& e : book.entries)
        out.emplace_back(e->name);
    return out;
}

struct Step {
    char op; // a append, n append nothing, d delete, s select, r rename
    int index;
    std::string text;
    bool changes;
    std::vector<std::string> names;
    std::string current;
};

// One scrapbook through a run of edits, its list and current entry checked
// after every step.
TEST(ScrapBook, EditsKeepOrderNamesAndCurrentEntry) {
    const std::string long_name(100, 'n'), cut(63, 'n');
    const std::vector<Step> steps = {
        {'r', 0, "x", false, {}, ""},
        {'n', 0, "", false, {}, ""},
        {'a', 0, "", true, {"scrap1"}, "scrap1"},
        {'a', 0, "", true, {"scrap1", "scrap2"}, "scrap2"},
        {'a', 0, "", true, {"scrap1", "scrap2", "scrap3"}, "scrap3"},
        {'s', 3, "", false, {"scrap1", "scrap2", "scrap3"}, "scrap3"},
        {'s', 1, "", true, {"scrap1", "scrap2", "scrap3"}, "scrap2"},
        {'r', 0, long_name, true, {"scrap1", cut, "scrap3"}, cut},
        {'d', 1, "", true, {"scrap1", "scrap3"}, "scrap3"}, // the next one becomes current
        {'d', 0, "", true, {"scrap3"}, "scrap3"},           // the current one stays
        {'d', 1, "", false, {"scrap3"}, "scrap3"},
        {'d', 0, "", true, {}, ""}, // none after the last
        {'r', 0, "lost", false, {}, ""},
        {'a', 0, "", true, {"scrap4"}, "scrap4"}, // names are never given twice
    };
    ScrapBook book;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        bool changed = false;
        if (s.op == 'a' || s.op == 'n')
            changed =
                append_scrap(book, std::unique_ptr<Surface>(s.op == 'a' ? create_surface(2, 2)
                                                                        : nullptr)) != nullptr;
        if (s.op == 'd') changed = delete_scrap(book, s.index);
        if (s.op == 's') changed = select_scrap(book, s.index);
        if (s.op == 'r') changed = rename_current_scrap(book, s.text.c_str());
        EXPECT_EQ(changed, s.changes) << "step " << i;
        EXPECT_EQ(names(book), s.names) << "step " << i;
        EXPECT_EQ(book.current ? book.current->name : "", s.current) << "step " << i;
        EXPECT_EQ(scrap_at(book, current_scrap_index(book)), book.current) << "step " << i;
    }
}

TEST(ScrapBook, PreviewFitsThePictureCentred) {
    struct Place {
        int width, height, box_width, box_height, left, top, fitted_width, fitted_height;
    };
    const Place places[] = {
        {10, 6, 100, 80, 45, 37, 10, 6},      // fits: 1:1
        {200, 100, 100, 100, 0, 25, 100, 50}, // wide: to the width
        {100, 200, 100, 100, 25, 0, 50, 100}, // tall: to the height
        {200, 150, 100, 20, 37, 0, 26, 20},   // wide, but the height limits
        {50, 40, 100, 20, 37, 0, 25, 20},     // narrower than the box, too tall
        {1000, 1, 100, 100, 0, 49, 100, 1},   // a line keeps one pixel
    };
    for (const Place& p : places) {
        const AreaRect r = scrap_preview_place(p.width, p.height, p.box_width, p.box_height);
        EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.width, r.height}),
                  (std::vector<LONG>{p.left, p.top, p.fitted_width, p.fitted_height}))
            << p.width << " x " << p.height;
    }
}

} // namespace
