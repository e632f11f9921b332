// Module resources. The native build has no resource sections: tests register
// the resources a module should hold, and FindResourceA finds only those.
#pragma once

#include <cstdint>

using HRSRC = struct HRSRC__*;

#define MAKEINTRESOURCEA(id) (reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(WORD(id))))
#define RT_BITMAP MAKEINTRESOURCEA(2)

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);

namespace native {

// Gives `module` a resource of the type and name (a string, or an integer
// made with MAKEINTRESOURCEA) holding a copy of the bytes.
void add_resource(HMODULE module, LPCSTR type, LPCSTR name, const void* data, std::size_t size);
void clear_resources();

} // namespace native
