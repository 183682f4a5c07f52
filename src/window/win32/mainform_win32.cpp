// The main window on Win32: its class and messages, the frame port, the board bitmap copied to
// the screen at the display's scale, and the board handed to screen readers.
#include "window/win32/mainform_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "engine/random_source.h"
#include "util/win32/my_utils_win32.h"
#include "util/win32/ansi_text_win32.h"
#include "window/win32/clock_win32.h"
#include "window/win32/dialogs_win32.h"
#include "window/win32/error_report_win32.h"
#include "window/win32/menu_win32.h"
#include "window/win32/sound_win32.h"
#include "window/window_measures.h"

namespace lumera::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TLumeraMainForm";
// The icon group in the program's resources.
constexpr wchar_t kIconName[] = L"LUMERA8";

HICON ProgramIcon(int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), kIconName, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

TLumeraMainForm::TLumeraMainForm(HINSTANCE, MainFormServices services)
    : painted_(std::move(services.painted)), destroyed_(std::move(services.destroyed)) {
    if (!services.store) throw std::invalid_argument("The main window needs a settings store");
    IDialogs& dialogs = owned_.Use<Win32Dialogs>(services.dialogs);
    if (!services.dialogs) ownDialogs_ = static_cast<Win32Dialogs*>(&dialogs);
    ISound& sound = owned_.Use<Win32Sound>(services.sound);
    IRandom& random = owned_.Use<StdRandom>(services.random);
    IClock& clock = owned_.Use<Win32Clock>(services.clock);
    layer_ = std::make_unique<GameWindow>(
        WindowPorts{painter_, *this, owned_.Shell<TLumeraMainForm>(services, *this), dialogs, sound, *services.store,
                    random, clock, ServiceOwner::Files(services.files)});
    painter_.SetShowArea([this](const RECT& area) { ShowOnScreen(area); });
    background_ = CreateSolidBrush(clGray);
    // The board as it stands before the first deal: what shows when the start-up fails.
    layer_->FormPaint();

    RegisterFormClass(kWindowClass, ProgramIcon(SM_CXICON), ProgramIcon(SM_CXSMICON));
    menu_ = BuildMainMenu();
    if (!CreateFormWindow(0, kWindowClass, FromAnsi(layer_->Caption()).c_str(), WS_OVERLAPPEDWINDOW, kWindowLeft,
                          kWindowTop, kWindowWidth, kWindowHeight, nullptr, menu_)) {
        const DWORD error = GetLastError();
        DestroyMenu(menu_);
        DeleteObject(background_);
        throw std::runtime_error("Cannot create the main window (error " + std::to_string(error) + ")");
    }
}

TLumeraMainForm::~TLumeraMainForm() {
    if (window_) DestroyWindow(window_);
    DeleteObject(background_);
}

// ---- Messages ------------------------------------------------------------------------------

LRESULT TLumeraMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            if (ownDialogs_) ownDialogs_->SetOwner(window_);
            SetShellOpenOwner(window_);
            RunHandler(window_, [this] { AdoptScale(WindowDpi(window_), nullptr); });
            layer_->FormCreate();
            return 0;
        case WM_GETDPISCALEDSIZE:
            // Asked before WM_DPICHANGED, whose suggested rectangle then has this size.
            *reinterpret_cast<SIZE*>(lParam) = WindowSizeFor(static_cast<int>(wParam));
            return TRUE;
        case WM_DPICHANGED:
            RunHandler(window_,
                       [this, wParam, lParam] { AdoptScale(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam)); });
            return 0;
        case WM_GETOBJECT:
            if (AsksForBoard(lParam)) {
                try {
                    if (!accessibility_) accessibility_ = BoardAccessibility::Create(window_, *layer_, painter_);
                } catch (const std::exception&) {
                    // Without it the reader gets the system's plain object for the client area.
                }
                if (accessibility_ && accessibility_->Holds(lParam)) return accessibility_->Object(wParam, lParam);
            }
            break;
        case kActivateBoardPart:
            layer_->ActivateBoardPart(static_cast<int>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers every pixel
        case WM_PAINT:
            PaintWindow();
            if (painted_) RunHandler(window_, [this] { painted_(*this); });
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            // Any button; the layer hit-tests in board pixels.
            const DisplayScale& scale = painter_.Scale();
            layer_->FormMouseUp(scale.ToDesign(GET_X_LPARAM(lParam)), scale.ToDesign(GET_Y_LPARAM(lParam)));
            return 0;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam == 0) {
                if (const auto command = CommandFromId(LOWORD(wParam))) layer_->MenuClick(*command);
                return 0;
            }
            break;
        case WM_TIMER:
            if (wParam == kTimer1Id) {
                layer_->Timer1Timer();
                return 0;
            }
            break;
        case WM_CLOSE:
            layer_->FormClose();
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            accessibility_.reset();
            if (destroyed_) destroyed_();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

// The board lives in the memory bitmap; a paint copies it and fills the rest of the client
// area, which the board does not follow, with the background grey.
void TLumeraMainForm::PaintWindow() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    painter_.CopyTo(dc, paint.rcPaint);
    ExcludeClipRect(dc, 0, 0, painter_.Width(), painter_.Height());
    FillRect(dc, &paint.rcPaint, background_);
    EndPaint(window_, &paint);
}

// At 96 dots per inch the window keeps its designed outer size. At any other scale its client
// area holds the whole board at that scale, with the frame and menu bar the system draws there;
// the board is laid out in fixed pixels, so the window is as wide and tall as it.
void TLumeraMainForm::AdoptScale(int dpi, const RECT* suggested) {
    const DisplayScale scale(dpi);
    // The board as it stands, at the new scale.
    if (painter_.SetScale(scale)) layer_->FormPaint();
    if (suggested) {
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (!scale.IsDesignScale()) {
        const SIZE outer = WindowSizeFor(dpi);
        SetWindowPos(window_, nullptr, scale.ToDevice(kWindowLeft), scale.ToDevice(kWindowTop), outer.cx, outer.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        GrowToBoard();
    }
    InvalidateRect(window_, nullptr, FALSE);
}

SIZE TLumeraMainForm::WindowSizeFor(int dpi) const {
    const DisplayScale scale(dpi);
    const auto style = static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE));
    const RECT board{0, 0, scale.ToDevice(kBoardWidth), scale.ToDevice(kBoardHeight)};
    const RECT outer = FrameForClient(board, style, true, exStyle, scale.Dpi());
    return SIZE{outer.right - outer.left, outer.bottom - outer.top};
}

void TLumeraMainForm::GrowToBoard() {
    RECT client{};
    GetClientRect(window_, &client);
    const int missingWidth = painter_.Width() - client.right;
    const int missingHeight = painter_.Height() - client.bottom;
    if (missingWidth <= 0 && missingHeight <= 0) return;
    RECT outer{};
    GetWindowRect(window_, &outer);
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left + std::max(missingWidth, 0),
                 outer.bottom - outer.top + std::max(missingHeight, 0), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLumeraMainForm::ShowOnScreen(const RECT& area) {
    if (window_ == nullptr || !IsWindowVisible(window_) || IsIconic(window_)) return;
    const HDC dc = GetDC(window_);
    painter_.CopyTo(dc, area);
    ReleaseDC(window_, dc);
    GdiFlush();
}

// ---- Frame port ----------------------------------------------------------------------------

void TLumeraMainForm::SetCaption(const std::string& caption) { SetWindowTextW(window_, FromAnsi(caption).c_str()); }

void TLumeraMainForm::SetMenuItemState(const std::string& itemName, bool enabled, bool checked) {
    SetMenuItemEnabled(menu_, itemName.c_str(), enabled);
    SetMenuItemChecked(menu_, itemName.c_str(), checked);
}

void TLumeraMainForm::SetTimer1(int milliseconds) {
    if (milliseconds > 0)
        SetTimer(window_, kTimer1Id, static_cast<UINT>(milliseconds), nullptr);
    else
        KillTimer(window_, kTimer1Id);
}

// Closing comes back through the message loop, as WM_CLOSE from the system would.
void TLumeraMainForm::Close() { PostMessageW(window_, WM_CLOSE, 0, 0); }

void TLumeraMainForm::ShowErrorReport(const std::string& what) { win32::ShowErrorReport(window_, what); }

}  // namespace lumera::win32
