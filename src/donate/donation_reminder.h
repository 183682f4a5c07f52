// The donation reminder's flow, one for the whole program: its state loaded at start and saved
// at the end, the dialog offered on its schedule when the main window closes or shown from the
// menu, and the answer applied. The dialog itself sits behind a port that only shows it.
#pragma once

#include <functional>
#include <string>

#include "donate/donation_schedule.h"
#include "engine/ports.h"

namespace lumera {

// The donation dialog of a front-end.
class IDonateDialog {
public:
    virtual ~IDonateDialog() = default;
    // Shows the dialog modally with the first answer selected; returns the index of the answer
    // selected when it was closed, in whatever way (0 to 4).
    virtual int ShowDonateDialog() = 0;
};

// Where the state is kept (the program's one settings store), which day it is (default: the
// local date) and the program file whose name keys the state (default: "lumera8"). Called by
// the entry point before LoadDonationState.
void ConfigureDonation(ISettingsStore* store, std::function<int()> today = {}, std::string programFile = {});

// At program start, before the main window exists. Throws what the store throws.
void LoadDonationState();
// At program end, after the event loop has ended. Never throws.
void SaveDonationState() noexcept;
// When the main window closes: shows the dialog if the schedule says so.
void CheckDonationReminder(IDonateDialog& dialog);
// Donate > Make a Donation: always shows the dialog.
void ShowDonationDialog(IDonateDialog& dialog);

const DonationState& CurrentDonationState();

}  // namespace lumera
