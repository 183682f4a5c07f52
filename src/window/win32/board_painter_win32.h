// The board painted with GDI into a persistent memory bitmap: cells, their outline and fill,
// the status box and the grey background, at the display's scale. The window copies the bitmap
// to the screen.
#pragma once

#include <windows.h>

#include <functional>

#include "util/win32/display_scale_win32.h"
#include "window/game_window.h"

namespace lumera::win32 {

class BoardPainter final : public ICellPainter {
public:
    BoardPainter();
    ~BoardPainter() override;
    BoardPainter(const BoardPainter&) = delete;
    BoardPainter& operator=(const BoardPainter&) = delete;

    // The drawing port, in board pixels: the cell's text is in the ANSI code page. Areas are
    // shown by the window.
    void ClearBoard(Colour background) override;
    void DrawCell(const CellLook& cell) override;
    void ShowArea(const CellRect& area) override;
    // Where the shown areas go, in device pixels: the window copies them to the screen at once.
    void SetShowArea(std::function<void(const RECT&)> show) { show_ = std::move(show); }

    // The board at another scale: a new image, all background, and fonts of that scale; false
    // when the scale is the one in use, and the image stays as it is.
    bool SetScale(const DisplayScale& scale);
    const DisplayScale& Scale() const { return scale_; }
    // The image's size in device pixels: the board's at the scale.
    int Width() const { return scale_.ToDevice(kBoardWidth); }
    int Height() const { return scale_.ToDevice(kBoardHeight); }

    // Copies part of the image (device pixels) to a device context at the same place.
    void CopyTo(HDC target, const RECT& area) const;
    // The image's pixel at (x, y), in device pixels, as 0x00BBGGRR.
    Colour Pixel(int x, int y) const;

private:
    void CreateImage();
    void FreeImage();

    std::function<void(const RECT&)> show_;
    DisplayScale scale_;

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
