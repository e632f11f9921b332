// The one header portable code includes for Windows types and calls.
// On Windows it is <windows.h>; in the native build it is the project's own
// small layer (platform/native/), which holds only what portable code needs.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "native/win_native.h"
#endif
