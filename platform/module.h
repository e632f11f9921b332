// Looking up functions in loaded DLLs (win32 build only).
#pragma once

#include "platform/win.h"

// The exported function `name` of `module` as a pointer of type Fn, or null.
// GetProcAddress returns a generic function pointer; the detour through void*
// states that the caller knows the real signature.
template <typename Fn> Fn proc_address(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
