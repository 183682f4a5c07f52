// The browser's settings store and kept puzzle files over local storage: values as the registry
// export keeps them, another tab's writes kept, stored text carried exactly as found, unreadable
// text set aside rather than lost. (Blocked and full storage: the end-to-end run.)
#include <gtest/gtest.h>

#include <map>

#include "engine/game.h"
#include "engine/reginfo.h"
#include "util/kept_files.h"
#include "util/web_store.h"
#include "window/tab_settings.h"

namespace {

using namespace lumera;
using namespace lumera::web;

constexpr char kKey[] = "HKEY_LOCAL_MACHINE\\Software\\Lumera800";
constexpr char kUserKey[] = "HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm";

// Local storage as a map of names to texts, refusing writes longer than its room.
struct FakeStorage : IPageStorage {
    std::map<std::string, std::u16string> texts;
    std::size_t room = 1 << 20;  // code units a write may hold
    std::optional<std::u16string> Read(const std::string& name) override {
        const auto it = texts.find(name);
        return it == texts.end() ? std::nullopt : std::optional<std::u16string>(it->second);
    }
    void Write(const std::string& name, const std::u16string& text) override {
        if (text.size() > room) throw StorageRefused("Setting the value of '" + name + "' exceeded the quota.");
        texts[name] = text;
    }
    std::string Bytes(const std::string& name) const { return StorageBytes(texts.at(name)); }
};

TEST(WebSettingsStore, KeepsValuesAsTheRegistryExportText) {
    FakeStorage storage;
    WebSettingsStore store(storage);
    ASSERT_TRUE(store.OpenKey(kKey));
    store.WriteBinary(kKey, "fRegInfo", {0x0a, 0x4c, 0xff});
    store.WriteDword(kUserKey, "DonateStatus", 4);

    const std::string text = storage.Bytes("lumera8.registry");
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
    EXPECT_THROW(store.WriteDword("Software\\NotARoot", "Name", 1), std::invalid_argument);
}

// Two tabs share one stored text: each write starts from what is stored now.
TEST(WebSettingsStore, AWriteKeepsWhatAnotherTabWroteMeanwhile) {
    FakeStorage storage;
    WebSettingsStore firstTab(storage), secondTab(storage);
    firstTab.WriteBinary(kKey, "fRegInfo", {1, 2, 3});
    secondTab.WriteDword(kUserKey, "DonateLastPrompt", 46000);
    firstTab.WriteDword(kUserKey, "DonateStatus", 2);

    EXPECT_EQ(firstTab.ReadValue(kUserKey, "DonateLastPrompt")->dword, 46000u);
    EXPECT_EQ(secondTab.ReadValue(kUserKey, "DonateStatus")->dword, 2u);
    EXPECT_EQ(secondTab.ReadValue(kKey, "fRegInfo")->bytes, (std::vector<std::uint8_t>{1, 2, 3}));
}

// Characters beyond Latin-1, astral ones and a lone surrogate, all as the browser holds them.
const std::u16string kForeign = u"Zo\u00eb \u2014 \u65e5\u672c \u20ac5 \U0001F600 \xD800.";

TEST(WebSettingsStore, TextItDidNotWriteIsCarriedExactly) {
    EXPECT_EQ(StorageUnits(StorageBytes(kForeign)), kForeign);
    EXPECT_EQ(StorageBytes(u"\u00e9\u20ac"), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(StorageUnits("\xE9\xFF"), u"\u00e9\u00ff") << "bytes that are no UTF-8 read one character each";

    FakeStorage storage;
    storage.texts["lumera8.registry"] = u"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Name\"=\"" + kForeign +
                                        u"\"\r\n\"" + kForeign + u"\"=dword:00000001\r\n";
    WebSettingsStore store(storage);
    store.WriteDword(kUserKey, "DonateStatus", 1);
    const std::u16string& text = storage.texts.at("lumera8.registry");
    EXPECT_NE(text.find(u"\"Name\"=\"" + kForeign + u"\"\r\n\"" + kForeign + u"\"=dword:00000001"), std::u16string::npos);
}

TEST(WebSettingsStore, UnreadableTextIsSetAsideExactlyAndNeverOverwritten) {
    FakeStorage storage;
    const std::u16string garbled = u"\u0001garbage " + kForeign;
    storage.texts["lumera8.registry"] = garbled;
    WebSettingsStore store(storage);
    std::vector<std::string> told;
    store.SetTell([&](const std::string& text) { told.push_back(text); });
    EXPECT_FALSE(store.ReadValue(kKey, "fRegInfo"));  // read as empty, left as it is
    EXPECT_EQ(storage.texts.size(), 1u);

    store.SetAsideUnreadable();
    EXPECT_EQ(storage.texts.at("lumera8.registry.unreadable"), garbled);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("kept under the name lumera8.registry.unreadable,"), std::string::npos);
    store.SetAsideUnreadable();
    EXPECT_EQ(told.size(), 1u) << "an empty export is readable";

    // Unreadable text met by a write is kept too, under a name of its own.
    storage.texts["lumera8.registry"] = u"more garbage";
    store.WriteDword(kUserKey, "DonateStatus", 1);
    EXPECT_EQ(storage.texts.at("lumera8.registry.unreadable-2"), u"more garbage");
    EXPECT_EQ(store.ReadValue(kUserKey, "DonateStatus")->dword, 1u);

    // When it cannot be kept elsewhere, it is not written over either.
    storage.texts["lumera8.registry"] = garbled;
    storage.room = garbled.size() - 1;
    store.WriteDword(kUserKey, "DonateStatus", 2);
    EXPECT_EQ(storage.texts.at("lumera8.registry"), garbled);
    EXPECT_FALSE(storage.texts.contains("lumera8.registry.unreadable-3"));
}

std::vector<std::uint8_t> Record(const std::string& file, std::uint32_t index, bool showCorrect, bool sound) {
    TRegInfo info{};
    ApplyDefaults(info);
    SetShortString(info.PuzzleFile, kPuzzleFileCapacity, file);
    SetPuzzleIndex(info, index);
    info.ShowCorrect = showCorrect;
    info.Sound = sound;
    return RegInfoBytes(info);
}

// Tab A on puzzle 33, tab B moves on and changes an option; A's writes change only what A's
// player changed.
TEST(TabSettingsStore, ATabWritesOnlyWhatItsPlayerChanged) {
    FakeStorage storage;
    WebSettingsStore shared(storage);
    TabSettingsStore tabA(shared), tabB(shared);
    shared.WriteBinary(kSettingsKey, kSettingsValueName, Record("Lumera8.dat", 32, true, true));
    tabA.ReadValue(kSettingsKey, kSettingsValueName);
    tabB.ReadValue(kSettingsKey, kSettingsValueName);

    tabB.WriteBinary(kSettingsKey, kSettingsValueName, Record("Lumera8.dat", 34, true, true));
    tabB.WriteBinary(kSettingsKey, kSettingsValueName, Record("Lumera8.dat", 34, false, true));
    tabA.WriteBinary(kSettingsKey, kSettingsValueName, Record("Lumera8.dat", 32, true, false));  // A: Sound off
    EXPECT_EQ(shared.ReadValue(kSettingsKey, kSettingsValueName)->bytes, Record("Lumera8.dat", 34, false, false));

    // A moves on: its own position, whatever options are stored.
    tabA.WriteBinary(kSettingsKey, kSettingsValueName, Record("mine.dat", 32, true, false));
    EXPECT_EQ(shared.ReadValue(kSettingsKey, kSettingsValueName)->bytes, Record("mine.dat", 32, false, false));
}

TEST(KeptFiles, NewestFirstUpToTheLimitAndFoundAgainByTheNextVisit) {
    FakeStorage storage;
    PageFiles files;
    files.Put("Lumera8.dat", "BUNDLED\r\n");
    KeptFiles kept(storage, files);
    kept.Restore();
    EXPECT_EQ(kept.Names(), std::vector<std::string>{"Lumera8.dat"});

    const std::string binary("\x00\xff\x41\x80\r\n\x1a", 7);
    EXPECT_EQ(kept.Take("binary.dat", binary), KeptFiles::Outcome::Kept);
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(kept.Take("f" + std::to_string(i) + ".dat", "F\n"), KeptFiles::Outcome::Kept);
    EXPECT_EQ(kept.Take("f3.dat", "AGAIN\n"), KeptFiles::Outcome::Kept);
    EXPECT_EQ(kept.Take("Lumera8.dat", "BUNDLED\r\n"), KeptFiles::Outcome::Kept);
    const std::vector<std::string> names{"Lumera8.dat", "f3.dat", "f8.dat", "f7.dat", "f6.dat",
                                         "f5.dat",      "f4.dat", "f2.dat", "f1.dat"};
    EXPECT_EQ(kept.Names(), names) << "binary.dat, the oldest, gave way";

    // The next visit finds them again.
    PageFiles nextFiles;
    nextFiles.Put("Lumera8.dat", "BUNDLED\r\n");
    KeptFiles next(storage, nextFiles);
    next.Restore();
    EXPECT_EQ(next.Names(), names);
    EXPECT_EQ(*nextFiles.Find("f3.dat"), "AGAIN\n");

    EXPECT_EQ(ParseKeptFiles(KeptFilesText({{"b\xC3\xA9.dat", binary}})), (std::vector<KeptFile>{{"b\xC3\xA9.dat", binary}}));
    EXPECT_FALSE(ParseKeptFiles(u"[{\"name\":\"old.dat\",\"bytes\":\"A\"}]"));
    EXPECT_FALSE(ParseKeptFiles(KeptFilesText({{"a.dat", "ABC"}}).substr(0, 30)));
}

}  // namespace
