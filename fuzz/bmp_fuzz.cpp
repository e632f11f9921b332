// The BMP reader on arbitrary bytes, as a file and as a bitmap resource.
// Whatever it reads must also survive the 8-bit writer and read back to the
// same pixels, and read alike over unzeroed memory of any contents, as it
// writes every byte of the DIB it makes.
#include "engine/codecs.h"
#include "every_byte_written.h"
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

void check_round_trip(BITMAPINFOHEADER* dib) {
    std::vector<BYTE> bytes;
    rasko::Output out(append, &bytes);
    if (!rasko::write_bmp8(out, dib, io::bits_of(dib))) __builtin_trap();
    rasko::Input in(bytes.data(), bytes.size());
    BITMAPINFOHEADER* back = rasko::read_bmp(in, rasko::BmpSource::File, "Allocate Error");
    if (!back) __builtin_trap();
    const std::size_t pixels = std::size_t(io::stride_of(dib->biWidth)) * dib->biHeight;
    if (std::memcmp(back, dib, io::kHeaderAndPalette + pixels) != 0) __builtin_trap();
    RaskoDestroyDIB(back);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        rasko::Input in(data, size);
        BITMAPINFOHEADER* dib = rasko::read_bmp(in, rasko::BmpSource::File, "Allocate Error");
        if (dib && std::uint64_t(dib->biWidth) * dib->biHeight <= (1u << 16)) {
            check_round_trip(dib);
            check_every_byte_written(
                [&] {
                    rasko::Input again(data, size);
                    return rasko::read_bmp(again, rasko::BmpSource::File, "Allocate Error");
                },
                dib);
        }
        RaskoDestroyDIB(dib);
    }
    if (size > 14) {
        rasko::Input in(data + 14, size - 14);
        RaskoDestroyDIB(rasko::read_bmp(in, rasko::BmpSource::PackedDib, "DIB Open Error"));
    }
    return 0;
}
