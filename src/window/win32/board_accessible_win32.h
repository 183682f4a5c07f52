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

// The main window's client area as a screen reader sees it: the layer's board tree, the client
// area holding the alphabet's toolbar, the status and the puzzle's table of rows of cells, and
// an alert that speaks each move.
class BoardAccessibility {
public:
    // Null when the system's accessibility library cannot be had.
    static std::unique_ptr<BoardAccessibility> Create(HWND window, GameWindow& layer, const BoardPainter& painter);
    ~BoardAccessibility();
    BoardAccessibility(const BoardAccessibility&) = delete;
    BoardAccessibility& operator=(const BoardAccessibility&) = delete;

    // Whether a WM_GETOBJECT asks for a node of the tree (the client area, a group, a row).
    bool Holds(LPARAM objectId) const;
    // The answer to such a WM_GETOBJECT.
    LRESULT Object(WPARAM wParam, LPARAM objectId);

private:
    BoardAccessibility() = default;

    std::unique_ptr<BoardAccessible> object_;
    GameWindow* layer_ = nullptr;
    bool comInitialized_ = false;
};

// Whether a WM_GETOBJECT may ask for the board: the client area or one of the tree's own object
// ids, which are small positive numbers.
inline bool AsksForBoard(LPARAM objectId) {
    const auto id = static_cast<LONG>(objectId);
    return id == OBJID_CLIENT || (id > 0 && id < 64);
}

}  // namespace lumera::win32
