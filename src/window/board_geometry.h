// Board geometry shared by painting and pointer input: cell rectangles and hit areas, in
// board pixels (x right, y down). Qt-free.
#pragma once

namespace lumera {

// A rectangle whose Right column and Bottom row belong to it (the outline is drawn on them).
struct CellRect {
    int Left, Top, Right, Bottom;
    bool operator==(const CellRect&) const = default;
};

inline constexpr int kBoardWidth = 606;
inline constexpr int kBoardHeight = 268;
inline constexpr CellRect kStatusRect{272, 4, 600, 46};

inline CellRect AlphabetCellRect(int n) {
    const int left = ((n - 1) % 13) * 20 + 4;
    const int top = ((n - 1) / 13) * 22 + 4;
    return {left, top, left + 18, top + 20};
}

inline CellRect PuzzleCellRect(int n) {
    const int left = ((n - 1) % 30) * 20 + 4;
    const int top = ((n - 1) / 30) * 22 + 64;
    return {left, top, left + 18, top + 20};
}

// What a pointer release at (x, y) hits. The bounds are exclusive.
inline bool InStatusBox(int x, int y) { return 272 < x && x < 600 && 4 < y && y < 46; }
inline bool InAlphabet(int x, int y) { return 4 < x && x < 264 && 4 < y && y < 46; }
inline bool InPuzzleGrid(int x, int y) { return 4 < x && x < 604 && 64 < y && y < 262; }
inline int AlphabetCellAt(int x, int y) { return (x - 4) / 20 + 1 + ((y - 4) / 22) * 13; }
inline int PuzzleCellAt(int x, int y) { return (x - 4) / 20 + 1 + ((y - 64) / 22) * 30; }

}  // namespace lumera
