// Selecting, exchanging, completing and the hint, with what each redraws.
#include <gtest/gtest.h>

#include "fakes.h"

using namespace lumera;
using namespace lumera::testing;

using Draw = FakeBoard::Draw;

struct Play : ::testing::Test {
    TempDir dir;
    GameRig rig;
    void SetUp() override {
        rig.game.PuzzleFileName = dir.Write("p.dat", "NEXT ONE\nAND ANOTHER\n");
        rig.game.PuzzleText.Open(rig.game.PuzzleFileName);
        rig.game.PuzzleText.ReadLine();
    }
};

TEST_F(Play, SelectingRedrawsTheOldCellWhiteThenTheNewOneRed) {
    rig.game.SelectLetter('F');
    rig.board.draws.clear();
    rig.game.AlphabetClick(3);
    EXPECT_EQ(rig.board.draws, (std::vector<Draw>{{Draw::Alphabet, 6, 'F', clWhite}, {Draw::Alphabet, 3, 'C', clRed}}));
    rig.board.draws.clear();
    rig.game.AlphabetClick(3);  // the same letter again stays red
    EXPECT_EQ(rig.board.draws, (std::vector<Draw>{{Draw::Alphabet, 3, 'C', clWhite}, {Draw::Alphabet, 3, 'C', clRed}}));
    rig.board.draws.clear();
    rig.game.SelectLetter(' ');
    EXPECT_EQ(rig.board.draws, (std::vector<Draw>{{Draw::Alphabet, 3, 'C', clWhite}}));
}

TEST_F(Play, ExchangeSwapsBothLettersEverywhereAndRedrawsOnlyTheirCells) {
    rig.SetPuzzle("THE CAT SAT ON THE MAT", "QEF ZPQ GPQ XA QEF DPQ");
    rig.game.SelectedLetter = 'T';
    rig.game.PuzzleCellClick(1);  // a "Q"
    EXPECT_EQ(rig.game.Working, "TEF ZPT GPT XA TEF DPT");
    EXPECT_EQ(rig.board.DrawnPuzzleCells(), (std::vector<int>{1, 7, 11, 16, 22}));
    for (const auto& d : rig.board.draws) EXPECT_EQ(d.text, 'T');

    // Exchanging "Q" for "E": three "Q" cells and two "E" cells, five redraws in order.
    rig.SetPuzzle("ABCDEFGH", "QXEQYEQZ");
    rig.game.SelectedLetter = 'Q';
    rig.game.PuzzleCellClick(3);
    EXPECT_EQ(rig.game.Working, "EXQEYQEZ");
    EXPECT_EQ(rig.board.DrawnPuzzleCells(), (std::vector<int>{1, 3, 4, 6, 7}));
}

TEST_F(Play, ClicksThatCannotExchangeChangeNothing) {
    rig.SetPuzzle("AB CD", "XY ZW");
    rig.game.SelectedLetter = ' ';
    rig.game.PuzzleCellClick(1);  // no selection
    rig.game.SelectedLetter = 'A';
    rig.game.PuzzleCellClick(3);  // a blank cell
    rig.game.PuzzleCellClick(6);  // past the end of the text
    rig.game.PuzzleCellClick(270);
    EXPECT_EQ(rig.game.Working, "XY ZW");
    EXPECT_TRUE(rig.board.draws.empty());
}

TEST_F(Play, ShadingFollowsTheCellAfterItChanged) {
    rig.game.ShowCorrect = true;
    rig.SetPuzzle("AB, A", "BA, B");
    EXPECT_EQ(rig.game.PuzzleCellColor(3), clSilver);  // punctuation equals itself
    EXPECT_EQ(rig.game.PuzzleCellColor(1), clWhite);
    EXPECT_EQ(rig.game.PuzzleCellColor(6), clSilver);  // past the end
    rig.game.ShowCorrect = false;
    EXPECT_EQ(rig.game.PuzzleCellColor(3), clWhite);
    EXPECT_EQ(rig.game.PuzzleCellColor(6), clSilver);
}

TEST_F(Play, StarsInThePuzzleAreNeverTurnedIntoLettersAndItCanBeSolved) {
    rig.SetPuzzle("A*B *", "B*A *");
    rig.game.SelectedLetter = 'A';
    rig.game.PuzzleCellClick(1);
    EXPECT_EQ(rig.board.DrawnPuzzleCells(), (std::vector<int>{1, 3}));
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0].first, "A*B *");
}

TEST_F(Play, CompletionShowsTheLineAsReadStoresThePositionAndDealsTheNext) {
    rig.game.PuzzleIndex = 4;
    rig.SetPuzzle("GO  NOW", "OG  NGW");
    rig.game.LineBuf = "GO NOW";
    rig.game.SelectedLetter = 'G';
    bool solvedWhileShown = false;
    rig.dialogs.onMessage = [&] { solvedWhileShown = rig.game.Solved; };
    rig.game.PuzzleCellClick(1);
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.dialogs.messages[0], std::make_pair(std::string("GO NOW"), std::string(kCongratulationsCaption)));
    EXPECT_TRUE(solvedWhileShown);
    EXPECT_EQ(rig.store.StoredIndex(), 4u);
    EXPECT_EQ(rig.game.PuzzleIndex, 5);
    EXPECT_EQ(rig.game.LineBuf, "AND ANOTHER");
    EXPECT_FALSE(rig.game.Solved);
    EXPECT_TRUE(rig.sound.played.empty());  // sound is off
}

TEST_F(Play, SoundDrawPicksWhichWavePlaysAndHow) {
    const std::vector<std::pair<std::string, bool>> expected = {
        {"WAVE1", false}, {"WAVE1", false}, {"WAVE2", true}, {"WAVE3", true}, {"WAVE4", true}};
    for (int draw = 0; draw < 5; ++draw) {
        GameRig local;
        local.game.PuzzleText.Open(dir.Write("s.dat", "X\n"));
        local.game.SoundOn = true;
        local.SetPuzzle("AB", "AB");
        local.random.queued = {draw};
        local.game.SelectedLetter = 'A';
        local.game.PuzzleCellClick(1);  // a equals b: cells redrawn, puzzle complete
        EXPECT_EQ(local.board.DrawnPuzzleCells(), (std::vector<int>{1}));
        ASSERT_EQ(local.sound.played.size(), 1u);
        EXPECT_EQ(local.sound.played[0], expected[draw]) << "draw " << draw;
        EXPECT_EQ(local.random.bounds.front(), 5);
    }
}

TEST_F(Play, SolvedPuzzleIgnoresClicksAndCompletesOnlyOnce) {
    rig.SetPuzzle("AB", "BA");
    rig.game.Solved = true;
    rig.game.AlphabetClick(1);
    rig.game.PuzzleCellClick(1);
    rig.game.ReturnToGame();
    rig.game.PuzzleSolved();
    EXPECT_TRUE(rig.board.draws.empty());
    EXPECT_EQ(rig.game.Working, "BA");
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST_F(Play, HintPutsTheFirstWrongLetterRight) {
    rig.SetPuzzle("HE SEES", "HX SXXE");
    rig.game.menuCheatClick();
    EXPECT_EQ(rig.game.SelectedLetter, 'E');
    EXPECT_EQ(rig.game.Working, "HE SEEX");
    EXPECT_EQ(rig.board.draws.front(), (Draw{Draw::Alphabet, 5, 'E', clRed}));
    EXPECT_EQ(rig.board.DrawnPuzzleCells(), (std::vector<int>{2, 5, 6, 7}));
}

TEST_F(Play, HintOnAFinishedBoardFallsBackToPositionOneAndCompletes) {
    rig.SetPuzzle("OK", "OK");
    rig.game.menuCheatClick();
    EXPECT_EQ(rig.game.SelectedLetter, ' ');  // reset by the next deal
    ASSERT_EQ(rig.dialogs.messages.size(), 1u);
    EXPECT_EQ(rig.game.LineBuf, "AND ANOTHER");
}
