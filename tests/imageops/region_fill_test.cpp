#include "app/imageops/region_fill.h"
#include "tests/support/drawing_fixture.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace drawing_test;

namespace {

// A surface from rows of digits (and '.' for 255), as grid() prints it.
std::unique_ptr<Surface> from_grid(const char* text) {
    std::vector<std::string> rows(1);
    for (const char* c = text; *c; ++c)
        if (*c == '\n')
            rows.emplace_back();
        else
            rows.back() += *c;
    if (rows.back().empty()) rows.pop_back();
    auto s = std::make_unique<Surface>();
    if (!s->create(int(rows[0].size()), int(rows.size()))) return nullptr;
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[y].size()); ++x)
            at(*s, x, y) = rows[y][x] == '.' ? 255 : BYTE(rows[y][x] - '0');
    return s;
}

struct Case {
    const char* what;
    const char* picture;
    POINT seed;
    const char* region; // '1' marked, '0' not
};

TEST(RegionFill, MarksTheFourConnectedRegionOfTheSeedsColour) {
    const Case cases[] = {
        {"single isolated pixel", "000\n010\n000\n", {1, 1}, "000\n010\n000\n"},
        {"diagonal neighbours are apart", "10\n01\n", {0, 0}, "10\n00\n"},
        {"hole left out",
         "11111\n10001\n10201\n10001\n11111\n",
         {1, 1},
         "00000\n01110\n01010\n01110\n00000\n"},
        {"strip along the left edge", "12\n12\n12\n12\n", {0, 3}, "10\n10\n10\n10\n"},
        {"strip along the right edge, width across the row padding",
         "22221\n22221\n",
         {4, 0},
         "00001\n00001\n"},
        {"spiral reached through a long path",
         "000000\n011110\n010010\n010110\n010000\n",
         {1, 1},
         "000000\n011110\n010010\n010110\n010000\n"},
        {"U shape: two arms joined below", "1.1\n1.1\n111\n", {0, 0}, "101\n101\n111\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto source = from_grid(c.picture);
        auto expected = from_grid(c.region);
        Surface region;
        ASSERT_TRUE(region.create(source->width(), source->height()));
        fill(region, 0);
        RECT box{};
        EXPECT_TRUE(region_fill(region, *source, c.seed.x, c.seed.y, 1, nullptr, &box));
        EXPECT_EQ(grid(region), grid(*expected));
        // The box holds exactly the marked pixels.
        RECT want{source->width(), source->height(), -1, -1};
        for (int y = 0; y < source->height(); ++y)
            for (int x = 0; x < source->width(); ++x)
                if (at(*expected, x, y) == 1)
                    want = {std::min<LONG>(want.left, x), std::min<LONG>(want.top, y),
                            std::max<LONG>(want.right, x), std::max<LONG>(want.bottom, y)};
        EXPECT_EQ(box.left, want.left);
        EXPECT_EQ(box.top, want.top);
        EXPECT_EQ(box.right, want.right);
        EXPECT_EQ(box.bottom, want.bottom);
    }
}

TEST(RegionFill, BoundsLimitTheRegionAndRefuseASeedOutside) {
    auto source = from_grid("0000\n0000\n0000\n");
    Surface region;
    ASSERT_TRUE(region.create(4, 3));
    fill(region, 0);
    const RECT bounds{1, 0, 2, 1};
    EXPECT_TRUE(region_fill(region, *source, 1, 1, 7, &bounds));
    EXPECT_EQ(grid(region), "0770\n0770\n0000\n");
    EXPECT_FALSE(region_fill(region, *source, 3, 1, 7, &bounds));
    EXPECT_FALSE(region_fill(region, *source, -1, 0, 7));
    EXPECT_FALSE(region_fill(region, *source, 0, 3, 7));
    Surface other;
    ASSERT_TRUE(other.create(5, 3));
    EXPECT_FALSE(region_fill(other, *source, 0, 0, 7)) << "planes of another size";
}

// A plain recursive-free pixel flood as the reference on random pictures.
std::vector<BYTE> reference(const Surface& s, int sx, int sy) {
    const int w = s.width(), h = s.height();
    std::vector<BYTE> marked(std::size_t(w) * h, 0);
    const BYTE c = at(const_cast<Surface&>(s), sx, sy);
    std::vector<POINT> todo{{sx, sy}};
    while (!todo.empty()) {
        const POINT p = todo.back();
        todo.pop_back();
        if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h) continue;
        BYTE& m = marked[std::size_t(p.y) * w + p.x];
        if (m || at(const_cast<Surface&>(s), p.x, p.y) != c) continue;
        m = 1;
        todo.insert(todo.end(), {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}});
    }
    return marked;
}

TEST(RegionFill, AgreesWithAPixelFloodOnRandomPictures) {
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        const int w = 1 + int(random() % 19), h = 1 + int(random() % 13);
        Surface source, region;
        ASSERT_TRUE(source.create(w, h) && region.create(w, h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                at(source, x, y) = BYTE(random() % 2);
        fill(region, 0);
        const int x = int(random() % w), y = int(random() % h);
        ASSERT_TRUE(region_fill(region, source, x, y, 1));
        const std::vector<BYTE> want = reference(source, x, y);
        for (int py = 0; py < h; ++py)
            for (int px = 0; px < w; ++px)
                ASSERT_EQ(at(region, px, py), want[std::size_t(py) * w + px])
                    << round << " at " << px << "," << py;
    }
}

} // namespace
