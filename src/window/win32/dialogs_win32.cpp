// Message boxes, the input box (a dialog template made in memory) and the file chooser, whose
// library is loaded when it is first opened, not at start.
#include "window/win32/dialogs_win32.h"

#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "util/win32/system_library_win32.h"
#include "util/win32/ansi_text_win32.h"
#include "window/file_filter.h"
#include "window/window_texts.h"

namespace lumera::win32 {

void Win32Dialogs::ShowInformation(const std::string& text) {
    MessageBoxW(owner_, FromAnsi(text).c_str(), FromAnsi(kInformationCaption).c_str(), MB_ICONINFORMATION | MB_OK);
}

void Win32Dialogs::ShowMessage(const std::string& text, const std::string& caption) {
    MessageBoxW(owner_, FromAnsi(text).c_str(), FromAnsi(caption).c_str(), MB_OK);
}

// ---- Input box -----------------------------------------------------------------------------

namespace {

// A dialog template in memory: DWORD-aligned records of WORDs.
class DialogTemplate {
public:
    void Dialog(DWORD style, short cx, short cy, int itemCount, const wchar_t* fontName, WORD pointSize) {
        Dword(style);
        Dword(0);  // extended style
        words_.push_back(static_cast<WORD>(itemCount));
        Short(0);
        Short(0);
        Short(cx);
        Short(cy);
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the standard dialog class
        words_.push_back(0);  // the caption is set when the dialog opens
        words_.push_back(pointSize);
        Text(fontName);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom, const wchar_t* text) {
        if (words_.size() % 2) words_.push_back(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Short(x);
        Short(y);
        Short(cx);
        Short(cy);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(classAtom);
        Text(text);
        words_.push_back(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Dword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void Short(short value) { words_.push_back(static_cast<WORD>(value)); }
    void Text(const wchar_t* text) {
        for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
        words_.push_back(0);
    }
    std::vector<WORD> words_;
};

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

struct InputBoxState {
    std::wstring caption, prompt, text;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state = reinterpret_cast<InputBoxState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, state->caption.c_str());
            SetDlgItemTextW(dialog, kInputBoxPromptId, state->prompt.c_str());
            SetDlgItemTextW(dialog, kInputBoxEditId, state->text.c_str());
            SendDlgItemMessageW(dialog, kInputBoxEditId, EM_LIMITTEXT, 255, 0);
            SendDlgItemMessageW(dialog, kInputBoxEditId, EM_SETSEL, 0, -1);
            SetFocus(GetDlgItem(dialog, kInputBoxEditId));
            return FALSE;  // the focus is set
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
                const HWND edit = GetDlgItem(dialog, kInputBoxEditId);
                std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
                text.resize(static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
                state->text = std::move(text);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

bool Win32Dialogs::InputBox(const std::string& caption, const std::string& prompt, std::string& text) {
    DialogTemplate layout;
    layout.Dialog(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 220, 64, 4,
                  L"MS Shell Dlg", 8);
    // The prompt is plain text: "&" shows as itself.
    layout.Item(SS_LEFT | SS_NOPREFIX, 8, 8, 204, 10, kInputBoxPromptId, kStaticClass, L"");
    layout.Item(ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 8, 22, 204, 12, kInputBoxEditId, kEditClass, L"");
    layout.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 106, 42, 50, 14, IDOK, kButtonClass, L"OK");
    layout.Item(BS_PUSHBUTTON | WS_TABSTOP, 162, 42, 50, 14, IDCANCEL, kButtonClass, L"Cancel");

    InputBoxState state{FromAnsi(caption), FromAnsi(prompt), FromAnsi(text)};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner_, InputBoxProc,
                                                   reinterpret_cast<LPARAM>(&state));
    if (result == -1) throw std::runtime_error("Cannot open the input box");
    if (result != IDOK) return false;
    text = ToAnsi(state.text);
    if (text.size() > 255) text.resize(255);
    return true;
}

// ---- File chooser --------------------------------------------------------------------------

namespace {
// GetOpenFileNameW, looked up once; null without the common dialog library.
decltype(&::GetOpenFileNameW) GetOpenFileNameFunction() {
    static const auto function =
        SystemFunction<decltype(&::GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    return function;
}
}  // namespace

std::wstring FileDialogFilter(const std::string& filter) {
    std::wstring list = FromAnsi(filter);
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

std::string OpenableAnsiPath(const std::wstring& path) {
    bool lossless = false;
    std::string ansi = ToAnsi(path, &lossless);
    if (lossless) return ansi;
    const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length > 0) {
        std::wstring shortPath(length, L'\0');
        shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), length));
        ansi = ToAnsi(shortPath, &lossless);
        if (lossless && !shortPath.empty()) return ansi;
    }
    throw std::runtime_error("The file name cannot be opened here: " + ansi);
}

std::optional<std::string> Win32Dialogs::ChooseFile(const std::string& filter, const std::string& defaultExtension) {
    // Without the chooser the player cannot pick a file: as if Cancel was pressed.
    const auto getOpenFileName = GetOpenFileNameFunction();
    if (getOpenFileName == nullptr) return std::nullopt;
    const std::wstring filters = FileDialogFilter(filter);
    const std::wstring extension = FromAnsi(DefaultSuffix(defaultExtension));
    std::wstring directory(GetCurrentDirectoryW(0, nullptr), L'\0');
    directory.resize(GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data()));
    std::wstring name(32768, L'\0');

    OPENFILENAMEW chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = owner_;
    chooser.lpstrFilter = filters.c_str();
    chooser.nFilterIndex = 1;
    chooser.lpstrFile = name.data();
    chooser.nMaxFile = static_cast<DWORD>(name.size());
    chooser.lpstrInitialDir = directory.c_str();
    chooser.lpstrDefExt = extension.c_str();
    // The game opens its puzzle collection and help by relative name: the current folder
    // stays where it was.
    chooser.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    if (!getOpenFileName(&chooser)) return std::nullopt;
    name.resize(wcslen(name.c_str()));
    return OpenableAnsiPath(name);
}

}  // namespace lumera::win32
