// The donation dialog of the Windows program, TDonateForm, and the module functions that load
// and save the reminder's state and show the dialog on its schedule or from the menu.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "donate/donation_schedule.h"
#include "engine/ports.h"

namespace lumera::win32 {

// The dialog: a fixed dialog frame with a close box only, shown modally over its owner.
// Closing it by "Proceed", its close box or the system's close command gives the answer.
class TDonateForm {
public:
    // Builds the dialog, hidden; throws std::runtime_error when it cannot be created.
    explicit TDonateForm(HWND owner);
    TDonateForm(const TDonateForm&) = delete;
    TDonateForm& operator=(const TDonateForm&) = delete;

    HWND Handle() const { return window_; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    // Centred over the owner, until it closes.
    void ShowModal();
    // Destroys the window once control is back in the message loop.
    void Release();

    void FormCreate();
    void ntmOKClick();
    void lblHomePageClick();

private:
    ~TDonateForm();
    void FreeResources();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GroupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Close();
    void FormClose();
    void FormPaint();
    void PaintPanel(HWND panel);
    void PaintGroup(HWND group);
    void DrawProceedButton(const DRAWITEMSTRUCT& item);

    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HWND rgDonate_ = nullptr;
    std::array<HWND, 5> rgDonateItems_{};
    HWND ntmOK_ = nullptr;
    HWND Panel1_ = nullptr;
    HBITMAP picture_ = nullptr;
    HBITMAP glyph_ = nullptr;
    HBITMAP disabledGlyph_ = nullptr;
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    HBRUSH background_ = nullptr;
    HBRUSH cream_ = nullptr;
    bool constructed_ = false;
    bool closed_ = false;
    bool panelLinkPressed_ = false;
};

// Where the state is kept and what day it is: the settings store (required before Load and
// Save), today's day number (default: the local date) and the program file whose name keys
// the state (default: this program's own file).
void ConfigureDonation(ISettingsStore* store, std::function<int()> today = {}, std::string programFile = {});

// At program start, before the main window: reads the stored answer and day.
void LoadDonationState();
// At program end, after the message loop: writes both values back.
void SaveDonationState();
// From the main window's close handler: shows the dialog when the schedule says so.
void CheckDonationReminder(HWND owner);
// From Donate > Make a Donation: always shows the dialog.
void ShowDonationDialog(HWND owner);

const DonationState& CurrentDonationState();
// The dialog while it is shown, or none.
TDonateForm* CurrentDonateForm();

}  // namespace lumera::win32
