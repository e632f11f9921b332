// The settings key of the current user as a KeyValueStore.
#pragma once

#include "app/session/key_value_store.h"
#include "platform/win.h"

class RegistryStore : public KeyValueStore {
  public:
    // Opens or creates HKEY_CURRENT_USER\<key_path>; ok() tells whether it
    // could. Tests pass a key of their own.
    explicit RegistryStore(const char* key_path);
    ~RegistryStore() override;
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    bool ok() const { return key_ != nullptr; }

    bool is_empty() override;
    bool read_dword(const char* name, std::int32_t& value) override;
    bool read_text(const char* name, char* buffer, std::size_t capacity) override;
    void write_dword(const char* name, std::int32_t value) override;
    void write_text(const char* name, const char* text) override;

  private:
    HKEY key_ = nullptr;
};
