// Shared helpers of the fault tests: the game on the real settings store, a plain reading of
// puzzle file bytes, the invariants every deal must keep, and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/game.h"
#include "fakes.h"
#include "util/registry_store.h"
#include "util/store_settings_port.h"

namespace lumera::reliability {

namespace fs = std::filesystem;

inline std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The engine's settings port over the store file, as the game window wires it, counting its
// writes; afterWrite runs after every write that returned.
class StorePort final : public ISettingsStore {
public:
    explicit StorePort(util::RegistryStore& store) : port_(store) {}
    std::function<void()> afterWrite;
    int writes = 0;

    bool OpenKey(const std::string& key) override { return port_.OpenKey(key); }
    std::optional<StoredValue> ReadValue(const std::string& key, const std::string& name) override {
        return port_.ReadValue(key, name);
    }
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) override {
        port_.WriteBinary(key, name, bytes);
        Wrote();
    }
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) override {
        port_.WriteDword(key, name, value);
        Wrote();
    }
    void WriteText(const std::string& key, const std::string& name, const std::string& text) override {
        port_.WriteText(key, name, text);
        Wrote();
    }

private:
    void Wrote() {
        ++writes;
        if (afterWrite) afterWrite();
    }
    StoreSettingsPort port_;
};

// The store file and its port, made before the game that uses them.
struct StoreFile {
    explicit StoreFile(const fs::path& storeFile) : store(storeFile) {}
    util::RegistryStore store;
    StorePort port{store};
};

// One game on a real store file, the other ports faked.
struct StoreRig : StoreFile, testing::GameRig {
    explicit StoreRig(const fs::path& storeFile) : StoreFile(storeFile), GameRig(&port) {}
    using StoreFile::store;
};

// The lines of puzzle file bytes by the plain rules: byte 26 ends the file, every CR is
// dropped (before LF it is part of the line end), LF ends a line, a line keeps 255 bytes.
inline std::vector<std::string> ReferenceLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;
    for (char c : bytes) {
        if (c == 26) break;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            continue;
        }
        open = true;
        if (c != '\r' && line.size() < kMaxLineLength) line.push_back(c);
    }
    if (open) lines.push_back(line);
    return lines;
}

// The invariants of a dealt puzzle: equal lengths of at most 255, non-letters unchanged, and
// the letters of Working those of Solution through one permutation.
inline void ExpectDealt(const LumeraGame& game) {
    ASSERT_LE(game.PuzzleLen, 255);
    ASSERT_EQ(game.Working.size(), game.PuzzleLen);
    ASSERT_EQ(game.Solution.size(), game.PuzzleLen);
    char forward[26] = {};
    char backward[26] = {};
    for (std::size_t k = 0; k < game.PuzzleLen; ++k) {
        const char plain = game.Solution[k];
        const char shown = game.Working[k];
        if (!IsLetter(plain)) {
            ASSERT_EQ(shown, plain) << "position " << k + 1;
            continue;
        }
        ASSERT_TRUE(IsLetter(shown)) << "position " << k + 1;
        ASSERT_TRUE(forward[plain - 'A'] == 0 || forward[plain - 'A'] == shown) << "position " << k + 1;
        ASSERT_TRUE(backward[shown - 'A'] == 0 || backward[shown - 'A'] == plain) << "position " << k + 1;
        forward[plain - 'A'] = shown;
        backward[shown - 'A'] = plain;
    }
    EXPECT_EQ(game.SubstKey, kAlphabet);
    EXPECT_FALSE(game.Solved);
}

inline std::string WrapMessage(int count) {
    return "Last puzzle is " + std::to_string(count) + "! Starting back at puzzle 1. Press OK to continue.";
}

}  // namespace lumera::reliability
