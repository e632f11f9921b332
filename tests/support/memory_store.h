// A KeyValueStore in memory for the settings and recent-file tests; names
// match without regard to case, as registry value names do.
#pragma once

#include "app/session/key_value_store.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <variant>

class MemoryStore : public KeyValueStore {
  public:
    using Value = std::variant<std::int32_t, std::string>;

    bool is_empty() override { return values_.empty(); }
    bool read_dword(const char* name, std::int32_t& value) override {
        auto it = values_.find(fold(name));
        if (it == values_.end() || !std::holds_alternative<std::int32_t>(it->second)) return false;
        value = std::get<std::int32_t>(it->second);
        return true;
    }
    bool read_text(const char* name, char* buffer, std::size_t capacity) override {
        auto it = values_.find(fold(name));
        if (it == values_.end() || !std::holds_alternative<std::string>(it->second)) return false;
        const std::string& text = std::get<std::string>(it->second);
        if (text.size() + 1 > capacity) return false;
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return true;
    }
    void write_dword(const char* name, std::int32_t value) override { values_[fold(name)] = value; }
    void write_text(const char* name, const char* text) override { values_[fold(name)] = text; }

    bool has(const char* name) const { return values_.count(fold(name)) != 0; }
    std::size_t size() const { return values_.size(); }
    const Value& at(const char* name) const { return values_.at(fold(name)); }

  private:
    static std::string fold(const char* name) {
        std::string s = name;
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        return s;
    }
    std::map<std::string, Value> values_;
};
