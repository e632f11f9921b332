#include "addins/png/png_picture.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

namespace {

constexpr BYTE kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Inflated image data above this is refused, whatever the header claims.
constexpr std::uint64_t kMaxRawBytes = 256u * 1024 * 1024;

enum ColourType { kGrey = 0, kRgb = 2, kIndexed = 3, kGreyAlpha = 4, kRgba = 6 };

std::uint32_t be32(const BYTE* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
unsigned be16(const BYTE* p) {
    return unsigned(p[0]) << 8 | p[1];
}

struct Header {
    int width = 0;
    int height = 0;
    int depth = 0;
    int colour_type = 0;
    bool interlaced = false;
    int channels() const {
        switch (colour_type) {
        case kRgb:
            return 3;
        case kGreyAlpha:
            return 2;
        case kRgba:
            return 4;
        default:
            return 1;
        }
    }
    int bits_per_pixel() const { return channels() * depth; }
    // Bytes between a pixel and the one it is filtered against.
    int filter_step() const { return std::max(1, bits_per_pixel() / 8); }
    std::uint64_t row_bytes(int pixels) const {
        return (std::uint64_t(pixels) * unsigned(bits_per_pixel()) + 7) / 8;
    }
};

bool valid_depth(int colour_type, int depth) {
    switch (colour_type) {
    case kGrey:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kIndexed:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case kRgb:
    case kGreyAlpha:
    case kRgba:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

bool read_header(const BYTE* d, std::uint32_t length, Header& h) {
    if (length != 13) return false;
    const std::uint32_t width = be32(d), height = be32(d + 4);
    if (width == 0 || height == 0 || width > kPngMaxSide || height > kPngMaxSide) return false;
    if (std::uint64_t(width) * height > kPngMaxPixels) return false;
    h.width = int(width);
    h.height = int(height);
    h.depth = d[8];
    h.colour_type = d[9];
    if (!valid_depth(h.colour_type, h.depth)) return false;
    if (d[10] != 0 || d[11] != 0 || d[12] > 1) return false;
    h.interlaced = d[12] == 1;
    return true;
}

// One reduced image of Adam7 (or the whole image when not interlaced).
struct Pass {
    int x0, y0, dx, dy;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr Pass kWhole = {0, 0, 1, 1};

int pass_extent(int size, int start, int step) {
    return size > start ? (size - start + step - 1) / step : 0;
}

std::uint64_t raw_size(const Header& h) {
    std::uint64_t total = 0;
    const Pass* passes = h.interlaced ? kAdam7 : &kWhole;
    const int count = h.interlaced ? 7 : 1;
    for (int p = 0; p < count; ++p) {
        const int w = pass_extent(h.width, passes[p].x0, passes[p].dx);
        const int rows = pass_extent(h.height, passes[p].y0, passes[p].dy);
        if (w && rows) total += std::uint64_t(rows) * (1 + h.row_bytes(w));
    }
    return total;
}

bool inflate_all(const std::vector<BYTE>& compressed, std::uint64_t expected,
                 std::vector<BYTE>& raw) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return false;
    stream.next_in = const_cast<BYTE*>(compressed.data());
    stream.avail_in = uInt(compressed.size());
    // Grow the output as it arrives so that a header that lies about the
    // size costs nothing until the data is really there.
    raw.clear();
    int result = Z_OK;
    while (result == Z_OK && raw.size() < expected) {
        const std::size_t done = raw.size();
        const std::size_t chunk = std::size_t(std::min<std::uint64_t>(expected - done, 1u << 20));
        raw.resize(done + chunk);
        stream.next_out = raw.data() + done;
        stream.avail_out = uInt(chunk);
        result = inflate(&stream, Z_NO_FLUSH);
        raw.resize(done + chunk - stream.avail_out);
        if (result == Z_BUF_ERROR && stream.avail_in == 0) break;
    }
    inflateEnd(&stream);
    return raw.size() == expected && (result == Z_OK || result == Z_STREAM_END);
}

int paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Undoes one row's filter in place; prior is the previous row of the same
// pass (all zeros for the first).
bool unfilter(BYTE type, BYTE* row, const BYTE* prior, std::size_t length, int step) {
    switch (type) {
    case 0:
        return true;
    case 1:
        for (std::size_t i = std::size_t(step); i < length; ++i)
            row[i] = BYTE(row[i] + row[i - step]);
        return true;
    case 2:
        for (std::size_t i = 0; i < length; ++i)
            row[i] = BYTE(row[i] + prior[i]);
        return true;
    case 3:
        for (std::size_t i = 0; i < length; ++i) {
            const int left = i >= std::size_t(step) ? row[i - step] : 0;
            row[i] = BYTE(row[i] + ((left + prior[i]) >> 1));
        }
        return true;
    case 4:
        for (std::size_t i = 0; i < length; ++i) {
            const bool has_left = i >= std::size_t(step);
            const int left = has_left ? row[i - step] : 0;
            const int corner = has_left ? prior[i - step] : 0;
            row[i] = BYTE(row[i] + paeth(left, prior[i], corner));
        }
        return true;
    default:
        return false;
    }
}

// A sample of channel c at pixel x of an unfiltered row, reduced to 8 bits
// for 16-bit images and left as it is for depths below 8.
unsigned sample(const Header& h, const BYTE* row, int x, int c) {
    if (h.depth == 16) return row[(std::size_t(x) * h.channels() + c) * 2];
    if (h.depth == 8) return row[std::size_t(x) * h.channels() + c];
    const int per_byte = 8 / h.depth;
    const int shift = 8 - h.depth * (x % per_byte + 1);
    return (row[x / per_byte] >> shift) & ((1u << h.depth) - 1);
}

// Full 16-bit (or 8-bit) grey sample, for comparison with a tRNS grey.
unsigned full_sample(const Header& h, const BYTE* row, int x, int c) {
    if (h.depth == 16) return be16(row + (std::size_t(x) * h.channels() + c) * 2);
    return sample(h, row, x, c);
}

struct Chunks {
    Header header;
    RGBQUAD palette[256] = {};
    int palette_entries = 0;
    BYTE palette_alpha[256];
    int alpha_entries = 0;
    bool has_key = false; // tRNS for grey or truecolour
    unsigned key[3] = {};
    std::vector<BYTE> compressed;
    Chunks() { std::memset(palette_alpha, 255, sizeof palette_alpha); }
};

bool read_chunks(const BYTE* data, std::size_t size, Chunks& c) {
    if (size < 8 || std::memcmp(data, kSignature, 8) != 0) return false;
    std::size_t at = 8;
    bool seen_header = false, seen_end = false, seen_data = false;
    while (!seen_end) {
        if (size - at < 12) return false;
        const std::uint32_t length = be32(data + at);
        if (length > size - at - 12) return false;
        const BYTE* type = data + at + 4;
        const BYTE* d = type + 4;
        const std::uint32_t crc = be32(d + length);
        const bool critical = !(type[0] & 0x20);
        const bool checked = critical || std::memcmp(type, "tRNS", 4) == 0;
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
        if (checked && crc32(crc32(0, nullptr, 0), type, length + 4) != crc) return false;
#else
        (void)checked;
        (void)crc;
#endif
        at += 12 + std::size_t(length);

        if (!seen_header) {
            if (std::memcmp(type, "IHDR", 4) != 0 || !read_header(d, length, c.header))
                return false;
            seen_header = true;
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            if (length % 3 != 0 || length / 3 > 256 || length == 0 || seen_data) return false;
            c.palette_entries = int(length / 3);
            for (int i = 0; i < c.palette_entries; ++i)
                c.palette[i] = RGBQUAD{d[i * 3 + 2], d[i * 3 + 1], d[i * 3], 0};
        } else if (std::memcmp(type, "tRNS", 4) == 0) {
            const int ct = c.header.colour_type;
            if (ct == kIndexed && length <= 256) {
                c.alpha_entries = int(length);
                std::memcpy(c.palette_alpha, d, length);
            } else if (ct == kGrey && length == 2) {
                c.has_key = true;
                c.key[0] = be16(d);
            } else if (ct == kRgb && length == 6) {
                c.has_key = true;
                for (int i = 0; i < 3; ++i)
                    c.key[i] = be16(d + 2 * i);
            }
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            if (c.compressed.size() + length > kMaxRawBytes) return false;
            c.compressed.insert(c.compressed.end(), d, d + length);
            seen_data = true;
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            seen_end = true;
        } else if (critical) {
            return false; // a critical chunk we do not know
        }
    }
    if (!seen_data) return false;
    return c.header.colour_type != kIndexed || c.palette_entries > 0;
}

// Turns each unfiltered row of a pass into colour keys: an index for indexed
// and grey pictures, 0xAARRGGBB for the others.
class Sink {
  public:
    Sink(const Chunks& c, PngPicture& out) : c_(c), h_(c.header), out_(out) {
        if (!direct()) colours_.resize(std::size_t(h_.width) * h_.height);
    }
    bool direct() const { return h_.colour_type == kIndexed || h_.colour_type == kGrey; }

    void row(const BYTE* row, int pass_width, int y, const Pass& pass) {
        for (int i = 0; i < pass_width; ++i) {
            const std::size_t at = std::size_t(y) * h_.width + pass.x0 + std::size_t(i) * pass.dx;
            if (direct())
                out_.pixels[at] = BYTE(sample(h_, row, i, 0));
            else
                colours_[at] = colour_of(row, i);
            if (h_.colour_type == kGrey && c_.has_key && full_sample(h_, row, i, 0) == c_.key[0])
                grey_key_seen_ = true;
        }
    }

    void finish() {
        if (h_.colour_type == kIndexed)
            finish_indexed();
        else if (h_.colour_type == kGrey)
            finish_grey();
        else
            finish_colours();
    }

  private:
    std::uint32_t colour_of(const BYTE* row, int x) const {
        unsigned r, g, b, a = 255;
        if (h_.colour_type == kGreyAlpha || h_.colour_type == kGrey) {
            r = g = b = sample(h_, row, x, 0);
            if (h_.colour_type == kGreyAlpha) a = sample(h_, row, x, 1);
        } else {
            r = sample(h_, row, x, 0);
            g = sample(h_, row, x, 1);
            b = sample(h_, row, x, 2);
            if (h_.colour_type == kRgba) a = sample(h_, row, x, 3);
            if (c_.has_key && full_sample(h_, row, x, 0) == c_.key[0] &&
                full_sample(h_, row, x, 1) == c_.key[1] && full_sample(h_, row, x, 2) == c_.key[2])
                a = 0;
        }
        return std::uint32_t(a < 128 ? 0 : 255) << 24 | r << 16 | g << 8 | b;
    }

    void finish_indexed() {
        std::memcpy(out_.palette, c_.palette, sizeof out_.palette);
        // The most transparent entry below half opacity becomes the key.
        int best = 128;
        for (int i = 0; i < c_.alpha_entries; ++i)
            if (c_.palette_alpha[i] < best) {
                best = c_.palette_alpha[i];
                out_.transparent_index = i;
            }
    }

    void finish_grey() {
        const unsigned top = h_.depth >= 8 ? 255 : (1u << h_.depth) - 1;
        for (unsigned v = 0; v <= top; ++v) {
            const BYTE level = BYTE(v * 255 / top);
            out_.palette[v] = RGBQUAD{level, level, level, 0};
        }
        if (c_.has_key && grey_key_seen_)
            out_.transparent_index = int(h_.depth == 16 ? c_.key[0] >> 8 : c_.key[0]);
    }

    void finish_colours() {
        std::unordered_map<std::uint32_t, BYTE> index;
        bool transparent = false;
        for (std::uint32_t colour : colours_) {
            if (!(colour >> 24)) {
                transparent = true;
                continue;
            }
            if (index.size() <= 256) index.emplace(colour, BYTE(0));
        }
        const std::size_t room = transparent ? 255 : 256;
        if (index.size() <= room) {
            std::vector<std::uint32_t> sorted;
            for (const auto& entry : index)
                sorted.push_back(entry.first);
            std::sort(sorted.begin(), sorted.end());
            for (std::size_t i = 0; i < sorted.size(); ++i) {
                index[sorted[i]] = BYTE(i);
                out_.palette[i] = quad(sorted[i]);
            }
            if (transparent) out_.transparent_index = int(sorted.size());
            for (std::size_t i = 0; i < colours_.size(); ++i)
                out_.pixels[i] = colours_[i] >> 24 ? index[colours_[i]] : BYTE(sorted.size());
            return;
        }
        // Too many colours for a palette of their own: a 6 x 7 x 6 cube,
        // entry 252 for transparency.
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    out_.palette[(r * 7 + g) * 6 + b] =
                        RGBQUAD{BYTE(b * 255 / 5), BYTE(g * 255 / 6), BYTE(r * 255 / 5), 0};
        if (transparent) out_.transparent_index = 252;
        for (std::size_t i = 0; i < colours_.size(); ++i) {
            const std::uint32_t c = colours_[i];
            if (!(c >> 24)) {
                out_.pixels[i] = 252;
                continue;
            }
            const unsigned r = ((c >> 16 & 255) * 5 + 127) / 255;
            const unsigned g = ((c >> 8 & 255) * 6 + 127) / 255;
            const unsigned b = ((c & 255) * 5 + 127) / 255;
            out_.pixels[i] = BYTE((r * 7 + g) * 6 + b);
        }
    }

    static RGBQUAD quad(std::uint32_t c) {
        return RGBQUAD{BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0};
    }

    const Chunks& c_;
    const Header& h_;
    PngPicture& out_;
    std::vector<std::uint32_t> colours_;
    bool grey_key_seen_ = false;
};

bool decode_passes(const Chunks& c, const std::vector<BYTE>& raw, PngPicture& out) {
    const Header& h = c.header;
    Sink sink(c, out);
    const Pass* passes = h.interlaced ? kAdam7 : &kWhole;
    const int count = h.interlaced ? 7 : 1;
    std::vector<BYTE> prior, current;
    std::size_t at = 0;
    for (int p = 0; p < count; ++p) {
        const Pass& pass = passes[p];
        const int w = pass_extent(h.width, pass.x0, pass.dx);
        const int rows = pass_extent(h.height, pass.y0, pass.dy);
        if (!w || !rows) continue;
        const std::size_t length = std::size_t(h.row_bytes(w));
        prior.assign(length, 0);
        for (int r = 0; r < rows; ++r) {
            const BYTE type = raw[at];
            current.assign(raw.begin() + std::ptrdiff_t(at + 1),
                           raw.begin() + std::ptrdiff_t(at + 1 + length));
            at += 1 + length;
            if (!unfilter(type, current.data(), prior.data(), length, h.filter_step()))
                return false;
            sink.row(current.data(), w, pass.y0 + r * pass.dy, pass);
            prior.swap(current);
        }
    }
    sink.finish();
    return true;
}

} // namespace

bool png_decode(const BYTE* data, std::size_t size, PngPicture& out) {
    Chunks chunks;
    if (!data || !read_chunks(data, size, chunks)) return false;
    const std::uint64_t expected = raw_size(chunks.header);
    if (expected > kMaxRawBytes) return false;
    std::vector<BYTE> raw;
    if (!inflate_all(chunks.compressed, expected, raw)) return false;
    out = PngPicture{};
    out.width = chunks.header.width;
    out.height = chunks.header.height;
    out.pixels.assign(std::size_t(out.width) * out.height, 0);
    return decode_passes(chunks, raw, out);
}
