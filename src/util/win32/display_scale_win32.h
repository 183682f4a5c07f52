// Our windows at the display's scale: lengths laid out at 96 dots per inch mapped to device
// pixels and back, the scale of a window, a frame sized for a client area at a scale, and
// pictures drawn at a scale. The functions of newer systems are looked up, not imported.
#pragma once

#include <windows.h>

namespace lumera::win32 {

inline constexpr int kDesignDpi = 96;

// Design pixel x covers the device pixels from ToDevice(x) up to, not including,
// ToDevice(x + 1); at 96 dots per inch both are the same. Every rectangle mapped this way meets
// its neighbours without gaps or overlaps, and lines on the same design pixels come out equally
// wide everywhere.
class DisplayScale {
public:
    constexpr DisplayScale() = default;
    constexpr explicit DisplayScale(int dpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

    constexpr int Dpi() const { return dpi_; }
    constexpr bool IsDesignScale() const { return dpi_ == kDesignDpi; }

    // The first device pixel of design pixel x: x * dpi / 96, halves rounded up.
    constexpr int ToDevice(int x) const { return FloorDivide(x * dpi_ + kDesignDpi / 2, kDesignDpi); }
    // The design pixel that covers device pixel x.
    constexpr int ToDesign(int x) const {
        int design = FloorDivide(x * kDesignDpi, dpi_);
        while (ToDevice(design + 1) <= x) ++design;
        while (ToDevice(design) > x) --design;
        return design;
    }
    // A rectangle of design pixels (right and bottom exclusive) in device pixels.
    RECT ToDevice(const RECT& design) const {
        return RECT{ToDevice(design.left), ToDevice(design.top), ToDevice(design.right), ToDevice(design.bottom)};
    }
    POINT ToDesign(POINT device) const { return POINT{ToDesign(device.x), ToDesign(device.y)}; }

    constexpr bool operator==(const DisplayScale&) const = default;

private:
    static constexpr int FloorDivide(int a, int b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
    int dpi_ = kDesignDpi;
};

// The dots per inch a window is shown at: its monitor's where the system scales per monitor,
// otherwise the system's (96 for a program the system stretches itself).
int WindowDpi(HWND window);
// The system's dots per inch, for windows not yet placed.
int SystemDpi();
inline DisplayScale WindowScale(HWND window) { return DisplayScale(window ? WindowDpi(window) : SystemDpi()); }

// The outer rectangle of a window whose client area is `client`, with the frame, caption and
// menu bar at `dpi`.
RECT FrameForClient(const RECT& client, DWORD style, bool hasMenu, DWORD exStyle, int dpi);

// Draws a bitmap of width x height pixels into `target` (device pixels): copied as it is at
// its own size, each pixel a square block at whole-number scales, and smoothed in between,
// where whole pixels would make its lines uneven. With `transparent`, pixels of that colour
// are left out (and the picture is scaled by whole pixels).
void DrawScaledPicture(HDC dc, HBITMAP picture, int width, int height, const RECT& target,
                       const COLORREF* transparent = nullptr);

}  // namespace lumera::win32
