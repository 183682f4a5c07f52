// The browser's settings store: the registry-export text that the desktop keeps in a file, kept
// as one value of the page's local storage. Every read parses the stored text afresh and every
// write re-reads it before changing the one value, so that two open tabs lose nothing.
#pragma once

#include <optional>
#include <string>

#include "engine/ports.h"
#include "util/registry_format.h"

namespace lumera::web {

// Where the text lives: one slot of local storage, or a fake in tests. Bytes are kept one
// character each (codes 0 to 255).
class IStoredText {
public:
    virtual ~IStoredText() = default;
    // Whether the slot can be used at all (local storage may be switched off).
    virtual bool IsAvailable() = 0;
    // The stored text; nothing when it has never been written. Throws std::runtime_error when
    // the slot cannot be read.
    virtual std::optional<std::string> Read() = 0;
    // Throws std::runtime_error carrying the browser's reason when the text cannot be stored.
    virtual void Write(const std::string& bytes) = 0;
    // Keeps text that cannot be read under a name of its own, never over an earlier one;
    // returns that name.
    virtual std::string SetAside(const std::string& bytes) = 0;
};

class WebSettingsStore final : public ISettingsStore {
public:
    explicit WebSettingsStore(IStoredText& slot) : slot_(slot) {}

    // Text that is there but is no registry export is set aside before anything is written
    // over it; returns the name it was kept under, or nothing when the text was readable.
    std::optional<std::string> SetAsideUnreadable();

    bool OpenKey(const std::string& key) override;
    std::optional<StoredValue> ReadValue(const std::string& key, const std::string& name) override;
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) override;
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) override;
    void WriteText(const std::string& key, const std::string& name, const std::string& text) override;

private:
    void Write(const std::string& key, const std::string& name, const util::RegValue& value);
    IStoredText& slot_;
};

// The local storage slot of the page ("lumera8.registry").
IStoredText& LocalStorageText();

}  // namespace lumera::web
