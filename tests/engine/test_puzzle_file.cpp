// The puzzle file's line rules, and opening, wrapping, skipping and choosing files.
#include <gtest/gtest.h>

#include "fakes.h"

using namespace lumera;
using namespace lumera::testing;

namespace {
// The lines of a file holding bytes, read through reads of at most chunkSize bytes each.
std::vector<std::string> ReadAll(const std::string& bytes, std::size_t chunkSize = 64 * 1024) {
    FakeFiles files;
    files.files["p.dat"] = {bytes, std::nullopt};
    files.chunkSize = chunkSize;
    PuzzleTextFile file(files);
    file.Open("p.dat");
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
    EXPECT_EQ(ReadAll("ONE\nTWO\r\nTH\rREE\nFOUR"), (std::vector<std::string>{"ONE", "TWO", "THREE", "FOUR"}));
    EXPECT_EQ(ReadAll("ONE\n\x1aTWO\n"), (std::vector<std::string>{"ONE"}));
    EXPECT_EQ(ReadAll("ON\x1a" "E\n"), (std::vector<std::string>{"ON"}));
    EXPECT_EQ(ReadAll("\n\nX\n"), (std::vector<std::string>{"", "", "X"}));
    EXPECT_EQ(ReadAll(std::string("A\0B\n", 4)), (std::vector<std::string>{std::string("A\0B", 3)}));
}

TEST(PuzzleTextFile, LongLinesKeepTheirFirst255Bytes) {
    const auto lines = ReadAll(std::string(300, 'A') + "\nNEXT\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(255, 'A'));
    EXPECT_EQ(lines[1], "NEXT");
}

TEST(PuzzleTextFile, ReadsOfAFewBytesEachGiveTheSameLines) {
    // CR LF pairs, lone CRs, the cut and the end mark fall on every side of a read's end.
    const std::string bytes = "ONE\r\nTW\rO\r\n\r\n" + std::string(300, 'L') + "\r\nLAST\r\n\x1a" "GONE\n";
    const std::vector<std::string> expected{"ONE", "TWO", "", std::string(255, 'L'), "LAST"};
    for (std::size_t chunkSize : {1, 2, 3, 7, 64 * 1024}) EXPECT_EQ(ReadAll(bytes, chunkSize), expected) << chunkSize;
}

TEST(PuzzleTextFile, EmptyFileGivesAnEmptyLineAndFailuresPassTheirTextOn) {
    FakeFiles files;
    files.files["empty"] = {"", std::nullopt};
    files.files["failing"] = {"ONE\nTW", "The device is not ready."};
    PuzzleTextFile file(files);
    file.Open("empty");
    EXPECT_TRUE(file.Eof());
    EXPECT_EQ(file.ReadLine(), "");

    // A read that fails after some bytes: the lines before it, then the reader's text.
    file.Open("failing");
    EXPECT_EQ(file.ReadLine(), "ONE");
    EXPECT_EQ(FailureText([&] { file.ReadLine(); }), "The device is not ready.");

    // An opening that fails gives the opener's text and leaves nothing open.
    EXPECT_EQ(FailureText([&] { file.Open("missing"); }), "No such fake file: missing");
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(FailureText([&] { file.Eof(); }), "The puzzle file is not open");
    EXPECT_EQ(FailureText([&] { file.ReadLine(); }), "The puzzle file is not open");
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
