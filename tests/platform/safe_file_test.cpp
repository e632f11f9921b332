#include "platform/io/safe_file.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

using Bytes = std::vector<unsigned char>;

TEST(SafeFile, TheTemporaryFileGoesIntoTheTargetsFolder) {
    const struct {
        const char* path;
        std::size_t folder;
    } cases[] = {
        {"C:\\x.gif", 3}, // a drive's root keeps its separator
        {"C:x.gif", 2},   // drive C's current folder
        {"x.gif", 0},     // the current folder
        {"/x.gif", 1},      {"a/b/c.gif", 4},
        {"a\\b/c.gif", 4}, // both separators count
        {"a/b\\c.gif", 4},  {"\\\\server\\share\\x.gif", 15},
        {"dir.v2/name", 7}, // a dot in a folder is no extension
    };
    for (const auto& c : cases)
        EXPECT_EQ(io::folder_part_length(c.path), c.folder) << c.path;
}

class SafeWriterTest : public ::testing::Test {
  protected:
    void TearDown() override { native::fail_writes_after(-1); }

    TestFolder folder_;
    std::string target_ = folder_.file("picture.gif");
};

TEST_F(SafeWriterTest, EveryFailureKeepsTheOldFileAndRemovesTheTemporaryOne) {
    const Bytes old{'o', 'l', 'd'};
    const Bytes content(5000, 7);
    enum class Fault { None, DiskFullAtOnce, DiskFullMidway, WriterGivesUp, TargetIsAFolder };
    const struct {
        Fault fault;
        bool saved;
    } cases[] = {{Fault::DiskFullAtOnce, false},
                 {Fault::DiskFullMidway, false},
                 {Fault::WriterGivesUp, false},
                 {Fault::TargetIsAFolder, false},
                 {Fault::None, true}};
    for (const auto& c : cases) {
        TestFolder folder;
        const std::string target = folder.file("picture.gif");
        if (c.fault == Fault::TargetIsAFolder)
            std::filesystem::create_directory(target);
        else
            put_file(target, old);
        if (c.fault == Fault::DiskFullAtOnce) native::fail_writes_after(0);
        if (c.fault == Fault::DiskFullMidway) native::fail_writes_after(1000);
        const bool saved = io::write_replacing(target.c_str(), [&](HANDLE file) {
            return io::write_all(file, content.data(), content.size()) &&
                   c.fault != Fault::WriterGivesUp;
        });
        native::fail_writes_after(-1);
        EXPECT_EQ(saved, c.saved) << int(c.fault);
        if (c.fault == Fault::TargetIsAFolder)
            EXPECT_TRUE(std::filesystem::is_directory(target));
        else
            EXPECT_EQ(file_bytes(target), c.saved ? content : old) << int(c.fault);
        EXPECT_EQ(folder.entries(), 1u) << int(c.fault);
    }
}

TEST_F(SafeWriterTest, AFolderThatTakesNoFileRefusesTheSave) {
    io::SafeWriter writer(folder_.file("missing/picture.gif").c_str());
    EXPECT_FALSE(writer.open());
    EXPECT_FALSE(writer.write("x", 1));
    EXPECT_FALSE(writer.commit());
    EXPECT_FALSE(io::SafeWriter(nullptr).open());
    EXPECT_FALSE(io::SafeWriter("").open());
}

// Folders longer than MAX_PATH - 14 characters, which GetTempFileNameA
// refuses, save like any other.
TEST_F(SafeWriterTest, LongPathsAndBareNamesSaveLikeAnyOther) {
    std::filesystem::path deep = folder_.path();
    while (deep.string().size() < MAX_PATH + 40)
        deep /= "a-rather-long-folder-name";
    std::filesystem::create_directories(deep);
    const std::string target = (deep / "picture.gif").string();
    put_file(target, {1});
    const Bytes content{1, 2, 3};
    EXPECT_TRUE(io::write_replacing(target.c_str(), [&](HANDLE file) {
        return io::write_all(file, content.data(), content.size());
    }));
    EXPECT_EQ(file_bytes(target), content);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(deep), {}), 1);

    const std::string previous = std::filesystem::current_path().string();
    ASSERT_EQ(::chdir(folder_.path().c_str()), 0);
    const bool saved = io::write_replacing("bare.gif", [&](HANDLE file) {
        return io::write_all(file, content.data(), content.size());
    });
    ASSERT_EQ(::chdir(previous.c_str()), 0);
    EXPECT_TRUE(saved);
    EXPECT_EQ(file_bytes(folder_.file("bare.gif")), content);
}

// Add-In encoders write by name into the reserved temporary file, which
// ends in the target's extension; only a file that holds bytes replaces the
// target.
TEST_F(SafeWriterTest, WritersByNameFillTheReservedFile) {
    const Bytes old{'o', 'l', 'd'};
    for (const bool writes : {false, true}) {
        put_file(target_, old);
        io::SafeWriter writer(target_.c_str());
        ASSERT_TRUE(writer.open());
        const char* name = writer.hand_over_by_name();
        ASSERT_NE(name, nullptr);
        const std::string temporary = name;
        EXPECT_EQ(std::filesystem::path(temporary).parent_path(), folder_.path());
        EXPECT_EQ(std::filesystem::path(temporary).extension(), ".gif");
        if (writes) put_file(temporary, {4, 5});
        EXPECT_EQ(writer.commit(), writes);
        EXPECT_EQ(file_bytes(target_), writes ? Bytes({4, 5}) : old);
        EXPECT_EQ(folder_.entries(), 1u);
    }
}

} // namespace
