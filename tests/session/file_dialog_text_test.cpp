#include "app/session/file_dialog_text.h"

#include <gtest/gtest.h>

namespace {

class FileDialogText : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(make_file_type_table(types, 1));
        ASSERT_TRUE(add_file_type(types, "png", "PNG Image(*.PNG)", nullptr));
    }
    void TearDown() override { free_file_type_table(types); }
    FileTypeTable types;
};

using namespace std::string_literals;

TEST_F(FileDialogText, OpenListStartsWithAllImageTypes) {
    EXPECT_EQ(open_filter_list(types), "All Image Types\0*.vlx;*.bmp;*.gif;*.png\0"
                                       "Velmo Image(*.VLX)\0*.vlx\0DIB Bitmap(*.BMP)\0*.bmp\0"
                                       "GIF Image(*.GIF)\0*.gif\0PNG Image(*.PNG)\0*.png\0\0"s);
}

TEST_F(FileDialogText, SaveListsFromTheFirstTypeAsked) {
    EXPECT_EQ(save_filter_list(types, FileTypeId::Native),
              "Velmo Image(*.VLX)\0*.vlx\0DIB Bitmap(*.BMP)\0*.bmp\0"
              "GIF Image(*.GIF)\0*.gif\0PNG Image(*.PNG)\0*.png\0\0"s);
    // Copy to File offers no native type.
    EXPECT_EQ(save_filter_list(types, FileTypeId::Bmp).substr(0, 18), "DIB Bitmap(*.BMP)\0"s);
}

TEST_F(FileDialogText, AllImageTypesGoesByExtensionOtherFiltersByPosition) {
    EXPECT_EQ(opened_type(1, "C:\\PIC.GIF", types), FileTypeId::Gif);
    EXPECT_EQ(opened_type(1, "C:\\a.png", types), FileTypeId::FirstAddIn);
    EXPECT_EQ(opened_type(1, "C:\\notes.txt", types), FileTypeId::None);
    // A chosen filter wins over the extension.
    EXPECT_EQ(opened_type(3, "C:\\really_a_bmp.gif", types), FileTypeId::Bmp);
    EXPECT_EQ(opened_type(2, "x", types), FileTypeId::Native);
    EXPECT_EQ(opened_type(5, "x", types), FileTypeId::FirstAddIn);
    EXPECT_EQ(opened_type(6, "x.vlx", types), FileTypeId::None);
    EXPECT_EQ(opened_type(9, "x.vlx", types), FileTypeId::None);
}

// The save dialog's filters count from 1 over the list that starts at
// `first`: each type preselects the filter that gives it back, and what the
// list does not hold preselects its first filter and is no choice.
TEST_F(FileDialogText, SaveFiltersAndTypesMapBothWays) {
    const struct {
        FileTypeId first;
        FileTypeId type;
        DWORD filter;
    } cases[] = {
        {FileTypeId::Native, FileTypeId::Native, 1},     {FileTypeId::Native, FileTypeId::Gif, 3},
        {FileTypeId::Native, FileTypeId::FirstAddIn, 4}, {FileTypeId::Bmp, FileTypeId::Bmp, 1},
        {FileTypeId::Bmp, FileTypeId::FirstAddIn, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(save_filter_of(c.type, c.first, types), c.filter) << c.filter;
        EXPECT_EQ(saved_type(c.filter, c.first, types), c.type) << c.filter;
    }
    for (FileTypeId outside : {FileTypeId::None, type_at(kBuiltInTypes + 1)})
        EXPECT_EQ(save_filter_of(outside, FileTypeId::Native, types), 1u);
    // Copy to File's list offers no native type.
    EXPECT_EQ(save_filter_of(FileTypeId::Native, FileTypeId::Bmp, types), 1u);
    for (DWORD filter : {0u, 5u, 0xFFFFFFFFu})
        EXPECT_EQ(saved_type(filter, FileTypeId::Native, types), FileTypeId::None) << filter;
    EXPECT_EQ(saved_type(4, FileTypeId::Bmp, types), FileTypeId::None);
}

TEST_F(FileDialogText, InitialNameDropsOnlyAKnownExtension) {
    EXPECT_EQ(initial_save_name("untitled1.vlx", types), "untitled1");
    EXPECT_EQ(initial_save_name("C:\\pics\\Sprite.GIF", types), "C:\\pics\\Sprite");
    EXPECT_EQ(initial_save_name("C:\\pics\\notes.txt", types), "C:\\pics\\notes.txt");
}

TEST_F(FileDialogText, TheChosenTypesExtensionIsAddedUnlessPresent) {
    EXPECT_EQ(with_extension("pic", "gif"), "pic.gif");
    EXPECT_EQ(with_extension("pic.gif", "gif"), "pic.gif");
    // Any three letters after a dot count: GIF data may go into pic.bmp.
    EXPECT_EQ(with_extension("pic.bmp", "gif"), "pic.bmp");
    EXPECT_EQ(with_extension("pic.jpeg", "gif"), "pic.jpeg.gif");
    EXPECT_EQ(with_extension("", "vlx"), ".vlx");
}

} // namespace

namespace {

TEST(FileNames, AQuestionMarkMeansTheSystemLostCharacters) {
    EXPECT_FALSE(name_lost_characters("C:\\pictures\\sprite.gif"));
    EXPECT_FALSE(name_lost_characters("C:\\pictures\\\xE7\xB5\xB5.gif"));
    EXPECT_FALSE(name_lost_characters(""));
    EXPECT_FALSE(name_lost_characters(nullptr));
    EXPECT_TRUE(name_lost_characters("C:\\pictures\\?.gif"));
    EXPECT_TRUE(name_lost_characters("C:\\?\\a.gif"));
}

} // namespace
