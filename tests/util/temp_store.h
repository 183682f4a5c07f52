// A fresh temporary folder with a settings store on a real file inside it, the configuration
// folder pointed there, and (for the window suites) the folder made the current one with a
// puzzle file in it. Shared by the donation, window and dialog suites.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "../engine/fakes.h"
#include "util/registry_store.h"
#include "util/store_settings_port.h"

namespace lumera::testing {

inline const std::string kDonateKey = "HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm";

class TempStore {
public:
    TempStore() { ::setenv("XDG_CONFIG_HOME", (dir.path / "config").c_str(), 1); }
    ~TempStore() {
        if (previousFolder_) std::filesystem::current_path(*previousFolder_);
    }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    // The game finds its puzzle file by relative name: it is written here and the folder made
    // current until the end of the test.
    void EnterWithPuzzles(const std::string& puzzles) {
        dir.Write("Lumera8.dat", puzzles);
        if (!previousFolder_) previousFolder_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
    }

    std::filesystem::path StoreFile() const { return dir.path / "config" / "lumera8" / "registry.reg"; }
    util::RegistryStore& Store() { return store; }
    // The same store as the engine and the donation schedule see it.
    StoreSettingsPort& Port() { return port; }
    std::optional<util::RegValue> Read(const std::string& name, const std::string& key = kDonateKey) {
        return store.ReadValue(key, name);
    }

    TempDir dir;
    util::RegistryStore store{StoreFile()};
    StoreSettingsPort port{store};

private:
    std::optional<std::filesystem::path> previousFolder_;
};

}  // namespace lumera::testing
