// The sixteen pen slots: global 32 x 32 pens shared by every document (each
// document only remembers which slot it uses). A pen's shape is 0 on a
// background of 255, as stamping (key 255), the footprint, the pen window and
// the pen editor all read it.
#pragma once

#include "app/document/picture.h"

inline constexpr int kPenSlotCount = 16;
inline constexpr int kPenSize = 32;
inline constexpr BYTE kPenShape = 0;
inline constexpr BYTE kPenBackground = 255;

struct PenSlots {
    Surface* slot[kPenSlotCount] = {}; // owned
};

// The program's one set of pen slots.
PenSlots& pen_slots();

// Builds the slots from the "VELMO_DEFAULT_PEN" strip: a packed 1-bit DIB
// (header, two-entry colour table, rows) 512 x 32 whose pen i is the square
// at x = 32 i. Each slot is an 8-bit 32 x 32 surface, colour table black but
// entry 255 white; strip pixels of index 0 become 0 (the shape), the others
// 255. `size` is the resource's byte count. Returns false, with every slot
// freed, on a strip of another shape or when memory runs out.
bool build_pen_slots(PenSlots& pens, const BYTE* strip, std::size_t size);
// Fills every slot with a round pen, slot i a disc 2 i + 2 pixels across,
// for a start without the default strip. False, with every slot freed, when
// memory runs out.
bool build_round_pen_slots(PenSlots& pens);
void free_pen_slots(PenSlots& pens);
