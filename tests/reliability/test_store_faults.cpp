// Faults of the settings store file, met by the game on the real store: garbage, a file cut
// off anywhere, the record stored as another type or empty, values of 10 MB, 10,000 keys that
// are not ours, and a configuration folder that cannot be made.
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>

#include "reliability.h"

using namespace lumera;
using namespace lumera::reliability;
using lumera::testing::TempDir;
using lumera::util::ParseRegistryFile;
using lumera::util::RegValue;

namespace {

const std::string kUserKey = "HKEY_CURRENT_USER\\Software\\lumera8\\DonateForm";

struct StoreFault : ::testing::Test {
    TempDir dir;
    fs::path storeFile;
    std::string puzzles;
    void SetUp() override {
        storeFile = dir.path / "lumera8" / "registry.reg";
        fs::create_directories(storeFile.parent_path());
        puzzles = dir.Write("puzzles.dat", "FIRST PUZZLE\nSECOND PUZZLE\nTHIRD PUZZLE\n");
    }
    // A game as one run of the program would start it.
    std::unique_ptr<StoreRig> Run(const fs::path& file) {
        auto rig = std::make_unique<StoreRig>(file);
        rig->game.AppCaption = "Lumera 8.0";
        rig->game.DefaultPuzzleFile = puzzles;
        rig->game.InitGame();
        return rig;
    }
    std::unique_ptr<StoreRig> Run() { return Run(storeFile); }
    std::vector<fs::path> SetAside() const {
        std::vector<fs::path> found;
        for (const auto& item : fs::directory_iterator(storeFile.parent_path()))
            if (item.path().filename().string().starts_with("registry.reg.bad-")) found.push_back(item.path());
        return found;
    }
    std::vector<std::uint8_t> StoredRecord() const {
        const auto document = ParseRegistryFile(ReadAll(storeFile));
        if (!document) return {};
        const RegValue* value = document->Find(kSettingsKey, kSettingsValueName);
        return value && value->type == RegValue::Type::Binary ? value->bytes : std::vector<std::uint8_t>{};
    }
    std::string FallbackMessage(const std::string& name) const {
        return "Unable to open puzzle file - " + name + "! Defaulting to " + puzzles;
    }
};

bool IsDefaultRecord(const TRegInfo& info) {
    return GetShortString(info.Version, kVersionCapacity) == "Lumera 7.0" &&
           GetShortString(info.PuzzleFile, kPuzzleFileCapacity) == "Lumera2.dat" && info.ShowCorrect == 1 &&
           info.Sound == 1 && GetPuzzleIndex(info) == 0;
}

}  // namespace

TEST_F(StoreFault, GarbageIsSetAsideAndTheGameStartsOnTheDefaults) {
    std::mt19937 random(99);
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>(random() % 256);
    WriteAll(storeFile, garbage);
    const auto rig = Run();
    // No word about the settings: only the missing default puzzle file is reported.
    EXPECT_EQ(rig->dialogs.informations, (std::vector<std::string>{FallbackMessage("Lumera2.dat")}));
    EXPECT_TRUE(rig->game.ShowCorrect);
    EXPECT_TRUE(rig->game.SoundOn);
    EXPECT_EQ(rig->game.LineBuf, "FIRST PUZZLE");
    const auto aside = SetAside();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(ReadAll(aside[0]), garbage);
    ASSERT_EQ(StoredRecord().size(), 152u);
    EXPECT_EQ(Run()->dialogs.informations, std::vector<std::string>{});  // the next run finds its file
}

TEST_F(StoreFault, AFileCutOffAnywhereStillStartsTheGame) {
    {
        const auto first = Run();
        first->game.ToggleShowCorrect();
        first->game.menuNewClick();
        first->port.WriteDword(kUserKey, "DonateStatus", 4);
    }
    const std::string whole = ReadAll(storeFile);
    const std::vector<std::uint8_t> record = StoredRecord();
    ASSERT_EQ(record.size(), 152u);
    int parsedCuts = 0, refusedCuts = 0, partRecords = 0;
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        fs::remove_all(storeFile.parent_path());
        fs::create_directories(storeFile.parent_path());
        const std::string piece = whole.substr(0, cut);
        WriteAll(storeFile, piece);
        const bool parses = ParseRegistryFile(piece).has_value();
        parses ? ++parsedCuts : ++refusedCuts;

        StoreRig rig(storeFile);
        rig.game.DefaultPuzzleFile = puzzles;
        rig.game.LoadSettings();
        const auto loaded = RegInfoBytes(rig.game.RegInfo);
        // The record read is the defaults, or the stored bytes up to the cut and zeros after.
        const auto stored = parses ? rig.port.ReadValue(kSettingsKey, kSettingsValueName) : std::nullopt;
        if (!stored) {
            EXPECT_TRUE(IsDefaultRecord(rig.game.RegInfo)) << "cut at " << cut;
        } else {
            const std::size_t kept = stored->bytes.size();
            ASSERT_LE(kept, 152u) << "cut at " << cut;
            partRecords += kept < 152;
            for (std::size_t i = 0; i < 152; ++i) ASSERT_EQ(loaded[i], i < kept ? record[i] : 0) << "cut " << cut;
        }
        // The rest of the start-up goes on and leaves a whole file behind.
        rig.game.PuzzleFileName = GetShortString(rig.game.RegInfo.PuzzleFile, kPuzzleFileCapacity);
        rig.game.OpenPuzzleFile();
        rig.game.SkipToPosition();
        rig.game.ReadNextPuzzle();
        ExpectDealt(rig.game);
        ASSERT_EQ(StoredRecord().size(), 152u) << "cut at " << cut;
        EXPECT_EQ(SetAside().size(), parses ? 0u : 1u) << "cut at " << cut;
    }
    EXPECT_GT(parsedCuts, 10);
    EXPECT_GT(refusedCuts, 10);
    EXPECT_GT(partRecords, 10);  // cuts inside the hex list give a shorter record
}

TEST_F(StoreFault, TheRecordStoredAsTextOrDwordGivesTheDefaultsAndIsReplaced) {
    for (const std::string& form : {std::string("\"fRegInfo\"=\"Lumera 7.0 as text\""),
                                    std::string("\"fRegInfo\"=dword:00000039")}) {
        WriteAll(storeFile, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Lumera800]\r\n" + form +
                                "\r\n\"Other\"=dword:00000007\r\n\r\n");
        const auto rig = Run();
        EXPECT_EQ(rig->dialogs.informations, (std::vector<std::string>{FallbackMessage("Lumera2.dat")})) << form;
        EXPECT_TRUE(rig->game.ShowCorrect && rig->game.SoundOn) << form;
        EXPECT_EQ(StoredRecord().size(), 152u) << form;
        EXPECT_EQ(rig->port.ReadValue(kSettingsKey, "Other").value().dword, 7u) << form;
    }
}

TEST_F(StoreFault, TheRecordStoredAsHex3IsTheBinaryRecordAndIsWrittenBackAsHex) {
    // The player's own file, some puzzles in, the sound switched off.
    const std::string mine = dir.Write("mine.dat", "ONE\nTWO\nTHREE\nFOUR\n");
    {
        const auto first = Run();
        first->dialogs.fileAnswers.push_back(mine);
        first->dialogs.inputAnswers.push_back("1");
        first->game.menuNewPuzzleSetClick();
        first->game.menuNewClick();
        first->game.menuNewClick();
        first->game.ToggleSound();
        ASSERT_EQ(first->game.LineBuf, "THREE");
    }
    const std::string asHex = ReadAll(storeFile);
    const std::size_t at = asHex.find("\"fRegInfo\"=hex:");
    ASSERT_NE(at, std::string::npos);
    std::string asHex3 = asHex;
    asHex3.replace(at, 15, "\"fRegInfo\"=HEX(3):");
    // The game starts the same from either spelling: the player's file, position and options.
    for (const std::string& text : {asHex, asHex3}) {
        WriteAll(storeFile, text);
        const auto rig = Run();
        EXPECT_EQ(rig->dialogs.informations, std::vector<std::string>{});
        EXPECT_EQ(rig->game.PuzzleFileName, mine);
        EXPECT_EQ(rig->game.LineBuf, "TWO");
        EXPECT_FALSE(rig->game.SoundOn);
        EXPECT_TRUE(rig->game.ShowCorrect);
        rig->game.menuNewClick();
        const std::string written = ReadAll(storeFile);
        EXPECT_NE(written.find("\"fRegInfo\"=hex:"), std::string::npos);
        EXPECT_EQ(written.find("(3)"), std::string::npos);
    }
    EXPECT_EQ(SetAside().size(), 0u);
}

TEST_F(StoreFault, AnEmptyBinaryRecordLeavesTheRecordZeroed) {
    WriteAll(storeFile, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Lumera800]\r\n\"fRegInfo\"=hex:\r\n\r\n");
    const auto rig = Run();
    // Nothing was stored, so nothing is filled: no file name, both options off.
    EXPECT_EQ(rig->dialogs.informations, (std::vector<std::string>{FallbackMessage("")}));
    EXPECT_FALSE(rig->game.ShowCorrect);
    EXPECT_FALSE(rig->game.SoundOn);
    EXPECT_EQ(rig->game.LineBuf, "FIRST PUZZLE");
    EXPECT_EQ(StoredRecord().size(), 152u);
}

TEST_F(StoreFault, TenMegabyteValuesAreReadAndKept) {
    util::RegistryStore store(storeFile);
    std::vector<std::uint8_t> big(10'000'000);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    store.WriteBinary(kSettingsKey, kSettingsValueName, big);
    store.WriteBinary(kUserKey, "Backup", big);
    const auto start = std::chrono::steady_clock::now();
    const auto rig = Run();
    rig->game.ToggleSound();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(120));
    EXPECT_TRUE(rig->game.ShowCorrect);  // too long a record is the defaults
    EXPECT_EQ(rig->dialogs.informations, (std::vector<std::string>{FallbackMessage("Lumera2.dat")}));
    EXPECT_EQ(StoredRecord().size(), 152u);
    EXPECT_EQ(store.ReadValue(kUserKey, "Backup").value().bytes, big);
}

TEST_F(StoreFault, TenThousandUnrelatedKeysSurviveEveryWriteUntouched) {
    // Written in the export form the store writes, so that untouched means byte for byte.
    std::string text = "REGEDIT4\r\n";
    for (int i = 0; i < 10'000; ++i) {
        text += "\r\n[HKEY_CURRENT_USER\\Software\\Vendor " + std::to_string(i % 97) + "\\Item" + std::to_string(i) + "]\r\n";
        text += "\"Count\"=dword:" + std::string(8 - std::to_string(i % 10).size(), '0') + std::to_string(i % 10) + "\r\n";
        if (i % 3 == 0) text += "\"Path\"=\"C:\\\\Program Files\\\\\\\"Q\\\" caf\xE9\"\r\n";
        if (i % 5 == 0) text += "@=hex:de,ad,be,ef\r\n";
        if (i % 7 == 0) text += "\"Expand\"=hex(2):25,00,41,00,00,00\r\n";
    }
    text += "\r\n";
    WriteAll(storeFile, text);
    const std::string untouched = text.substr(0, text.size() - 2);
    int checked = 0;
    const auto check = [&] {
        const std::string now = ReadAll(storeFile);
        ASSERT_EQ(now.compare(0, untouched.size(), untouched), 0) << "after write " << checked + 1;
        ++checked;
    };
    auto rig = std::make_unique<StoreRig>(storeFile);
    rig->port.afterWrite = check;
    rig->game.DefaultPuzzleFile = puzzles;
    rig->game.InitGame();
    rig->game.ToggleShowCorrect();
    rig->game.ToggleSound();
    rig->game.menuNewClick();
    rig->dialogs.inputAnswers.push_back("3");
    rig->game.SpecifyStart();
    rig->port.WriteDword(kUserKey, "DonateLastPrompt", 46364);
    EXPECT_EQ(checked, rig->port.writes);
    EXPECT_GE(checked, 6);
    EXPECT_EQ(rig->game.LineBuf, "THIRD PUZZLE");
    EXPECT_EQ(ParseRegistryFile(ReadAll(storeFile)).value().keys.size(), 10'002u);
}

TEST_F(StoreFault, AConfigFolderThatCannotBeMadeKeepsTheSettingsForTheRunOnly) {
    const fs::path plain = dir.path / "not-a-folder";
    WriteAll(plain, "a file where the configuration folder should be");
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedValue = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", plain.c_str(), 1);
    const fs::path file = util::RegistryStore::DefaultPath();
    {
        const auto rig = Run(file);
        // The record stays zeroed: no file name, so the default file; both options off.
        EXPECT_EQ(rig->dialogs.informations, (std::vector<std::string>{FallbackMessage("")}));
        EXPECT_EQ(rig->game.LineBuf, "FIRST PUZZLE");
        EXPECT_FALSE(rig->game.ShowCorrect);
        rig->game.ToggleShowCorrect();
        rig->game.ToggleSound();
        rig->game.menuNewClick();
        EXPECT_TRUE(rig->game.ShowCorrect && rig->game.SoundOn);
        EXPECT_TRUE(rig->board.checks["menuShowCorrectLetters"]);
        EXPECT_EQ(rig->game.RegInfo.ShowCorrect, 1);
        EXPECT_EQ(rig->game.LineBuf, "SECOND PUZZLE");
        EXPECT_EQ(rig->port.writes, 0);
    }
    // The next run starts as the first did: nothing was kept.
    const auto next = Run(file);
    EXPECT_FALSE(next->game.ShowCorrect);
    EXPECT_EQ(next->game.LineBuf, "FIRST PUZZLE");
    EXPECT_EQ(ReadAll(plain), "a file where the configuration folder should be");
    saved ? ::setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(StoreFault, HandSpacedValuesOfOtherTypesKeepTheirFormThroughEveryWrite) {
    // Blanks after the commas, and lines long enough that the writer has to break them.
    std::string spaced;
    for (int i = 0; i < 40; ++i) spaced += (i ? ", " : "") + std::string(i % 2 ? "41" : "00");
    WriteAll(storeFile, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Other]\r\n\"Path\"=hex(2):" + spaced +
                            "\r\n\"Note\"=hex(1):6f, 6b, " + spaced + ",00\r\n\r\n");
    const auto original = ParseRegistryFile(ReadAll(storeFile)).value();
    const RegValue path = *original.Find("HKEY_CURRENT_USER\\Software\\Other", "Path");
    const RegValue note = *original.Find("HKEY_CURRENT_USER\\Software\\Other", "Note");
    ASSERT_EQ(path.type, RegValue::Type::Other);
    ASSERT_EQ(note.type, RegValue::Type::Text);
    std::string previous;
    const auto rig = Run();
    for (int write = 0; write < 4; ++write) {
        rig->game.ToggleSound();
        rig->game.ToggleSound();  // the record ends as it began, so the file must not change
        const std::string now = ReadAll(storeFile);
        const auto document = ParseRegistryFile(now).value();
        EXPECT_EQ(document.Find("HKEY_CURRENT_USER\\Software\\Other", "Path")->raw, path.raw) << "write " << write;
        EXPECT_EQ(document.Find("HKEY_CURRENT_USER\\Software\\Other", "Note")->text, note.text) << "write " << write;
        if (write > 0) {
            EXPECT_EQ(now, previous) << "write " << write;
        }
        previous = now;
    }
}
