// The settings store over one stored text in the registry-export format.
#include "util/web_store.h"

#include <stdexcept>

namespace lumera::web {

namespace {

StoredValue ToStoredValue(const util::RegValue& value) {
    StoredValue result;
    switch (value.type) {
        case util::RegValue::Type::Binary: result.kind = StoredValue::Kind::Binary; break;
        case util::RegValue::Type::Dword: result.kind = StoredValue::Kind::Dword; break;
        case util::RegValue::Type::Text: result.kind = StoredValue::Kind::Text; break;
        case util::RegValue::Type::Other: result.kind = StoredValue::Kind::Other; break;
    }
    result.bytes = value.bytes;
    result.dword = value.dword;
    result.text = value.text;
    return result;
}

}  // namespace

std::optional<std::u16string> WebSettingsStore::ReadStored() {
    try {
        return storage_.Read(kRegistryStorageName);
    } catch (const StorageRefused&) {
        TellCannotKeep("");
        return std::nullopt;
    }
}

void WebSettingsStore::TellCannotKeep(const std::string& reason) {
    if (toldCannotKeep_ || !tell_) return;
    toldCannotKeep_ = true;
    std::string text = "Settings cannot be kept in this browser";
    text += reason.empty() ? ", because it does not let this site store anything." : ": " + reason;
    if (text.back() != '.') text += '.';
    tell_(text + " The game goes on, and the settings stored before stay as they were.");
}

std::optional<std::string> WebSettingsStore::SetAside(const std::u16string& text) {
    std::string name = std::string(kRegistryStorageName) + ".unreadable";
    try {
        for (int n = 2; storage_.Read(name); ++n) name = std::string(kRegistryStorageName) + ".unreadable-" + std::to_string(n);
        storage_.Write(name, text);
    } catch (const StorageRefused& refused) {
        TellCannotKeep(refused.what());
        return std::nullopt;
    }
    return name;
}

void WebSettingsStore::SetAsideUnreadable() {
    const auto text = ReadStored();
    if (!text || util::ParseRegistryFile(StorageBytes(*text))) return;
    const auto name = SetAside(*text);
    if (!name) return;
    try {
        storage_.Write(kRegistryStorageName, StorageUnits(util::SerializeRegistryFile(util::RegDocument{})));
    } catch (const StorageRefused& refused) {
        TellCannotKeep(refused.what());
    }
    if (tell_)
        tell_("The settings stored in this browser could not be read. They are kept under the name " + *name +
              ", and the game starts with new settings.");
}

bool WebSettingsStore::OpenKey(const std::string& key) { return util::IsValidKeyPath(key); }

// Unreadable text reads as empty; the next write sets it aside.
std::optional<StoredValue> WebSettingsStore::ReadValue(const std::string& key, const std::string& name) {
    const auto text = ReadStored();
    if (!text) return std::nullopt;
    const auto document = util::ParseRegistryFile(StorageBytes(*text));
    if (!document) return std::nullopt;
    const util::RegValue* value = document->Find(key, name);
    if (value == nullptr) return std::nullopt;
    return ToStoredValue(*value);
}

void WebSettingsStore::WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) {
    util::RegValue value;
    value.type = util::RegValue::Type::Binary;
    value.bytes = bytes;
    Write(key, name, value);
}

void WebSettingsStore::WriteDword(const std::string& key, const std::string& name, std::uint32_t dword) {
    util::RegValue value;
    value.type = util::RegValue::Type::Dword;
    value.dword = dword;
    Write(key, name, value);
}

void WebSettingsStore::WriteText(const std::string& key, const std::string& name, const std::string& text) {
    util::RegValue value;
    value.type = util::RegValue::Type::Text;
    value.text = text;
    Write(key, name, value);
}

// The stored text is read again right before it is replaced: another tab may have written
// since this one last looked, and its values are kept. Text that cannot be read is replaced
// only once it is kept under another name.
void WebSettingsStore::Write(const std::string& key, const std::string& name, const util::RegValue& value) {
    if (!util::IsValidKeyPath(key) || util::HasLineBreak(name))
        throw std::invalid_argument("Not a registry key and value name: " + key + " " + name);
    std::optional<std::u16string> text;
    try {
        text = storage_.Read(kRegistryStorageName);
    } catch (const StorageRefused&) {
        TellCannotKeep("");
        return;
    }
    util::RegDocument document;
    if (text) {
        if (auto parsed = util::ParseRegistryFile(StorageBytes(*text)))
            document = std::move(*parsed);
        else if (!SetAside(*text))
            return;
    }
    document.Set(key, name, value);
    try {
        storage_.Write(kRegistryStorageName, StorageUnits(util::SerializeRegistryFile(document)));
    } catch (const StorageRefused& refused) {
        TellCannotKeep(refused.what());
    }
}

}  // namespace lumera::web
