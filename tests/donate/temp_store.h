// A settings store on a real file in a fresh temporary XDG configuration folder.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "util/registry_store.h"
#include "util/store_settings_port.h"

namespace lumera::testing {

inline const std::string kDonateKey = "HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm";

inline std::filesystem::path MakeConfigFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumera-donate-XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    return folder;
}

class TempStore {
public:
    ~TempStore() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    util::RegistryStore& Store() { return store_; }
    // The same store as the engine and the donation schedule see it.
    StoreSettingsPort& Port() { return port_; }
    std::optional<util::RegValue> Read(const std::string& name, const std::string& key = kDonateKey) {
        return store_.ReadValue(key, name);
    }

private:
    std::filesystem::path folder_ = MakeConfigFolder();
    util::RegistryStore store_ {util::RegistryStore::DefaultPath()};
    StoreSettingsPort port_ {store_};
};

}  // namespace lumera::testing
