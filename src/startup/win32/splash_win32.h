// The splash and about window of the Windows program, TsplashForm, and the three places where
// the main window drives it: the start-up splash, the first tick of Timer1 and Help > About.
#pragma once

#include <windows.h>

#include "util/win32/display_scale_win32.h"
#include "util/win32/form_window_win32.h"

namespace lumera::win32 {

// A borderless, topmost picture window over its owner, at the owner's display scale. Its labels
// and "X" are painted by the window itself, as parts without windows of their own; it is
// destroyed only by a release request or with its owner, and the object goes with its window.
class TsplashForm final : public FormWindow {
public:
    // Builds the window, hidden; throws std::runtime_error when it cannot be created.
    TsplashForm(HWND owner, int mode);
    bool CloseButtonVisible() const { return closeButtonVisible_; }
    const int SplashMode;

    void Show();       // non-modally, where it stands
    void ShowModal();  // until a click closes it
    // A modal window ends its modal display; any other is hidden.
    void Close();
    // Destroys the window once control is back in the message loop.
    void Release();

    void Image1Click();
    void btnCloseClick();
    void Label3Click();

private:
    enum class Part { None, Image1, btnClose, lblEval, Label1, Label3 };

    ~TsplashForm() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormPaint();
    // The part under a point of the client area, in device pixels.
    Part PartAt(int x, int y) const;
    void Click(Part part);

    DisplayScale scale_;
    HBITMAP picture_ = nullptr;
    HFONT titleFont_ = nullptr;
    HFONT addressFont_ = nullptr;
    HFONT buttonFont_ = nullptr;
    bool closeButtonVisible_ = false;
    bool modal_ = false;
    bool modalEnded_ = false;
    Part pressed_ = Part::None;
    bool buttonDown_ = false;
};

// The splash window's mode at start, set at program entry; the about window uses it plus 3.
extern int SplashModeBase;
// The one splash window in use; cleared when that window goes.
extern TsplashForm* splashForm;

// The first step of the main window's creation: a splash in mode SplashModeBase, centred on
// the screen and shown. The caller then starts Timer1.
void ShowStartupSplash(HWND mainForm);
// Puts a splash still on screen back above every other window, once the main window has been
// shown: some window systems raise a newly shown window above topmost ones.
void KeepSplashOnTop();
// The first tick of Timer1 (after the caller stopped it): closes and releases the splash.
void SplashTimer1Timer();
// Help > About (after the caller stopped Timer1): an about window centred over the main
// window, shown modally and released afterwards, also when an error ends the showing.
void ShowAboutWindow(HWND mainForm);

}  // namespace lumera::win32
