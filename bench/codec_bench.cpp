// GIF decoding against giflib, stb_image and Wuffs, GIF encoding against
// giflib, and BMP reading against stb_image, on the same bytes in the same
// run. Counters: "<peer>_ratio" = peer time / our time (above 1: we are
// faster), "size_ratio" = our output bytes / the peer's (encoders only),
// "Mpixel/s" ours. Times are the best of VELMO_BENCH_ROUNDS rounds (default
// 5) of thread CPU time, since the machine is shared. Wuffs comes from the
// peers folder (VELMO_PEERS_DIR) and is left out, with a label saying so,
// when that folder has none. stb_image decodes GIF only to RGBA; Wuffs and
// giflib give 8-bit indexes as we do. bench/decode_instructions runs the
// decoders under callgrind and prints each one's instructions per pixel.
#include "engine/codecs.h"
#include "platform/io/dib_layout.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#include <stb/stb_image.h>
#ifdef VELMO_BENCH_WUFFS
#include <wuffs-v0.3.c>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

struct DibDeleter {
    void operator()(BITMAPINFOHEADER* dib) const { RaskoDestroyDIB(dib); }
};
using DibPtr = std::unique_ptr<BITMAPINFOHEADER, DibDeleter>;

double cpu_now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

int rounds() {
    const char* text = std::getenv("VELMO_BENCH_ROUNDS");
    return text && std::atoi(text) > 0 ? std::atoi(text) : 5;
}

// 256 random colours over random pixels: the worst case for LZW.
DibPtr noise_picture(int side) {
    DibPtr dib(RaskoCreateDIB(side, side));
    std::mt19937 random(7);
    RGBQUAD* table = io::colour_table(dib.get());
    for (int i = 0; i < 256; ++i)
        table[i] = RGBQUAD{BYTE(random()), BYTE(random()), BYTE(random()), 0};
    BYTE* bits = io::bits_of(dib.get());
    for (std::size_t i = 0; i < std::size_t(side) * side; ++i)
        bits[i] = BYTE(random());
    return dib;
}

// Pixel art: 32 colours in large rectangles with one-pixel outlines and a
// little dithering, the kind of picture this program makes.
DibPtr flat_picture(int side, unsigned seed = 11) {
    DibPtr dib(RaskoCreateDIB(side, side));
    std::mt19937 random(seed);
    RGBQUAD* table = io::colour_table(dib.get());
    for (int i = 0; i < 32; ++i)
        table[i] = RGBQUAD{BYTE(i * 8), BYTE(255 - i * 5), BYTE(i * 3), 0};
    BYTE* bits = io::bits_of(dib.get());
    const std::size_t stride = std::size_t(io::stride_of(side));
    std::memset(bits, 1, stride * std::size_t(side));
    for (int n = 0; n < side / 8; ++n) {
        const int w = 8 + int(random() % unsigned(side / 8)),
                  h = 8 + int(random() % unsigned(side / 8));
        const int x0 = int(random() % unsigned(side - w)), y0 = int(random() % unsigned(side - h));
        // Dithered areas also use fill + 1, which must stay below 32.
        const BYTE fill = BYTE(2 + random() % 29), edge = 0;
        const bool dithered = random() % 4 == 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                const bool border = x == x0 || y == y0 || x == x0 + w - 1 || y == y0 + h - 1;
                bits[std::size_t(y) * stride + std::size_t(x)] = border ? edge
                                                                 : dithered && ((x ^ y) & 1)
                                                                     ? BYTE(fill + 1)
                                                                     : fill;
            }
    }
    return dib;
}

bool append(void* context, const BYTE* data, std::size_t count) {
    auto* bytes = static_cast<Bytes*>(context);
    bytes->insert(bytes->end(), data, data + count);
    return true;
}

Bytes our_gif(const BITMAPINFOHEADER* dib, int depth) {
    Bytes bytes;
    rasko::Output out(append, &bytes);
    rasko::write_gif(out, dib, io::bits_of(dib), depth, 0, -1, nullptr);
    return bytes;
}

// 64 frames of 256 x 256: pixel-art scenes whose sprites move a little
// between frames, each frame full size as simple editors save them.
Bytes animation_gif() {
    std::vector<DibPtr> dibs;
    std::vector<GifFrame> frames(64);
    std::vector<GifFrame*> list;
    for (int i = 0; i < 64; ++i) {
        dibs.push_back(flat_picture(256, 5));
        BITMAPINFOHEADER* dib = dibs.back().get();
        BYTE* bits = io::bits_of(dib);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                bits[(40 + y + i) * 256 + 3 * i + x] = BYTE(31 - (x ^ y) % 3);
        frames[std::size_t(i)] = GifFrame{dib, bits, 0, 0, -1, 4, 1, 0};
        list.push_back(&frames[std::size_t(i)]);
    }
    GifAnimation animation{};
    animation.frameCount = 64;
    animation.screenWidth = animation.screenHeight = 256;
    animation.bitsPerPixel = 5;
    animation.globalPalette = io::colour_table(dibs[0].get());
    animation.frames = list.data();
    Bytes bytes;
    rasko::Output out(append, &bytes);
    rasko::write_gif_animation(out, &animation);
    return bytes;
}

// Our side and the peer's of each measurement, kept out of line so that
// callgrind reports them as functions.
__attribute__((noinline)) void ours_decode(const Bytes& gif) {
    rasko::Input in(gif.data(), gif.size());
    GifAnimation animation{};
    rasko::read_gif_animation(in, &animation);
    for (DWORD i = 0; i < animation.frameCount; ++i) {
        RaskoDestroyDIB(animation.frames[i]->dib);
        GlobalFree(animation.frames[i]);
    }
    GlobalFree(animation.frames);
    GlobalFree(animation.globalPalette);
}

struct Source {
    const Bytes* bytes;
    std::size_t at;
};

int read_source(GifFileType* gif, GifByteType* buffer, int count) {
    auto* source = static_cast<Source*>(gif->UserData);
    const std::size_t n = std::min(std::size_t(count), source->bytes->size() - source->at);
    std::memcpy(buffer, source->bytes->data() + source->at, n);
    source->at += n;
    return int(n);
}

__attribute__((noinline)) void giflib_decode(const Bytes& gif) {
    Source source{&gif, 0};
    int error = 0;
    GifFileType* file = DGifOpen(&source, read_source, &error);
    if (!file || DGifSlurp(file) != GIF_OK) std::abort();
    DGifCloseFile(file, &error);
}

// Every frame, as RGBA: stb_image has no indexed output.
__attribute__((noinline)) void stb_decode(const Bytes& gif) {
    int* delays = nullptr;
    int width, height, frames, channels;
    stbi_uc* pixels = stbi_load_gif_from_memory(gif.data(), int(gif.size()), &delays, &width,
                                                &height, &frames, &channels, 0);
    if (!pixels) std::abort();
    stbi_image_free(pixels);
    stbi_image_free(delays);
}

#ifdef VELMO_BENCH_WUFFS
void wuffs_check(wuffs_base__status status) {
    if (!wuffs_base__status__is_ok(&status)) std::abort();
}

// Every frame into one screen-sized buffer of 8-bit indexes.
__attribute__((noinline)) void wuffs_decode(const Bytes& gif) {
    const std::size_t decoder_bytes = sizeof__wuffs_gif__decoder();
    auto* decoder = static_cast<wuffs_gif__decoder*>(std::malloc(decoder_bytes));
    wuffs_check(
        wuffs_gif__decoder__initialize(decoder, decoder_bytes, WUFFS_VERSION,
                                       WUFFS_INITIALIZE__LEAVE_INTERNAL_BUFFERS_UNINITIALIZED));
    wuffs_base__io_buffer source =
        wuffs_base__ptr_u8__reader(const_cast<BYTE*>(gif.data()), gif.size(), true);
    wuffs_base__image_config config{};
    wuffs_check(wuffs_gif__decoder__decode_image_config(decoder, &config, &source));
    const std::uint32_t width = wuffs_base__pixel_config__width(&config.pixcfg);
    const std::uint32_t height = wuffs_base__pixel_config__height(&config.pixcfg);
    wuffs_base__pixel_config__set(&config.pixcfg, WUFFS_BASE__PIXEL_FORMAT__INDEXED__BGRA_BINARY,
                                  WUFFS_BASE__PIXEL_SUBSAMPLING__NONE, width, height);
    // The palette's 1024 bytes, then the indexes.
    const std::size_t pixel_bytes = 1024 + std::size_t(width) * height;
    auto* pixels = static_cast<BYTE*>(std::malloc(pixel_bytes));
    wuffs_base__pixel_buffer buffer;
    wuffs_check(wuffs_base__pixel_buffer__set_from_slice(
        &buffer, &config.pixcfg, wuffs_base__make_slice_u8(pixels, pixel_bytes)));
    const std::size_t work_bytes = std::size_t(wuffs_gif__decoder__workbuf_len(decoder).max_incl);
    auto* work = static_cast<BYTE*>(std::malloc(std::max<std::size_t>(work_bytes, 1)));
    for (;;) {
        wuffs_base__frame_config frame{};
        const wuffs_base__status status =
            wuffs_gif__decoder__decode_frame_config(decoder, &frame, &source);
        if (status.repr == wuffs_base__note__end_of_data) break;
        wuffs_check(status);
        wuffs_check(wuffs_gif__decoder__decode_frame(
            decoder, &buffer, &source, WUFFS_BASE__PIXEL_BLEND__SRC,
            wuffs_base__make_slice_u8(work, work_bytes), nullptr));
    }
    std::free(work);
    std::free(pixels);
    std::free(decoder);
}
#endif

__attribute__((noinline)) std::size_t ours_encode(const BITMAPINFOHEADER* dib, int depth,
                                                  Bytes& out) {
    out.clear();
    rasko::Output output(append, &out);
    rasko::write_gif(output, dib, io::bits_of(dib), depth, 0, -1, nullptr);
    return out.size();
}

int write_sink(GifFileType* gif, const GifByteType* data, int count) {
    auto* bytes = static_cast<Bytes*>(gif->UserData);
    bytes->insert(bytes->end(), data, data + count);
    return count;
}

__attribute__((noinline)) std::size_t peer_encode(const BITMAPINFOHEADER* dib, int depth,
                                                  Bytes& out) {
    out.clear();
    int error = 0;
    GifFileType* file = EGifOpen(&out, write_sink, &error);
    const RGBQUAD* table = io::colour_table(dib);
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue};
    ColorMapObject* map = GifMakeMapObject(1 << depth, colours);
    const int width = dib->biWidth, height = dib->biHeight;
    EGifPutScreenDesc(file, width, height, depth, 0, map);
    EGifPutImageDesc(file, 0, 0, width, height, false, nullptr);
    const BYTE* bits = io::bits_of(dib);
    const std::size_t stride = std::size_t(io::stride_of(width));
    for (int y = height - 1; y >= 0; --y)
        EGifPutLine(file, const_cast<GifPixelType*>(bits + std::size_t(y) * stride), width);
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
    return out.size();
}

__attribute__((noinline)) void ours_read_bmp(const Bytes& bmp) {
    rasko::Input in(bmp.data(), bmp.size());
    RaskoDestroyDIB(rasko::read_bmp(in, rasko::BmpSource::File, "Allocate Error"));
}

__attribute__((noinline)) void peer_read_bmp(const Bytes& bmp) {
    int width, height, channels;
    stbi_uc* pixels =
        stbi_load_from_memory(bmp.data(), int(bmp.size()), &width, &height, &channels, 0);
    if (!pixels) std::abort();
    stbi_image_free(pixels);
}

// Best thread CPU times of our function and the peer's, alternating.
template <typename Ours, typename Peer>
void compare(benchmark::State& state, double pixels, Ours ours, Peer peer) {
    double best_ours = 1e9, best_peer = 1e9;
    for (auto _ : state) {
        double start = cpu_now();
        ours();
        const double ours_time = cpu_now() - start;
        start = cpu_now();
        peer();
        best_peer = std::min(best_peer, cpu_now() - start);
        best_ours = std::min(best_ours, ours_time);
        state.SetIterationTime(ours_time);
    }
    state.counters["peer_ratio"] = best_peer / best_ours;
    state.counters["Mpixel/s"] = pixels / best_ours * 1e-6;
}

const Bytes& noise_gif() {
    static const Bytes bytes = our_gif(noise_picture(4096).get(), 8);
    return bytes;
}

const Bytes& flat_gif() {
    static const Bytes bytes = our_gif(flat_picture(4096).get(), 5);
    return bytes;
}

// Best thread CPU times of our decoder and each peer's on the same bytes,
// taking turns.
void compare_decoders(benchmark::State& state, double pixels, const Bytes& gif) {
    struct Decoder {
        const char* ratio;
        void (*decode)(const Bytes&);
        double best;
    };
    std::vector<Decoder> decoders = {{nullptr, ours_decode, 1e9},
                                     {"giflib_ratio", giflib_decode, 1e9},
                                     {"stb_ratio", stb_decode, 1e9}};
#ifdef VELMO_BENCH_WUFFS
    decoders.push_back({"wuffs_ratio", wuffs_decode, 1e9});
#else
    state.SetLabel("without Wuffs: the peers folder has none");
#endif
    for (auto _ : state) {
        double ours_time = 0;
        for (Decoder& decoder : decoders) {
            const double start = cpu_now();
            decoder.decode(gif);
            const double time = cpu_now() - start;
            decoder.best = std::min(decoder.best, time);
            if (!decoder.ratio) ours_time = time;
        }
        state.SetIterationTime(ours_time);
    }
    const double ours = decoders[0].best;
    for (const Decoder& decoder : decoders)
        if (decoder.ratio) state.counters[decoder.ratio] = decoder.best / ours;
    state.counters["Mpixel/s"] = pixels / ours * 1e-6;
}

void GifDecodeNoise4096(benchmark::State& state) {
    compare_decoders(state, 4096.0 * 4096, noise_gif());
}

void GifDecodeFlat4096(benchmark::State& state) {
    compare_decoders(state, 4096.0 * 4096, flat_gif());
}

void GifDecodeAnimation64x256(benchmark::State& state) {
    static const Bytes gif = animation_gif();
    compare_decoders(state, 64.0 * 256 * 256, gif);
}

void encode(benchmark::State& state, const BITMAPINFOHEADER* dib, int depth) {
    Bytes ours, peer;
    ours.reserve(std::size_t(dib->biWidth) * std::size_t(dib->biHeight) * 2);
    peer.reserve(ours.capacity());
    std::size_t ours_size = 0, peer_size = 0;
    compare(
        state, double(dib->biWidth) * dib->biHeight,
        [&] { ours_size = ours_encode(dib, depth, ours); },
        [&] { peer_size = peer_encode(dib, depth, peer); });
    state.counters["size_ratio"] = double(ours_size) / double(peer_size);
    state.counters["bytes"] = double(ours_size);
    state.counters["peer_bytes"] = double(peer_size);
}

void GifEncodeNoise4096(benchmark::State& state) {
    static const DibPtr dib = noise_picture(4096);
    encode(state, dib.get(), 8);
}

void GifEncodeFlat4096(benchmark::State& state) {
    static const DibPtr dib = flat_picture(4096);
    encode(state, dib.get(), 5);
}

void BmpRead8Bit4096(benchmark::State& state) {
    static const Bytes bmp = [] {
        const DibPtr dib = noise_picture(4096);
        Bytes bytes;
        rasko::Output out(append, &bytes);
        rasko::write_bmp8(out, dib.get(), io::bits_of(dib.get()));
        return bytes;
    }();
    compare(
        state, 4096.0 * 4096, [&] { ours_read_bmp(bmp); }, [&] { peer_read_bmp(bmp); });
}

void configure(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Iterations(rounds())->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(GifDecodeNoise4096)->Apply(configure);
BENCHMARK(GifDecodeFlat4096)->Apply(configure);
BENCHMARK(GifDecodeAnimation64x256)->Apply(configure);
BENCHMARK(GifEncodeNoise4096)->Apply(configure);
BENCHMARK(GifEncodeFlat4096)->Apply(configure);
BENCHMARK(BmpRead8Bit4096)->Apply(configure);
