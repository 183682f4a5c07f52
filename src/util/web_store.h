// The browser's settings store: the registry-export text that the desktop keeps in a file, kept
// under one name of the page's local storage. Every read parses the stored text afresh and every
// write re-reads it before changing the one value, so that two open tabs lose nothing. A browser
// that blocks storage or refuses a write costs the player the settings, never the game: they are
// told once per visit, and what was stored stays as it was.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "engine/ports.h"
#include "util/registry_format.h"
#include "util/page_storage.h"

namespace lumera::web {

inline constexpr char kRegistryStorageName[] = "lumera8.registry";

class WebSettingsStore final : public ISettingsStore {
public:
    explicit WebSettingsStore(IPageStorage& storage) : storage_(storage) {}

    // Where the store's messages to the player go (information messages); none are given
    // while it is unset.
    void SetTell(std::function<void(const std::string& text)> tell) { tell_ = std::move(tell); }

    // Text that is there but is no registry export is kept under another name, exactly as it
    // was, before anything is written over it; the player is told that name.
    void SetAsideUnreadable();

    // Every key can be opened: without storage the settings are only not kept.
    bool OpenKey(const std::string& key) override;
    std::optional<StoredValue> ReadValue(const std::string& key, const std::string& name) override;
    // A write that the browser refuses is told once and otherwise dropped; it never throws
    // for the browser's sake.
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) override;
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) override;
    void WriteText(const std::string& key, const std::string& name, const std::string& text) override;

private:
    // The stored text; nothing when there is none or the browser keeps it from the page.
    std::optional<std::u16string> ReadStored();
    // Keeps an unreadable text under a free name and returns it; nothing when it cannot.
    std::optional<std::string> SetAside(const std::u16string& text);
    void Write(const std::string& key, const std::string& name, const util::RegValue& value);
    void TellCannotKeep(const std::string& reason);
    IPageStorage& storage_;
    std::function<void(const std::string&)> tell_;
    bool toldCannotKeep_ = false;
};

}  // namespace lumera::web
