// The display's scale on every Windows version: per-monitor functions where the system has
// them (Windows 10 1607 on), the screen's dots per inch before that.
#include "util/win32/display_scale_win32.h"

#include "util/win32/system_library_win32.h"

namespace lumera::win32 {

namespace {

// What a newer system's function (when it has one and it answers) says, else the screen's dots per inch.
int DpiOr(UINT newer) {
    if (newer) return static_cast<int>(newer);
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = SystemFunction<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    return DpiOr(getDpiForWindow && window ? getDpiForWindow(window) : 0);
}

int SystemDpi() {
    static const auto getDpiForSystem = SystemFunction<UINT(WINAPI*)()>(L"user32.dll", "GetDpiForSystem");
    return DpiOr(getDpiForSystem ? getDpiForSystem() : 0);
}

RECT FrameForClient(const RECT& client, DWORD style, bool hasMenu, DWORD exStyle, int dpi) {
    using AdjustForDpiType = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = SystemFunction<AdjustForDpiType>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT outer = client;
    // Older systems have one scale for everything, the one AdjustWindowRectEx works at.
    if (!adjustForDpi || !adjustForDpi(&outer, style, hasMenu, exStyle, static_cast<UINT>(dpi))) {
        outer = client;
        AdjustWindowRectEx(&outer, style, hasMenu, exStyle);
    }
    return outer;
}

void DrawScaledPicture(HDC dc, HBITMAP picture, int width, int height, const RECT& target,
                       const COLORREF* transparent) {
    if (picture == nullptr) return;
    const HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(source, picture);
    const int targetWidth = target.right - target.left;
    const int targetHeight = target.bottom - target.top;
    if (transparent) {
        // The graphics library's own transparent copy: the one of msimg32 only forwards to it,
        // and importing msimg32 would cost its load at every start.
        GdiTransparentBlt(dc, target.left, target.top, targetWidth, targetHeight, source, 0, 0, width, height,
                          *transparent);
    } else if (targetWidth == width && targetHeight == height) {
        BitBlt(dc, target.left, target.top, width, height, source, 0, 0, SRCCOPY);
    } else {
        const bool whole = targetWidth % width == 0 && targetHeight % height == 0;
        const int oldMode = SetStretchBltMode(dc, whole ? COLORONCOLOR : HALFTONE);
        POINT oldOrigin{};
        SetBrushOrgEx(dc, 0, 0, &oldOrigin);  // as HALFTONE asks
        StretchBlt(dc, target.left, target.top, targetWidth, targetHeight, source, 0, 0, width, height, SRCCOPY);
        SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
        SetStretchBltMode(dc, oldMode);
    }
    SelectObject(source, old);
    DeleteDC(source);
}

}  // namespace lumera::win32
