// Program entry of the Windows program: the one settings store, the donation state loaded, the
// main window with the shell that reaches the splash, About, the donation dialog and help, the
// message loop until the window closes, then the donation state written back.
#include <windows.h>

#include "donate/win32/donate_win32.h"
#include "startup/program_shell.h"
#include "startup/splash_modes.h"
#include "startup/win32/perf_hook_win32.h"
#include "startup/win32/splash_win32.h"
#include "util/win32/registry_store_win32.h"
#include "window/win32/error_report_win32.h"
#include "window/win32/mainform_win32.h"

namespace lumera::win32 {
namespace {

// The program's own file, whose name keys the donation state.
std::string ProgramFile() {
    char name[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, name, MAX_PATH);
    return std::string(name, length);
}

// The splash and about window and the donation dialog of Win32, over the main window.
class Win32Shell final : public ProgramShell {
public:
    explicit Win32Shell(TLumeraMainForm& form)
        : ProgramShell(donateDialog_), form_(form), donateDialog_([&form] { return form.Handle(); }) {}
    void ShowSplash() override { ShowStartupSplash(form_.Handle()); }
    void CloseSplash() override { SplashTimer1Timer(); }
    void ShowAbout() override { ShowAboutWindow(form_.Handle()); }

private:
    TLumeraMainForm& form_;
    Win32DonateDialog donateDialog_;
};

}  // namespace
}  // namespace lumera::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace lumera::win32;
    // 1. The donation reminder's state, read from the registry before anything else.
    RegistrySettingsStore store;
    lumera::ConfigureDonation(&store, {}, ProgramFile());
    try {
        lumera::LoadDonationState();
    } catch (const std::exception&) {
        // Without it the reminder starts from its first-run defaults.
    }
    // 2. Plain Win32 has no application object to initialise.
    // 3. The program-wide values: the splash mode; AppCaption and the puzzle file names are set
    //    by the window layer on its game; the application title (kApplicationTitle) is the
    //    caption of the error report, and Windows names the running program by its main
    //    window's caption.
    SplashModeBase = lumera::kStartupSplashMode;
    MainFormServices services;
    services.store = &store;
    services.shell = [](TLumeraMainForm& form) { return std::make_unique<Win32Shell>(form); };
    services.destroyed = [] { PostQuitMessage(0); };
    if (const std::wstring perfFile = PerfReportFile(); !perfFile.empty())
        services.painted = [perfFile](TLumeraMainForm&) { PerfReportFirstPaintAndQuit(perfFile); };

    int result = 0;
    try {
        // 4. The main window; its creation runs FormCreate (splash, InitGame, "A" selected).
        TLumeraMainForm form(instance, std::move(services));
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
    lumera::SaveDonationState();
    return result;
}
