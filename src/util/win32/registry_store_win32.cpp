// The engine's settings port over the Windows registry, with the fallback from
// HKEY_LOCAL_MACHINE to HKEY_CURRENT_USER.
#include "util/win32/registry_store_win32.h"

#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

#include "util/text_encoding.h"
#include "util/win32/system_error_win32.h"

namespace lumera::win32 {

namespace {

// Closes a key handle when it leaves scope.
class KeyHandle {
public:
    KeyHandle() = default;
    ~KeyHandle() {
        if (key_) RegCloseKey(key_);
    }
    KeyHandle(const KeyHandle&) = delete;
    KeyHandle& operator=(const KeyHandle&) = delete;
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Full access, as the game asks for its keys.
constexpr REGSAM kFullAccess = KEY_ALL_ACCESS;

}  // namespace

std::optional<RegistryPath> SplitRegistryPath(const std::string& key) {
    const std::size_t slash = key.find('\\');
    if (slash == std::string::npos || slash + 1 >= key.size()) return std::nullopt;
    const std::string rootName = key.substr(0, slash);
    static const std::pair<const char*, HKEY> roots[] = {
        {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {"HKLM", HKEY_LOCAL_MACHINE},
        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},   {"HKCU", HKEY_CURRENT_USER},
        {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},   {"HKCR", HKEY_CLASSES_ROOT},
        {"HKEY_USERS", HKEY_USERS},                 {"HKU", HKEY_USERS},
    };
    for (const auto& [name, root] : roots)
        if (util::EqualsIgnoreCase(rootName, name)) return RegistryPath{root, key.substr(slash + 1)};
    return std::nullopt;
}

RegistrySettingsStore::RegistrySettingsStore() : RegistrySettingsStore(&RegistrySettingsStore::CreateKey) {}

RegistrySettingsStore::RegistrySettingsStore(KeyOpener opener) : opener_(std::move(opener)) {}

LONG RegistrySettingsStore::CreateKey(HKEY root, const std::string& subKey, REGSAM access, HKEY* key) {
    return RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key, nullptr);
}

LONG RegistrySettingsStore::Open(const std::string& key, HKEY* handle) const {
    const auto path = SplitRegistryPath(key);
    if (!path) return ERROR_INVALID_PARAMETER;
    LONG result = opener_(path->root, path->subKey, kFullAccess, handle);
    // A standard user may not write under HKEY_LOCAL_MACHINE: the same path under
    // HKEY_CURRENT_USER keeps the player's settings instead of losing them.
    if (result != ERROR_SUCCESS && path->root == HKEY_LOCAL_MACHINE) {
        *handle = nullptr;
        result = opener_(HKEY_CURRENT_USER, path->subKey, kFullAccess, handle);
    }
    if (result != ERROR_SUCCESS) *handle = nullptr;
    return result;
}

bool RegistrySettingsStore::OpenKey(const std::string& key) {
    KeyHandle handle;
    return Open(key, handle.Out()) == ERROR_SUCCESS;
}

std::optional<StoredValue> RegistrySettingsStore::ReadValue(const std::string& key, const std::string& name) {
    KeyHandle handle;
    if (Open(key, handle.Out()) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data(256);
    LONG result;
    for (;;) {
        DWORD size = static_cast<DWORD>(data.size());
        result = RegQueryValueExA(handle.Get(), name.c_str(), nullptr, &type, data.data(), &size);
        if (result == ERROR_MORE_DATA) {
            data.resize(std::max<std::size_t>(size, data.size() * 2));
            continue;
        }
        if (result == ERROR_SUCCESS) data.resize(size);
        break;
    }
    if (result != ERROR_SUCCESS) return std::nullopt;

    StoredValue value;
    if (type == REG_BINARY) {
        value.kind = StoredValue::Kind::Binary;
        value.bytes = std::move(data);
    } else if (type == REG_DWORD && data.size() == sizeof(std::uint32_t)) {
        value.kind = StoredValue::Kind::Dword;
        value.dword = static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                      static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    } else if (type == REG_SZ) {
        value.kind = StoredValue::Kind::Text;
        // The stored terminator (and any a writer added) is not part of the text.
        std::size_t length = data.size();
        while (length > 0 && data[length - 1] == 0) --length;
        value.text.assign(reinterpret_cast<const char*>(data.data()), length);
    } else {
        value.kind = StoredValue::Kind::Other;
        value.bytes = std::move(data);
    }
    return value;
}

void RegistrySettingsStore::Write(const std::string& key, const std::string& name, DWORD type, const BYTE* data,
                                  DWORD size) {
    KeyHandle handle;
    LONG result = Open(key, handle.Out());
    if (result == ERROR_SUCCESS) result = RegSetValueExA(handle.Get(), name.c_str(), 0, type, data, size);
    if (result != ERROR_SUCCESS) throw std::runtime_error(SystemErrorText(static_cast<DWORD>(result)));
}

void RegistrySettingsStore::WriteBinary(const std::string& key, const std::string& name,
                                        const std::vector<std::uint8_t>& bytes) {
    Write(key, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}

void RegistrySettingsStore::WriteDword(const std::string& key, const std::string& name, std::uint32_t value) {
    const BYTE data[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
                          static_cast<BYTE>(value >> 24)};
    Write(key, name, REG_DWORD, data, sizeof data);
}

void RegistrySettingsStore::WriteText(const std::string& key, const std::string& name, const std::string& text) {
    // Stored with its terminating NUL, as REG_SZ values are.
    Write(key, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
}

}  // namespace lumera::win32
