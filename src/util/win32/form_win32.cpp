// Form descriptions drawn with Win32: the window and its panels paint their pictures, texts and
// windowless buttons and take their clicks; radio groups and buttons that take the focus are
// standard buttons; the window's modal showing, closing and change of display scale.
#include "util/win32/form_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

#include "util/win32/ansi_text_win32.h"
#include "util/win32/small_windows_win32.h"

namespace lumera::win32 {

namespace {

constexpr wchar_t kGroupClass[] = L"TRadioGroup";
constexpr wchar_t kPanelClass[] = L"TPanel";
// Button glyphs mark their transparent pixels in magenta.
constexpr COLORREF kGlyphTransparent = RGB(255, 0, 255);
// Control identifiers; none is IDOK or IDCANCEL, so the window has no default or cancel button.
constexpr int kFirstButtonId = 100;
constexpr int kFirstItemId = 200;

RECT PlaceOf(const FormPart& part) { return RECT{part.left, part.top, part.left + part.width, part.top + part.height}; }

COLORREF SystemOr(Colour colour) {
    if (colour == clWindowText) return GetSysColor(COLOR_WINDOWTEXT);
    if (colour == clBtnFace) return GetSysColor(COLOR_BTNFACE);
    return static_cast<COLORREF>(colour);
}

bool Windowless(const FormPart& part) {
    return part.kind == PartKind::Picture || part.kind == PartKind::Label || part.kind == PartKind::Link ||
           (part.kind == PartKind::Button && !part.focusable);
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

std::size_t CountPanels(const std::vector<FormPart>& parts) {
    std::size_t count = 0;
    for (const FormPart& part : parts)
        if (part.kind == PartKind::Panel) count += 1 + CountPanels(part.parts);
    return count;
}

// For WM_CTLCOLOR...: a child control's background, and what is behind its rounded-off corners,
// in a surface's own colour.
LRESULT BrushBehind(WPARAM dc, HBRUSH background) {
    LOGBRUSH brush{};
    GetObjectW(background, sizeof brush, &brush);
    SetBkColor(reinterpret_cast<HDC>(dc), brush.lbColor);
    return reinterpret_cast<LRESULT>(background);
}

[[noreturn]] void CannotCreate() {
    throw std::runtime_error("Cannot create a window (error " + std::to_string(GetLastError()) + ")");
}

}  // namespace

Win32Form::GdiObjects::~GdiObjects() {
    for (HGDIOBJ object : objects) DeleteObject(object);
}

HGDIOBJ Win32Form::GdiObjects::Add(HGDIOBJ object) {
    if (object) objects.push_back(object);
    return object;
}

void Win32Form::FontCache::Clear() {
    for (const auto& entry : fonts) DeleteObject(entry.second);
    fonts.clear();
}

Win32Form::Win32Form(HWND owner, const Form& form) : form_(form), owner_(owner), scale_(WindowScale(owner)) {
    const std::wstring className = L"T" + FromAnsi(form_.name);
    RegisterFormClass(className.c_str());
    RegisterWindowClass(kGroupClass, &Win32Form::ChildProc);
    RegisterWindowClass(kPanelClass, &Win32Form::ChildProc);

    // A fixed dialog frame with a close box, or a frameless window without a taskbar button.
    const DWORD style = WS_POPUP | WS_CLIPCHILDREN | (form_.titleBar ? WS_CAPTION | WS_SYSMENU : 0);
    const DWORD exStyle = (form_.titleBar ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_TOOLWINDOW) |
                          (form_.topmost ? WS_EX_TOPMOST : 0);
    RECT outer = scale_.ToDevice(RECT{0, 0, form_.width, form_.height});
    if (form_.titleBar) outer = FrameForClient(outer, style, false, exStyle, scale_.Dpi());
    surfaces_.reserve(1 + CountPanels(form_.parts));
    surfaces_.push_back(Surface{});
    surfaces_[0].background = static_cast<HBRUSH>(gdi_.Add(CreateSolidBrush(SystemOr(form_.background))));
    CreateFormWindow(exStyle, className.c_str(), FromAnsi(form_.caption).c_str(), style, 0, 0,
                     outer.right - outer.left, outer.bottom - outer.top, owner, nullptr);
    if (window_ == nullptr) CannotCreate();
    surfaces_[0].window = window_;
    try {
        if (form_.titleBar) {
            // The system menu offers moving and closing only.
            const HMENU systemMenu = GetSystemMenu(window_, FALSE);
            for (UINT command : {SC_RESTORE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE})
                DeleteMenu(systemMenu, command, MF_BYCOMMAND);
        }
        AddParts(surfaces_[0], form_.parts);
        LayOut();
    } catch (...) {
        // The window goes without taking the object along, which the failed construction frees.
        DestroyWindow(window_);
        throw;
    }
    BelongToWindow();
}

Win32Form::~Win32Form() = default;

void Win32Form::AddParts(Surface& surface, const std::vector<FormPart>& parts) {
    for (const FormPart& part : parts) {
        const std::size_t first = controls_.size();
        if (Windowless(part)) {
            surface.parts.push_back(&part);
            if (part.kind == PartKind::Picture) Picture(part.picture);
            continue;
        }
        switch (part.kind) {
            case PartKind::Button: {
                const int id = kFirstButtonId + static_cast<int>(controls_.size());
                const HWND button = MakeChild(L"BUTTON", part.text, BS_OWNERDRAW | WS_TABSTOP, 0, surface.window, id);
                if (!part.picture.empty()) {
                    Picture(part.picture);
                    Picture(part.picture + "_disabled");
                }
                controls_.push_back(Control{button, PlaceOf(part), &part});
                break;
            }
            case PartKind::RadioGroup: {
                group_ = MakeChild(kGroupClass, "", 0, WS_EX_CONTROLPARENT, surface.window, 0);
                groupBackground_ = static_cast<HBRUSH>(gdi_.Add(CreateSolidBrush(SystemOr(part.background))));
                controls_.push_back(Control{group_, PlaceOf(part), &part});
                for (std::size_t i = 0; i < part.items.size(); ++i) {
                    const DWORD style = BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
                    const HWND item = MakeChild(L"BUTTON", part.items[i], style, 0, group_,
                                                kFirstItemId + static_cast<int>(i));
                    const int top = part.itemTop + part.itemPitch * static_cast<int>(i);
                    controls_.push_back(Control{
                        item, RECT{part.itemLeft, top, part.itemLeft + part.itemWidth, top + part.itemPitch}, nullptr});
                    items_.push_back(item);
                }
                SetSelected(part.selected);
                break;
            }
            case PartKind::Panel: {
                const HWND panel = MakeChild(kPanelClass, "", 0, 0, surface.window, 0);
                controls_.push_back(Control{panel, PlaceOf(part), &part});
                surfaces_.push_back(Surface{});
                Surface& inner = surfaces_.back();
                inner.window = panel;
                inner.panel = &part;
                inner.background = static_cast<HBRUSH>(gdi_.Add(CreateSolidBrush(SystemOr(part.background))));
                AddParts(inner, part.parts);
                break;
            }
            default:
                break;
        }
        if (!part.visible && first < controls_.size()) ShowWindow(controls_[first].window, SW_HIDE);
    }
}

HWND Win32Form::MakeChild(const wchar_t* className, const std::string& text, DWORD style, DWORD exStyle, HWND parent,
                          int id) {
    const HWND child = CreateWindowExW(exStyle, className, FromAnsi(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0,
                                       0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       GetModuleHandleW(nullptr), this);
    if (child == nullptr) CannotCreate();
    return child;
}

HFONT Win32Form::Font(const PartFont& font) {
    const int pixels = font.pixels > 0 ? font.pixels : form_.fontPixels;
    const auto key = std::make_tuple(pixels, font.bold, font.underline);
    const auto found = fonts_.fonts.find(key);
    if (found != fonts_.fonts.end()) return found->second;
    const HFONT made = CreateFormFont(scale_.ToDevice(pixels), font.bold, font.underline);
    if (made) fonts_.fonts.emplace(key, made);
    return made;
}

// A built-in picture by its name in capitals among the program's resources.
HBITMAP Win32Form::Picture(const std::string& name) {
    const auto found = pictures_.find(name);
    if (found != pictures_.end()) return found->second;
    std::string resource = name;
    std::transform(resource.begin(), resource.end(), resource.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto picture = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), FromAnsi(resource).c_str(),
                                                         IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    gdi_.Add(picture);
    pictures_.emplace(name, picture);
    return picture;
}

// The child windows' places and font at the scale in use.
void Win32Form::LayOut() {
    const HFONT font = Font(PartFont{});
    for (const Control& control : controls_) {
        const RECT area = scale_.ToDevice(control.place);
        SetWindowPos(control.window, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

// Moved to a screen of another scale: the parts and fonts at the new scale, the frame where the
// system suggests.
void Win32Form::ScaleChanged(int dpi, const RECT& suggested) {
    std::map<std::tuple<int, bool, bool>, HFONT> old;
    old.swap(fonts_.fonts);
    scale_ = DisplayScale(dpi);
    LayOut();
    for (const auto& entry : old) DeleteObject(entry.second);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int Win32Form::Selected() const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (SendMessageW(items_[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return static_cast<int>(i);
    return 0;
}

void Win32Form::SetSelected(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    for (std::size_t i = 0; i < items_.size(); ++i)
        SendMessageW(items_[i], BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Form::Show() {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
}

int Win32Form::ShowModal() {
    ended_ = false;
    modal_ = true;
    CentreWindowOver(window_, owner_);
    // The first part in tab order has the focus: the selected item of the radio group.
    if (!items_.empty()) {
        ShowWindow(window_, SW_SHOW);
        SetFocus(items_[static_cast<std::size_t>(Selected())]);
    }
    const HWND self = window_;
    RunModal(window_, ended_, !controls_.empty(), [self](const MSG& message) {
        const bool keyMessage =
            message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR;
        const bool enterOrEscape = message.message == WM_CHAR ? message.wParam == L'\r' || message.wParam == 27
                                                              : message.wParam == VK_RETURN || message.wParam == VK_ESCAPE;
        return keyMessage && enterOrEscape && (message.hwnd == self || IsChild(self, message.hwnd));
    });
    modal_ = false;
    return Selected();
}

void Win32Form::Close() {
    if (modal_)
        ended_ = true;
    else
        ShowWindow(window_, SW_HIDE);
}

void Win32Form::Release() { PostRelease(window_); }

void Win32Form::Click(const FormPart& part) {
    try {
        ClickPart(part, [this] { Close(); });
    } catch (const std::exception&) {
        // Opening a web page is not examined; nothing else here can fail.
    }
}

// ---- Window procedures ---------------------------------------------------------------------

Win32Form::Surface* Win32Form::SurfaceOf(HWND window) {
    for (Surface& surface : surfaces_)
        if (surface.window == window) return &surface;
    return nullptr;
}

LRESULT Win32Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The window's handle is known from its first message on.
    surfaces_[0].window = window_;
    LRESULT result = 0;
    if (SurfaceMessage(surfaces_[0], message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_MOUSEACTIVATE:
            // A click on a window shown without waiting leaves the activation where it is.
            if (!modal_) return MA_NOACTIVATE;
            break;
        case WM_DPICHANGED:
            ScaleChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_CLOSE:
            // The close box and the system's close command count as closing.
            Close();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Win32Form::ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = WindowObject<Win32Form>(window, message, lParam);
    if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (window == form->group_) return form->GroupMessage(window, message, wParam, lParam);
    LRESULT result = 0;
    if (Surface* surface = form->SurfaceOf(window);
        surface != nullptr && form->SurfaceMessage(*surface, message, wParam, lParam, result))
        return result;
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Win32Form::SurfaceMessage(Surface& surface, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const HWND window = surface.window;
    switch (message) {
        case WM_ERASEBKGND:
            result = 1;  // WM_PAINT fills it all
            return true;
        case WM_PAINT:
            Paint(surface);
            return true;
        case WM_LBUTTONDOWN: {
            surface.pressed = PartAt(surface, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            SetCapture(window);
            if (surface.pressed >= 0 && surface.parts[static_cast<std::size_t>(surface.pressed)]->kind == PartKind::Button) {
                surface.buttonDown = true;
                InvalidateRect(window, nullptr, FALSE);
            }
            return true;
        }
        case WM_LBUTTONUP: {
            const int released = PartAt(surface, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            const int pressed = surface.pressed;
            surface.pressed = -1;
            if (surface.buttonDown) {
                surface.buttonDown = false;
                InvalidateRect(window, nullptr, FALSE);
            }
            if (GetCapture() == window) ReleaseCapture();
            // A click is a press and a release on the same part.
            if (released >= 0 && released == pressed) Click(*surface.parts[static_cast<std::size_t>(released)]);
            return true;
        }
        case WM_CAPTURECHANGED:
            surface.pressed = -1;
            return true;
        case WM_SETCURSOR: {
            POINT point{};
            if (!PointerInClient(window, lParam, point)) return false;
            const int part = PartAt(surface, point.x, point.y);
            if (part < 0 || surface.parts[static_cast<std::size_t>(part)]->url.empty()) return false;
            result = ShowLinkCursor();
            return true;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            const int index = static_cast<int>(item->CtlID) - kFirstButtonId;
            if (index < 0 || index >= static_cast<int>(controls_.size()) || controls_[index].part == nullptr) return false;
            DrawButton(item->hDC, *controls_[index].part, item->rcItem, (item->itemState & ODS_SELECTED) != 0,
                       (item->itemState & ODS_DISABLED) != 0);
            if (item->itemState & ODS_FOCUS) {
                RECT focus = item->rcItem;
                InflateRect(&focus, -scale_.ToDevice(4), -scale_.ToDevice(4));
                DrawFocusRect(item->hDC, &focus);
            }
            result = TRUE;
            return true;
        }
        case WM_CTLCOLORBTN:
            result = BrushBehind(wParam, surface.background);
            return true;
        case WM_COMMAND: {
            const int index = static_cast<int>(LOWORD(wParam)) - kFirstButtonId;
            if (HIWORD(wParam) == BN_CLICKED && index >= 0 && index < static_cast<int>(controls_.size()) &&
                controls_[index].part != nullptr)
                Click(*controls_[index].part);
            // IDOK and IDCANCEL, which the dialog keys would send, do nothing.
            return true;
        }
        default:
            return false;
    }
}

LRESULT Win32Form::GroupMessage(HWND group, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills it all
        case WM_PAINT:
            PaintGroup(group);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            // The items sit on the group's own colour.
            SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
            return BrushBehind(wParam, groupBackground_);
        default:
            return DefWindowProcW(group, message, wParam, lParam);
    }
}

// The parts lie in their order, the later above the earlier.
int Win32Form::PartAt(const Surface& surface, int deviceX, int deviceY) const {
    const int x = scale_.ToDesign(deviceX);
    const int y = scale_.ToDesign(deviceY);
    for (int i = static_cast<int>(surface.parts.size()) - 1; i >= 0; --i) {
        const FormPart& part = *surface.parts[static_cast<std::size_t>(i)];
        if (part.visible && x >= part.left && x < part.left + part.width && y >= part.top && y < part.top + part.height)
            return i;
    }
    return -1;
}

// ---- Painting ------------------------------------------------------------------------------

void Win32Form::Paint(Surface& surface) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(surface.window, &paint);
    RECT client{};
    GetClientRect(surface.window, &client);
    FillRect(dc, &client, surface.background);
    if (surface.panel != nullptr) {
        const int bevel = scale_.ToDevice(1);
        const COLORREF light = SystemOr(surface.panel->light), shadow = SystemOr(surface.panel->shadow);
        DrawBevel(dc, client, bevel, light, shadow);
        DrawBevel(dc, RECT{client.left + bevel, client.top + bevel, client.right - bevel, client.bottom - bevel}, bevel,
                  shadow, light);
    }
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = 0; i < surface.parts.size(); ++i) {
        const FormPart& part = *surface.parts[i];
        if (!part.visible) continue;
        RECT area = scale_.ToDevice(PlaceOf(part));
        if (part.kind == PartKind::Picture) {
            DrawScaledPicture(dc, Picture(part.picture), part.width, part.height, area);
        } else if (part.kind == PartKind::Button) {
            DrawButton(dc, part, area, surface.buttonDown && surface.pressed == static_cast<int>(i), false);
        } else {
            // A text, drawn within the part's bounds.
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
            SelectObject(dc, Font(part.font));
            SetTextColor(dc, SystemOr(part.colour));
            const UINT format = (part.align == PartAlign::Centre ? DT_CENTER : DT_LEFT) |
                                (part.wrap ? DT_WORDBREAK : DT_SINGLELINE) | DT_NOPREFIX;
            DrawTextA(dc, part.text.c_str(), static_cast<int>(part.text.size()), &area, format);
            RestoreDC(dc, saved);
        }
    }
    EndPaint(surface.window, &paint);
}

// The group's box: its own colour, with an etched frame that starts half a text line down.
void Win32Form::PaintGroup(HWND group) {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(group, &paint);
    RECT client{};
    GetClientRect(group, &client);
    FillRect(dc, &client, groupBackground_);
    const HGDIOBJ oldFont = SelectObject(dc, Font(PartFont{}));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, oldFont);
    const RECT frame{client.left, client.top + metrics.tmHeight / 2, client.right, client.bottom};
    // The etched frame's two lines, each as wide as a pixel at the scale.
    const int lineWidth = scale_.ToDevice(1);
    for (int ring = 0; ring < 2 * lineWidth; ++ring) {
        RECT line{frame.left + ring, frame.top + ring, frame.right - ring, frame.bottom - ring};
        DrawEdge(dc, &line, ring < lineWidth ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    EndPaint(group, &paint);
}

// A push button's face with its text, and its glyph left of the text, the two centred together.
void Win32Form::DrawButton(HDC dc, const FormPart& part, RECT area, bool pushed, bool disabled) {
    DrawFrameControl(dc, &area, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    const int shift = pushed ? scale_.ToDevice(1) : 0;
    const HGDIOBJ oldFont = SelectObject(dc, Font(part.font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    const int textLength = static_cast<int>(part.text.size());
    if (part.picture.empty()) {
        OffsetRect(&area, shift, shift);
        DrawTextA(dc, part.text.c_str(), textLength, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else {
        SIZE textSize{};
        GetTextExtentPoint32A(dc, part.text.c_str(), textLength, &textSize);
        const int glyph = scale_.ToDevice(part.glyphPixels);
        const int spacing = scale_.ToDevice(4);
        const int left = area.left + (area.right - area.left - (glyph + spacing + textSize.cx)) / 2 + shift;
        const int glyphTop = area.top + (area.bottom - area.top - glyph) / 2 + shift;
        DrawScaledPicture(dc, Picture(disabled ? part.picture + "_disabled" : part.picture), part.glyphPixels,
                          part.glyphPixels, RECT{left, glyphTop, left + glyph, glyphTop + glyph}, &kGlyphTransparent);
        RECT text{left + glyph + spacing, area.top + shift, area.right, area.bottom + shift};
        DrawTextA(dc, part.text.c_str(), textLength, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
}

}  // namespace lumera::win32
