// Program entry of the Windows program: sets the program-wide values, creates the main window
// and runs the message loop until it closes.
#include <windows.h>

#include "donate/win32/donate_win32.h"
#include "startup/splash_modes.h"
#include "startup/win32/perf_hook_win32.h"
#include "startup/win32/splash_win32.h"
#include "window/window_texts.h"
#include "util/win32/registry_store_win32.h"
#include "window/win32/error_report_win32.h"
#include "window/win32/mainform_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace lumera::win32;
    // 1. The donation reminder's state, read from the registry before anything else.
    RegistrySettingsStore store;
    ConfigureDonation(&store);
    try {
        LoadDonationState();
    } catch (const std::exception&) {
        // Without it the reminder starts from its first-run defaults.
    }
    // 2. Plain Win32 has no application object to initialise.
    // 3. The program-wide values: the splash mode; AppCaption and the puzzle file names are set
    //    by the main window on its game; the application title (kApplicationTitle) is the
    //    caption of the error report, and Windows names the running program by its main
    //    window's caption.
    SplashModeBase = lumera::kStartupSplashMode;
    MainFormHooks hooks;
    hooks.destroyed = [] { PostQuitMessage(0); };
    // The splash on screen and Timer1 started, before InitGame; the first tick takes it away.
    hooks.showSplash = [](TLumeraMainForm& form) {
        ShowStartupSplash(form.Handle());
        form.StartTimer1(lumera::kTimer1Interval);
    };
    hooks.timer1Timer = [](TLumeraMainForm& form) {
        form.StopTimer1();
        SplashTimer1Timer();
    };
    hooks.showAbout = [](TLumeraMainForm& form) { ShowAboutWindow(form.Handle()); };
    hooks.showDonationDialog = [](TLumeraMainForm& form) { ShowDonationDialog(form.Handle()); };
    hooks.formClose = [](TLumeraMainForm& form) { CheckDonationReminder(form.Handle()); };
    if (const std::wstring perfFile = PerfReportFile(); !perfFile.empty())
        hooks.painted = [perfFile](TLumeraMainForm&) {
            PerfReportFirstPaintAndQuit(perfFile);
        };

    int result = 0;
    try {
        // 4. The main window; its creation runs FormCreate (splash, InitGame, "A" selected).
        TLumeraMainForm form(instance, MainFormServices{&store}, std::move(hooks));
        ShowWindow(form.Handle(), showCommand);
        KeepSplashOnTop();
        UpdateWindow(form.Handle());
        // 5. The message loop, until the main window is destroyed. No accelerators: the
        //    menu has no shortcut keys.
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        result = static_cast<int>(message.wParam);
    } catch (const std::exception& error) {
        ShowErrorReport(nullptr, error.what());
        result = 1;
    }
    // 6. The donation reminder's state is written back, then the program ends.
    SaveDonationState();
    return result;
}
