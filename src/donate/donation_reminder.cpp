// The reminder's module state and its flow around the dialog port.
#include "donate/donation_reminder.h"

#include <utility>

#include "donate/donate_layout.h"
#include "util/days.h"
#include "util/my_utils.h"

namespace lumera {

namespace {

struct Module {
    DonationState state;
    ISettingsStore* store = nullptr;
    std::function<int()> today;
    std::string programFile = "lumera8";
};

Module& TheModule() {
    static Module module;
    return module;
}

int Today() {
    const Module& module = TheModule();
    return module.today ? module.today() : util::TodayDayNumber();
}

// Shows the dialog and applies the answer it closed with.
void RunDialog(IDonateDialog& dialog) {
    const int answer = dialog.ShowDonateDialog();
    if (TheModule().state.ApplyAnswer(answer, Today())) ShellOpen(kDonationPageUrl);
}

}  // namespace

void ConfigureDonation(ISettingsStore* store, std::function<int()> today, std::string programFile) {
    Module& module = TheModule();
    module.store = store;
    module.today = std::move(today);
    module.programFile = programFile.empty() ? "lumera8" : std::move(programFile);
}

void LoadDonationState() {
    Module& module = TheModule();
    if (module.store) module.state.Load(*module.store, module.programFile, Today());
}

void SaveDonationState() noexcept {
    Module& module = TheModule();
    if (module.store) module.state.Save(*module.store);
}

void CheckDonationReminder(IDonateDialog& dialog) {
    DonationState& state = TheModule().state;
    const int today = Today();
    if (!state.ShouldOfferOnClose(today)) return;
    state.BeginScheduledShowing(today);
    RunDialog(dialog);
}

void ShowDonationDialog(IDonateDialog& dialog) {
    TheModule().state.BeginMenuShowing();
    RunDialog(dialog);
}

const DonationState& CurrentDonationState() { return TheModule().state; }

}  // namespace lumera
