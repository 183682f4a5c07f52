// The board for screen readers on Win32: an IAccessible over the window layer's description of
// the board, handed out for WM_GETOBJECT, and the WinEvents that announce its changes. Made on
// the first request, so that a run without a screen reader loads none of the libraries it needs.
#pragma once

#include <windows.h>

#include <memory>

namespace lumera {
class GameWindow;
}

namespace lumera::win32 {

class BoardPainter;
class BoardAccessible;

// Posted to the main window by accDoDefaultAction with the part in wParam: the part is
// activated once the screen reader's call has returned, so that a message box the click opens
// does not keep the reader waiting.
inline constexpr UINT kActivateBoardPart = WM_APP + 0x21;

// The main window's client area as a screen reader sees it: child 1 to 297 are the layer's
// board parts 0 to 296 (the alphabet buttons, the grid's cells row by row, the status box).
class BoardAccessibility {
public:
    // Null when the system's accessibility library cannot be had.
    static std::unique_ptr<BoardAccessibility> Create(HWND window, GameWindow& layer, const BoardPainter& painter);
    ~BoardAccessibility();
    BoardAccessibility(const BoardAccessibility&) = delete;
    BoardAccessibility& operator=(const BoardAccessibility&) = delete;

    // The answer to WM_GETOBJECT for the client area.
    LRESULT ClientObject(WPARAM wParam);

private:
    BoardAccessibility() = default;

    BoardAccessible* object_ = nullptr;
    GameWindow* layer_ = nullptr;
    bool comInitialized_ = false;
};

// Whether a WM_GETOBJECT asks for the client area.
inline bool AsksForClient(LPARAM objectId) { return static_cast<DWORD>(objectId) == static_cast<DWORD>(OBJID_CLIENT); }

}  // namespace lumera::win32
