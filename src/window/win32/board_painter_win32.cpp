// Board painting with GDI: "Arial" without antialiasing, a black outline, fills through the
// device context's brush colour, all into a 32-bit memory bitmap. Board pixels become squares
// of device pixels at the display's scale, the fonts grow with it, and every outline is as wide
// as the pixels it stands on.
#include "window/win32/board_painter_win32.h"

#include <stdexcept>

#include "window/window_measures.h"

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
    if (dc_ == nullptr) throw std::runtime_error("Cannot create the board bitmap");
    try {
        CreateImage();
    } catch (...) {
        DeleteDC(dc_);
        throw;
    }
    SelectObject(dc_, GetStockObject(DC_BRUSH));
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ClearBoard(clGray);
}

BoardPainter::~BoardPainter() {
    FreeImage();
    DeleteDC(dc_);
}

// The bitmap and the two fonts at the current scale, selected into the device context.
void BoardPainter::CreateImage() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = Width();
    info.bmiHeader.biHeight = -Height();  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_ == nullptr) throw std::runtime_error("Cannot create the board bitmap");
    bits_ = static_cast<std::uint32_t*>(bits);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    try {
        letterFont_ = MakeBoardFont(scale_.ToDevice(kLetterPixels));
        statusFont_ = MakeBoardFont(scale_.ToDevice(kStatusPixels));
    } catch (...) {
        FreeImage();
        throw;
    }
    oldFont_ = SelectObject(dc_, letterFont_);
}

void BoardPainter::FreeImage() {
    if (oldFont_) SelectObject(dc_, oldFont_);
    if (oldBitmap_) SelectObject(dc_, oldBitmap_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(letterFont_), static_cast<HGDIOBJ>(statusFont_),
                           static_cast<HGDIOBJ>(bitmap_)})
        if (object) DeleteObject(object);
    oldFont_ = oldBitmap_ = nullptr;
    letterFont_ = statusFont_ = nullptr;
    bitmap_ = nullptr;
    bits_ = nullptr;
}

bool BoardPainter::SetScale(const DisplayScale& scale) {
    if (scale == scale_) return false;
    const DisplayScale previous = scale_;
    FreeImage();
    scale_ = scale;
    try {
        CreateImage();
    } catch (...) {
        // The board stays usable at the scale it had.
        scale_ = previous;
        CreateImage();
        ClearBoard(clGray);
        throw;
    }
    ClearBoard(clGray);
    return true;
}

void BoardPainter::ClearBoard(Colour background) {
    const COLORREF previous = SetDCBrushColor(dc_, background);
    const RECT all{0, 0, Width(), Height()};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc_, previous);
}

void BoardPainter::DrawCell(const CellLook& cell) {
    const CellRect& rect = cell.rect;
    const auto at = [this](int x) { return scale_.ToDevice(x); };
    const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    SelectObject(dc_, cell.fontPixels == kStatusPixels ? statusFont_ : letterFont_);
    SetTextColor(dc_, cell.textColour == clWindowText ? GetSysColor(COLOR_WINDOWTEXT) : cell.textColour);
    const COLORREF previous = SetDCBrushColor(dc_, cell.fill);
    // The fill stops short of column Right and row Bottom, where the outline goes.
    const RECT fill{at(rect.Left), at(rect.Top), at(rect.Right), at(rect.Bottom)};
    FillRect(dc_, &fill, brush);
    // TA_TOP puts the top of the character cell, not the baseline, at the point.
    ExtTextOutA(dc_, at(rect.Left + 2), at(rect.Top + 2), ETO_CLIPPED, &fill, cell.text.data(),
                static_cast<UINT>(cell.text.size()), nullptr);
    // The outline covers the board pixels of columns Left and Right and rows Top and Bottom,
    // corners included, over the fill and the text.
    SetDCBrushColor(dc_, cell.outline);
    const RECT outline[] = {
        {at(rect.Left), at(rect.Top), at(rect.Right + 1), at(rect.Top + 1)},
        {at(rect.Left), at(rect.Bottom), at(rect.Right + 1), at(rect.Bottom + 1)},
        {at(rect.Left), at(rect.Top), at(rect.Left + 1), at(rect.Bottom + 1)},
        {at(rect.Right), at(rect.Top), at(rect.Right + 1), at(rect.Bottom + 1)},
    };
    for (const RECT& line : outline) FillRect(dc_, &line, brush);
    SetDCBrushColor(dc_, previous);
}

void BoardPainter::ShowArea(const CellRect& area) {
    if (show_) show_(scale_.ToDevice(RECT{area.Left, area.Top, area.Right, area.Bottom}));
}

void BoardPainter::CopyTo(HDC target, const RECT& area) const {
    RECT part{};
    const RECT board{0, 0, Width(), Height()};
    if (!IntersectRect(&part, &area, &board)) return;
    BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top, dc_, part.left, part.top,
           SRCCOPY);
}

Colour BoardPainter::Pixel(int x, int y) const {
    GdiFlush();
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) throw std::out_of_range("Pixel outside the board");
    const std::uint32_t rgb = bits_[y * Width() + x] & 0xFFFFFF;  // 0x00RRGGBB
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
}

}  // namespace lumera::win32
