// The donation dialog on Win32 and its showing for the reminder.
#include "donate/win32/donate_win32.h"

#include "donate/donate_form.h"
#include "util/win32/small_windows_win32.h"

namespace lumera::win32 {

namespace {

// The dialog while it is shown.
TDonateForm*& ShownDialog() {
    static TDonateForm* dialog = nullptr;
    return dialog;
}

}  // namespace

TDonateForm::TDonateForm(HWND owner) : Win32Form(owner, DonateForm()) {}

TDonateForm::~TDonateForm() {
    if (ShownDialog() == this) ShownDialog() = nullptr;
}

int Win32DonateDialog::ShowDonateDialog() {
    auto* form = new TDonateForm(owner_ ? owner_() : nullptr);
    ShownDialog() = form;
    // Released afterwards, also when an error ends the showing.
    struct ReleaseAfterwards {
        HWND window;
        ~ReleaseAfterwards() {
            PostRelease(window);
            ShownDialog() = nullptr;
        }
    } release{form->Handle()};
    return form->ShowModal();
}

TDonateForm* CurrentDonateForm() { return ShownDialog(); }

}  // namespace lumera::win32
