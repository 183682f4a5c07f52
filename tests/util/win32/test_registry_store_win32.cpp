// The registry settings store: the settings record's round trip through the registry with the
// engine's own LoadSettings and SaveSettings, their read rules over real value types, the
// fallback to HKEY_CURRENT_USER, and dword, text and other values.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "engine/fakes.h"
#include "util/win32/registry_store_win32.h"

using namespace lumera;
using namespace lumera::testing;
using lumera::win32::RegistrySettingsStore;

namespace {

// Each test works below a key of its own, "Software\LumeraTests\<unique>", under both roots,
// and removes it afterwards, so that the game's own keys are never touched.
struct RegistryTest : ::testing::Test {
    std::string base;  // "Software\LumeraTests\<unique>"

    void SetUp() override {
        static std::atomic<int> counter{0};
        base = "Software\\LumeraTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
               std::to_string(++counter);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, base.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\LumeraTests");  // only when no other test's key is left
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\LumeraTests");
    }
    std::string Key(const std::string& root, const std::string& below) const { return root + "\\" + base + "\\" + below; }

    // A value straight from the registry, bypassing the store.
    struct Raw {
        LONG result = ERROR_FILE_NOT_FOUND;
        DWORD type = REG_NONE;
        std::vector<std::uint8_t> bytes;
    };
    Raw Query(HKEY root, const std::string& below, const std::string& name) const {
        Raw raw;
        HKEY key = nullptr;
        raw.result = RegOpenKeyExA(root, (base + "\\" + below).c_str(), 0, KEY_READ, &key);
        if (raw.result != ERROR_SUCCESS) return raw;
        DWORD size = 0;
        raw.result = RegQueryValueExA(key, name.c_str(), nullptr, &raw.type, nullptr, &size);
        raw.bytes.resize(size);
        if (raw.result == ERROR_SUCCESS)
            raw.result = RegQueryValueExA(key, name.c_str(), nullptr, &raw.type, raw.bytes.data(), &size);
        RegCloseKey(key);
        return raw;
    }
    void Set(HKEY root, const std::string& below, const std::string& name, DWORD type,
             const std::vector<std::uint8_t>& bytes) const {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(root, (base + "\\" + below).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
};

// The engine's settings port handed to the game, with the game's key moved below the test's
// own key: "HKEY_LOCAL_MACHINE\Software\Lumera800" becomes "...\Software\LumeraTests\<unique>\Lumera800".
struct RelocatedStore : ISettingsStore {
    ISettingsStore& store;
    std::string base;
    RelocatedStore(ISettingsStore& inner, std::string testBase) : store(inner), base(std::move(testBase)) {}
    std::string Move(const std::string& key) const {
        const std::string software = "\\Software\\";
        const std::size_t at = key.find(software);
        if (at == std::string::npos) throw std::logic_error("unexpected key " + key);
        return key.substr(0, at) + "\\" + base + "\\" + key.substr(at + software.size());
    }
    bool OpenKey(const std::string& key) override { return store.OpenKey(Move(key)); }
    std::optional<StoredValue> ReadValue(const std::string& key, const std::string& name) override {
        return store.ReadValue(Move(key), name);
    }
    void WriteBinary(const std::string& key, const std::string& name, const std::vector<std::uint8_t>& bytes) override {
        store.WriteBinary(Move(key), name, bytes);
    }
    void WriteDword(const std::string& key, const std::string& name, std::uint32_t value) override {
        store.WriteDword(Move(key), name, value);
    }
    void WriteText(const std::string& key, const std::string& name, const std::string& text) override {
        store.WriteText(Move(key), name, text);
    }
};

// A game whose settings go through the registry store; every other port is a fake.
struct RelocatedRegistry {
    RelocatedStore relocated;
};
struct RegistryGame : RelocatedRegistry, GameRig {
    RegistryGame(ISettingsStore& registry, const std::string& base)
        : RelocatedRegistry{RelocatedStore(registry, base)}, GameRig(&relocated) {}
};

// Refuses every key under HKEY_LOCAL_MACHINE, as Windows does to a standard user asking for
// full access; counts the openings by root.
struct RefusingMachineKeys {
    int machineAttempts = 0;
    int userOpenings = 0;
    bool refuseUserToo = false;
    RegistrySettingsStore::KeyOpener Opener() {
        return [this](HKEY root, const std::string& subKey, REGSAM access, HKEY* key) -> LONG {
            if (root == HKEY_LOCAL_MACHINE) {
                ++machineAttempts;
                return ERROR_ACCESS_DENIED;
            }
            if (refuseUserToo) return ERROR_ACCESS_DENIED;
            ++userOpenings;
            return RegistrySettingsStore::CreateKey(root, subKey, access, key);
        };
    }
};

std::vector<std::uint8_t> Bytes(const TRegInfo& info) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&info);
    return {p, p + sizeof info};
}

void PutPlayersSettings(LumeraGame& game) {
    SetShortString(game.RegInfo.Version, 10, "Lumera 7.0");
    SetShortString(game.RegInfo.PuzzleFile, 133, "C:\\Puzzles\\Caf\xE9 quotes.dat");
    game.RegInfo.ShowCorrect = 0;
    game.RegInfo.Sound = 1;
    game.RegInfo.Alignment = 0x5A;
    SetPuzzleIndex(game.RegInfo, 0x01020304);
}

}  // namespace

TEST_F(RegistryTest, SettingsRecordRoundTripsThroughTheRegistryAsOneBinaryValue) {
    RegistrySettingsStore registry;
    RegistryGame first(registry, base);
    PutPlayersSettings(first.game);
    first.game.SaveSettings();

    const Raw raw = Query(HKEY_LOCAL_MACHINE, "Lumera800", "fRegInfo");
    ASSERT_EQ(raw.result, ERROR_SUCCESS);
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(raw.bytes.size(), 152u);
    EXPECT_EQ(raw.bytes, Bytes(first.game.RegInfo));
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "Lumera800", "fRegInfo").result, ERROR_FILE_NOT_FOUND);

    RegistryGame second(registry, base);
    second.game.LoadSettings();
    EXPECT_EQ(Bytes(second.game.RegInfo), Bytes(first.game.RegInfo));
    EXPECT_EQ(GetShortString(second.game.RegInfo.PuzzleFile, 133), "C:\\Puzzles\\Caf\xE9 quotes.dat");
    EXPECT_EQ(GetPuzzleIndex(second.game.RegInfo), 0x01020304u);
    EXPECT_EQ(second.game.RegInfo.ShowCorrect, 0);
}

TEST_F(RegistryTest, LoadSettingsTakesDefaultsForAMissingTooLongOrWronglyTypedRecord) {
    RegistrySettingsStore registry;
    RegistryGame rig(registry, base);
    struct Case {
        const char* what;
        DWORD type;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"missing", REG_NONE, {}},
        {"one byte too long", REG_BINARY, std::vector<std::uint8_t>(153, 7)},
        {"a dword", REG_DWORD, {1, 0, 0, 0}},
        {"text", REG_SZ, {'L', 'u', 'm', 0}},
        {"a list of texts", REG_MULTI_SZ, {'A', 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, base.c_str());
        if (c.type != REG_NONE) Set(HKEY_LOCAL_MACHINE, "Lumera800", "fRegInfo", c.type, c.bytes);
        PutPlayersSettings(rig.game);
        rig.game.LoadSettings();
        EXPECT_EQ(GetShortString(rig.game.RegInfo.Version, 10), "Lumera 7.0");
        EXPECT_EQ(GetShortString(rig.game.RegInfo.PuzzleFile, 133), "Lumera2.dat");
        EXPECT_EQ(rig.game.RegInfo.ShowCorrect, 1);
        EXPECT_EQ(GetPuzzleIndex(rig.game.RegInfo), 0u);
        EXPECT_EQ(rig.game.RegInfo.Alignment, 0x5A);  // the defaults touch only their own bytes
    }

    // A shorter record fills its own length and leaves the rest.
    Set(HKEY_LOCAL_MACHINE, "Lumera800", "fRegInfo", REG_BINARY, {3, 'A', 'B', 'C'});
    PutPlayersSettings(rig.game);
    rig.game.LoadSettings();
    EXPECT_EQ(GetShortString(rig.game.RegInfo.Version, 10), "ABC");
    EXPECT_EQ(GetShortString(rig.game.RegInfo.PuzzleFile, 133), "C:\\Puzzles\\Caf\xE9 quotes.dat");
}

TEST_F(RegistryTest, RefusedMachineKeyFallsBackToTheSamePathUnderTheCurrentUser) {
    RefusingMachineKeys refusal;
    RegistrySettingsStore registry(refusal.Opener());
    RegistryGame first(registry, base);
    PutPlayersSettings(first.game);
    first.game.SaveSettings();
    EXPECT_GT(refusal.machineAttempts, 0);

    const Raw user = Query(HKEY_CURRENT_USER, "Lumera800", "fRegInfo");
    ASSERT_EQ(user.result, ERROR_SUCCESS);
    EXPECT_EQ(user.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(user.bytes, Bytes(first.game.RegInfo));
    EXPECT_EQ(Query(HKEY_LOCAL_MACHINE, "Lumera800", "fRegInfo").result, ERROR_FILE_NOT_FOUND);

    // The next start reads the player's settings back from there.
    RegistryGame second(registry, base);
    second.game.LoadSettings();
    EXPECT_EQ(Bytes(second.game.RegInfo), Bytes(first.game.RegInfo));

    // A record under HKEY_LOCAL_MACHINE that cannot be opened for writing is not the one used.
    Set(HKEY_LOCAL_MACHINE, "Lumera800", "fRegInfo", REG_BINARY, std::vector<std::uint8_t>(152, 0));
    second.game.LoadSettings();
    EXPECT_EQ(Bytes(second.game.RegInfo), Bytes(first.game.RegInfo));
}

TEST_F(RegistryTest, KeyThatCannotBeOpenedAnywhereIsNeitherReadNorWritten) {
    RefusingMachineKeys refusal;
    refusal.refuseUserToo = true;
    RegistrySettingsStore registry(refusal.Opener());
    const std::string key = Key("HKEY_LOCAL_MACHINE", "Lumera800");
    EXPECT_FALSE(registry.OpenKey(key));
    EXPECT_FALSE(registry.ReadValue(key, "fRegInfo").has_value());
    try {
        registry.WriteDword(key, "x", 1);
        ADD_FAILURE() << "a refused write must throw";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()), "");
    }

    // The game then keeps what it has: no defaults over its settings, nothing thrown.
    RegistryGame rig(registry, base);
    PutPlayersSettings(rig.game);
    const auto before = Bytes(rig.game.RegInfo);
    rig.game.LoadSettings();
    rig.game.SaveSettings();
    EXPECT_EQ(Bytes(rig.game.RegInfo), before);
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "Lumera800", "fRegInfo").result, ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DwordsTextsAndOtherTypesReadBackAsTheyWereStored) {
    RegistrySettingsStore registry;
    const std::string key = Key("HKEY_CURRENT_USER", "lumera8\\DonateForm");
    EXPECT_TRUE(registry.OpenKey(key));  // created when missing, nested
    registry.WriteDword(key, "DonateStatus", 4);
    registry.WriteDword(key, "DonateLastPrompt", 0xFEDCBA98u);
    registry.WriteText(key, "Note", "Caf\xE9 \"quoted\" \\ back");
    registry.WriteText(key, "Empty", "");
    registry.WriteBinary(key, "Nothing", {});

    const Raw status = Query(HKEY_CURRENT_USER, "lumera8\\DonateForm", "DonateStatus");
    EXPECT_EQ(status.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(status.bytes, (std::vector<std::uint8_t>{4, 0, 0, 0}));
    EXPECT_EQ(Query(HKEY_CURRENT_USER, "lumera8\\DonateForm", "Note").type, static_cast<DWORD>(REG_SZ));

    auto value = registry.ReadValue(key, "donatestatus");  // names match in any case
    ASSERT_TRUE(value);
    EXPECT_EQ(value->kind, StoredValue::Kind::Dword);
    EXPECT_EQ(value->dword, 4u);
    value = registry.ReadValue(key, "DonateLastPrompt");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->dword, 0xFEDCBA98u);
    value = registry.ReadValue(key, "Note");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->kind, StoredValue::Kind::Text);
    EXPECT_EQ(value->text, "Caf\xE9 \"quoted\" \\ back");
    value = registry.ReadValue(key, "Empty");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->kind, StoredValue::Kind::Text);
    EXPECT_EQ(value->text, "");
    value = registry.ReadValue(key, "Nothing");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->kind, StoredValue::Kind::Binary);
    EXPECT_TRUE(value->bytes.empty());

    // A text longer than the first read buffer comes back whole.
    const std::string longText(5000, 'q');
    registry.WriteText(key, "Long", longText);
    value = registry.ReadValue(key, "Long");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->text, longText);

    // Types the game does not write are Other, with their bytes.
    Set(HKEY_CURRENT_USER, "lumera8\\DonateForm", "Paths", REG_EXPAND_SZ, {'%', 'X', '%', 0});
    value = registry.ReadValue(key, "Paths");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->kind, StoredValue::Kind::Other);
    EXPECT_EQ(value->bytes, (std::vector<std::uint8_t>{'%', 'X', '%', 0}));

    EXPECT_FALSE(registry.ReadValue(key, "Missing").has_value());
    EXPECT_FALSE(registry.ReadValue(Key("HKEY_CURRENT_USER", "lumera8\\Nowhere"), "DonateStatus").has_value());
}

TEST_F(RegistryTest, KeyPathsSplitIntoRootAndPathAndUnknownRootsAreRefused) {
    auto path = win32::SplitRegistryPath("HKEY_LOCAL_MACHINE\\Software\\Lumera800");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->root, HKEY_LOCAL_MACHINE);
    EXPECT_EQ(path->subKey, "Software\\Lumera800");
    path = win32::SplitRegistryPath("hkey_current_user\\Software\\lumera8\\DonateForm");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->root, HKEY_CURRENT_USER);
    EXPECT_EQ(path->subKey, "Software\\lumera8\\DonateForm");
    EXPECT_FALSE(win32::SplitRegistryPath("HKEY_NOWHERE\\Software"));
    EXPECT_FALSE(win32::SplitRegistryPath("HKEY_CURRENT_USER"));
    EXPECT_FALSE(win32::SplitRegistryPath("HKEY_CURRENT_USER\\"));

    RegistrySettingsStore registry;
    EXPECT_FALSE(registry.OpenKey("HKEY_NOWHERE\\" + base));
    EXPECT_THROW(registry.WriteText("HKEY_NOWHERE\\" + base, "x", "y"), std::runtime_error);
}
