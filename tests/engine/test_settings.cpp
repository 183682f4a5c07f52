// The settings record's bytes, its load and save rules, the option switches and start-up.
#include <gtest/gtest.h>

#include "engine/number.h"
#include "fakes.h"

using namespace lumera;
using namespace lumera::testing;

namespace {
StoredValue Binary(std::vector<std::uint8_t> bytes) { return {StoredValue::Kind::Binary, std::move(bytes), 0, {}}; }
}  // namespace

TEST(RegInfo, DefaultsOnAZeroRecordGiveTheExpectedBytes) {
    GameRig rig;
    rig.game.LoadSettings();
    rig.game.SaveSettings();
    std::vector<std::uint8_t> expected(152, 0);
    const std::string version = "Lumera 7.0", file = "Lumera2.dat";
    expected[0] = 10;
    std::copy(version.begin(), version.end(), expected.begin() + 1);
    expected[11] = 11;
    std::copy(file.begin(), file.end(), expected.begin() + 12);
    expected[145] = 1;
    expected[146] = 1;
    EXPECT_EQ(rig.store.Record(), expected);
}

TEST(RegInfo, ShortStringsKeepBytesPastTheirLengthAndClampOnRead) {
    TRegInfo info{};
    SetShortString(info.PuzzleFile, 133, "LONGNAME.DAT");
    SetShortString(info.PuzzleFile, 133, "A.DAT");
    EXPECT_EQ(GetShortString(info.PuzzleFile, 133), "A.DAT");
    EXPECT_EQ(info.PuzzleFile[7], 'M');  // "LONGNAME.DAT" beyond the new length is kept
    SetShortString(info.PuzzleFile, 133, std::string(200, 'p'));
    EXPECT_EQ(info.PuzzleFile[0], 133);
    info.Version[0] = 200;
    EXPECT_EQ(GetShortString(info.Version, 10).size(), 10u);
    SetPuzzleIndex(info, 0x12345678);
    EXPECT_EQ(info.PuzzleIndex[0], 0x78);
    EXPECT_EQ(info.PuzzleIndex[3], 0x12);
    EXPECT_EQ(GetPuzzleIndex(info), 0x12345678u);
}

TEST(RegInfo, ReadErrorsGiveDefaultsAndShortValuesFillTheirLength) {
    GameRig rig;
    rig.game.RegInfo.Alignment = 0x5A;
    rig.store.values[{kSettingsKey, kSettingsValueName}] = StoredValue{StoredValue::Kind::Dword, {}, 7, {}};
    rig.game.LoadSettings();
    EXPECT_EQ(GetShortString(rig.game.RegInfo.PuzzleFile, 133), "Lumera2.dat");
    EXPECT_EQ(rig.game.RegInfo.Alignment, 0x5A);  // the defaults touch only their own bytes

    rig.store.values[{kSettingsKey, kSettingsValueName}] = Binary(std::vector<std::uint8_t>(153, 9));
    SetShortString(rig.game.RegInfo.PuzzleFile, 133, "X");
    rig.game.LoadSettings();
    EXPECT_EQ(GetShortString(rig.game.RegInfo.PuzzleFile, 133), "Lumera2.dat");

    rig.store.values[{kSettingsKey, kSettingsValueName}] = Binary({3, 'A', 'B', 'C'});
    rig.game.LoadSettings();
    EXPECT_EQ(GetShortString(rig.game.RegInfo.Version, 10), "ABC");
    EXPECT_EQ(GetShortString(rig.game.RegInfo.PuzzleFile, 133), "Lumera2.dat");
}

TEST(RegInfo, UnavailableStoreIsNeitherReadNorWritten) {
    GameRig rig;
    rig.store.available = false;
    rig.game.LoadSettings();
    EXPECT_EQ(rig.game.RegInfo.PuzzleFile[0], 0);
    rig.game.ToggleSound();
    EXPECT_EQ(rig.store.writes, 0);
    EXPECT_TRUE(rig.game.SoundOn);  // still holds for the run
}

TEST(Options, TogglesStoreAtOnceAndOnlyShowCorrectRepaints) {
    GameRig rig;
    rig.game.ShowCorrect = true;
    rig.game.ToggleShowCorrect();
    EXPECT_FALSE(rig.game.ShowCorrect);
    EXPECT_FALSE(rig.board.checks["menuShowCorrectLetters"]);
    EXPECT_EQ(rig.store.Record()[145], 0);
    EXPECT_EQ(rig.board.fullRepaints, 1);
    rig.game.ToggleSound();
    EXPECT_TRUE(rig.game.SoundOn);
    EXPECT_TRUE(rig.board.checks["menuSound"]);
    EXPECT_EQ(rig.store.Record()[146], 1);
    EXPECT_EQ(rig.board.fullRepaints, 1);
}

TEST(InitGame, StartsFromTheStoredRecord) {
    TempDir dir;
    const std::string file = dir.Write("set.dat", "ONE\nTWO\nTHREE\n");
    TRegInfo stored{};
    ApplyDefaults(stored);
    SetShortString(stored.PuzzleFile, 133, file);
    stored.ShowCorrect = 0;
    stored.Sound = 0;
    SetPuzzleIndex(stored, 0x00010001);  // only the low 16 bits count
    GameRig rig;
    rig.game.AppCaption = "Cap";
    rig.store.values[{kSettingsKey, kSettingsValueName}] = Binary(RegInfoBytes(stored));
    rig.clock.seed = 99;
    rig.game.InitGame();
    EXPECT_EQ(rig.game.LineBuf, "TWO");
    EXPECT_EQ(rig.board.caption, "Cap - [" + file + "]");
    EXPECT_FALSE(rig.board.checks["menuShowCorrectLetters"]);
    EXPECT_FALSE(rig.board.checks["menuSound"]);
    EXPECT_EQ(rig.random.bounds.size(), 676u);
    EXPECT_EQ(rig.random.counter, 99u + 676u);  // seeded from the clock before the deal
}

TEST(ConvertNumber, DecimalHexadecimalAndWhereItStops) {
    EXPECT_EQ(ConvertNumber("42"), 42);
    EXPECT_EQ(ConvertNumber("   +17"), 17);
    EXPECT_EQ(ConvertNumber("-3"), -3);
    EXPECT_EQ(ConvertNumber("12abc"), 12);
    EXPECT_EQ(ConvertNumber("$1F"), 31);
    EXPECT_EQ(ConvertNumber("x10"), 16);
    EXPECT_EQ(ConvertNumber("X10"), 16);
    EXPECT_EQ(ConvertNumber("0x1g"), 1);
    EXPECT_EQ(ConvertNumber("0X00ff"), 255);
    EXPECT_EQ(ConvertNumber("-$A"), -10);
    EXPECT_EQ(ConvertNumber("007"), 7);
    EXPECT_EQ(ConvertNumber("0"), 0);
    EXPECT_FALSE(ConvertNumber(""));
    EXPECT_FALSE(ConvertNumber("   "));
    EXPECT_FALSE(ConvertNumber("abc"));
    EXPECT_FALSE(ConvertNumber("$"));
    EXPECT_FALSE(ConvertNumber("- 5"));
    EXPECT_GT(*ConvertNumber(std::string(40, '9')), 9999);
}
