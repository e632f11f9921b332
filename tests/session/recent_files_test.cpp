#include "app/session/recent_files.h"

#include "tests/support/memory_store.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> entries(MemoryStore& store) {
    std::vector<std::string> list;
    for (int i = 0; i < kRecentCount; ++i) {
        std::string e = recent_entry(store, i);
        if (e.empty()) break;
        list.push_back(e);
    }
    return list;
}

using List = std::vector<std::string>;

TEST(RecentFiles, FirstAddOnAnEmptyListAppendsItemOne) {
    MemoryStore store;
    RecentAddResult r = recent_add(store, "C:\\a.vlx");
    EXPECT_EQ(r.count, 1);
    EXPECT_TRUE(r.appended);
    EXPECT_EQ(entries(store), List{"C:\\a.vlx"});
    EXPECT_EQ(recent_menu_text(0, "C:\\a.vlx"), "&1 C:\\a.vlx");
    EXPECT_EQ(recent_menu_text(4, "x"), "&5 x");
}

TEST(RecentFiles, AnEntryAlreadyListedMovesToTheTop) {
    MemoryStore store;
    for (const char* p : {"c", "b", "a"})
        recent_add(store, p);
    ASSERT_EQ(entries(store), (List{"a", "b", "c"}));
    RecentAddResult r = recent_add(store, "c");
    EXPECT_EQ(r.count, 3);
    EXPECT_FALSE(r.appended);
    EXPECT_EQ(entries(store), (List{"c", "a", "b"}));

    // Adding the top entry again changes nothing.
    r = recent_add(store, "c");
    EXPECT_EQ(r.count, 3);
    EXPECT_FALSE(r.appended);
    EXPECT_EQ(entries(store), (List{"c", "a", "b"}));
}

TEST(RecentFiles, ASixthFileDropsTheOldest) {
    MemoryStore store;
    for (const char* p : {"1", "2", "3", "4", "5"}) {
        RecentAddResult r = recent_add(store, p);
        EXPECT_TRUE(r.appended);
    }
    RecentAddResult r = recent_add(store, "6");
    EXPECT_EQ(r.count, 5);
    EXPECT_FALSE(r.appended);
    EXPECT_EQ(entries(store), (List{"6", "5", "4", "3", "2"}));

    // The oldest of a full list moves up without losing anything else.
    r = recent_add(store, "2");
    EXPECT_EQ(r.count, 5);
    EXPECT_FALSE(r.appended);
    EXPECT_EQ(entries(store), (List{"2", "6", "5", "4", "3"}));
}

TEST(RecentFiles, PathsDifferingOnlyInCaseAreTwoEntries) {
    MemoryStore store;
    recent_add(store, "C:\\Pic.gif");
    RecentAddResult r = recent_add(store, "c:\\pic.gif");
    EXPECT_EQ(r.count, 2);
    EXPECT_TRUE(r.appended);
    EXPECT_EQ(entries(store), (List{"c:\\pic.gif", "C:\\Pic.gif"}));
}

TEST(RecentFiles, EntryReadsOutsideTheListAreEmpty) {
    MemoryStore store;
    recent_add(store, "a");
    EXPECT_EQ(recent_entry(store, 1), "");
    EXPECT_EQ(recent_entry(store, -1), "");
    EXPECT_EQ(recent_entry(store, 5), "");
    // A value of another type is no entry.
    store.write_dword("latest_1", 3);
    EXPECT_EQ(recent_entry(store, 1), "");
}

} // namespace
