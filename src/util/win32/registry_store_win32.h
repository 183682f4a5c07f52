// The Windows settings store: the engine's settings port over the registry itself. A key under
// HKEY_LOCAL_MACHINE that cannot be opened with full access (a standard user on Windows Vista
// and later) is used under HKEY_CURRENT_USER instead, for reading and writing alike.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "engine/ports.h"

namespace lumera::win32 {

// A registry path split into its root and the path below it.
struct RegistryPath {
    HKEY root = nullptr;
    std::string subKey;  // "Software\Lumera800"
};

// Splits "HKEY_LOCAL_MACHINE\Software\Lumera800" (the root's name in any case, or HKLM, HKCU,
// HKCR, HKU); nothing for an unknown root or an empty path below it.
std::optional<RegistryPath> SplitRegistryPath(const std::string& key);

class RegistrySettingsStore final : public ISettingsStore {
public:
    // Opens (creating when missing) a key with the given access, as RegCreateKeyExA does; the
    // result is a system error code. Tests pass their own to make an opening fail.
    using KeyOpener = std::function<LONG(HKEY root, const std::string& subKey, REGSAM access, HKEY* key)>;

    RegistrySettingsStore();
    explicit RegistrySettingsStore(KeyOpener opener);

    // The key can be opened (created when missing) with full access, under
    // HKEY_CURRENT_USER when HKEY_LOCAL_MACHINE refuses it.
    bool OpenKey(const std::string& key) override;
    // Binary is REG_BINARY, Dword REG_DWORD, Text REG_SZ; any other type reads as Other with
    // its bytes. Nothing when the key or the value is missing or the key cannot be opened.
    std::optional<StoredValue> ReadValue(const std::string& key, const std::string& name) override;
    // Each write opens the key, sets the one value and closes it; failures throw
    // std::runtime_error with the system's text.
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) override;
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) override;
    void WriteText(const std::string& key, const std::string& name, const std::string& text) override;

    // The opener over the real registry.
    static LONG CreateKey(HKEY root, const std::string& subKey, REGSAM access, HKEY* key);

private:
    // Opens the key for one access; the handle is closed by the caller.
    LONG Open(const std::string& key, HKEY* handle) const;
    void Write(const std::string& key, const std::string& name, DWORD type, const BYTE* data, DWORD size);

    KeyOpener opener_;
};

}  // namespace lumera::win32
