// The puzzle file's line rules, and opening, wrapping, skipping and choosing files.
#include <gtest/gtest.h>

#include "fakes.h"

using namespace lumera;
using namespace lumera::testing;

namespace {
std::vector<std::string> ReadAll(const std::string& path) {
    PuzzleTextFile file;
    file.Open(path);
    std::vector<std::string> lines;
    while (!file.Eof()) lines.push_back(file.ReadLine());
    return lines;
}
std::string Lines(int count) {
    std::string s;
    for (int i = 1; i <= count; ++i) s += "LINE " + std::to_string(i) + "\n";
    return s;
}
}  // namespace

TEST(PuzzleTextFile, LineEndsAndMarks) {
    TempDir dir;
    EXPECT_EQ(ReadAll(dir.Write("a", "ONE\nTWO\r\nTH\rREE\nFOUR")),
              (std::vector<std::string>{"ONE", "TWO", "THREE", "FOUR"}));
    EXPECT_EQ(ReadAll(dir.Write("b", "ONE\n\x1aTWO\n")), (std::vector<std::string>{"ONE"}));
    EXPECT_EQ(ReadAll(dir.Write("c", "ON\x1a" "E\n")), (std::vector<std::string>{"ON"}));
    EXPECT_EQ(ReadAll(dir.Write("d", "\n\nX\n")), (std::vector<std::string>{"", "", "X"}));
    EXPECT_EQ(ReadAll(dir.Write("e", std::string("A\0B\n", 4))), (std::vector<std::string>{std::string("A\0B", 3)}));
}

TEST(PuzzleTextFile, LongLinesKeepTheirFirst255Bytes) {
    TempDir dir;
    const auto lines = ReadAll(dir.Write("long", std::string(300, 'A') + "\nNEXT\n"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(255, 'A'));
    EXPECT_EQ(lines[1], "NEXT");
}

TEST(PuzzleTextFile, EmptyFileGivesAnEmptyLineAndFailuresThrow) {
    TempDir dir;
    PuzzleTextFile file;
    file.Open(dir.Write("empty", ""));
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.ReadLine(), "");
    EXPECT_THROW(file.Open((dir.path / "missing").string()), std::runtime_error);
    EXPECT_THROW(file.Open(dir.path.string()), std::runtime_error);  // a folder
    EXPECT_THROW(file.Open(""), std::runtime_error);
    EXPECT_THROW(file.Eof(), std::runtime_error);  // nothing open after the failures
    EXPECT_THROW(file.ReadLine(), std::runtime_error);
}

struct FileFlow : ::testing::Test {
    TempDir dir;
    GameRig rig;
    void SetUp() override { rig.game.AppCaption = "Lumera 8.0 by test"; }
    void Start(const std::string& name, std::uint16_t index) {
        rig.game.PuzzleFileName = name;
        rig.game.PuzzleIndex = index;
        rig.game.OpenPuzzleFile();
        rig.game.SkipToPosition();
        rig.game.ReadNextPuzzle();
    }
};

TEST_F(FileFlow, UnopenableFileFallsBackToTheDefault) {
    const std::string fallback = dir.Write("Lumera8.dat", Lines(3));
    rig.game.DefaultPuzzleFile = fallback;
    rig.game.PuzzleFileName = "Lumera2.dat";
    rig.game.OpenPuzzleFile();
    ASSERT_EQ(rig.dialogs.informations.size(), 1u);
    EXPECT_EQ(rig.dialogs.informations[0], "Unable to open puzzle file - Lumera2.dat! Defaulting to " + fallback);
    EXPECT_EQ(rig.game.PuzzleFileName, fallback);
    EXPECT_EQ(GetShortString(rig.game.RegInfo.PuzzleFile, 133), fallback);
    EXPECT_EQ(rig.store.writes, 1);
    EXPECT_EQ(rig.board.caption, "Lumera 8.0 by test - [" + fallback + "]");
}

TEST_F(FileFlow, MissingDefaultFileIsAnErrorAndReadingAfterwardsToo) {
    rig.game.DefaultPuzzleFile = (dir.path / "none.dat").string();
    rig.game.PuzzleFileName = "";
    EXPECT_THROW(rig.game.OpenPuzzleFile(), std::runtime_error);
    EXPECT_EQ(rig.dialogs.informations.size(), 1u);
    EXPECT_THROW(rig.game.ReadNextPuzzle(), std::runtime_error);
}

TEST_F(FileFlow, StoredIndexBeyondTheEndWrapsWithTheTrueCount) {
    Start(dir.Write("p.dat", Lines(30)), 57);
    ASSERT_EQ(rig.dialogs.informations.size(), 1u);
    EXPECT_EQ(rig.dialogs.informations[0], "Last puzzle is 30! Starting back at puzzle 1. Press OK to continue.");
    EXPECT_EQ(rig.game.LineBuf, "LINE 1");
    EXPECT_EQ(rig.game.PuzzleIndex, 0);
    EXPECT_EQ(rig.store.StoredIndex(), 0u);
    EXPECT_EQ(rig.game.EntryText, "30");
}

TEST_F(FileFlow, NextPuzzleAfterTheLastWrapsToTheFirst) {
    Start(dir.Write("p.dat", Lines(3)), 2);
    EXPECT_EQ(rig.game.LineBuf, "LINE 3");
    EXPECT_TRUE(rig.dialogs.informations.empty());
    rig.game.menuNewClick();
    ASSERT_EQ(rig.dialogs.informations.size(), 1u);
    EXPECT_EQ(rig.dialogs.informations[0], "Last puzzle is 3! Starting back at puzzle 1. Press OK to continue.");
    EXPECT_EQ(rig.game.LineBuf, "LINE 1");
    EXPECT_EQ(rig.game.StatusText(), "Puzzle # 1");
}

TEST_F(FileFlow, SavePositionStoresThePuzzleBeingLeft) {
    Start(dir.Write("p.dat", Lines(20)), 11);
    EXPECT_EQ(rig.game.StatusText(), "Puzzle # 12");
    rig.game.menuNewClick();
    EXPECT_EQ(rig.store.StoredIndex(), 11u);
    EXPECT_EQ(rig.game.LineBuf, "LINE 13");
    rig.game.SavePosition();  // as "Quit" does
    EXPECT_EQ(rig.store.StoredIndex(), 12u);
}

TEST_F(FileFlow, SpecifyStartAsksUntilTheNumberFitsAndCancelChangesNothing) {
    Start(dir.Write("p.dat", Lines(20)), 0);
    rig.dialogs.inputAnswers = {"0", "10000", "abc", "", "-5", "99999999999999999999999", "7th"};
    rig.game.SpecifyStart();
    ASSERT_EQ(rig.dialogs.prompts.size(), 7u);
    EXPECT_EQ(rig.dialogs.prompts[0].offered, "1");
    EXPECT_EQ(rig.dialogs.prompts[1].offered, "0");  // the last entry stays in the box
    EXPECT_EQ(rig.dialogs.prompts[0].prompt, "Enter new puzzle number to start at:");
    EXPECT_EQ(rig.dialogs.prompts[0].caption, "Lumera 8.0 by test");
    EXPECT_EQ(rig.game.LineBuf, "LINE 7");
    EXPECT_EQ(rig.game.StatusText(), "Puzzle # 7");
    EXPECT_EQ(rig.store.StoredIndex(), 6u);

    const auto before = rig.game.Working;
    rig.dialogs.inputAnswers = {std::nullopt};
    rig.game.SpecifyStart();
    EXPECT_EQ(rig.game.Working, before);
    EXPECT_EQ(rig.game.PuzzleIndex, 6);
}

TEST_F(FileFlow, SpecifyStartBeyondTheEndAndInHexadecimal) {
    Start(dir.Write("p.dat", Lines(20)), 0);
    rig.dialogs.inputAnswers = {"  $10"};
    rig.game.SpecifyStart();
    EXPECT_EQ(rig.game.LineBuf, "LINE 16");
    rig.dialogs.inputAnswers = {"9999"};
    rig.game.SpecifyStart();
    ASSERT_EQ(rig.dialogs.informations.size(), 1u);
    EXPECT_EQ(rig.dialogs.informations[0], "Last puzzle is 20! Starting back at puzzle 1. Press OK to continue.");
    EXPECT_EQ(rig.game.LineBuf, "LINE 1");
}

TEST_F(FileFlow, ChoosingAnotherSetOpensItAndAsksForTheStart) {
    Start(dir.Write("p.dat", Lines(5)), 3);
    const std::string other = dir.Write(std::string(140, 'n') + ".txt", "OTHER 1\nOTHER 2\n");
    rig.dialogs.fileAnswers = {other};
    rig.dialogs.inputAnswers = {"2"};
    rig.game.menuNewPuzzleSetClick();
    ASSERT_EQ(rig.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(rig.dialogs.fileRequests[0].first, "Lumera Puzzle Files|*.DAT|Text Files|*.TXT");
    EXPECT_EQ(rig.dialogs.fileRequests[0].second, "*.DAT");
    EXPECT_EQ(rig.game.LineBuf, "OTHER 2");
    EXPECT_EQ(rig.game.PuzzleFileName, other);  // used in full for the run
    EXPECT_EQ(GetShortString(rig.game.RegInfo.PuzzleFile, 133), other.substr(0, 133));

    // Cancelling the number prompt leaves the new file open at its start and the board alone.
    rig.dialogs.fileAnswers = {dir.Write("third.dat", "THIRD 1\n")};
    rig.dialogs.inputAnswers = {std::nullopt};
    const auto board = rig.game.Working;
    const auto index = rig.game.PuzzleIndex;
    rig.game.menuNewPuzzleSetClick();
    EXPECT_EQ(rig.game.Working, board);
    EXPECT_EQ(rig.game.PuzzleIndex, index);
    rig.game.menuNewClick();
    EXPECT_EQ(rig.game.LineBuf, "THIRD 1");

    rig.dialogs.fileAnswers = {std::nullopt};
    rig.game.menuNewPuzzleSetClick();
    EXPECT_EQ(rig.game.LineBuf, "THIRD 1");
}

TEST_F(FileFlow, EmptyFileDealsAnEmptyPuzzle) {
    Start(dir.Write("empty.dat", ""), 0);
    EXPECT_EQ(rig.game.PuzzleLen, 0);
    EXPECT_EQ(rig.game.PuzzleCellColor(1), clSilver);
    rig.game.menuCheatClick();  // nothing to hint
    EXPECT_EQ(rig.game.PuzzleLen, 0);
}

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// On Windows a chosen file's name arrives as bytes of the ANSI code page; letters beyond ASCII
// must still name the file, and a device such as NUL is not a puzzle file.
TEST(PuzzleTextFile, WindowsNamesBeyondAsciiOpenAndDevicesAreRefused) {
    TempDir dir;
    const std::wstring name = L"Caf\u00e9 \u00c5land \u00fcber.dat";
    std::ofstream(dir.path / name, std::ios::binary) << "ONE\nTWO\n";
    const std::wstring wide = (dir.path / name).wstring();
    char ansi[MAX_PATH * 2] = {};
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, ansi, sizeof ansi,
                                           nullptr, &lossy);
    ASSERT_GT(length, 0);
    ASSERT_FALSE(lossy) << "the name is not in the ANSI code page " << GetACP();
    const std::string path = ansi;
    ASSERT_NE(path.find('\xE9'), std::string::npos);  // a byte beyond ASCII really is in the name
    EXPECT_EQ(ReadAll(path), (std::vector<std::string>{"ONE", "TWO"}));

    PuzzleTextFile file;
    EXPECT_THROW(file.Open("NUL"), std::runtime_error);
    EXPECT_FALSE(file.IsOpen());
}
#endif
