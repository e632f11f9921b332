// How many GDI and USER objects the program holds, so that a long run can
// tell a leak from a steady state (the frame answers kMsgCountObjects).
#pragma once

#include "platform/win.h"

struct ObjectCounts {
    unsigned gdi = 0;
    unsigned user = 0;
};

ObjectCounts count_objects();

// The counts packed as kMsgCountObjects answers them: GDI objects in the low
// word, USER objects in the high word, each at most 0xFFFF.
LRESULT object_counts_result(const ObjectCounts& counts);
