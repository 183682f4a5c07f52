// The browser's settings store over a stored text: values as the registry export keeps them,
// another tab's writes kept, unreadable text set aside rather than lost, and a store that the
// browser refuses.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "util/web/web_store.h"

namespace {

using namespace lumera;
using namespace lumera::web;

constexpr char kKey[] = "HKEY_LOCAL_MACHINE\\Software\\Lumera800";
constexpr char kUserKey[] = "HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm";

// Local storage as a map of names to texts.
struct FakeSlot : IStoredText {
    std::map<std::string, std::string> storage;
    bool available = true;
    bool full = false;
    bool IsAvailable() override { return available; }
    std::optional<std::string> Read() override {
        const auto it = storage.find("lumera8.registry");
        return it == storage.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void Write(const std::string& bytes) override {
        if (full) throw std::runtime_error("The quota has been exceeded.");
        storage["lumera8.registry"] = bytes;
    }
    std::string SetAside(const std::string& bytes) override {
        std::string name = "lumera8.registry.unreadable";
        for (int n = 2; storage.contains(name); ++n) name = "lumera8.registry.unreadable-" + std::to_string(n);
        storage[name] = bytes;
        return name;
    }
};

TEST(WebSettingsStore, KeepsValuesAsTheRegistryExportText) {
    FakeSlot slot;
    WebSettingsStore store(slot);
    ASSERT_TRUE(store.OpenKey(kKey));
    store.WriteBinary(kKey, "fRegInfo", {0x0a, 0x4c, 0xff});
    store.WriteDword(kUserKey, "DonateStatus", 4);

    const std::string& text = slot.storage.at("lumera8.registry");
    EXPECT_EQ(text.rfind("REGEDIT4", 0), 0u);
    EXPECT_NE(text.find("\"fRegInfo\"=hex:0a,4c,ff"), std::string::npos);
    EXPECT_NE(text.find("\"DonateStatus\"=dword:00000004"), std::string::npos);

    const auto record = store.ReadValue(kKey, "FREGINFO");  // names match whatever their case
    ASSERT_TRUE(record);
    EXPECT_EQ(record->kind, StoredValue::Kind::Binary);
    EXPECT_EQ(record->bytes, (std::vector<std::uint8_t>{0x0a, 0x4c, 0xff}));
    const auto status = store.ReadValue(kUserKey, "DonateStatus");
    ASSERT_TRUE(status);
    EXPECT_EQ(status->kind, StoredValue::Kind::Dword);
    EXPECT_EQ(status->dword, 4u);
    EXPECT_FALSE(store.ReadValue(kKey, "Missing"));
}

// Two tabs share one stored text: each write starts from what is stored now.
TEST(WebSettingsStore, AWriteKeepsWhatAnotherTabWroteMeanwhile) {
    FakeSlot slot;
    WebSettingsStore firstTab(slot), secondTab(slot);
    firstTab.WriteBinary(kKey, "fRegInfo", {1, 2, 3});
    secondTab.WriteDword(kUserKey, "DonateLastPrompt", 46000);
    firstTab.WriteDword(kUserKey, "DonateStatus", 2);

    EXPECT_EQ(firstTab.ReadValue(kUserKey, "DonateLastPrompt")->dword, 46000u);
    EXPECT_EQ(secondTab.ReadValue(kUserKey, "DonateStatus")->dword, 2u);
    EXPECT_EQ(secondTab.ReadValue(kKey, "fRegInfo")->bytes, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(WebSettingsStore, UnreadableTextIsSetAsideNeverOverwritten) {
    FakeSlot slot;
    slot.storage["lumera8.registry"] = "garbage \x01\xff that no registry export starts with";
    WebSettingsStore store(slot);
    EXPECT_FALSE(store.ReadValue(kKey, "fRegInfo"));  // read as empty, left as it is
    EXPECT_EQ(slot.storage.size(), 1u);

    const auto name = store.SetAsideUnreadable();
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, "lumera8.registry.unreadable");
    EXPECT_EQ(slot.storage.at(*name), "garbage \x01\xff that no registry export starts with");
    EXPECT_FALSE(store.SetAsideUnreadable()) << "an empty export is readable";

    // Unreadable text met by a write is kept too, under a name of its own.
    slot.storage["lumera8.registry"] = "more garbage";
    store.WriteDword(kUserKey, "DonateStatus", 1);
    EXPECT_EQ(slot.storage.at("lumera8.registry.unreadable-2"), "more garbage");
    EXPECT_EQ(store.ReadValue(kUserKey, "DonateStatus")->dword, 1u);
}

TEST(WebSettingsStore, StorageThatTheBrowserRefuses) {
    FakeSlot slot;
    slot.available = false;
    WebSettingsStore store(slot);
    EXPECT_FALSE(store.OpenKey(kKey));
    EXPECT_FALSE(store.ReadValue(kKey, "fRegInfo"));
    EXPECT_NO_THROW(store.WriteDword(kUserKey, "DonateStatus", 1));
    EXPECT_TRUE(slot.storage.empty());

    slot.available = true;
    slot.full = true;
    EXPECT_THROW(store.WriteDword(kUserKey, "DonateStatus", 1), std::runtime_error);
    EXPECT_THROW(store.WriteDword("Software\\NotARoot", "Name", 1), std::invalid_argument);
}

}  // namespace
