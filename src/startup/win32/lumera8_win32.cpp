// Program entry of the Windows program: the registry store, and what Win32 provides for the
// program's start and end (startup/program.h): the main window with the shell that reaches the
// splash, About, the donation dialog and help, and the message loop.
#include <windows.h>

#include <optional>

#include "donate/win32/donate_win32.h"
#include "startup/program.h"
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

class Win32Toolkit final : public lumera::IProgramToolkit {
public:
    Win32Toolkit(HINSTANCE instance, int showCommand, RegistrySettingsStore& store)
        : instance_(instance), showCommand_(showCommand), store_(store) {}

    // Plain Win32 has no application object. AppCaption and the puzzle file names are set by the
    // window layer on its game; the application title (kApplicationTitle) is the caption of the
    // error report, and Windows names the running program by its main window's caption.
    void CreateApplication() override { SplashModeBase = lumera::kStartupSplashMode; }

    // Its creation runs FormCreate (splash, InitGame, "A" selected).
    void CreateMainWindow() override {
        MainFormServices services;
        services.store = &store_;
        services.shell = [](TLumeraMainForm& form) { return std::make_unique<Win32Shell>(form); };
        services.destroyed = [] { PostQuitMessage(0); };
        if (const std::wstring perfFile = PerfReportFile(); !perfFile.empty())
            services.painted = [perfFile](TLumeraMainForm&) { PerfReportFirstPaintAndQuit(perfFile); };
        form_.emplace(instance_, std::move(services));
        ShowWindow(form_->Handle(), showCommand_);
        KeepSplashOnTop();
        UpdateWindow(form_->Handle());
    }

    // Until the main window is destroyed. No accelerators: the menu has no shortcut keys.
    int RunMessageLoop() override {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        form_.reset();
        return static_cast<int>(message.wParam);
    }

    void ShowErrorReport(const std::string& what) override {
        win32::ShowErrorReport(nullptr, what);
    }

private:
    HINSTANCE instance_;
    int showCommand_;
    RegistrySettingsStore& store_;
    std::optional<TLumeraMainForm> form_;
};

}  // namespace
}  // namespace lumera::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    using namespace lumera::win32;
    RegistrySettingsStore store;
    Win32Toolkit toolkit(instance, showCommand, store);
    return lumera::Program(store, ProgramFile(), toolkit).Run();
}
