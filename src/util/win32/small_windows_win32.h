// Shared parts of the Windows program's small windows (the splash and about window, the
// donation dialog): their default font, placing, the modal run and the release request.
#pragma once

#include <windows.h>

#include <vector>

#include "util/form_font.h"

namespace lumera::win32 {

// Posted to a small window to release it: the window destroys itself when the message loop
// delivers the request, so that none of its own handlers is still running.
inline constexpr UINT kReleaseRequest = WM_APP + 0x20;

inline void PostRelease(HWND window) {
    if (window != nullptr && IsWindow(window)) PostMessageW(window, kReleaseRequest, 0, 0);
}

// "MS Sans Serif" (or what the system puts in its place) at a character height in pixels.
inline HFONT CreateFormFont(int pixels = kFormFontPixels, bool bold = false, bool underline = false) {
    return CreateFontA(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, kFormFontName);
}

// Places a window's outer rectangle centred over `owner`, or on the primary screen when there
// is no owner on screen.
inline void CentreWindowOver(HWND window, HWND owner) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, outer{};
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    GetWindowRect(window, &outer);
    const int left = area.left + (area.right - area.left - (outer.right - outer.left)) / 2;
    const int top = area.top + (area.bottom - area.top - (outer.bottom - outer.top)) / 2;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Shows `window` modally: every other enabled, visible window of this thread is disabled
// until `ended` becomes true (or the window goes), then enabled again and the window hidden.
// `filter` may swallow a message before it is dispatched; with `dialogKeys` the keyboard
// moves between the window's controls as in a dialog.
template <typename Filter>
void RunModal(HWND window, const bool& ended, bool dialogKeys, Filter&& filter) {
    struct Collect {
        HWND self;
        std::vector<HWND> disabled;
        static BOOL CALLBACK Visit(HWND other, LPARAM data) {
            auto* collect = reinterpret_cast<Collect*>(data);
            if (other != collect->self && IsWindowVisible(other) && IsWindowEnabled(other))
                collect->disabled.push_back(other);
            return TRUE;
        }
    } collect{window, {}};
    EnumThreadWindows(GetCurrentThreadId(), &Collect::Visit, reinterpret_cast<LPARAM>(&collect));
    for (HWND other : collect.disabled) EnableWindow(other, FALSE);

    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG message;
    while (!ended && IsWindow(window)) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: hand the request on to the outer loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0) break;
        if (filter(message)) continue;
        if (dialogKeys && IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    // The others come back before this one hides, so that activation returns to the owner.
    for (HWND other : collect.disabled)
        if (IsWindow(other)) EnableWindow(other, TRUE);
    if (IsWindow(window)) SetWindowPos(window, nullptr, 0, 0, 0, 0,
                                       SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace lumera::win32
