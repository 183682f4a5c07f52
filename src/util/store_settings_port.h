// The engine's settings port over the store file, so that the engine and the donation
// schedule read and write the registry export file like any other settings store.
#pragma once

#include "engine/ports.h"
#include "util/registry_store.h"

namespace lumera {

// The engine's settings port over the store file.
class StoreSettingsPort final : public ISettingsStore {
public:
    explicit StoreSettingsPort(util::RegistryStore& store) : store_(store) {}
    bool OpenKey(const std::string& key) override { return store_.OpenKey(key); }
    std::optional<StoredValue> ReadValue(const std::string& key, const std::string& name) override;
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) override {
        store_.WriteBinary(key, name, bytes);
    }
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) override {
        store_.WriteDword(key, name, value);
    }
    void WriteText(const std::string& key, const std::string& name, const std::string& text) override {
        store_.WriteText(key, name, text);
    }

private:
    util::RegistryStore& store_;
};

}  // namespace lumera
