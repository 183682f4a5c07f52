// The game window on Win32: TLumeraMainForm with its menu and the board it paints. It turns
// window messages into engine calls and holds no game rules.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "engine/game.h"
#include "window/win32/board_painter_win32.h"

namespace lumera::win32 {

// What the tests may put in place of the real services. The settings store is required.
struct MainFormServices {
    ISettingsStore* store = nullptr;
    IDialogs* dialogs = nullptr;  // default: message boxes, the input box and the file chooser
    ISound* sound = nullptr;      // default: PlaySound of the WAVE resources
    IRandom* random = nullptr;    // default: a generator seeded from the clock
    IClock* clock = nullptr;      // default: the system clock
};

class TLumeraMainForm;

// The places where the splash and about window and the donation reminder join the window.
// Each is optional; an empty one does nothing.
struct MainFormHooks {
    std::function<void(TLumeraMainForm&)> showSplash;          // first step of FormCreate
    std::function<void(TLumeraMainForm&)> timer1Timer;         // Timer1 fired
    std::function<void(TLumeraMainForm&)> showAbout;           // after menuAboutClick stopped Timer1
    std::function<void(TLumeraMainForm&)> showDonationDialog;  // "Make a Donation"
    std::function<void(TLumeraMainForm&)> formClose;           // any close, before the window goes
    std::function<void(TLumeraMainForm&)> painted;             // the end of every WM_PAINT
    std::function<void()> destroyed;                           // the window is gone (ends the program)
};

class TLumeraMainForm final : public IBoard {
public:
    // Creates the window (hidden) at its designed place and size with the menu; its creation
    // runs FormCreate: the splash hook, InitGame and the selection of "A".
    TLumeraMainForm(HINSTANCE instance, MainFormServices services, MainFormHooks hooks = {});
    ~TLumeraMainForm() override;
    TLumeraMainForm(const TLumeraMainForm&) = delete;
    TLumeraMainForm& operator=(const TLumeraMainForm&) = delete;

    HWND Handle() const { return window_; }
    HMENU Menu() const { return menu_; }
    LumeraGame& Game() { return *game_; }
    const BoardPainter& Board() const { return painter_; }

    // Timer1, the splash window's timer.
    void StartTimer1(UINT milliseconds);
    void StopTimer1();

    // The board port.
    void DrawAlphabetCell(char letter, Colour colour) override;
    void DrawPuzzleCell(int n, char text, Colour colour) override;
    void FullRepaint() override;
    void SetCaption(const std::string& caption) override;
    void SetCommandEnabled(const std::string& itemName, bool enabled) override;
    void SetOptionChecked(const std::string& itemName, bool checked) override;

    // Event handlers.
    void FormMouseUp(int x, int y);
    void menuNewClick();
    void menuSpecifyStartClick();
    void menuCheatClick();
    void menuQuitClick();
    void menuNewPuzzleSetClick();
    void menuSolveClick();
    void menuShowCorrectLettersClick();
    void menuSoundClick();
    void MakeaDonation1Click();
    void Contents1Click();
    void menuAboutClick();
    void Timer1Timer();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void FormPaint();
    void FormClose();
    void ShowHelp();
    void DispatchCommand(UINT id);
    // Copies part of the board to the window at once, when the window is on screen.
    void ShowOnScreen(const RECT& area);
    template <typename Handler>
    void Handle(Handler&& handler);

    HINSTANCE instance_;
    MainFormServices services_;
    MainFormHooks hooks_;
    std::unique_ptr<IDialogs> ownDialogs_;
    std::unique_ptr<ISound> ownSound_;
    std::unique_ptr<IRandom> ownRandom_;
    std::unique_ptr<IClock> ownClock_;
    std::unique_ptr<LumeraGame> game_;
    BoardPainter painter_;
    HWND window_ = nullptr;
    HMENU menu_ = nullptr;
    HBRUSH background_ = nullptr;
};

// The identifier of Timer1 in WM_TIMER.
inline constexpr UINT_PTR kTimer1Id = 1;

}  // namespace lumera::win32
