#include "app/session/outside_text.h"

namespace {

constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuation = 0x80;

bool continues(unsigned char byte) {
    return (byte & kContinuationMask) == kContinuation;
}

} // namespace

bool is_utf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        // The allowed range of the first continuation byte rules out overlong
        // forms (E0, F0), surrogates (ED) and code points past U+10FFFF (F4).
        int length;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (end - p < length || p[1] < low || p[1] > high) return false;
        for (int i = 2; i < length; ++i)
            if (!continues(p[i])) return false;
        p += length;
    }
    return true;
}
