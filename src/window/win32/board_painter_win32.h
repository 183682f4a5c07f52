// The board painted with GDI into a persistent memory bitmap: cells, their outline and fill,
// the status box and the grey background. The window copies the bitmap to the screen.
#pragma once

#include <windows.h>

#include <string_view>

#include "engine/game.h"
#include "window/board_geometry.h"

namespace lumera::win32 {

class BoardPainter {
public:
    BoardPainter();
    ~BoardPainter();
    BoardPainter(const BoardPainter&) = delete;
    BoardPainter& operator=(const BoardPainter&) = delete;

    // Clears the whole board to the background grey.
    void Clear();
    // Fills, writes and outlines one cell in the current font; text is in the ANSI code page.
    void DrawCell(const CellRect& rect, std::string_view text, Colour colour);
    void DrawAlphabetCell(char letter, Colour colour);
    void DrawPuzzleCell(int n, char text, Colour colour);
    // Paints every cell and the status box from the game state; leaves the letter font selected.
    void FormPaint(const LumeraGame& game);

    // Copies part of the board (board coordinates) to a device context at the same place.
    void CopyTo(HDC target, const RECT& area) const;
    // The pixel at (x, y) as 0x00BBGGRR.
    Colour Pixel(int x, int y) const;
    HDC Dc() const { return dc_; }

private:
    void SelectFont(HFONT font);

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
    std::uint32_t* bits_ = nullptr;  // 32 bits a pixel, rows from the top
    HFONT letterFont_ = nullptr;
    HFONT statusFont_ = nullptr;
};

// The outline rectangle of a cell as a RECT (Right and Bottom exclusive).
inline RECT CellArea(const CellRect& rect) { return RECT{rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1}; }

}  // namespace lumera::win32
