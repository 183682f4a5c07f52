// The donation dialog on Win32: its window, the radio group, the panel with its labels and the
// "Proceed" button with the door glyph, and its showing for the reminder.
#include "donate/win32/donate_win32.h"

#include <windowsx.h>

#include <initializer_list>
#include <stdexcept>

#include "donate/donate_layout.h"
#include "util/my_utils.h"
#include "util/publisher.h"
#include "util/win32/small_windows_win32.h"
#include "util/win32/ansi_text_win32.h"
#include "util/win32/form_window_win32.h"

namespace lumera::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TDonateForm";
constexpr wchar_t kGroupClass[] = L"TRadioGroup";
constexpr wchar_t kPanelClass[] = L"TPanel";
// Pictures among the program's resources: the dialog's picture and the button's glyphs,
// whose magenta pixels are transparent.
constexpr wchar_t kPictureName[] = L"DONATE";
constexpr wchar_t kGlyphName[] = L"DOOR";
constexpr wchar_t kDisabledGlyphName[] = L"DOOR_DISABLED";
constexpr COLORREF kGlyphTransparent = RGB(255, 0, 255);

// Control identifiers; none is IDOK or IDCANCEL, so the dialog has no default or cancel button.
constexpr int kProceedId = 100;
constexpr int kFirstItemId = 200;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// The dialog while it is shown.
TDonateForm*& ShownDialog() {
    static TDonateForm* dialog = nullptr;
    return dialog;
}

// A part's place in its parent at a scale.
RECT PartRect(const DonatePartDef& part, const DisplayScale& scale) {
    return scale.ToDevice(RECT{part.left, part.top, part.left + part.width, part.top + part.height});
}

// Whether a point of the parent's client area, in device pixels, lies in the part.
bool Contains(const DonatePartDef& part, const DisplayScale& scale, int deviceX, int deviceY) {
    const int x = scale.ToDesign(deviceX);
    const int y = scale.ToDesign(deviceY);
    return x >= part.left && x < part.left + part.width && y >= part.top && y < part.top + part.height;
}

HWND MakeChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, const RECT& area,
               HWND parent, int id, void* param) {
    const HWND child = CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, area.left, area.top,
                                       area.right - area.left, area.bottom - area.top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                       param);
    if (child == nullptr)
        throw std::runtime_error("Cannot create the donation dialog (error " + std::to_string(GetLastError()) + ")");
    return child;
}

void FillArea(HDC dc, const RECT& area, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

// One bevel, `width` pixels wide: the top and left lines in one colour, the right and bottom
// lines in the other.
void DrawBevel(HDC dc, const RECT& r, int width, COLORREF topLeft, COLORREF bottomRight) {
    for (int ring = 0; ring < width; ++ring) {
        const RECT e{r.left + ring, r.top + ring, r.right - ring, r.bottom - ring};
        FillArea(dc, RECT{e.left, e.top, e.right - 1, e.top + 1}, topLeft);
        FillArea(dc, RECT{e.left, e.top, e.left + 1, e.bottom - 1}, topLeft);
        FillArea(dc, RECT{e.right - 1, e.top, e.right, e.bottom}, bottomRight);
        FillArea(dc, RECT{e.left, e.bottom - 1, e.right, e.bottom}, bottomRight);
    }
}

}  // namespace

TDonateForm::TDonateForm(HWND owner) : owner_(owner), scale_(WindowScale(owner)) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterFormClass(kWindowClass);
    RegisterWindowClass(kGroupClass, &TDonateForm::GroupProc);
    RegisterWindowClass(kPanelClass, &TDonateForm::PanelProc);
    background_ = CreateSolidBrush(clMoneyGreen);
    cream_ = CreateSolidBrush(clCream);
    MakeFonts();
    picture_ = static_cast<HBITMAP>(LoadImageW(instance, kPictureName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    glyph_ = static_cast<HBITMAP>(LoadImageW(instance, kGlyphName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    disabledGlyph_ =
        static_cast<HBITMAP>(LoadImageW(instance, kDisabledGlyphName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));

    const RECT outer = FrameForClient(scale_.ToDevice(RECT{0, 0, kDonateClientWidth, kDonateClientHeight}), kStyle,
                                      false, kExStyle, scale_.Dpi());
    CreateFormWindow(kExStyle, kWindowClass, FromAnsi(kDonateCaption).c_str(), kStyle, 0, 0, outer.right - outer.left,
                     outer.bottom - outer.top, owner, nullptr);
    if (window_ == nullptr) {
        const DWORD error = GetLastError();
        FreeResources();
        throw std::runtime_error("Cannot create the donation dialog (error " + std::to_string(error) + ")");
    }
    BelongToWindow();
    try {
        // A fixed dialog frame: the system menu offers moving and closing only.
        const HMENU systemMenu = GetSystemMenu(window_, FALSE);
        for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
            DeleteMenu(systemMenu, command, MF_BYCOMMAND);

        // The parts in their tab order: the radio group, "Proceed", the panel; placed below.
        rgDonate_ = MakeChild(kGroupClass, L"", 0, WS_EX_CONTROLPARENT, RECT{}, window_, 0, this);
        for (std::size_t i = 0; i < rgDonateItems_.size(); ++i) {
            const DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
            rgDonateItems_[i] = MakeChild(L"BUTTON", FromAnsi(kDonateAnswerTexts[i]).c_str(), style, 0, RECT{},
                                          rgDonate_, kFirstItemId + static_cast<int>(i), nullptr);
        }
        ntmOK_ = MakeChild(L"BUTTON", FromAnsi(kDonateProceedText).c_str(), BS_OWNERDRAW | WS_TABSTOP, 0, RECT{},
                           window_, kProceedId, nullptr);
        Panel1_ = MakeChild(kPanelClass, L"", 0, 0, RECT{}, window_, 0, this);
        LayOut();
    } catch (...) {
        // The window goes without taking the object along, which the failed construction frees.
        BelongToWindow(false);
        DestroyWindow(window_);
        FreeResources();
        throw;
    }
    FormCreate();
}

void TDonateForm::MakeFonts() {
    font_ = CreateFormFont(scale_.ToDevice(kFormFontPixels));
    linkFont_ = CreateFormFont(scale_.ToDevice(kFormFontPixels), false, true);
}

// The parts' places and font at the scale in use.
void TDonateForm::LayOut() {
    const auto place = [this](HWND part, const RECT& area) {
        SetWindowPos(part, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(part, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    };
    place(rgDonate_, PartRect(kDonateRadioGroup, scale_));
    for (std::size_t i = 0; i < rgDonateItems_.size(); ++i) {
        const int top = kDonateItemTop + kDonateItemPitch * static_cast<int>(i);
        place(rgDonateItems_[i],
              scale_.ToDevice(RECT{kDonateItemLeft, top, kDonateItemLeft + kDonateItemWidth, top + kDonateItemPitch}));
    }
    place(ntmOK_, PartRect(kDonateProceedButton, scale_));
    place(Panel1_, PartRect(kDonatePanel, scale_));
}

// Moved to a screen of another scale: the parts and fonts at the new scale, the frame where the
// system suggests.
void TDonateForm::FormScaleChanged(int dpi, const RECT& suggested) {
    const HFONT oldFont = font_;
    const HFONT oldLinkFont = linkFont_;
    scale_ = DisplayScale(dpi);
    MakeFonts();
    LayOut();
    DeleteObject(oldFont);
    DeleteObject(oldLinkFont);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

TDonateForm::~TDonateForm() {
    if (ShownDialog() == this) ShownDialog() = nullptr;
    FreeResources();
}

void TDonateForm::FreeResources() {
    for (HGDIOBJ object :
         std::initializer_list<HGDIOBJ>{background_, cream_, font_, linkFont_, picture_, glyph_, disabledGlyph_})
        if (object) DeleteObject(object);
}

int TDonateForm::ItemIndex() const {
    for (std::size_t i = 0; i < rgDonateItems_.size(); ++i)
        if (SendMessageW(rgDonateItems_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return static_cast<int>(i);
    return 0;
}

void TDonateForm::SetItemIndex(int index) {
    if (index < 0 || index >= static_cast<int>(rgDonateItems_.size())) return;
    for (std::size_t i = 0; i < rgDonateItems_.size(); ++i)
        SendMessageW(rgDonateItems_[i], BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TDonateForm::FormCreate() { SetItemIndex(0); }

void TDonateForm::ShowModal() {
    closed_ = false;
    CentreWindowOver(window_, owner_);
    ShowWindow(window_, SW_SHOW);
    // The first part in tab order has the focus: the selected answer of the group.
    SetFocus(rgDonateItems_[static_cast<std::size_t>(ItemIndex())]);
    const HWND self = window_;
    // Enter and Escape mean nothing in this dialog.
    RunModal(window_, closed_, true, [self](const MSG& message) {
        const bool keyMessage = message.message == WM_KEYDOWN || message.message == WM_KEYUP ||
                                message.message == WM_CHAR;
        const bool enterOrEscape = message.message == WM_CHAR ? message.wParam == L'\r' || message.wParam == 27
                                                              : message.wParam == VK_RETURN || message.wParam == VK_ESCAPE;
        return keyMessage && enterOrEscape && (message.hwnd == self || IsChild(self, message.hwnd));
    });
}

void TDonateForm::Release() { PostRelease(window_); }

void TDonateForm::ntmOKClick() { Close(); }

void TDonateForm::lblHomePageClick() { ShellOpen(kHomePageUrl); }

void TDonateForm::Close() { closed_ = true; }

// ---- Window procedures ---------------------------------------------------------------------

LRESULT TDonateForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(window_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
            return 1;
        }
        case WM_PAINT:
            FormPaint();
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == kProceedId) {
                DrawProceedButton(*item);
                return TRUE;
            }
            break;
        }
        case WM_CTLCOLORBTN:
            // Behind the owner-drawn button's rounded-off corners: the dialog's green.
            SetBkColor(reinterpret_cast<HDC>(wParam), clMoneyGreen);
            return reinterpret_cast<LRESULT>(background_);
        case WM_COMMAND:
            if (LOWORD(wParam) == kProceedId && HIWORD(wParam) == BN_CLICKED) {
                ntmOKClick();
            }
            // IDOK and IDCANCEL, which the dialog keys would send, do nothing.
            return 0;
        case WM_DPICHANGED:
            FormScaleChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            // The close box and the system's close command count as an answer.
            Close();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK TDonateForm::GroupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TDonateForm* form = WindowObject<TDonateForm>(window, message, lParam);
    if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills it all
        case WM_PAINT:
            form->PaintGroup(window);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            // The answers sit on the group's cream.
            SetBkColor(reinterpret_cast<HDC>(wParam), clCream);
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(form->cream_);
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TDonateForm::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TDonateForm* form = WindowObject<TDonateForm>(window, message, lParam);
    if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            form->PaintPanel(window);
            return 0;
        case WM_LBUTTONDOWN:
            form->panelLinkPressed_ =
                Contains(kDonateHomePageLabel, form->scale_, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (form->panelLinkPressed_) SetCapture(window);
            return 0;
        case WM_LBUTTONUP: {
            const bool pressed = form->panelLinkPressed_;
            form->panelLinkPressed_ = false;
            if (GetCapture() == window) ReleaseCapture();
            if (pressed && Contains(kDonateHomePageLabel, form->scale_, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
                try {
                    form->lblHomePageClick();
                } catch (const std::exception&) {
                }
            }
            return 0;
        }
        case WM_SETCURSOR:
            if (POINT point{}; PointerInClient(window, lParam, point) &&
                               Contains(kDonateHomePageLabel, form->scale_, point.x, point.y))
                return ShowLinkCursor();
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// ---- Painting ------------------------------------------------------------------------------

void TDonateForm::FormPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    DrawScaledPicture(dc, picture_, kDonateImage.width, kDonateImage.height, PartRect(kDonateImage, scale_));
    EndPaint(window_, &paint);
}

// The group's box: cream, with an etched frame that starts half a text line down.
void TDonateForm::PaintGroup(HWND group) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(group, &paint);
    RECT client{};
    GetClientRect(group, &client);
    FillRect(dc, &client, cream_);
    const HGDIOBJ oldFont = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, oldFont);
    RECT frame{client.left, client.top + metrics.tmHeight / 2, client.right, client.bottom};
    // The etched frame's two lines, each as wide as a pixel at the scale.
    const int lineWidth = scale_.ToDevice(1);
    for (int ring = 0; ring < 2 * lineWidth; ++ring) {
        RECT line{frame.left + ring, frame.top + ring, frame.right - ring, frame.bottom - ring};
        DrawEdge(dc, &line, ring < lineWidth ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    EndPaint(group, &paint);
}

// The panel: cream inside a raised outer and a lowered inner bevel, with its three labels.
void TDonateForm::PaintPanel(HWND panel) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(panel, &paint);
    RECT client{};
    GetClientRect(panel, &client);
    FillRect(dc, &client, cream_);
    const int bevel = scale_.ToDevice(1);
    DrawBevel(dc, client, bevel, clBevelLight, clBevelShadow);
    DrawBevel(dc, RECT{client.left + bevel, client.top + bevel, client.right - bevel, client.bottom - bevel}, bevel,
              clBevelShadow, clBevelLight);

    SetBkMode(dc, TRANSPARENT);
    const HGDIOBJ oldFont = SelectObject(dc, font_);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const auto label = [dc, this](const DonatePartDef& part, const std::string& text, UINT format) {
        RECT area = PartRect(part, scale_);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format | DT_NOPREFIX);
        RestoreDC(dc, saved);
    };
    label(kDonateLabel1, DonateLabel1Text(), DT_LEFT | DT_WORDBREAK);
    label(kDonateLabel2, kDonateLabel2Text, DT_LEFT | DT_WORDBREAK);
    SelectObject(dc, linkFont_);
    SetTextColor(dc, clLinkBlue);
    label(kDonateHomePageLabel, DonateHomePageText(), DT_CENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
    EndPaint(panel, &paint);
}

// "Proceed" with the door glyph to the left of the text, the two centred together.
void TDonateForm::DrawProceedButton(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    RECT area = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    const HGDIOBJ oldFont = SelectObject(dc, font_);
    SIZE textSize{};
    const int textLength = static_cast<int>(sizeof kDonateProceedText - 1);
    GetTextExtentPoint32A(dc, kDonateProceedText, textLength, &textSize);
    const int glyph = scale_.ToDevice(kDonateGlyphPixels);
    const int spacing = scale_.ToDevice(4);
    const int width = glyph + spacing + textSize.cx;
    const int shift = pushed ? scale_.ToDevice(1) : 0;
    const int left = area.left + (area.right - area.left - width) / 2 + shift;
    const int glyphTop = area.top + (area.bottom - area.top - glyph) / 2 + shift;
    DrawScaledPicture(dc, disabled ? disabledGlyph_ : glyph_, kDonateGlyphPixels, kDonateGlyphPixels,
                      RECT{left, glyphTop, left + glyph, glyphTop + glyph}, &kGlyphTransparent);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT text{left + glyph + spacing, area.top + shift, area.right, area.bottom + shift};
    DrawTextA(dc, kDonateProceedText, textLength, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    if (item.itemState & ODS_FOCUS) {
        RECT focus = area;
        InflateRect(&focus, -scale_.ToDevice(4), -scale_.ToDevice(4));
        DrawFocusRect(dc, &focus);
    }
}

// ---- The reminder's dialog port --------------------------------------------------------------

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
    form->SetItemIndex(0);
    form->ShowModal();
    return form->ItemIndex();
}

TDonateForm* CurrentDonateForm() { return ShownDialog(); }

}  // namespace lumera::win32
