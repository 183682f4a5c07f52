// Program entry of the Windows program: sets the program-wide values, creates the main window
// and runs the message loop until it closes.
#include <windows.h>

#include "startup/win32/perf_hook_win32.h"
#include "util/win32/registry_store_win32.h"
#include "window/win32/error_report_win32.h"
#include "window/win32/mainform_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // 1. The donation reminder's state is loaded here (LoadDonationState), before anything else.
    // 2. Plain Win32 has no application object to initialise.
    // 3. The program-wide values: AppCaption and the puzzle file names are set by the main
    //    window on its game; the application title (kApplicationTitle) is the caption of the
    //    error report, and Windows names the running program by its main window's caption.
    lumera::win32::RegistrySettingsStore store;
    lumera::win32::MainFormHooks hooks;
    hooks.destroyed = [] { PostQuitMessage(0); };
    if (const std::wstring perfFile = lumera::win32::PerfReportFile(); !perfFile.empty())
        hooks.painted = [perfFile](lumera::win32::TLumeraMainForm&) {
            lumera::win32::PerfReportFirstPaintAndQuit(perfFile);
        };

    int result = 0;
    try {
        // 4. The main window; its creation runs FormCreate (splash, InitGame, "A" selected).
        lumera::win32::TLumeraMainForm form(instance, lumera::win32::MainFormServices{&store}, std::move(hooks));
        ShowWindow(form.Handle(), showCommand);
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
        lumera::win32::ShowErrorReport(nullptr, error.what());
        result = 1;
    }
    // 6. The donation reminder's state is written here (SaveDonationState), then the program ends.
    return result;
}
