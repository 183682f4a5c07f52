// The settings store on disk: both registry roots kept in one text file in the registry
// export format ("REGEDIT4"), written crash-safely under an exclusive lock. Qt-free. The
// format lives in registry_format.h, the file replacement in safe_file.h.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "util/registry_format.h"

namespace lumera::util {

class RegistryStore {
public:
    explicit RegistryStore(std::filesystem::path file);

    // $XDG_CONFIG_HOME/lumera8/registry.reg, or ~/.config/lumera8/registry.reg.
    static std::filesystem::path DefaultPath();

    const std::filesystem::path& FilePath() const { return file_; }

    // Whether the store can be used: its folder exists or can be created. Writes nothing.
    bool OpenKey(const std::string& key);

    // Reads one value; nothing when the file, key or value is missing or the store is unusable.
    std::optional<RegValue> ReadValue(const std::string& key, const std::string& name);

    // Each write re-reads the file under an exclusive lock, changes the one value, writes a
    // temporary file, flushes it and renames it into place. Silently does nothing when the
    // folder cannot be created; throws std::runtime_error (system text) when writing fails.
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes);
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value);
    void WriteText(const std::string& key, const std::string& name, const std::string& text);

private:
    void Write(const std::string& key, const std::string& name, const RegValue& value);
    std::filesystem::path file_;
};

}  // namespace lumera::util
