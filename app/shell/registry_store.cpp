#include "app/shell/registry_store.h"

#include <cstring>

RegistryStore::RegistryStore(const char* key_path) {
    char key_class[] = "Software";
    DWORD disposition = 0;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key_path, 0, key_class, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, &disposition) == ERROR_SUCCESS)
        key_ = key;
}

RegistryStore::~RegistryStore() {
    if (key_) RegCloseKey(key_);
}

bool RegistryStore::is_empty() {
    if (!key_) return true;
    char name[256];
    DWORD name_size = sizeof name;
    return RegEnumValueA(key_, 0, name, &name_size, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_NO_MORE_ITEMS;
}

bool RegistryStore::read_dword(const char* name, std::int32_t& value) {
    if (!key_) return false;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    value = std::int32_t(data);
    return true;
}

bool RegistryStore::read_text(const char* name, char* buffer, std::size_t capacity) {
    if (!key_ || capacity == 0) return false;
    // One byte more than asked for: a stored text need not end with its
    // terminator, and one that does not must still fit with one.
    char* scratch = static_cast<char*>(GlobalAlloc(GPTR, capacity + 1));
    if (!scratch) return false;
    DWORD type = 0;
    DWORD size = DWORD(capacity);
    bool ok = RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(scratch),
                               &size) == ERROR_SUCCESS &&
              (type == REG_SZ || type == REG_EXPAND_SZ);
    if (ok) {
        scratch[size] = '\0';
        std::size_t n = std::strlen(scratch);
        ok = n < capacity;
        if (ok) std::memcpy(buffer, scratch, n + 1);
    }
    GlobalFree(scratch);
    return ok;
}

void RegistryStore::write_dword(const char* name, std::int32_t value) {
    if (!key_) return;
    DWORD data = DWORD(value);
    RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

void RegistryStore::write_text(const char* name, const char* text) {
    if (!key_) return;
    RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   DWORD(std::strlen(text) + 1));
}
