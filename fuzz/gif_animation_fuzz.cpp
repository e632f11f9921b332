// The extended GIF reader (every frame, with the animation record) on
// arbitrary bytes. What it returns must also survive the animation writer and
// read back to the same frames.
#include "engine/codecs.h"
#include "platform/io/dib_layout.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool append(void* context, const BYTE* data, std::size_t count) {
    auto* bytes = static_cast<std::vector<BYTE>*>(context);
    bytes->insert(bytes->end(), data, data + count);
    return true;
}

void free_animation(GifAnimation& animation) {
    GifFrame** frames = animation.frames;
    for (DWORD i = 0; i < animation.frameCount; ++i) {
        RaskoDestroyDIB(frames[i]->dib);
        GlobalFree(frames[i]);
    }
    GlobalFree(frames);
    GlobalFree(animation.globalPalette);
}

// Pixels written at the record's depth keep their low bits.
void check_round_trip(GifAnimation& animation) {
    std::vector<BYTE> bytes;
    rasko::Output out(append, &bytes);
    if (!rasko::write_gif_animation(out, &animation)) __builtin_trap();
    GifAnimation back{};
    rasko::Input in(bytes.data(), bytes.size());
    rasko::read_gif_animation(in, &back);
    if (back.frameCount != animation.frameCount) __builtin_trap();
    const BYTE mask = BYTE((1u << animation.bitsPerPixel) - 1);
    for (DWORD i = 0; i < back.frameCount; ++i) {
        const GifFrame* a = animation.frames[i];
        const GifFrame* b = back.frames[i];
        if (a->dib->biWidth != b->dib->biWidth || a->dib->biHeight != b->dib->biHeight ||
            a->left != b->left || a->top != b->top)
            __builtin_trap();
        const std::size_t count = std::size_t(io::stride_of(a->dib->biWidth)) * a->dib->biHeight;
        for (std::size_t p = 0; p < count; ++p)
            if ((p % std::size_t(io::stride_of(a->dib->biWidth))) < std::size_t(a->dib->biWidth) &&
                (a->bits[p] & mask) != b->bits[p])
                __builtin_trap();
    }
    free_animation(back);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    GifAnimation animation{};
    rasko::Input in(data, size);
    rasko::read_gif_animation(in, &animation);
    std::uint64_t pixels = 0;
    for (DWORD i = 0; i < animation.frameCount; ++i)
        pixels +=
            std::uint64_t(animation.frames[i]->dib->biWidth) * animation.frames[i]->dib->biHeight;
    // The round trip runs on small animations only, to keep the executions
    // quick in the sanitizer build; large ones still go through the reader.
    if (pixels <= (1u << 12)) check_round_trip(animation);
    free_animation(animation);
    return 0;
}
