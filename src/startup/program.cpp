// The program's start and end, in the order of the entry: the donation state, the application
// object with the program-wide values, the main window, the message loop, the donation state
// written back.
#include "startup/program.h"

#include <exception>
#include <utility>

#include "donate/donation_reminder.h"

namespace lumera {

Program::Program(ISettingsStore& store, std::string programFile, IProgramToolkit& toolkit,
                 std::function<int()> today)
    : store_(store), programFile_(std::move(programFile)), toolkit_(toolkit), today_(std::move(today)) {}

int Program::Run() noexcept {
    int result = 1;
    if (Start()) {
        try {
            result = toolkit_.RunMessageLoop();
        } catch (const std::exception& error) {
            Report(error.what());
        }
    }
    End();
    return result;
}

bool Program::Start() noexcept {
    // The load comes before the application object, so its error is told once there is one.
    std::string loadError;
    try {
        ConfigureDonation(&store_, today_, programFile_);
        LoadDonationState();
        loaded_ = true;
    } catch (const std::exception& error) {
        loadError = error.what();
    }
    try {
        toolkit_.CreateApplication();
    } catch (const std::exception& error) {
        Report(error.what());
        return false;
    }
    if (!loaded_) Report(loadError);
    try {
        toolkit_.CreateMainWindow();
        return true;
    } catch (const std::exception& error) {
        Report(error.what());
        return false;
    }
}

void Program::End() noexcept {
    if (ended_) return;
    ended_ = true;
    if (loaded_) SaveDonationState();
}

void Program::Report(const std::string& what) noexcept {
    try {
        toolkit_.ShowErrorReport(what);
    } catch (...) {
        // The report itself failed; there is nobody left to tell.
    }
}

}  // namespace lumera
