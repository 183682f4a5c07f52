// The game window on Win32: TLumeraMainForm with its menu, Timer1 and the board bitmap that the
// painter draws the layer's cells into, at the display's scale. It turns window messages into
// calls on the window layer, and hands the board to screen readers when they ask.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "util/win32/form_window_win32.h"
#include "window/front_end.h"
#include "window/game_window.h"
#include "window/win32/board_accessible_win32.h"
#include "window/win32/board_painter_win32.h"

namespace lumera::win32 {

class TLumeraMainForm;
class Win32Dialogs;

// What the tests and the entry point give the window; the others are message boxes, the input
// box and the file chooser, PlaySound of the WAVE resources, a generator seeded from the clock
// and the system clock.
struct MainFormServices : FrontEndServices<TLumeraMainForm> {
    std::function<void(TLumeraMainForm&)> painted;  // the end of every WM_PAINT
    std::function<void()> destroyed;                // the window is gone (ends the program)
};

class TLumeraMainForm final : public FormWindow, public IWindowFrame {
public:
    // Creates the window (hidden) at its designed place and size with the menu, both scaled
    // with the display; its creation runs FormCreate: the splash, InitGame and the selection
    // of "A".
    TLumeraMainForm(HINSTANCE instance, MainFormServices services);
    ~TLumeraMainForm() override;

    HMENU Menu() const { return menu_; }
    GameWindow& Window() { return *layer_; }
    LumeraGame& Game() { return layer_->Game(); }
    const BoardPainter& Board() const { return painter_; }

    // The frame port.
    void SetCaption(const std::string& caption) override;
    void SetMenuItemState(const std::string& itemName, bool enabled, bool checked) override;
    void SetTimer1(int milliseconds) override;
    void Close() override;
    void ShowErrorReport(const std::string& what) override;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The board at the window's scale; the window placed at `suggested` (given by the system
    // when the scale changes), or at its designed place and size at that scale.
    void AdoptScale(int dpi, const RECT* suggested);
    // The window's outer size that gives the board's client area at `dpi`: the frame and the
    // menu bar grow otherwise than the board, so a proportional guess is off.
    SIZE WindowSizeFor(int dpi) const;
    // A menu bar that takes more than one line, or a frame drawn otherwise than the system said,
    // leaves the client area short of the board: the window grows by what is missing.
    void GrowToBoard();
    // Copies the board to the window where WM_PAINT asks, the rest of the client area grey.
    void PaintWindow();
    // Copies part of the board to the window at once, when the window is on screen.
    void ShowOnScreen(const RECT& area);

    std::function<void(TLumeraMainForm&)> painted_;
    std::function<void()> destroyed_;
    ServiceOwner owned_;
    Win32Dialogs* ownDialogs_ = nullptr;  // made here, given the window as owner once it exists
    BoardPainter painter_;
    std::unique_ptr<GameWindow> layer_;
    HMENU menu_ = nullptr;
    HBRUSH background_ = nullptr;
    std::unique_ptr<BoardAccessibility> accessibility_;  // once a screen reader has asked
};

// The identifier of Timer1 in WM_TIMER.
inline constexpr UINT_PTR kTimer1Id = 1;

}  // namespace lumera::win32
