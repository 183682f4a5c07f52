// The program's start and end without a toolkit: the donation state configured and loaded with
// one error handling, the start-up order, and the donation state written back once at the end.
// Each entry point gives it the settings store, the program file's name and what its toolkit
// provides (the application object, the main window, the message loop, the error report).
#pragma once

#include <functional>
#include <string>

#include "engine/ports.h"

namespace lumera {

// What a toolkit provides for the program's start and end.
class IProgramToolkit {
public:
    virtual ~IProgramToolkit() = default;
    // The application object and the program-wide values (SplashModeBase, the application title last).
    virtual void CreateApplication() = 0;
    // Creates and shows the main window; its creation runs FormCreate.
    virtual void CreateMainWindow() = 0;
    // Runs the message loop until the main window has closed and is released; the exit code.
    virtual int RunMessageLoop() = 0;
    // The top-level error report (the stop-icon message), also before the main window exists.
    virtual void ShowErrorReport(const std::string& what) = 0;
};

class Program {
public:
    // today: the day number (default: the local date).
    Program(ISettingsStore& store, std::string programFile, IProgramToolkit& toolkit,
            std::function<int()> today = {});
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The whole program: Start, the message loop, End. Returns the exit code; never throws.
    int Run() noexcept;
    // Up to the main window's creation: the donation state, the application object and the
    // main window. An error is reported; a failed load leaves the reminder at its first-run
    // defaults. Returns false when the main window could not be made.
    bool Start() noexcept;
    // The program's end: the donation state written back, once. When it could not be loaded,
    // the stored state is left as it is.
    void End() noexcept;

private:
    void Report(const std::string& what) noexcept;

    ISettingsStore& store_;
    std::string programFile_;
    IProgramToolkit& toolkit_;
    std::function<int()> today_;
    bool loaded_ = false;
    bool ended_ = false;
};

}  // namespace lumera
