// The settings store over one stored text in the registry-export format.
#include "util/web/web_store.h"

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

std::optional<std::string> WebSettingsStore::SetAsideUnreadable() {
    if (!slot_.IsAvailable()) return std::nullopt;
    const auto text = slot_.Read();
    if (!text || util::ParseRegistryFile(*text)) return std::nullopt;
    const std::string name = slot_.SetAside(*text);
    slot_.Write(util::SerializeRegistryFile(util::RegDocument{}));
    return name;
}

bool WebSettingsStore::OpenKey(const std::string& key) { return util::IsValidKeyPath(key) && slot_.IsAvailable(); }

// Unreadable text reads as empty; the next write sets it aside.
std::optional<StoredValue> WebSettingsStore::ReadValue(const std::string& key, const std::string& name) {
    if (!slot_.IsAvailable()) return std::nullopt;
    const auto text = slot_.Read();
    if (!text) return std::nullopt;
    const auto document = util::ParseRegistryFile(*text);
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
// since this one last looked, and its values are kept.
void WebSettingsStore::Write(const std::string& key, const std::string& name, const util::RegValue& value) {
    if (!util::IsValidKeyPath(key) || util::HasLineBreak(name))
        throw std::invalid_argument("Not a registry key and value name: " + key + " " + name);
    if (!slot_.IsAvailable()) return;
    util::RegDocument document;
    if (const auto text = slot_.Read()) {
        if (auto parsed = util::ParseRegistryFile(*text))
            document = std::move(*parsed);
        else
            slot_.SetAside(*text);
    }
    document.Set(key, name, value);
    slot_.Write(util::SerializeRegistryFile(document));
}

}  // namespace lumera::web
