// The splash and about window of the Windows program, TsplashForm, and the three places where
// the main window drives it: the start-up splash, the first tick of Timer1 and Help > About.
#pragma once

#include <windows.h>

#include "util/win32/form_win32.h"

namespace lumera::win32 {

// The splash window's description for its mode, drawn by the form renderer over its owner: 2
// is the start-up splash, 5 the about window.
class TsplashForm final : public Win32Form {
public:
    // Builds the window, hidden; throws std::runtime_error when it cannot be created.
    TsplashForm(HWND owner, int mode);
    const int SplashMode;

private:
    ~TsplashForm() override;
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
