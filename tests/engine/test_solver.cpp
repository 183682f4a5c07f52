// Solver-aid mode: entering it, playing in it and returning to the game.
#include <gtest/gtest.h>

#include "fakes.h"

using namespace lumera;
using namespace lumera::testing;

struct Solver : ::testing::Test {
    TempDir dir;
    GameRig rig;
    void SetUp() override {
        rig.game.AppCaption = "Cap";
        rig.game.PuzzleFileName = dir.Write("p.dat", "FIRST LINE\nSECOND LINE\n");
        rig.game.OpenPuzzleFile();
        rig.game.PuzzleIndex = 0;
        rig.game.ReadNextPuzzle();
        rig.board.commandChanges.clear();
        rig.board.fullRepaints = 0;
    }
};

TEST_F(Solver, TypedTextIsShownInUpperCaseWithNothingCorrect) {
    rig.dialogs.inputAnswers = {"hello wOrld 42!"};
    rig.game.menuSolveClick();
    ASSERT_EQ(rig.dialogs.prompts.size(), 1u);
    EXPECT_EQ(rig.dialogs.prompts[0].caption, "Cap");
    EXPECT_EQ(rig.dialogs.prompts[0].prompt, "Enter cryptogram to work with:");
    EXPECT_EQ(rig.dialogs.prompts[0].offered, "");
    EXPECT_TRUE(rig.game.SolverMode);
    EXPECT_EQ(rig.game.Working, "HELLO WORLD 42!");
    EXPECT_EQ(rig.game.Solution, std::string(15, ' '));
    EXPECT_EQ(rig.game.LineBuf, "FIRST LINE");
    EXPECT_EQ(rig.game.StatusText(), "Click here to return to game.");
    EXPECT_EQ(rig.game.SelectedLetter, ' ');
    EXPECT_EQ(rig.board.fullRepaints, 1);
    rig.game.ShowCorrect = true;
    EXPECT_EQ(rig.game.PuzzleCellColor(6), clSilver);
    EXPECT_EQ(rig.game.PuzzleCellColor(1), clWhite);

    const std::vector<std::pair<std::string, bool>> disabled = {{"menuNew", false},
                                                                {"menuCheat", false},
                                                                {"menuSpecifyStart", false},
                                                                {"menuNewPuzzleSet", false},
                                                                {"menuSolve", false}};
    EXPECT_EQ(rig.board.commandChanges, disabled);
}

TEST_F(Solver, ExchangesNeverCompleteAndReturningRedealsTheSamePuzzle) {
    rig.dialogs.inputAnswers = {"AB BA"};
    rig.game.menuSolveClick();
    rig.game.SelectedLetter = 'B';
    rig.game.PuzzleCellClick(1);
    EXPECT_EQ(rig.game.Working, "BA AB");
    EXPECT_TRUE(rig.dialogs.messages.empty());

    rig.board.commandChanges.clear();
    rig.game.ReturnToGame();
    EXPECT_FALSE(rig.game.SolverMode);
    EXPECT_EQ(rig.game.Solution, "FIRST LINE");
    EXPECT_EQ(rig.game.StatusText(), "Puzzle # 1");
    ASSERT_EQ(rig.board.commandChanges.size(), 5u);
    EXPECT_EQ(rig.board.commandChanges[0], std::make_pair(std::string("menuNew"), true));
    EXPECT_EQ(rig.board.commandChanges[4], std::make_pair(std::string("menuSolve"), true));
}

TEST_F(Solver, EntryTextIsSharedWithThePuzzleNumberOfMessages) {
    rig.dialogs.inputAnswers = {"first try"};
    rig.game.menuSolveClick();
    rig.game.ReturnToGame();
    rig.dialogs.inputAnswers = {std::nullopt};
    rig.game.menuSolveClick();
    EXPECT_EQ(rig.dialogs.prompts.back().offered, "first try");
    EXPECT_FALSE(rig.game.SolverMode);  // cancelled: nothing changed
    EXPECT_EQ(rig.board.commandChanges.size(), 10u);  // five off, five on, none for Cancel

    rig.game.menuNewClick();
    rig.game.menuNewClick();  // past the last line: the end-of-file message
    rig.dialogs.inputAnswers = {std::nullopt};
    rig.game.menuSolveClick();
    EXPECT_EQ(rig.dialogs.prompts.back().offered, "2");
}

TEST_F(Solver, OverflowInSolverModeNamesNoNumberAndKeepsTheTypedText) {
    std::string text;
    for (int i = 0; i < 28; ++i) text += "ELEPHANT ";
    rig.dialogs.inputAnswers = {text};
    rig.game.menuSolveClick();
    ASSERT_EQ(rig.dialogs.informations.size(), 1u);
    EXPECT_EQ(rig.dialogs.informations[0],
              "Sorry! Puzzle is too large to align correctly. Some words may cross over rows. Press OK to continue.");
    EXPECT_EQ(rig.game.EntryText, text);
    EXPECT_EQ(rig.game.Working, text.substr(0, 252));
}

TEST_F(Solver, StatusBoxClickDuringPlayRestartsThePuzzle) {
    rig.game.ReturnToGame();
    EXPECT_EQ(rig.game.Solution, "FIRST LINE");
    EXPECT_EQ(rig.game.PuzzleIndex, 0);
    EXPECT_EQ(rig.board.fullRepaints, 1);
}
