#include "app/session/scrap_book.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::unique_ptr<Surface> picture(int width, int height, BYTE fill) {
    std::unique_ptr<Surface> s(create_surface(width, height));
    if (s) std::memset(s->bits, fill, s->pixel_bytes());
    return s;
}

std::vector<std::string> names(const ScrapBook& book) {
    std::vector<std::string> out;
    for (const auto& e : book.entries)
        out.emplace_back(e->name);
    return out;
}

std::string current_name(const ScrapBook& book) {
    return book.current ? book.current->name : "(none)";
}

enum class Op { Append, Delete, Select, Rename };

struct Step {
    Op op;
    int index;        // Delete and Select
    const char* text; // Rename
    bool changes;     // the call's result
    std::vector<std::string> names;
    const char* current;
};

// One scrapbook through a run of edits, its list and current entry checked
// after every step.
TEST(ScrapBook, EditsKeepOrderNamesAndCurrentEntry) {
    const std::vector<Step> steps = {
        {Op::Rename, 0, "x", false, {}, "(none)"},
        {Op::Append, 0, nullptr, true, {"scrap1"}, "scrap1"},
        {Op::Append, 0, nullptr, true, {"scrap1", "scrap2"}, "scrap2"},
        {Op::Append, 0, nullptr, true, {"scrap1", "scrap2", "scrap3"}, "scrap3"},
        {Op::Select, 3, nullptr, false, {"scrap1", "scrap2", "scrap3"}, "scrap3"},
        {Op::Select, -1, nullptr, false, {"scrap1", "scrap2", "scrap3"}, "scrap3"},
        {Op::Select, 1, nullptr, true, {"scrap1", "scrap2", "scrap3"}, "scrap2"},
        {Op::Rename, 0, "sky", true, {"scrap1", "sky", "scrap3"}, "sky"},
        // The current entry goes: the next one takes its place.
        {Op::Delete, 1, nullptr, true, {"scrap1", "scrap3"}, "scrap3"},
        // Another entry goes: the current one stays.
        {Op::Delete, 0, nullptr, true, {"scrap3"}, "scrap3"},
        {Op::Delete, 1, nullptr, false, {"scrap3"}, "scrap3"},
        // The last one goes: none is current, and a name edit does nothing.
        {Op::Delete, 0, nullptr, true, {}, "(none)"},
        {Op::Rename, 0, "lost", false, {}, "(none)"},
        // Names are never given twice.
        {Op::Append, 0, nullptr, true, {"scrap4"}, "scrap4"},
    };
    ScrapBook book;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        bool changed = false;
        switch (s.op) {
        case Op::Append:
            changed = append_scrap(book, picture(2, 2, BYTE(i))) != nullptr;
            break;
        case Op::Delete:
            changed = delete_scrap(book, s.index);
            break;
        case Op::Select:
            changed = select_scrap(book, s.index);
            break;
        case Op::Rename:
            changed = rename_current_scrap(book, s.text);
            break;
        }
        EXPECT_EQ(changed, s.changes) << "step " << i;
        EXPECT_EQ(names(book), s.names) << "step " << i;
        EXPECT_EQ(current_name(book), s.current) << "step " << i;
        EXPECT_EQ(scrap_at(book, current_scrap_index(book)), book.current) << "step " << i;
    }
}

TEST(ScrapBook, NothingToKeepAddsNoEntryAndUsesNoNumber) {
    ScrapBook book;
    EXPECT_EQ(append_scrap(book, nullptr), nullptr);
    EXPECT_TRUE(book.entries.empty());
    ASSERT_NE(append_scrap(book, picture(1, 1, 0)), nullptr);
    EXPECT_STREQ(book.current->name, "scrap1");
}

TEST(ScrapBook, NamesAreCutToSixtyThreeBytes) {
    ScrapBook book;
    append_scrap(book, picture(1, 1, 0));
    const std::string long_name(100, 'n');
    EXPECT_TRUE(rename_current_scrap(book, long_name.c_str()));
    EXPECT_EQ(std::string(book.current->name), long_name.substr(0, kScrapNameSize - 1));
    EXPECT_TRUE(rename_current_scrap(book, ""));
    EXPECT_STREQ(book.current->name, "");
}

// Copies in and out are the picture's own pixels and colours, and stay
// apart from what they were taken from.
TEST(ScrapBook, CopiesInAndOutAreIndependentPictures) {
    for (int width : {1, 4, 7, 9, 33}) {
        std::unique_ptr<Surface> source = picture(width, 3, 6);
        ASSERT_NE(source, nullptr);
        source->bits[0] = 200;
        source->colour_table()[200] = RGBQUAD{1, 2, 3, 0};
        source->refresh_palette();
        ScrapBook book;
        ASSERT_NE(append_scrap_copy(book, *source), nullptr);
        source->bits[0] = 7;

        std::unique_ptr<Surface> out = copy_of_current_scrap(book);
        ASSERT_NE(out, nullptr);
        EXPECT_NE(out.get(), book.current->picture.get());
        EXPECT_EQ(out->width(), width);
        EXPECT_EQ(out->height(), 3);
        EXPECT_EQ(out->bits[0], 200) << width;
        EXPECT_EQ(out->bits[out->pixel_bytes() - 1], 6) << width;
        EXPECT_EQ(out->colour_table()[200].rgbGreen, 2);
        EXPECT_EQ(out->logical_palette->palPalEntry[200].peRed, 3);
        out->bits[1] = 9;
        EXPECT_EQ(book.current->picture->bits[1], 6);
    }
    ScrapBook empty;
    EXPECT_EQ(copy_of_current_scrap(empty), nullptr);
}

TEST(ScrapBook, EmptyingStartsAfresh) {
    ScrapBook book;
    append_scrap(book, picture(1, 1, 0));
    append_scrap(book, picture(1, 1, 0));
    empty_scrap_book(book);
    EXPECT_TRUE(book.entries.empty());
    EXPECT_EQ(book.current, nullptr);
    EXPECT_EQ(current_scrap_index(book), -1);
    append_scrap(book, picture(1, 1, 0));
    EXPECT_STREQ(book.current->name, "scrap1");
}

struct Place {
    int width, height, box_width, box_height;
    AreaRect expected;
};

TEST(ScrapBook, PreviewFitsThePictureCentred) {
    const Place places[] = {
        {10, 6, 100, 80, {45, 37, 10, 6}},      // fits: 1:1
        {100, 80, 100, 80, {0, 0, 100, 80}},    // exactly
        {200, 100, 100, 100, {0, 25, 100, 50}}, // wide: to the width
        {100, 200, 100, 100, {25, 0, 50, 100}}, // tall: to the height
        {300, 300, 100, 100, {0, 0, 100, 100}}, // square
        {200, 150, 100, 20, {37, 0, 26, 20}},   // wide, but the height limits
        {50, 40, 100, 20, {37, 0, 25, 20}},     // narrower than the box, too tall
        {1000, 1, 100, 100, {0, 49, 100, 1}},   // a line keeps one pixel
        {1, 1000, 100, 100, {49, 0, 1, 100}},
    };
    for (const Place& p : places) {
        const AreaRect r = scrap_preview_place(p.width, p.height, p.box_width, p.box_height);
        EXPECT_EQ(r.left, p.expected.left) << p.width << "x" << p.height;
        EXPECT_EQ(r.top, p.expected.top) << p.width << "x" << p.height;
        EXPECT_EQ(r.width, p.expected.width) << p.width << "x" << p.height;
        EXPECT_EQ(r.height, p.expected.height) << p.width << "x" << p.height;
    }
}

} // namespace
