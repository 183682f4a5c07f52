// The splash and about window: its window class and procedure, its painting and clicks, and
// the start-up splash, its removal by Timer1 and the about window.
#include "startup/win32/splash_win32.h"

#include <windowsx.h>

#include <stdexcept>
#include <string>

#include "startup/splash_modes.h"
#include "util/my_utils.h"
#include "util/publisher.h"
#include "util/win32/small_windows_win32.h"

namespace lumera::win32 {

int SplashModeBase = kStartupSplashMode;
TsplashForm* splashForm = nullptr;

namespace {

constexpr wchar_t kWindowClass[] = L"TsplashForm";
// The splash picture among the program's resources.
constexpr wchar_t kPictureName[] = L"SPLASH";

// A part's place in the client area at a scale.
RECT PartRect(const SplashPartDef& part, const DisplayScale& scale) {
    return scale.ToDevice(RECT{part.left, part.top, part.left + part.width, part.top + part.height});
}

bool Contains(const SplashPartDef& part, int x, int y) {
    return x >= part.left && x < part.left + part.width && y >= part.top && y < part.top + part.height;
}

COLORREF TextColour(Colour colour) {
    return colour == clWindowText ? GetSysColor(COLOR_WINDOWTEXT) : static_cast<COLORREF>(colour);
}

// A label's text, drawn over the picture within the label's bounds.
void DrawLabel(HDC dc, const SplashPartDef& part, const DisplayScale& scale, HFONT font, const std::string& text,
               UINT format) {
    RECT area = PartRect(part, scale);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    SelectObject(dc, font);
    SetTextColor(dc, TextColour(part.colour));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_NOPREFIX);
    RestoreDC(dc, saved);
}

}  // namespace

TsplashForm::TsplashForm(HWND owner, int mode) : SplashMode(mode), scale_(WindowScale(owner)) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterFormClass(kWindowClass);
    // A border-less client area of the designed size at the owner's scale; the owner keeps it
    // above itself and takes it along when it is destroyed.
    CreateFormWindow(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kWindowClass, L"Lumera 8.0", WS_POPUP, 0, 0,
                     scale_.ToDevice(kSplashWidth), scale_.ToDevice(kSplashHeight), owner, nullptr);
    if (window_ == nullptr)
        throw std::runtime_error("Cannot create the splash window (error " + std::to_string(GetLastError()) + ")");
    picture_ = static_cast<HBITMAP>(LoadImageW(instance, kPictureName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    const auto font = [this](const SplashPartDef& part) {
        return CreateFormFont(scale_.ToDevice(part.fontPixels), part.bold, part.underline);
    };
    titleFont_ = font(kSplashTitleLabel);
    addressFont_ = font(kSplashAddressLabel);
    buttonFont_ = font(kSplashCloseButton);
    closeButtonVisible_ = SplashModeFor(SplashMode).showsCloseButton;
    BelongToWindow();
}

TsplashForm::~TsplashForm() {
    if (splashForm == this) splashForm = nullptr;
    if (picture_) DeleteObject(picture_);
    for (HFONT font : {titleFont_, addressFont_, buttonFont_})
        if (font) DeleteObject(font);
}

void TsplashForm::Show() {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
}

void TsplashForm::ShowModal() {
    modal_ = true;
    modalEnded_ = false;
    RunModal(window_, modalEnded_, false, [](const MSG&) { return false; });
    modal_ = false;
}

void TsplashForm::Close() {
    if (modal_)
        modalEnded_ = true;
    else
        ShowWindow(window_, SW_HIDE);
}

void TsplashForm::Release() { PostRelease(window_); }

void TsplashForm::Image1Click() { Close(); }
void TsplashForm::btnCloseClick() { Close(); }

void TsplashForm::Label3Click() {
    if (SplashModeFor(SplashMode).opensHomePage) ShellOpen(kHomePageUrl);
}

// ---- Window procedure ----------------------------------------------------------------------

LRESULT TsplashForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            FormPaint();
            return 0;
        case WM_LBUTTONDOWN:
            pressed_ = PartAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            SetCapture(window_);
            if (pressed_ == Part::btnClose) {
                buttonDown_ = true;
                InvalidateRect(window_, nullptr, FALSE);
            }
            return 0;
        case WM_LBUTTONUP: {
            const Part released = PartAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            const Part pressed = pressed_;
            pressed_ = Part::None;
            if (buttonDown_) {
                buttonDown_ = false;
                InvalidateRect(window_, nullptr, FALSE);
            }
            if (GetCapture() == window_) ReleaseCapture();
            // A click is a press and a release on the same part.
            if (released == pressed) Click(released);
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = Part::None;
            return 0;
        case WM_SETCURSOR:
            if (POINT point{}; SplashModeFor(SplashMode).opensHomePage && PointerInClient(window_, lParam, point) &&
                               PartAt(point.x, point.y) == Part::Label3)
                return ShowLinkCursor();
            break;
        case WM_MOUSEACTIVATE:
            // A click on the start-up splash leaves the activation where it is.
            if (!modal_) return MA_NOACTIVATE;
            break;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// The parts lie over the picture, the later ones above the earlier ones.
TsplashForm::Part TsplashForm::PartAt(int deviceX, int deviceY) const {
    const int x = scale_.ToDesign(deviceX);
    const int y = scale_.ToDesign(deviceY);
    if (Contains(kSplashAddressLabel, x, y)) return Part::Label3;
    if (Contains(kSplashTitleLabel, x, y)) return Part::Label1;
    if (Contains(kSplashEditionLabel, x, y)) return Part::lblEval;
    if (closeButtonVisible_ && Contains(kSplashCloseButton, x, y)) return Part::btnClose;
    if (Contains(kSplashImage, x, y)) return Part::Image1;
    return Part::None;
}

void TsplashForm::Click(Part part) {
    try {
        switch (part) {
            case Part::Image1: Image1Click(); break;
            case Part::btnClose: btnCloseClick(); break;
            case Part::Label3: Label3Click(); break;
            default: break;  // the title and the edition text take the click and do nothing
        }
    } catch (const std::exception&) {
        // Opening the home page is not examined; nothing else here can fail.
    }
}

void TsplashForm::FormPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    DrawScaledPicture(dc, picture_, kSplashImage.width, kSplashImage.height, PartRect(kSplashImage, scale_));
    SetBkMode(dc, TRANSPARENT);
    if (closeButtonVisible_) {
        RECT button = PartRect(kSplashCloseButton, scale_);
        DrawFrameControl(dc, &button, DFC_BUTTON, DFCS_BUTTONPUSH | (buttonDown_ ? DFCS_PUSHED : 0));
        if (buttonDown_) OffsetRect(&button, scale_.ToDevice(1), scale_.ToDevice(1));
        const HGDIOBJ old = SelectObject(dc, buttonFont_);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, kSplashCloseText, -1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    const SplashModeDef mode = SplashModeFor(SplashMode);
    DrawLabel(dc, kSplashEditionLabel, scale_, titleFont_, mode.editionText, DT_CENTER | DT_WORDBREAK);
    DrawLabel(dc, kSplashTitleLabel, scale_, titleFont_, kSplashTitleText, DT_CENTER);
    DrawLabel(dc, kSplashAddressLabel, scale_, addressFont_, SplashAddressText(), DT_CENTER);
    EndPaint(window_, &paint);
}

// ---- The main window's three places ------------------------------------------------------------

void ShowStartupSplash(HWND mainForm) {
    auto* form = new TsplashForm(mainForm, SplashModeBase);
    splashForm = form;
    // The main window is not on screen yet, so the splash is centred on the screen.
    CentreWindowOver(form->Handle(), nullptr);
    form->Show();
}

void KeepSplashOnTop() {
    if (splashForm == nullptr || !IsWindowVisible(splashForm->Handle())) return;
    // Hidden and shown again, it is stacked anew above the window shown last.
    const HWND window = splashForm->Handle();
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SplashTimer1Timer() {
    TsplashForm* form = splashForm;
    if (form == nullptr) return;
    // Closing a splash the player has already clicked away changes nothing; it is released all the same.
    form->Close();
    form->Release();
}

void ShowAboutWindow(HWND mainForm) {
    auto* form = new TsplashForm(mainForm, SplashModeBase + kAboutModeOffset);
    splashForm = form;
    struct ReleaseAfterwards {
        HWND window;
        ~ReleaseAfterwards() { PostRelease(window); }
    } release{form->Handle()};
    CentreWindowOver(form->Handle(), mainForm);
    form->ShowModal();
}

}  // namespace lumera::win32
