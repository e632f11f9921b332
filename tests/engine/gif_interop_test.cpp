// GIF interoperability with independent implementations: what we write must
// decode the same with giflib and ImageMagick, and what ImageMagick and
// gifsicle write must decode with our readers to what giflib gives.
#include "codec_support.h"

#include <gif_lib.h>

#include <cstdio>
#include <cstring>
#include <sstream>

using namespace codec_test;

namespace {

struct Rgb {
    BYTE red, green, blue;
    bool operator==(const Rgb&) const = default;
};

struct PeerFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::vector<Rgb> local; // empty without a local table
    Bytes pixels;           // indexes, top row first
    int delay = 0, disposal = 0, transparent = -1;
    bool user_input = false;
};

// A GIF as giflib reads it.
struct Peer {
    int width = 0, height = 0, background = 0;
    std::vector<Rgb> global;
    int loop = -1; // -1: no looping extension
    std::vector<PeerFrame> frames;
};

std::vector<Rgb> colours_of(const ColorMapObject* map) {
    std::vector<Rgb> colours;
    if (map)
        for (int i = 0; i < map->ColorCount; ++i)
            colours.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    return colours;
}

struct MemorySource {
    const Bytes* bytes;
    std::size_t at = 0;
};

int read_memory(GifFileType* gif, GifByteType* buffer, int count) {
    auto* source = static_cast<MemorySource*>(gif->UserData);
    const std::size_t n = std::min(std::size_t(count), source->bytes->size() - source->at);
    std::memcpy(buffer, source->bytes->data() + source->at, n);
    source->at += n;
    return int(n);
}

void find_loop(const ExtensionBlock* blocks, int count, int& loop) {
    for (int i = 0; i + 1 < count; ++i)
        if (blocks[i].Function == APPLICATION_EXT_FUNC_CODE && blocks[i].ByteCount == 11 &&
            std::memcmp(blocks[i].Bytes, "NETSCAPE2.0", 11) == 0 && blocks[i + 1].ByteCount == 3)
            loop = blocks[i + 1].Bytes[1] | blocks[i + 1].Bytes[2] << 8;
}

Peer giflib_read(const Bytes& bytes) {
    MemorySource source{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read_memory, &error);
    Peer peer;
    EXPECT_TRUE(gif) << GifErrorString(error);
    if (!gif) return peer;
    EXPECT_EQ(GIF_OK, DGifSlurp(gif)) << GifErrorString(gif->Error);
    peer.width = gif->SWidth;
    peer.height = gif->SHeight;
    peer.background = gif->SBackGroundColor;
    peer.global = colours_of(gif->SColorMap);
    find_loop(gif->ExtensionBlocks, gif->ExtensionBlockCount, peer.loop);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        find_loop(image.ExtensionBlocks, image.ExtensionBlockCount, peer.loop);
        PeerFrame frame;
        frame.left = image.ImageDesc.Left;
        frame.top = image.ImageDesc.Top;
        frame.width = image.ImageDesc.Width;
        frame.height = image.ImageDesc.Height;
        frame.interlaced = image.ImageDesc.Interlace;
        frame.local = colours_of(image.ImageDesc.ColorMap);
        frame.pixels.assign(image.RasterBits,
                            image.RasterBits + std::size_t(frame.width) * frame.height);
        GraphicsControlBlock control;
        if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK) {
            frame.delay = control.DelayTime;
            frame.disposal = control.DisposalMode;
            frame.transparent = control.TransparentColor;
            frame.user_input = control.UserInputFlag;
        }
        peer.frames.push_back(frame);
    }
    DGifCloseFile(gif, &error);
    return peer;
}

std::vector<Rgb> table_of(const BITMAPINFOHEADER* dib, std::size_t entries) {
    std::vector<Rgb> colours;
    const RGBQUAD* table = io::colour_table(dib);
    for (std::size_t i = 0; i < entries; ++i)
        colours.push_back({table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue});
    return colours;
}

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return output;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, got);
    EXPECT_EQ(0, pclose(pipe)) << command;
    return output;
}

// ImageMagick's view of every frame of several files, read in one run of
// each tool: geometry, timing and colours (RGBA, the frame's own size).
struct MagickFrame {
    int width, height, left, top, delay;
    std::string dispose;
    Bytes rgba;
};

std::string quoted(const std::vector<std::string>& paths, const char* suffix = "") {
    std::string list;
    for (const std::string& path : paths)
        list += " '" + path + suffix + "'";
    return list;
}

std::vector<MagickFrame> magick_read(const std::vector<std::string>& paths) {
    std::istringstream lines(run("identify -format '%w %h %X %Y %T %D\\n'" + quoted(paths)));
    std::vector<MagickFrame> frames;
    MagickFrame frame{};
    while (lines >> frame.width >> frame.height >> frame.left >> frame.top >> frame.delay >>
           frame.dispose)
        frames.push_back(frame);
    const std::string rgba = run("convert" + quoted(paths) + " -depth 8 rgba:-");
    std::size_t at = 0;
    for (MagickFrame& f : frames) {
        const std::size_t bytes = std::size_t(f.width) * f.height * 4;
        if (at + bytes > rgba.size()) break;
        f.rgba.assign(rgba.begin() + std::ptrdiff_t(at), rgba.begin() + std::ptrdiff_t(at + bytes));
        at += bytes;
    }
    return frames;
}

// ImageMagick counts plays, not repeats: loop count n > 0 reads as n + 1.
std::vector<int> magick_iterations(const std::vector<std::string>& paths) {
    const std::string verbose = run("identify -verbose" + quoted(paths, "[0]"));
    std::vector<int> iterations;
    for (std::size_t at = verbose.find("Iterations: "); at != std::string::npos;
         at = verbose.find("Iterations: ", at + 1))
        iterations.push_back(std::atoi(verbose.c_str() + at + 12));
    return iterations;
}

const char* const kDisposeNames[] = {"Undefined", "None", "Background", "Previous"};

// One frame as we wrote it.
struct Written {
    const BITMAPINFOHEADER* dib;
    int left, top, delay, disposal, transparent;
    bool user_input;
};

// A GIF we wrote, what went into it, and where it was saved for ImageMagick.
struct OurGif {
    std::string path;
    int depth;
    std::vector<Rgb> global;
    std::vector<Written> frames;
    int loop; // -1: no looping extension
    bool interlaced;
};

Bytes masked_indexes(const BITMAPINFOHEADER* dib, int depth) {
    Bytes indexes = pixels_top_first(dib);
    for (BYTE& b : indexes)
        b = BYTE(b & ((1u << depth) - 1));
    return indexes;
}

void expect_giflib_agrees(const OurGif& gif, const Bytes& bytes) {
    SCOPED_TRACE(gif.path);
    const Peer peer = giflib_read(bytes);
    EXPECT_EQ(gif.global, peer.global);
    EXPECT_EQ(gif.loop, peer.loop);
    ASSERT_EQ(gif.frames.size(), peer.frames.size());
    for (std::size_t i = 0; i < gif.frames.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const Written& w = gif.frames[i];
        const PeerFrame& p = peer.frames[i];
        EXPECT_EQ(w.left, p.left);
        EXPECT_EQ(w.top, p.top);
        EXPECT_EQ(gif.interlaced, p.interlaced);
        EXPECT_EQ(masked_indexes(w.dib, gif.depth), p.pixels);
        const std::vector<Rgb> own = table_of(w.dib, gif.global.size());
        EXPECT_EQ(own == gif.global ? std::vector<Rgb>{} : own, p.local);
        EXPECT_EQ(w.delay, p.delay);
        EXPECT_EQ(w.disposal, p.disposal);
        EXPECT_EQ(w.transparent, p.transparent);
        EXPECT_EQ(w.user_input, p.user_input);
    }
}

void expect_magick_agrees(const std::vector<OurGif>& gifs) {
    std::vector<std::string> paths, looping;
    std::vector<int> loops;
    for (const OurGif& gif : gifs) {
        paths.push_back(gif.path);
        if (gif.loop >= 0) {
            looping.push_back(gif.path);
            loops.push_back(gif.loop == 0 ? 0 : gif.loop + 1);
        }
    }
    if (!looping.empty()) {
        EXPECT_EQ(loops, magick_iterations(looping));
    }
    const std::vector<MagickFrame> magick = magick_read(paths);
    std::size_t next = 0;
    for (const OurGif& gif : gifs) {
        SCOPED_TRACE(gif.path);
        for (const Written& w : gif.frames) {
            ASSERT_LT(next, magick.size());
            const MagickFrame& m = magick[next++];
            EXPECT_EQ(w.dib->biWidth, m.width);
            EXPECT_EQ(rows_of(w.dib), m.height);
            EXPECT_EQ(w.left, m.left);
            EXPECT_EQ(w.top, m.top);
            EXPECT_EQ(w.delay, m.delay);
            EXPECT_EQ(kDisposeNames[w.disposal & 3], m.dispose);
            const Bytes indexes = masked_indexes(w.dib, gif.depth);
            const std::vector<Rgb> own = table_of(w.dib, gif.global.size());
            ASSERT_EQ(indexes.size() * 4, m.rgba.size());
            for (std::size_t k = 0; k < indexes.size(); ++k) {
                const BYTE* c = &m.rgba[4 * k];
                if (indexes[k] == w.transparent) {
                    ASSERT_EQ(0, c[3]) << "pixel " << k;
                    continue;
                }
                ASSERT_EQ(own[indexes[k]], (Rgb{c[0], c[1], c[2]})) << "pixel " << k;
                ASSERT_EQ(255, c[3]) << "pixel " << k;
            }
        }
    }
    EXPECT_EQ(magick.size(), next);
}

std::vector<Rgb> palette_of(const BITMAPINFOHEADER* dib, int depth) {
    return table_of(dib, std::size_t(1) << depth);
}

} // namespace

TEST(GifInterop, StillPicturesWeWriteDecodeAlikeInGiflibAndImageMagick) {
    TempFolder folder;
    struct Case {
        int width, height, depth, interlace, transparent;
    };
    // Every depth; odd widths and heights around the interlace passes; a
    // noise picture long enough to reset the code table several times.
    const Case cases[] = {{1, 1, 1, 0, -1},    {7, 10, 1, 1, 1},    {33, 9, 2, 0, 3},
                          {15, 17, 3, 1, -1},  {9, 4, 4, 0, 0},     {40, 30, 5, 1, 17},
                          {8, 1, 6, 0, -1},    {64, 33, 7, 1, 100}, {300, 200, 8, 0, 255},
                          {257, 129, 8, 1, -1}};
    std::vector<Dib> pictures;
    std::vector<OurGif> gifs;
    for (const Case& c : cases) {
        pictures.push_back(noise_dib(c.width, c.height, c.depth, unsigned(c.width * c.depth)));
        const BITMAPINFOHEADER* dib = pictures.back().get();
        const OurGif gif{folder / ("still" + std::to_string(gifs.size()) + ".gif"),
                         c.depth,
                         palette_of(dib, c.depth),
                         {{dib, 0, 0, 0, 0, c.transparent, false}},
                         -1,
                         c.interlace != 0};
        const Bytes bytes = gif_bytes(dib, c.depth, c.interlace, c.transparent);
        write_file(gif.path, bytes);
        expect_giflib_agrees(gif, bytes);
        gifs.push_back(gif);
    }
    expect_magick_agrees(gifs);
}

TEST(GifInterop, AnimationsWeWriteKeepPositionsTimingDisposalAndLoopInBothPeers) {
    TempFolder folder;
    std::vector<Dib> pictures;
    std::vector<OurGif> gifs;
    for (int depth : {1, 4, 8}) {
        for (int loop : {0, 1, 5}) {
            Dib first = noise_dib(40, 30, depth, 1);
            Dib second = noise_dib(13, 7, depth, 2);
            Dib third = noise_dib(25, 20, depth, 3);
            // The third frame differs from the global table in entry 0 and
            // so gets a local table.
            io::colour_table(third.get())[0] = RGBQUAD{9, 8, 7, 0};
            GifFrame frames[3] = {{first.get(), io::bits_of(first.get()), 0, 0, -1, 10, 0, 0},
                                  {second.get(), io::bits_of(second.get()), 27, 23, 1, 250, 2, 1},
                                  {third.get(), io::bits_of(third.get()), 5, 6, 0, 3, 3, 0}};
            GifFrame* list[3] = {&frames[0], &frames[1], &frames[2]};
            Animation animation;
            GifAnimation& record = animation.record;
            record.frameCount = 3;
            record.screenWidth = 40;
            record.screenHeight = 30;
            record.bitsPerPixel = DWORD(depth);
            record.interlaced = depth == 4;
            record.loopCount = WORD(loop);
            RGBQUAD* global = static_cast<RGBQUAD*>(GlobalAlloc(GPTR, io::kPaletteBytes));
            std::memcpy(global, io::colour_table(first.get()), io::kPaletteBytes);
            record.globalPalette = global;
            record.frames = list;
            const Bytes bytes = gif_bytes(&record);
            record.frames = nullptr;
            record.frameCount = 0;

            OurGif gif{folder / ("animation" + std::to_string(gifs.size()) + ".gif"),
                       depth,
                       palette_of(first.get(), depth),
                       {},
                       loop,
                       depth == 4};
            for (const GifFrame& f : frames)
                gif.frames.push_back({f.dib, int(f.left), int(f.top), int(f.delay), int(f.disposal),
                                      int(f.transparentIndex), f.userInput != 0});
            write_file(gif.path, bytes);
            expect_giflib_agrees(gif, bytes);
            gifs.push_back(gif);
            pictures.push_back(std::move(first));
            pictures.push_back(std::move(second));
            pictures.push_back(std::move(third));
        }
    }
    expect_magick_agrees(gifs);
}

namespace {

// Compares our two readers with giflib on a file another program wrote.
void expect_we_read_like_giflib(const Bytes& bytes) {
    const Peer peer = giflib_read(bytes);
    ASSERT_FALSE(peer.frames.empty());
    Animation ours(bytes);
    const GifAnimation& record = ours.record;
    EXPECT_EQ(unsigned(peer.width), record.screenWidth);
    EXPECT_EQ(unsigned(peer.height), record.screenHeight);
    EXPECT_EQ(unsigned(peer.background), record.backgroundIndex);
    if (peer.loop >= 0) {
        EXPECT_EQ(peer.loop, record.loopCount);
    }
    ASSERT_EQ(peer.frames.size(), record.frameCount);
    for (std::size_t i = 0; i < peer.frames.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const PeerFrame& p = peer.frames[i];
        const GifFrame& f = ours.frame(DWORD(i));
        EXPECT_EQ(p.left, f.left);
        EXPECT_EQ(p.top, f.top);
        EXPECT_EQ(p.delay, f.delay);
        EXPECT_EQ(p.disposal, f.disposal & 7);
        EXPECT_EQ(p.transparent, f.transparentIndex);
        EXPECT_EQ(p.user_input, f.userInput != 0);
        ASSERT_EQ(p.width, f.dib->biWidth);
        ASSERT_EQ(p.height, f.dib->biHeight);
        EXPECT_TRUE(p.pixels == pixels_top_first(f.dib));
        const std::vector<Rgb>& colours = p.local.empty() ? peer.global : p.local;
        EXPECT_EQ(colours, table_of(f.dib, colours.size()));
    }
    rasko::Input in(bytes.data(), bytes.size());
    Dib simple(rasko::read_gif(in));
    ASSERT_TRUE(simple);
    EXPECT_TRUE(peer.frames[0].pixels == pixels_top_first(simple.get()));
    const std::vector<Rgb>& first =
        peer.frames[0].local.empty() ? peer.global : peer.frames[0].local;
    EXPECT_EQ(first, table_of(simple.get(), first.size()));
}

// A binary PPM of `colours` distinct colours in blocks and noise, so that
// ImageMagick writes it without quantising.
std::string write_ppm(const TempFolder& folder, const std::string& name, int width, int height,
                      int colours, int block) {
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::mt19937 random(unsigned(width * 31 + colours));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int i = block ? (x / block + 3 * (y / block)) % colours : int(random() % colours);
            ppm += char(i * 37 % 256);
            ppm += char(i);
            ppm += char(255 - i);
        }
    const std::string path = folder / name;
    std::ofstream(path, std::ios::binary) << ppm;
    return path;
}

// A 2000 x 2000 picture of 32 colours in blocks, written by us for the
// other programs to rewrite.
std::string write_big_gif(const TempFolder& folder) {
    Dib dib(RaskoCreateDIB(2000, 2000));
    BYTE* bits = io::bits_of(dib.get());
    for (int y = 0; y < 2000; ++y)
        for (int x = 0; x < 2000; ++x)
            bits[y * 2000 + x] = BYTE((x / 40 + 3 * (y / 40)) % 32);
    const std::string path = folder / "big.gif";
    write_file(path, gif_bytes(dib.get(), 5));
    return path;
}

} // namespace

TEST(GifInterop, GifsWrittenByImageMagickReadLikeGiflibReadsThem) {
    TempFolder folder;
    const std::string a = write_ppm(folder, "a.ppm", 61, 47, 2, 0);
    const std::string b = write_ppm(folder, "b.ppm", 23, 19, 13, 0);
    const std::string c = write_ppm(folder, "c.ppm", 120, 90, 200, 0);
    const std::string big = write_big_gif(folder);
    const std::string out = folder / "magick.gif";
    const std::string commands[] = {
        "convert -size 1x1 xc:'#123456' ",
        "convert '" + a + "' ",
        "convert '" + b + "' -interlace GIF ",
        "convert '" + c + "' -transparent '#2501FE' ",
        "convert '" + c + "' -colors 4 ",
        // An animation: offsets, delays, disposal, loop count, and frames
        // whose colours differ from the first and get local tables.
        "convert -loop 3 -delay 7 -dispose Background '" + a +
            "' -delay 20 -dispose Previous -page +30+20 '" + b + "' -dispose None -page +0+0 '" +
            c + "' ",
        "convert '" + big + "' ",
    };
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        run(command + "'" + out + "'");
        expect_we_read_like_giflib(file_bytes(out));
    }
}

TEST(GifInterop, GifsWrittenByGifsicleReadLikeGiflibReadsThem) {
    TempFolder folder;
    const std::string frames[] = {folder / "f1.gif", folder / "f2.gif", folder / "f3.gif"};
    run("convert '" + write_ppm(folder, "a.ppm", 80, 60, 64, 0) + "' '" + frames[0] + "'");
    run("convert '" + write_ppm(folder, "b.ppm", 80, 60, 7, 9) + "' '" + frames[1] + "'");
    run("convert '" + write_ppm(folder, "c.ppm", 80, 60, 200, 5) + "' '" + frames[2] + "'");
    const std::string all = "'" + frames[0] + "' '" + frames[1] + "' '" + frames[2] + "'";
    const std::string out = folder / "gifsicle.gif";
    const std::string commands[] = {
        "gifsicle --interlace '" + frames[0] + "'",
        "gifsicle --colors 2 '" + frames[2] + "'",
        "gifsicle --colors 16 --transparent 3 '" + frames[2] + "'",
        "gifsicle --loopcount=4 --delay 5 --disposal background " + all,
        "gifsicle -O3 --loopcount --delay 12 --disposal previous " + all,
        "gifsicle -O2 --lossy=60 --interlace " + all,
        "gifsicle --careful --no-loopcount --crop 10,10+50x30 " + all,
        "gifsicle -O2 '" + write_big_gif(folder) + "'",
    };
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        run(command + " --no-warnings -o '" + out + "'");
        expect_we_read_like_giflib(file_bytes(out));
    }
}
