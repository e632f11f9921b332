#include "app/tools/lettering_tool.h"

#include "app/document/composite.h"
#include "app/tools/fill_tool.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr BYTE kBackspace = 8, kTab = 9, kLineFeed = 10, kEnter = 13, kEscape = 27;

void set_length(LetteringText& t, int length) {
    t.length = length;
    t.bytes[length] = 0;
    t.state = length + 1;
}

// Where the last whole character starts, walking from the first byte as the
// system's CharPrev does (a lead byte at the very end stands alone).
int last_character(const LetteringText& t, LeadByteTest is_lead) {
    int start = 0;
    for (int i = 0; i < t.length;) {
        start = i;
        i += is_lead(BYTE(t.bytes[i])) && i + 1 < t.length ? 2 : 1;
    }
    return start;
}

TypingResult append(LetteringText& t, BYTE c, LeadByteTest is_lead) {
    if (t.expect_trail) {
        t.expect_trail = false;
    } else if (t.drop_trail) {
        t.drop_trail = false;
        return TypingResult::ignored;
    } else if (is_lead(c)) {
        if (t.length + 2 > kLetteringCapacity) {
            t.drop_trail = true;
            return TypingResult::ignored;
        }
        t.expect_trail = true;
    }
    if (t.length >= kLetteringCapacity) return TypingResult::ignored;
    t.bytes[t.length] = char(c);
    set_length(t, t.length + 1);
    return TypingResult::changed;
}

} // namespace

void start_text(LetteringText& text) {
    text = LetteringText{};
    text.state = 1;
}

void drop_text(LetteringText& text) {
    text = LetteringText{};
}

TypingResult type_byte(LetteringText& t, BYTE c, LeadByteTest is_lead) {
    if (t.state == 0) return TypingResult::ignored;
    switch (c) {
    case kBackspace:
        t.expect_trail = t.drop_trail = false;
        if (t.length == 0) return TypingResult::ignored;
        set_length(t, last_character(t, is_lead));
        return t.length == 0 ? TypingResult::emptied : TypingResult::changed;
    case kTab:
    case kLineFeed:
        return TypingResult::ignored;
    case kEnter:
        return TypingResult::commit;
    case kEscape:
        drop_text(t);
        return TypingResult::drop;
    }
    return append(t, c, is_lead);
}

RECT lettering_box(POINT anchor, int cx, int cy, int degrees) {
    const double theta = degrees * 3.14159265358979323846 / 180;
    const double c = std::cos(theta), s = std::sin(theta);
    const POINT a{int(cx * c), int(-cx * s)};
    const POINT b{int(cy * s), int(cy * c)};
    const POINT corners[] = {{0, 0}, a, b, {a.x + b.x, a.y + b.y}};
    RECT box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const POINT& p : corners) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return {box.left + anchor.x, box.top + anchor.y, box.right + anchor.x, box.bottom + anchor.y};
}

void lettering_preview(PictureDocument& doc, BYTE text_mark, const RECT& box) {
    const Layer* layer = current_layer(doc);
    if (!doc.composite || !doc.stroke_surface || !layer) return;
    const int key =
        (doc.flags & kDocKeyColourEnabled) ? layer->key_colour & 0xFF : kNoTransparentColour;
    paint_region(*doc.composite, *doc.stroke_surface, box, text_mark,
                 tone_tile(doc.left_colour, doc.right_colour, doc.tone_level), {0, 0}, nullptr,
                 key);
}

void lettering_commit(PictureDocument& doc, BYTE text_mark, const RECT& box, bool m_held) {
    const DrawTarget t = drawing_target(doc, m_held);
    if (!t.surface || !doc.stroke_surface) return;
    paint_region(*t.surface, *doc.stroke_surface, box, text_mark,
                 tone_tile(doc.left_colour, doc.right_colour, doc.tone_level), {0, 0}, t.mask,
                 t.transparent);
    doc.update_rect = {box.left, box.top, box.right + 1, box.bottom + 1};
    recomposite(doc);
    doc.flags |= kNotifyPresent | kNotifyZoomWindow;
}
