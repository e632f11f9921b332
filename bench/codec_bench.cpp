// GIF decoding and encoding against giflib, and BMP reading against
// stb_image, on the same bytes in the same run. Counters: "peer_ratio" =
// peer time / our time (above 1: we are faster), "size_ratio" = our output
// bytes / the peer's (encoders only), "Mpixel/s" ours. Times are the best of
// VELMO_BENCH_ROUNDS rounds (default 5) of thread CPU time, since the machine
// is shared. Under callgrind run one round: the inclusive costs of the
// ours_* and peer_* functions divided by the pixels give instructions per
// pixel.
#include "engine/codecs.h"
#include "platform/io/dib_layout.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

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
        const BYTE fill = BYTE(2 + random() % 30), edge = 0;
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

__attribute__((noinline)) void peer_decode(const Bytes& gif) {
    Source source{&gif, 0};
    int error = 0;
    GifFileType* file = DGifOpen(&source, read_source, &error);
    if (!file || DGifSlurp(file) != GIF_OK) std::abort();
    DGifCloseFile(file, &error);
}

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

void GifDecodeNoise4096(benchmark::State& state) {
    const Bytes& gif = noise_gif();
    compare(
        state, 4096.0 * 4096, [&] { ours_decode(gif); }, [&] { peer_decode(gif); });
}

void GifDecodeFlat4096(benchmark::State& state) {
    const Bytes& gif = flat_gif();
    compare(
        state, 4096.0 * 4096, [&] { ours_decode(gif); }, [&] { peer_decode(gif); });
}

void GifDecodeAnimation64x256(benchmark::State& state) {
    static const Bytes gif = animation_gif();
    compare(
        state, 64.0 * 256 * 256, [&] { ours_decode(gif); }, [&] { peer_decode(gif); });
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
