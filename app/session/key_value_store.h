// The named values that settings and the recent-file list keep. In the
// program this is the registry key of the current user; tests back it with
// memory. Names are compared without regard to case, as the registry does.
#pragma once

#include <cstddef>
#include <cstdint>

class KeyValueStore {
  public:
    virtual ~KeyValueStore() = default;

    // True while the store holds no value at all (a first run).
    virtual bool is_empty() = 0;
    // Reads a 32-bit value; false (and `value` untouched) when it is missing
    // or is not a 32-bit value.
    virtual bool read_dword(const char* name, std::int32_t& value) = 0;
    // Reads a text of at most capacity - 1 characters plus its terminator;
    // false (and `buffer` untouched) when it is missing, not a text, or longer.
    virtual bool read_text(const char* name, char* buffer, std::size_t capacity) = 0;
    virtual void write_dword(const char* name, std::int32_t value) = 0;
    virtual void write_text(const char* name, const char* text) = 0;
};
