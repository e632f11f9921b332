#include "platform/win.h"

#include <cstring>
#include <list>
#include <string>
#include <vector>

namespace {

struct Resource {
    HMODULE module;
    std::string type;
    std::string name;
    std::vector<BYTE> data;
};

// A list, so that a resource's address (its HRSRC) stays valid while others
// are added.
std::list<Resource> resources;

// Integer identifiers are kept as "#<number>", which no string name can be
// confused with here.
std::string key_of(LPCSTR id) {
    const auto value = reinterpret_cast<std::uintptr_t>(id);
    if (value <= 0xFFFF) return "#" + std::to_string(value);
    return id;
}

} // namespace

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    if (!name || !type) return nullptr;
    const std::string type_key = key_of(type), name_key = key_of(name);
    for (Resource& r : resources)
        if (r.module == module && r.type == type_key && r.name == name_key)
            return reinterpret_cast<HRSRC>(&r);
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (!resource) return nullptr;
    auto* r = reinterpret_cast<Resource*>(resource);
    return r->data.empty() ? nullptr : r->data.data();
}

LPVOID LockResource(HGLOBAL data) {
    return data;
}

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? DWORD(reinterpret_cast<Resource*>(resource)->data.size()) : 0;
}

namespace native {

void add_resource(HMODULE module, LPCSTR type, LPCSTR name, const void* data, std::size_t size) {
    const BYTE* bytes = static_cast<const BYTE*>(data);
    resources.push_back(
        {module, key_of(type), key_of(name), std::vector<BYTE>(bytes, bytes + size)});
}

void clear_resources() {
    resources.clear();
}

} // namespace native
