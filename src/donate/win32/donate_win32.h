// The donation dialog of the Windows program, TDonateForm, and the reminder's dialog port that
// shows it.
#pragma once

#include <windows.h>

#include <array>
#include <functional>

#include "donate/donation_reminder.h"
#include "util/win32/display_scale_win32.h"
#include "util/win32/form_window_win32.h"

namespace lumera::win32 {

// The dialog: a fixed dialog frame with a close box only, shown modally over its owner at the
// owner's display scale. Closing it by "Proceed", its close box or the system's close command
// gives the answer.
class TDonateForm final : public FormWindow {
public:
    // Builds the dialog, hidden; throws std::runtime_error when it cannot be created.
    explicit TDonateForm(HWND owner);
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
    ~TDonateForm() override;
    void FreeResources();
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GroupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Close();
    void MakeFonts();
    void LayOut();
    void FormScaleChanged(int dpi, const RECT& suggested);
    void FormPaint();
    void PaintPanel(HWND panel);
    void PaintGroup(HWND group);
    void DrawProceedButton(const DRAWITEMSTRUCT& item);

    HWND owner_ = nullptr;
    DisplayScale scale_;
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
    bool closed_ = false;
    bool panelLinkPressed_ = false;
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
