// The settings record as one tab of the page writes it while other tabs of the game run beside
// it. The record is one value that holds both the position and the options, so each write takes
// the record as stored now and changes in it only what the player changed in this tab: an option
// toggled here, or the position (file and index) moved here. A tab thus never turns another
// tab's newer position back to its own older one, nor another tab's options.
#pragma once

#include <array>
#include <optional>

#include "engine/ports.h"

namespace lumera::web {

class TabSettingsStore final : public ISettingsStore {
public:
    explicit TabSettingsStore(ISettingsStore& store) : store_(store) {}

    bool OpenKey(const std::string& key) override { return store_.OpenKey(key); }
    // A read of the record also notes the options this tab now holds.
    std::optional<StoredValue> ReadValue(const std::string& key, const std::string& name) override;
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) override;
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) override {
        store_.WriteDword(key, name, value);
    }
    void WriteText(const std::string& key, const std::string& name, const std::string& text) override {
        store_.WriteText(key, name, text);
    }

private:
    ISettingsStore& store_;
    std::optional<std::array<std::uint8_t, 2>> options_;  // ShowCorrect and Sound as this tab last had them
};

}  // namespace lumera::web
