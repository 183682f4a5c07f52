// Dealing and line-fitting: the grid rules for words at row ends and the scramble.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/fitting.h"
#include "fakes.h"

using namespace lumera;
using namespace lumera::testing;

namespace {
std::string Row(const std::string& text, int row) { return text.substr(30 * (row - 1), 30); }
std::string Repeat(const std::string& word, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) s += (i ? " " : "") + word;
    return s;
}
}  // namespace

TEST(FitText, WordEndingAtRowEndDropsTheBlankThatStartsTheNextRow) {
    const std::string text = std::string(29, 'A') + "B C";  // word ends at 30, blank at 31
    EXPECT_EQ(*FitText(text), std::string(29, 'A') + "BC");
}

TEST(FitText, BrokenWordIsPushedToTheNextRow) {
    // A nine-letter word over positions 26 to 34 with a blank at 25.
    const std::string text = std::string(24, 'X') + " NINELETTR END";
    const std::string fitted = *FitText(text);
    EXPECT_EQ(Row(fitted, 1), std::string(24, 'X') + std::string(6, ' '));
    EXPECT_EQ(fitted.substr(30), "NINELETTR END");
}

TEST(FitText, LeadingAndOnlyBlanks) {
    EXPECT_EQ(*FitText("   HELLO"), "HELLO");
    EXPECT_EQ(*FitText("     "), " ");
    EXPECT_EQ(*FitText(""), "");
}

TEST(FitText, BlankAtTheStartOfRowNineStays) {
    std::string text;
    for (int row = 0; row < 8; ++row) text += std::string(29, 'A' + row) + " ";
    text += " Z";  // position 241 is a blank
    ASSERT_EQ(text.size(), 242u);
    const std::string fitted = *FitText(text);
    EXPECT_EQ(fitted.substr(238), "H  Z");
}

TEST(FitText, TextEndingExactlyAtARowEndIsUnmoved) {
    const std::string text = std::string(25, 'A') + " WORD";
    ASSERT_EQ(text.size(), 30u);
    EXPECT_EQ(*FitText(text), text);
}

TEST(FitText, FirstWordLongerThanARowIsLeftUnmoved) {
    const std::string text = std::string(35, 'Q') + " END";
    EXPECT_EQ(*FitText(text), text);
}

TEST(FitText, TrailingBlanksPastARowStartEnd) {
    // Only blanks reach past row 2's start: they are removed and fitting stops.
    const std::string text = std::string(30, 'A') + std::string(10, ' ');
    EXPECT_EQ(*FitText(text), std::string(30, 'A'));
}

TEST(FitText, NoWordCrossesARowAfterFitting) {
    const std::string text = Repeat("ABSENCE MAKES THE HEART GROW FONDER", 5);
    const std::string fitted = *FitText(text);
    // Reading the grid row by row gives back every word whole and in order.
    std::vector<std::string> rowWords;
    for (std::size_t start = 0; start < fitted.size(); start += 30) {
        std::istringstream row(fitted.substr(start, 30));
        for (std::string word; row >> word;) rowWords.push_back(word);
    }
    std::istringstream original(text);
    std::vector<std::string> words;
    for (std::string word; original >> word;) words.push_back(word);
    EXPECT_EQ(rowWords, words) << fitted;
}

TEST(FitText, OverflowWhenAWordMustMoveAtTwoHundredFiftyCharacters) {
    const std::string text = Repeat("ELEPHANT", 29).substr(0, 255);  // a word crosses every row end
    EXPECT_FALSE(FitText(text).has_value());
    EXPECT_TRUE(FitText(Repeat("ELEPHANT", 20)).has_value());
}

TEST(Deal, PinnedDealForAFixedSequence) {
    GameRig rig;
    rig.game.LineBuf = "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG.";
    rig.game.DealPuzzle();
    // "OVER" ends row 1, so the blank that would start row 2 is dropped.
    EXPECT_EQ(rig.game.Solution, "THE QUICK BROWN FOX JUMPS OVERTHE LAZY DOG.");
    EXPECT_EQ(rig.game.Working, "NQT KHRPX OEIVJ UIY WHZLD IGTENQT FMBS CIA.");
    EXPECT_EQ(rig.game.SubstKey, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(rig.game.PuzzleLen, 43);
    EXPECT_EQ(rig.game.SelectedLetter, ' ');
    EXPECT_FALSE(rig.game.Solved);
    EXPECT_EQ(rig.board.fullRepaints, 1);
    // 26 passes of 26 draws, each from 25 values.
    ASSERT_EQ(rig.random.bounds.size(), 676u);
    for (int n : rig.random.bounds) EXPECT_EQ(n, 25);
}

TEST(Deal, NonLettersStayAndLettersFollowOnePermutation) {
    GameRig rig;
    rig.random.Seed(12345);
    rig.game.LineBuf = "Keep 42 things, \"QUIET\" & calm - SOMEONE";
    rig.game.DealPuzzle();
    std::map<char, char> forward, backward;
    for (std::size_t k = 0; k < rig.game.Solution.size(); ++k) {
        const char s = rig.game.Solution[k], w = rig.game.Working[k];
        if (!IsLetter(s)) {
            EXPECT_EQ(s, w);
            continue;
        }
        ASSERT_TRUE(IsLetter(w));
        EXPECT_EQ(forward.emplace(s, w).first->second, w);
        EXPECT_EQ(backward.emplace(w, s).first->second, s);
    }
}

TEST(Deal, OverflowShowsTheNumberAndPlaysTheLineUnfitted) {
    GameRig rig;
    rig.game.PuzzleIndex = 6;
    rig.game.EntryText = "typed";
    rig.game.LineBuf = "  " + Repeat("ELEPHANT", 28);
    rig.game.DealPuzzle();
    ASSERT_EQ(rig.dialogs.informations.size(), 1u);
    EXPECT_EQ(rig.dialogs.informations[0],
              "Sorry! Puzzle 7 is too large to align correctly. Some words may cross over rows. Press OK to continue.");
    EXPECT_EQ(rig.game.Solution, rig.game.LineBuf);  // not even the leading blanks go
    EXPECT_EQ(rig.game.EntryText, "7");
    EXPECT_EQ(rig.game.NumText, "7");
}
