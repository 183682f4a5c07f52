// The board as a screen reader hears it, the same on every front-end: three groups in reading
// order (the alphabet as a toolbar of 26 buttons, the status button, the puzzle as a table of
// 9 rows and 30 columns), the parts numbered in that order, and the texts spoken for them and
// for each move. Toolkit-free; the window layer fills the parts from the game's state.
#pragma once

#include <string>

#include "engine/fitting.h"
#include "window/board_geometry.h"

namespace lumera {

class LumeraGame;

enum class BoardPartKind { AlphabetButton, GridCell, StatusButton };

// A group's kind says what a front-end makes of it: a toolbar, a plain group, a table.
enum class BoardGroupKind { Letters, Status, Puzzle };

struct BoardGroup {
    BoardGroupKind kind;
    const char* name;    // the group's accessible name
    int firstPart;
    int rows;
    int columns;
    CellRect rect;       // outline included: Right and Bottom belong to it
    int PartCount() const { return rows * columns; }
    bool Holds(int part) const { return part >= firstPart && part < firstPart + PartCount(); }
};

// Part numbers: letters 0 to 25, the grid's cells 26 to 295 row by row, the status button 296.
// The groups give the reading order, which is not that of the numbers.
inline constexpr int kAlphabetParts = 26;
inline constexpr int kFirstGridPart = kAlphabetParts;
inline constexpr int kStatusPart = kFirstGridPart + kGridCells;
inline constexpr int kBoardPartCount = kStatusPart + 1;

inline constexpr BoardGroup kBoardGroups[] = {
    {BoardGroupKind::Letters, "Alphabet", 0, 2, 13, CellRect{4, 4, 262, 46}},
    {BoardGroupKind::Status, "Status", kStatusPart, 1, 1, kStatusRect},
    {BoardGroupKind::Puzzle, "Puzzle", kFirstGridPart, kGridRows, kGridColumns, CellRect{4, 64, 602, 260}},
};
inline constexpr int kBoardGroupCount = 3;

// The group that holds a part (0 to kBoardGroupCount - 1).
int BoardGroupOf(int part);

struct BoardPart {
    BoardPartKind kind = BoardPartKind::GridCell;
    int group = 0;            // index in kBoardGroups
    int row = 0;              // 0-based, within the group
    int column = 0;
    CellRect rect{};
    std::string name;         // Windows-1252: the letter, the character, "blank" or the status text
    std::string description;  // a cell: "correct" when Show Correct Letters shades it; the status:
                              // how many letters are still to place
    bool selected = false;    // the alphabet button of the selected letter
    bool operator==(const BoardPart&) const = default;
};

// What the board holds now, for the status part's description. With Show Correct Letters on,
// the letters still to place are those of the cells not shaded as correct, which a sighted
// player sees too; with it off nothing on the board tells a right letter from a wrong one,
// so only the number of different letters is told.
std::string LettersToPlaceText(const LumeraGame& game);

// The one announcement after an exchange of the selected letter a with the clicked letter b:
// each letter and how many cells it now fills.
std::string ExchangeAnnouncement(char a, char b, const std::string& working);
// After a hint: the letter put in place and how many cells it fills.
std::string HintAnnouncement(char letter, const std::string& working);

inline constexpr char kSolverModeEntered[] = "Solver-aid mode";
inline constexpr char kSolverModeLeft[] = "Solver-aid mode ended. ";

}  // namespace lumera
