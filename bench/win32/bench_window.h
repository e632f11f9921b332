// What the window benchmarks share: running the queued messages, and a
// clock in seconds.
#pragma once

#include "platform/win.h"

namespace bench {

// Dispatches every message waiting for this thread.
inline void pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// The performance counter in seconds.
inline double seconds() {
    static LARGE_INTEGER frequency{};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

} // namespace bench
