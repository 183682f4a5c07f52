// Board painting with GDI: "Arial" without antialiasing, a one-pixel black outline, fills
// through the device context's brush colour, all into a 32-bit memory bitmap.
#include "window/win32/board_painter_win32.h"

#include <stdexcept>

#include "window/window_texts.h"

namespace lumera::win32 {

namespace {

// "Arial" at a character height (not cell height) in pixels, no style.
HFONT MakeBoardFont(int characterPixels) {
    HFONT font = CreateFontA(-characterPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, kBoardFontName);
    if (font == nullptr) throw std::runtime_error("Cannot create the board font");
    return font;
}

}  // namespace

BoardPainter::BoardPainter() {
    dc_ = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kBoardWidth;
    info.bmiHeader.biHeight = -kBoardHeight;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc_ == nullptr || bitmap_ == nullptr) {
        if (dc_) DeleteDC(dc_);
        throw std::runtime_error("Cannot create the board bitmap");
    }
    bits_ = static_cast<std::uint32_t*>(bits);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    letterFont_ = MakeBoardFont(kLetterPixels);
    statusFont_ = MakeBoardFont(kStatusPixels);
    oldFont_ = SelectObject(dc_, letterFont_);
    SelectObject(dc_, GetStockObject(DC_PEN));
    SelectObject(dc_, GetStockObject(DC_BRUSH));
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ClearBoard(clGray);
}

BoardPainter::~BoardPainter() {
    SelectObject(dc_, oldFont_);
    SelectObject(dc_, oldBitmap_);
    DeleteObject(letterFont_);
    DeleteObject(statusFont_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void BoardPainter::ClearBoard(Colour background) {
    const COLORREF previous = SetDCBrushColor(dc_, background);
    const RECT all{0, 0, kBoardWidth, kBoardHeight};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc_, previous);
}

void BoardPainter::DrawCell(const CellLook& cell) {
    const CellRect& rect = cell.rect;
    SelectObject(dc_, cell.fontPixels == kStatusPixels ? statusFont_ : letterFont_);
    SetTextColor(dc_, cell.textColour == clWindowText ? GetSysColor(COLOR_WINDOWTEXT) : cell.textColour);
    SetDCPenColor(dc_, cell.outline);
    const COLORREF previous = SetDCBrushColor(dc_, cell.fill);
    // The fill stops short of column Right and row Bottom, where the outline goes.
    const RECT fill{rect.Left, rect.Top, rect.Right, rect.Bottom};
    FillRect(dc_, &fill, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    // TA_TOP puts the top of the character cell, not the baseline, at the point.
    ExtTextOutA(dc_, rect.Left + 2, rect.Top + 2, ETO_CLIPPED, &fill, cell.text.data(),
                static_cast<UINT>(cell.text.size()), nullptr);
    // LineTo leaves out its end point; each corner is the start of the next stroke.
    MoveToEx(dc_, rect.Left, rect.Top, nullptr);
    LineTo(dc_, rect.Right, rect.Top);
    LineTo(dc_, rect.Right, rect.Bottom);
    LineTo(dc_, rect.Left, rect.Bottom);
    LineTo(dc_, rect.Left, rect.Top);
    SetDCBrushColor(dc_, previous);
}

void BoardPainter::ShowArea(const CellRect& area) {
    if (show_) show_(RECT{area.Left, area.Top, area.Right, area.Bottom});
}

void BoardPainter::CopyTo(HDC target, const RECT& area) const {
    RECT part{};
    const RECT board{0, 0, kBoardWidth, kBoardHeight};
    if (!IntersectRect(&part, &area, &board)) return;
    BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top, dc_, part.left, part.top,
           SRCCOPY);
}

Colour BoardPainter::Pixel(int x, int y) const {
    GdiFlush();
    if (x < 0 || y < 0 || x >= kBoardWidth || y >= kBoardHeight) throw std::out_of_range("Pixel outside the board");
    const std::uint32_t rgb = bits_[y * kBoardWidth + x] & 0xFFFFFF;  // 0x00RRGGBB
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
}

}  // namespace lumera::win32
