// The donation dialog of the Windows program, TDonateForm, and the reminder's dialog port that
// shows it.
#pragma once

#include <windows.h>

#include <functional>

#include "donate/donation_reminder.h"
#include "util/win32/form_win32.h"

namespace lumera::win32 {

// The dialog's description drawn by the form renderer over its owner; its answer is the
// selected item.
class TDonateForm final : public Win32Form {
public:
    // Builds the dialog, hidden; throws std::runtime_error when it cannot be created.
    explicit TDonateForm(HWND owner);

private:
    ~TDonateForm() override;
};

// The reminder's dialog port: a new TDonateForm over the owner each time, shown modally and
// released afterwards. The owner is asked for when the dialog comes up, since the port is made
// before the main window has its handle.
class Win32DonateDialog final : public IDonateDialog {
public:
    explicit Win32DonateDialog(std::function<HWND()> owner) : owner_(std::move(owner)) {}
    int ShowDonateDialog() override;

private:
    std::function<HWND()> owner_;
};

// The dialog while it is shown, or none.
TDonateForm* CurrentDonateForm();

}  // namespace lumera::win32
