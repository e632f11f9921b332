#include "app/cli/cli.h"
#include "app/imageops/decrease_colours.h"
#include "app/imageops/resize.h"
#include "app/files/open.h"
#include "app/files/save.h"
#include "tests/support/drawing_fixture.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

using drawing_test::at;
using drawing_test::DocumentPtr;
using drawing_test::fill;
using drawing_test::grid;

struct Ran {
    int status;
    std::string out;
    std::string err;
};

Ran run(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = run_cli(args, {in, out, err, false});
    return {status, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(make_file_type_table(types, 0));
        native::fail_writes_after(-1);
    }
    void TearDown() override {
        native::fail_writes_after(-1);
        free_file_type_table(types);
    }

    // A 3 x 2 picture of three layers: the bottom one a small pattern, the
    // others filled with 2 and 3; a 16-colour palette.
    DocumentPtr layered() {
        DocumentPtr doc = drawing_test::picture(3, 2, 1);
        Surface& bottom = *bottom_layer(*doc)->image;
        at(bottom, 0, 0) = 4;
        at(bottom, 2, 1) = 5;
        for (int i = 0; i < 16; ++i)
            bottom.colour_table()[i] = {BYTE(i * 16), BYTE(255 - i * 16), BYTE(i * 8), 0};
        update_palette(*doc);
        int interval = 100;
        for (BYTE value : {2, 3}) {
            Layer* layer = add_layer_above(*doc);
            fill(*layer->image, value);
            layer->interval = interval += 100;
            layer->disposal = 2;
        }
        return doc;
    }

    std::string save_vlx(PictureDocument& doc, const std::string& name) {
        const std::string path = folder.file(name);
        std::snprintf(doc.file_name, sizeof doc.file_name, "%s", path.c_str());
        doc.file_type = FileTypeId::Native;
        EXPECT_EQ(save_picture_file(doc, types, {}), 1);
        return path;
    }

    DocumentPtr read(const std::string& path, FileTypeId type) {
        return DocumentPtr(open_picture_file(path.c_str(), type, types, types, nullptr));
    }

    std::vector<std::string> layer_grids(PictureDocument& doc) {
        std::vector<std::string> grids;
        for (LayerNode* node = doc.layers->next; node != doc.layers; node = node->next)
            grids.push_back(grid(*node->layer->image));
        return grids;
    }

    TestFolder folder;
    FileTypeTable types;
};

TEST_F(CliTest, ConvertRoundTripsThroughEveryFormat) {
    DocumentPtr doc = drawing_test::picture(9, 3, 1);
    Surface& image = *bottom_layer(*doc)->image;
    for (int x = 0; x < 9; ++x)
        at(image, x, x % 3) = BYTE(x);
    const std::string source = save_vlx(*doc, "a.vlx");
    const std::string expected = grid(image);
    for (const char* format : {"vlx", "bmp", "gif", "png"}) {
        SCOPED_TRACE(format);
        const std::string there = folder.file(std::string("b.") + format);
        const std::string back = folder.file(std::string("c-") + format + ".vlx");
        ASSERT_EQ(run({"convert", source, there}).status, kExitOk);
        const Ran ran = run({"convert", there, back});
        ASSERT_EQ(ran.status, kExitOk) << ran.err;
        DocumentPtr result = read(back, FileTypeId::Native);
        ASSERT_TRUE(result);
        EXPECT_EQ(grid(*bottom_layer(*result)->image), expected);
        EXPECT_EQ(std::memcmp(bottom_layer(*result)->image->colour_table(), image.colour_table(),
                              16 * sizeof(RGBQUAD)),
                  0);
    }
}

TEST_F(CliTest, ConvertOptionsReachTheFile) {
    DocumentPtr doc = layered();
    const std::string source = save_vlx(*doc, "a.vlx");
    const std::string bmp = folder.file("four.bmp");
    ASSERT_EQ(run({"convert", source, bmp, "--bits", "4"}).status, kExitOk);
    EXPECT_EQ(file_bytes(bmp)[28], 4); // biBitCount

    const std::string gif = folder.file("keyed.gif");
    const Ran ran = run({"convert", source, gif, "--bits", "4", "--transparent", "3", "--interlace",
                         "--comment", "made by a pipeline"});
    ASSERT_EQ(ran.status, kExitOk) << ran.err;
    DocumentPtr read_back = read(gif, FileTypeId::Gif);
    ASSERT_TRUE(read_back);
    EXPECT_EQ(read_back->gif_colour_bits, 4);
    EXPECT_TRUE(read_back->gif_options & kGifInterlaced);
    EXPECT_TRUE(read_back->gif_options & kGifTransparent);
    EXPECT_EQ(bottom_layer(*read_back)->key_colour, 3);
    EXPECT_STREQ(read_back->gif_comment, "made by a pipeline");
    // A still GIF holds the composite: the top layer covers the others.
    EXPECT_EQ(grid(*bottom_layer(*read_back)->image), "333\n333\n");

    EXPECT_EQ(run({"convert", source, folder.file("x.vlx"), "--bits", "4"}).status, kExitFailed);
    EXPECT_EQ(run({"convert", source, bmp, "--bits", "5"}).status, kExitFailed);
}

TEST_F(CliTest, ExportGifWritesEveryLayerAsAFrame) {
    DocumentPtr doc = layered();
    const std::string source = save_vlx(*doc, "a.vlx");
    const std::string gif = folder.file("anim.gif");
    Ran ran = run({"export-gif", source, gif, "--loop", "3"});
    ASSERT_EQ(ran.status, kExitOk) << ran.err;
    DocumentPtr result = read(gif, FileTypeId::Gif);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->layer_count, 3);
    EXPECT_EQ(result->gif_repeat_count, 3);
    EXPECT_EQ(layer_grids(*result), layer_grids(*doc));

    // A GIF's animation settings come through a second export unchanged.
    const std::string again = folder.file("again.gif");
    ASSERT_EQ(run({"export-gif", gif, again}).status, kExitOk);
    EXPECT_EQ(file_bytes(again), file_bytes(gif));
}

TEST_F(CliTest, SheetAndSplitAreInverse) {
    DocumentPtr doc = layered();
    const std::string source = save_vlx(*doc, "a.vlx");
    const std::string sheet = folder.file("sheet.png");
    Ran ran = run({"sheet", source, sheet, "--columns", "2", "--padding", "1"});
    ASSERT_EQ(ran.status, kExitOk) << ran.err;
    // PNG is not in the test's tables: the program reads it back.
    const std::string sheet_vlx = folder.file("sheet.vlx");
    ASSERT_EQ(run({"convert", sheet, sheet_vlx}).status, kExitOk);
    DocumentPtr as_picture = read(sheet_vlx, FileTypeId::Native);
    ASSERT_TRUE(as_picture);
    EXPECT_EQ(grid(*bottom_layer(*as_picture)->image),
              "411.222\n115.222\n.......\n333....\n333....\n");

    const std::string cells = folder.file("cells");
    ran = run({"split", sheet_vlx, cells, "--cell", "3x2", "--padding", "1", "--to", "bmp"});
    ASSERT_EQ(ran.status, kExitOk) << ran.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cells), {}), 4);
    const std::vector<std::string> layers = layer_grids(*doc);
    for (int i = 0; i < 3; ++i) {
        DocumentPtr cell =
            read(cells + "/sheet-00" + std::to_string(i + 1) + ".bmp", FileTypeId::Bmp);
        ASSERT_TRUE(cell);
        EXPECT_EQ(grid(*bottom_layer(*cell)->image), layers[i]);
    }

    const std::string frames = folder.file("frames");
    ASSERT_EQ(run({"split", source, frames, "--to", "gif"}).status, kExitOk);
    DocumentPtr second = read(frames + "/a-002.gif", FileTypeId::Gif);
    ASSERT_TRUE(second);
    EXPECT_EQ(grid(*bottom_layer(*second)->image), layers[1]);
}

TEST_F(CliTest, PaletteExtractAndApply) {
    DocumentPtr doc = layered();
    const std::string source = save_vlx(*doc, "a.vlx");
    const std::string vlf = folder.file("p.vlf");
    ASSERT_EQ(run({"palette", "extract", source, vlf}).status, kExitOk);
    const std::vector<unsigned char> bytes = file_bytes(vlf);
    ASSERT_EQ(bytes.size(), 144u + 1024u);
    EXPECT_EQ(std::memcmp(bytes.data() + 144, bottom_layer(*doc)->image->colour_table(), 1024), 0);

    // The palette with entries 1 and 4 exchanged: remapping keeps the look.
    std::vector<unsigned char> swapped = bytes;
    for (int c = 0; c < 4; ++c)
        std::swap(swapped[144 + 4 + c], swapped[144 + 16 + c]);
    put_file(vlf, swapped);
    const std::string remapped = folder.file("r.vlx"), kept = folder.file("k.vlx");
    ASSERT_EQ(run({"palette", "apply", source, vlf, remapped}).status, kExitOk);
    ASSERT_EQ(run({"palette", "apply", source, vlf, kept, "--keep-indexes"}).status, kExitOk);
    DocumentPtr r = read(remapped, FileTypeId::Native), k = read(kept, FileTypeId::Native);
    ASSERT_TRUE(r && k);
    EXPECT_EQ(grid(*bottom_layer(*r)->image), "144\n445\n");
    EXPECT_EQ(grid(*bottom_layer(*k)->image), grid(*bottom_layer(*doc)->image));
    EXPECT_EQ(bottom_layer(*k)->image->colour_table()[4].rgbBlue,
              bottom_layer(*doc)->image->colour_table()[1].rgbBlue);
}

TEST_F(CliTest, DecreaseWritesWhatDecreaseColorsMakes) {
    DocumentPtr doc = layered();
    const std::string source = save_vlx(*doc, "a.vlx"), target = folder.file("d.vlx");
    ASSERT_EQ(run({"decrease", source, target, "--colors", "2", "--dither"}).status, kExitOk);
    DocumentPtr expected = read(source, FileTypeId::Native),
                result = read(target, FileTypeId::Native);
    ASSERT_TRUE(expected && result);
    DecreaseRequest request;
    request.colours = 2;
    request.dither = true;
    ASSERT_TRUE(decrease_colours(*expected, request));
    EXPECT_EQ(layer_grids(*result), layer_grids(*expected));
}

TEST_F(CliTest, ResizeWritesWhatResizePictureMakes) {
    DocumentPtr doc = layered();
    const std::string source = save_vlx(*doc, "a.vlx");
    struct Case {
        std::vector<std::string> options;
        int width, height;
        ResizeMode mode;
    };
    const Case cases[] = {{{"--scale", "200"}, 6, 4, ResizeMode::Stretch},
                          {{"--size", "5x1", "--crop"}, 5, 1, ResizeMode::Crop}};
    for (const Case& c : cases) {
        const std::string target = folder.file("r.vlx");
        std::vector<std::string> args{"resize", source, target};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(run(args).status, kExitOk) << c.options[0];
        DocumentPtr expected = read(source, FileTypeId::Native);
        DocumentPtr result = read(target, FileTypeId::Native);
        ASSERT_TRUE(expected && result);
        ASSERT_TRUE(resize_picture(*expected, c.width, c.height, c.mode));
        EXPECT_EQ(layer_grids(*result), layer_grids(*expected)) << c.options[0];
    }
}

TEST_F(CliTest, StandardInputAndOutput) {
    DocumentPtr doc = layered();
    const std::string source = save_vlx(*doc, "a.vlx");
    const std::string file = folder.file("a.bmp");
    ASSERT_EQ(run({"convert", source, file}).status, kExitOk);
    const std::vector<unsigned char> bytes = file_bytes(source);
    const Ran ran =
        run({"convert", "-", "-", "--to", "bmp"}, std::string(bytes.begin(), bytes.end()));
    ASSERT_EQ(ran.status, kExitOk) << ran.err;
    const std::vector<unsigned char> expected = file_bytes(file);
    EXPECT_EQ(ran.out, std::string(expected.begin(), expected.end()));
    EXPECT_EQ(run({"convert", source, "-"}).status, kExitUsage); // no format for -
}

TEST_F(CliTest, InfoGivesTheRecords) {
    DocumentPtr doc = layered();
    const std::string source = save_vlx(*doc, "a.vlx");
    const Ran ran = run({"info", "--json", source});
    ASSERT_EQ(ran.status, kExitOk) << ran.err;
    for (const char* field : {"\"format\": \"vlx\"", "\"width\": 3", "\"height\": 2",
                              "\"frames\": 3", "\"colors_used\": 5", "\"name\": \"Layer:03\""})
        EXPECT_NE(ran.out.find(field), std::string::npos) << field << " in " << ran.out;
}

TEST_F(CliTest, FailuresSayWhyAndLeaveTheOutputAlone) {
    DocumentPtr doc = layered();
    const std::string source = save_vlx(*doc, "a.vlx");
    const std::string target = folder.file("old.gif");
    put_file(target, {'o', 'l', 'd'});
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const std::string not_picture = folder.file("text.gif");
    put_file(not_picture, {'h', 'e', 'l', 'l', 'o'});
    const std::string cut = folder.file("cut.vlx");
    put_file(cut, {'V', 'L', 'X'});
    const Case cases[] = {
        {{"convert", folder.file("missing.vlx"), target}, kExitFailed, "no such file"},
        {{"convert", source, target, "--frob"}, kExitUsage, "unknown option --frob"},
        {{"decrease", source, target}, kExitUsage, "decrease needs --colors N"},
        {{"resize", source, target}, kExitUsage, "resize needs one of"},
        {{"resize", source, target, "--scale", "50", "--size", "2x2"},
         kExitUsage,
         "resize needs one of"},
        {{"decrease", source, target, "--colors", "129"}, kExitUsage, "--colors: '129'"},
        {{"convert", not_picture, target}, kExitFailed, "text.gif: cannot be read"},
        {{"convert", cut, target}, kExitFailed, "cut.vlx: cannot be read (Error)"},
        {{"convert", source, folder.file("x.tga")}, kExitUsage, "unknown output format"},
        {{"convert", source, target, "--to", "tga"}, kExitUsage, "unknown format 'tga'"},
        {{"convert", source, source + "/in/a/file.gif"}, kExitFailed, "cannot be written"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const Ran ran = run(c.args);
        EXPECT_EQ(ran.status, c.status);
        EXPECT_NE(ran.err.find(c.message), std::string::npos) << ran.err;
        EXPECT_EQ(std::count(ran.err.begin(), ran.err.end(), '\n'), 1);
        EXPECT_TRUE(ran.out.empty());
        EXPECT_EQ(file_bytes(target), std::vector<unsigned char>({'o', 'l', 'd'}));
    }
    // A write that fails halfway (a full disk) keeps the old file.
    native::fail_writes_after(100);
    const Ran ran = run({"convert", source, target});
    EXPECT_EQ(ran.status, kExitFailed);
    EXPECT_NE(ran.err.find("old.gif: cannot be written"), std::string::npos) << ran.err;
    native::fail_writes_after(-1);
    EXPECT_EQ(file_bytes(target), std::vector<unsigned char>({'o', 'l', 'd'}));
}

} // namespace
