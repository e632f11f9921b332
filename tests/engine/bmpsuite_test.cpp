// The public BMP suite: good files of 8 bits or less read to the colours of
// their reference renderings, deeper ones are refused with the depth message,
// and questionable and bad files end in a picture or a refusal, never in a
// crash or a read out of bounds (the sanitize build runs this under ASan).
#include "codec_support.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

using namespace codec_test;

namespace {

const std::filesystem::path kSuite = std::filesystem::path(VELMO_TESTDATA) / "bmpsuite";

struct Rgb {
    int width = 0, height = 0;
    Bytes pixels; // red, green, blue, top row first
};

Rgb read_png(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Rgb rgb;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return rgb;
    image.format = PNG_FORMAT_RGB;
    rgb.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.pixels.data(), 0, nullptr)) return Rgb{};
    rgb.width = int(image.width);
    rgb.height = int(image.height);
    return rgb;
}

Rgb colours_of(const BITMAPINFOHEADER* dib) {
    Rgb rgb{dib->biWidth, rows_of(dib), {}};
    const RGBQUAD* table = io::colour_table(dib);
    for (int y = 0; y < rgb.height; ++y)
        for (int x = 0; x < rgb.width; ++x) {
            const RGBQUAD c = table[pixel(dib, x, y)];
            rgb.pixels.insert(rgb.pixels.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
        }
    return rgb;
}

::testing::AssertionResult same_colours(const Rgb& expected, const Rgb& actual) {
    if (expected.width != actual.width || expected.height != actual.height)
        return ::testing::AssertionFailure()
               << "size " << actual.width << " x " << actual.height << ", reference "
               << expected.width << " x " << expected.height;
    for (std::size_t i = 0; i < expected.pixels.size(); i += 3)
        if (std::memcmp(&expected.pixels[i], &actual.pixels[i], 3) != 0) {
            const std::size_t p = i / 3;
            return ::testing::AssertionFailure()
                   << "pixel (" << p % std::size_t(actual.width) << ", "
                   << p / std::size_t(actual.width) << ") differs";
        }
    return ::testing::AssertionSuccess();
}

unsigned depth_of(const Bytes& file) {
    const std::uint32_t header = std::uint32_t(file[14] | file[15] << 8 | file[16] << 16);
    return header == 12 ? unsigned(file[24] | file[25] << 8) : unsigned(file[28] | file[29] << 8);
}

// Files drawn like another file's reference. Where a reference shows
// undefined pixels two ways, "-0" is the rendering with colour index 0, what
// this reader leaves in pixels an RLE stream skips.
const std::map<std::string, std::string> kSameAs = {
    {"pal1wb", "pal1"},
    {"pal4rle", "pal4"},
    {"pal8-0", "pal8"},
    {"pal8os2", "pal8"},
    {"pal8rle", "pal8"},
    {"pal8topdown", "pal8"},
    {"pal8v4", "pal8"},
    {"pal8v5", "pal8"},
    {"pal8nonsquare", "pal8nonsquare-e"},
    {"pal8offs", "pal8"},
    {"pal8os2-hs", "pal8"},
    {"pal8os2-sz", "pal8"},
    {"pal8os2sp", "pal8"},
    {"pal8os2v2", "pal8"},
    {"pal8os2v2-16", "pal8"},
    {"pal8os2v2-40sz", "pal8"},
    {"pal8os2v2-sz", "pal8"},
    {"pal8oversizepal", "pal8"},
    {"pal4rlecut", "pal4rlecut-0"},
    {"pal4rletrns", "pal4rletrns-0"},
    {"pal8rlecut", "pal8rlecut-0"},
    {"pal8rletrns", "pal8rletrns-0"},
};

std::filesystem::path reference_for(const std::string& stem) {
    const auto alias = kSameAs.find(stem);
    return kSuite / "reference" / ((alias == kSameAs.end() ? stem : alias->second) + ".png");
}

std::vector<std::filesystem::path> files_in(const std::string& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code missing;
    std::filesystem::directory_iterator listing(kSuite / folder, missing);
    if (missing) {
        ADD_FAILURE() << "test data folder " << kSuite / folder << " not found ("
                      << missing.message() << "); configure with -DVELMO_TESTDATA=<folder>";
        return files;
    }
    for (const auto& entry : listing)
        if (entry.path().extension() == ".bmp") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

const std::set<std::string> kMessages = {"Open Error", "It's not Bitmap", "Read Error",
                                         "Can't read over 8bit color", "Create Error"};

} // namespace

TEST(BmpSuite, GoodFilesReadToTheirReferenceOrAreRefusedAsTooDeep) {
    const auto files = files_in("g");
    ASSERT_GT(files.size(), 20u) << kSuite;
    int compared = 0;
    for (const auto& path : files) {
        const std::string stem = path.stem().string();
        const Bytes bytes = file_bytes(path);
        native::reset_message_boxes();
        Dib dib = read_bmp(bytes);
        if (depth_of(bytes) > 8) {
            EXPECT_FALSE(dib) << stem;
            EXPECT_EQ("Can't read over 8bit color", native::last_message_box().text) << stem;
            EXPECT_EQ("Read Error", native::last_message_box().caption) << stem;
            continue;
        }
        ASSERT_TRUE(dib) << stem << ": " << native::last_message_box().text;
        const Rgb reference = read_png(reference_for(stem));
        ASSERT_GT(reference.width, 0) << stem << ": no reference";
        EXPECT_TRUE(same_colours(reference, colours_of(dib.get()))) << stem;
        ++compared;
    }
    EXPECT_EQ(18, compared);
}

// A questionable file either reads (and then, where the suite has a
// rendering, to that rendering) or is refused with one of the reader's
// messages; a bad file may also read as far as it safely can.
TEST(BmpSuite, QuestionableAndBadFilesGiveAPictureOrARefusal) {
    int compared = 0;
    for (const std::string folder : {"q", "b"}) {
        for (const auto& path : files_in(folder)) {
            const std::string stem = path.stem().string();
            native::reset_message_boxes();
            Dib dib = read_bmp(file_bytes(path));
            if (!dib) {
                EXPECT_EQ(1, native::last_message_box().count) << stem;
                EXPECT_TRUE(kMessages.count(native::last_message_box().text)) << stem;
                continue;
            }
            EXPECT_EQ(0, native::last_message_box().count) << stem;
            const std::filesystem::path reference = reference_for(stem);
            if (folder == "q" && std::filesystem::exists(reference)) {
                EXPECT_TRUE(same_colours(read_png(reference), colours_of(dib.get()))) << stem;
                ++compared;
            }
        }
    }
    // Every palette file among the questionable ones reads: 1 and 2 bits,
    // OS/2 headers of every size, odd offsets and tables, cut RLE.
    EXPECT_EQ(16, compared);
}
