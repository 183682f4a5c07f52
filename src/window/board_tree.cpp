// The texts a screen reader hears for the board as a whole: the letters still to place and the
// announcement of a move.
#include "window/board_tree.h"

#include <algorithm>
#include <bitset>

#include "engine/game.h"

namespace lumera {

namespace {

std::string Count(long count, const char* one, const char* many) {
    return (count == 0 ? std::string("no") : std::to_string(count)) + " " + (count == 1 ? one : many);
}

std::string LetterCells(char letter, const std::string& working) {
    return std::string(1, letter) + " in " + Count(std::count(working.begin(), working.end(), letter), "cell", "cells");
}

}  // namespace

int BoardGroupOf(int part) {
    for (int group = 0; group < kBoardGroupCount; ++group)
        if (kBoardGroups[group].Holds(part)) return group;
    return 0;
}

std::string LettersToPlaceText(const LumeraGame& game) {
    std::bitset<26> letters, open;
    for (int n = 1; n <= game.PuzzleLen; ++n) {
        const char c = game.PuzzleCellText(n);
        if (!IsLetter(c)) continue;
        letters.set(static_cast<std::size_t>(c - 'A'));
        if (!game.ShowCorrect || game.PuzzleCellColor(n) != clSilver) open.set(static_cast<std::size_t>(c - 'A'));
    }
    const long total = static_cast<long>(letters.count());
    if (!game.ShowCorrect) return Count(total, "different letter", "different letters");
    return std::to_string(open.count()) + " of " + Count(total, "letter", "letters") + " still to place";
}

std::string ExchangeAnnouncement(char a, char b, const std::string& working) {
    if (!IsLetter(a) || !IsLetter(b)) return {};
    if (a == b) return LetterCells(a, working);
    return LetterCells(a, working) + ", " + LetterCells(b, working);
}

std::string HintAnnouncement(char letter, const std::string& working) {
    return IsLetter(letter) ? "Hint: " + LetterCells(letter, working) : std::string{};
}

}  // namespace lumera
