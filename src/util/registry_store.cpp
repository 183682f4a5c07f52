// The settings store on disk: one value read from the store file, or changed in it under the
// lock with a crash-safe replacement of the whole file.
#include "util/registry_store.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "util/safe_file.h"

namespace lumera::util {

namespace fs = std::filesystem;

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path RegistryStore::DefaultPath() {
    fs::path base;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && *configHome != '\0' && fs::path(configHome).is_absolute()) {
        base = configHome;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || *home == '\0') {
            const passwd* account = ::getpwuid(::getuid());
            home = account != nullptr ? account->pw_dir : "";
        }
        base = fs::path(home) / ".config";
    }
    return base / "lumera8" / "registry.reg";
}

namespace {

bool EnsureFolder(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

}  // namespace

bool RegistryStore::OpenKey(const std::string& key) { return IsValidKeyPath(key) && EnsureFolder(file_); }

// Reads take no lock: a writer replaces the file by rename, so a reader sees one whole file.
// An unparseable file reads as empty here and is left in place; the next write, which holds
// the lock, sets it aside.
std::optional<RegValue> RegistryStore::ReadValue(const std::string& key, const std::string& name) {
    std::string bytes;
    int error = 0;
    if (!ReadFileBytes(file_, bytes, error)) return std::nullopt;
    const auto document = ParseRegistryFile(bytes);
    if (!document) return std::nullopt;
    const RegValue* value = document->Find(key, name);
    if (value == nullptr) return std::nullopt;
    return *value;
}

void RegistryStore::WriteBinary(const std::string& key, const std::string& name,
                                const std::vector<std::uint8_t>& bytes) {
    RegValue value;
    value.type = RegValue::Type::Binary;
    value.bytes = bytes;
    Write(key, name, value);
}

void RegistryStore::WriteDword(const std::string& key, const std::string& name, std::uint32_t dword) {
    RegValue value;
    value.type = RegValue::Type::Dword;
    value.dword = dword;
    Write(key, name, value);
}

void RegistryStore::WriteText(const std::string& key, const std::string& name, const std::string& text) {
    RegValue value;
    value.type = RegValue::Type::Text;
    value.text = text;
    Write(key, name, value);
}

void RegistryStore::Write(const std::string& key, const std::string& name, const RegValue& value) {
    if (!IsValidKeyPath(key) || HasLineBreak(name)) {
        throw std::invalid_argument("Not a registry key and value name: " + key + " " + name);
    }
    if (!EnsureFolder(file_)) return;
    const ExclusiveLock lock(WithSuffix(file_, ".lock"));

    RegDocument document;
    std::string bytes;
    int error = 0;
    if (ReadFileBytes(file_, bytes, error)) {
        if (auto parsed = ParseRegistryFile(bytes)) {
            document = std::move(*parsed);
        } else {
            SetAside(file_);
        }
    } else if (error != ENOENT) {
        throw SystemError("Cannot read", file_, error);
    }
    document.Set(key, name, value);
    ReplaceFile(file_, SerializeRegistryFile(document));
}

}  // namespace lumera::util
