// The splash and about window: the start-up splash, its removal by Timer1 and the about window.
#include "startup/win32/splash_win32.h"

#include "startup/splash_form.h"
#include "startup/splash_modes.h"
#include "util/win32/small_windows_win32.h"

namespace lumera::win32 {

int SplashModeBase = kStartupSplashMode;
TsplashForm* splashForm = nullptr;

TsplashForm::TsplashForm(HWND owner, int mode) : Win32Form(owner, SplashForm(mode)), SplashMode(mode) {}

TsplashForm::~TsplashForm() {
    if (splashForm == this) splashForm = nullptr;
}

void ShowStartupSplash(HWND mainForm) {
    auto* form = new TsplashForm(mainForm, SplashModeBase);
    splashForm = form;
    // The main window is not on screen yet, so the splash is centred on the screen.
    CentreWindowOver(form->Handle(), nullptr);
    form->Show();
}

void KeepSplashOnTop() {
    if (splashForm == nullptr || !IsWindowVisible(splashForm->Handle())) return;
    // Hidden and shown again, it is stacked anew above the window shown last.
    const HWND window = splashForm->Handle();
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SplashTimer1Timer() {
    TsplashForm* form = splashForm;
    if (form == nullptr) return;
    // Closing a splash the player has already clicked away changes nothing; it is released all the same.
    form->Close();
    form->Release();
}

void ShowAboutWindow(HWND mainForm) {
    auto* form = new TsplashForm(mainForm, SplashModeBase + kAboutModeOffset);
    splashForm = form;
    struct ReleaseAfterwards {
        HWND window;
        ~ReleaseAfterwards() { PostRelease(window); }
    } release{form->Handle()};
    form->ShowModal();
}

}  // namespace lumera::win32
