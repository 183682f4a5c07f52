// The board painted with GDI into a persistent memory bitmap: cells, their outline and fill,
// the status box and the grey background. The window copies the bitmap to the screen.
#pragma once

#include <windows.h>

#include <functional>

#include "window/game_window.h"

namespace lumera::win32 {

class BoardPainter final : public ICellPainter {
public:
    BoardPainter();
    ~BoardPainter() override;
    BoardPainter(const BoardPainter&) = delete;
    BoardPainter& operator=(const BoardPainter&) = delete;

    // The drawing port: the cell's text is in the ANSI code page. Areas are shown by the window.
    void ClearBoard(Colour background) override;
    void DrawCell(const CellLook& cell) override;
    void ShowArea(const CellRect& area) override;
    // Where the shown areas go: the window copies them to the screen at once.
    void SetShowArea(std::function<void(const RECT&)> show) { show_ = std::move(show); }

    // Copies part of the board (board coordinates) to a device context at the same place.
    void CopyTo(HDC target, const RECT& area) const;
    // The pixel at (x, y) as 0x00BBGGRR.
    Colour Pixel(int x, int y) const;
    HDC Dc() const { return dc_; }

private:
    std::function<void(const RECT&)> show_;

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
