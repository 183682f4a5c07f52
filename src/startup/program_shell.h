// The part of the main window's shell that is the same on every platform: the donation
// reminder over the platform's dialog, and documents handed to ShellOpen. Each entry point
// adds the splash and about window of its toolkit.
#pragma once

#include <string>

#include "donate/donation_reminder.h"
#include "util/my_utils.h"
#include "window/game_window.h"

namespace lumera {

class ProgramShell : public IShell {
public:
    explicit ProgramShell(IDonateDialog& donateDialog) : donateDialog_(donateDialog) {}
    void ShowDonationDialog() override { lumera::ShowDonationDialog(donateDialog_); }
    void CheckDonationReminder() override { lumera::CheckDonationReminder(donateDialog_); }
    void OpenDocument(const std::string& document) override { ShellOpen(document); }

private:
    IDonateDialog& donateDialog_;
};

}  // namespace lumera
