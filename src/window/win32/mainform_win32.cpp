// The main window: its window class and procedure, the board port, pointer input, the menu
// commands and the start-up sequence.
#include "window/win32/mainform_win32.h"

#include <windowsx.h>

#include <stdexcept>

#include "engine/random_source.h"
#include "util/my_utils.h"
#include "util/win32/my_utils_win32.h"
#include "util/win32/window_object_win32.h"
#include "window/board_geometry.h"
#include "window/win32/ansi_text_win32.h"
#include "window/win32/clock_win32.h"
#include "window/win32/dialogs_win32.h"
#include "window/win32/error_report_win32.h"
#include "window/win32/menu_win32.h"
#include "window/win32/sound_win32.h"
#include "window/window_texts.h"

namespace lumera::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TLumeraMainForm";
// The icon group in the program's resources.
constexpr wchar_t kIconName[] = L"LUMERA8";

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kWindowClass, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                      GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    // No background brush: the window paints all of its client area itself.
    windowClass.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&windowClass)) throw std::runtime_error("Cannot register the main window class");
}

}  // namespace

TLumeraMainForm::TLumeraMainForm(HINSTANCE instance, MainFormServices services, MainFormHooks hooks)
    : instance_(instance), services_(services), hooks_(std::move(hooks)) {
    if (!services_.store) throw std::invalid_argument("The main window needs a settings store");
    if (!services_.dialogs) {
        ownDialogs_ = std::make_unique<Win32Dialogs>();
        services_.dialogs = ownDialogs_.get();
    }
    if (!services_.sound) {
        ownSound_ = std::make_unique<Win32Sound>();
        services_.sound = ownSound_.get();
    }
    if (!services_.random) {
        ownRandom_ = std::make_unique<StdRandom>();
        services_.random = ownRandom_.get();
    }
    if (!services_.clock) {
        ownClock_ = std::make_unique<Win32Clock>();
        services_.clock = ownClock_.get();
    }
    game_ = std::make_unique<LumeraGame>(
        GamePorts{*this, *services_.dialogs, *services_.sound, *services_.store, *services_.random, *services_.clock});
    game_->AppCaption = kAppCaption;
    background_ = CreateSolidBrush(clGray);
    // The board as it stands before the first deal: what shows when the start-up fails.
    painter_.FormPaint(*game_);

    RegisterWindowClass(instance_, &TLumeraMainForm::WindowProc);
    menu_ = BuildMainMenu();
    const HWND window = CreateWindowExW(0, kWindowClass, FromAnsi(game_->AppCaption).c_str(), WS_OVERLAPPEDWINDOW,
                                        kWindowLeft, kWindowTop, kWindowWidth, kWindowHeight, nullptr, menu_,
                                        instance_, this);
    if (window == nullptr) {
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

template <typename Handler>
void TLumeraMainForm::Handle(Handler&& handler) {
    RunHandler(window_, std::forward<Handler>(handler));
}

// ---- Window procedure ----------------------------------------------------------------------

LRESULT CALLBACK TLumeraMainForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = WindowObject<TLumeraMainForm>(window, message, lParam);
    if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCCREATE) form->window_ = window;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form->HandleMessage(message, wParam, lParam);
}

LRESULT TLumeraMainForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            if (auto* dialogs = dynamic_cast<Win32Dialogs*>(ownDialogs_.get())) dialogs->SetOwner(window_);
            SetShellOpenOwner(window_);
            FormCreate();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT covers every pixel
        case WM_PAINT:
            FormPaint();
            if (hooks_.painted) Handle([this] { hooks_.painted(*this); });
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            FormMouseUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam == 0) {
                DispatchCommand(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_TIMER:
            if (wParam == kTimer1Id) {
                Handle([this] { Timer1Timer(); });
                return 0;
            }
            break;
        case WM_CLOSE:
            Handle([this] { FormClose(); });
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            if (hooks_.destroyed) hooks_.destroyed();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void TLumeraMainForm::DispatchCommand(UINT id) {
    const auto command = CommandFromId(id);
    if (!command) return;
    Handle([this, command] { RunMenuCommand(*this, *command); });
}

// ---- Creation, painting and closing --------------------------------------------------------

void TLumeraMainForm::FormCreate() {
    if (hooks_.showSplash) Handle([this] { hooks_.showSplash(*this); });
    // An error in the start-up sequence skips the rest of it: empty board, nothing selected.
    Handle([this] {
        game_->InitGame();
        game_->AlphabetClick(1);
    });
}

// The board lives in the memory bitmap; a paint copies it and fills the rest of the client
// area, which the board does not follow, with the background grey.
void TLumeraMainForm::FormPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    painter_.CopyTo(dc, paint.rcPaint);
    ExcludeClipRect(dc, 0, 0, kBoardWidth, kBoardHeight);
    FillRect(dc, &paint.rcPaint, background_);
    EndPaint(window_, &paint);
}

void TLumeraMainForm::FormClose() {
    if (hooks_.formClose) hooks_.formClose(*this);
}

void TLumeraMainForm::ShowOnScreen(const RECT& area) {
    if (window_ == nullptr || !IsWindowVisible(window_) || IsIconic(window_)) return;
    const HDC dc = GetDC(window_);
    painter_.CopyTo(dc, area);
    ReleaseDC(window_, dc);
    GdiFlush();
}

void TLumeraMainForm::StartTimer1(UINT milliseconds) { SetTimer(window_, kTimer1Id, milliseconds, nullptr); }
void TLumeraMainForm::StopTimer1() { KillTimer(window_, kTimer1Id); }

// ---- Board port ----------------------------------------------------------------------------

void TLumeraMainForm::DrawAlphabetCell(char letter, Colour colour) {
    painter_.DrawAlphabetCell(letter, colour);
    ShowOnScreen(CellArea(AlphabetCellRect(letter - 'A' + 1)));
}

void TLumeraMainForm::DrawPuzzleCell(int n, char text, Colour colour) {
    painter_.DrawPuzzleCell(n, text, colour);
    ShowOnScreen(CellArea(PuzzleCellRect(n)));
}

void TLumeraMainForm::FullRepaint() {
    painter_.Clear();
    painter_.FormPaint(*game_);
    ShowOnScreen(RECT{0, 0, kBoardWidth, kBoardHeight});
}

void TLumeraMainForm::SetCaption(const std::string& caption) { SetWindowTextW(window_, FromAnsi(caption).c_str()); }

void TLumeraMainForm::SetCommandEnabled(const std::string& itemName, bool enabled) {
    SetMenuItemEnabled(menu_, itemName.c_str(), enabled);
}

void TLumeraMainForm::SetOptionChecked(const std::string& itemName, bool checked) {
    SetMenuItemChecked(menu_, itemName.c_str(), checked);
}

// ---- Handlers ------------------------------------------------------------------------------

void TLumeraMainForm::FormMouseUp(int x, int y) {
    Handle([&] {
        if (InStatusBox(x, y)) game_->ReturnToGame();
        if (InAlphabet(x, y)) game_->AlphabetClick(AlphabetCellAt(x, y));
        if (InPuzzleGrid(x, y)) game_->PuzzleCellClick(PuzzleCellAt(x, y));
    });
}

void TLumeraMainForm::menuNewClick() { game_->menuNewClick(); }
void TLumeraMainForm::menuSpecifyStartClick() { game_->SpecifyStart(); }
void TLumeraMainForm::menuCheatClick() { game_->menuCheatClick(); }
void TLumeraMainForm::menuNewPuzzleSetClick() { game_->menuNewPuzzleSetClick(); }
void TLumeraMainForm::menuSolveClick() { game_->menuSolveClick(); }
void TLumeraMainForm::menuShowCorrectLettersClick() { game_->ToggleShowCorrect(); }
void TLumeraMainForm::menuSoundClick() { game_->ToggleSound(); }
void TLumeraMainForm::Contents1Click() { ShowHelp(); }
void TLumeraMainForm::ShowHelp() { ShellOpen(kHelpDocument); }

void TLumeraMainForm::MakeaDonation1Click() {
    if (hooks_.showDonationDialog) hooks_.showDonationDialog(*this);
}

void TLumeraMainForm::menuAboutClick() {
    StopTimer1();
    if (hooks_.showAbout) hooks_.showAbout(*this);
}

void TLumeraMainForm::Timer1Timer() {
    if (hooks_.timer1Timer) hooks_.timer1Timer(*this);
}

void TLumeraMainForm::menuQuitClick() {
    game_->SavePosition();
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace lumera::win32
