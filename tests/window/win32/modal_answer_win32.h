// Answers the modal dialogs a test opens: while a modal loop runs, a thread timer looks for
// the dialog windows of this thread and hands each new one to the test's answer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lumera::testing {

// The text of a window.
inline std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The text of a message box: its static text control has the identifier 0xFFFF.
inline std::wstring MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

class ModalAnswerer {
public:
    // answer(dialog) runs for every visible dialog of this thread until it returns true (the
    // dialog was answered); an answered dialog is not offered again.
    explicit ModalAnswerer(std::function<bool(HWND dialog)> answer) : answer_(std::move(answer)) {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 20, &ModalAnswerer::Tick);
    }
    ~ModalAnswerer() {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    int Answered() const { return answered_; }

private:
    static ModalAnswerer*& Current() {
        static ModalAnswerer* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalAnswerer* self = Current();
        if (self == nullptr) return;
        EnumThreadWindows(GetCurrentThreadId(), &ModalAnswerer::Visit, reinterpret_cast<LPARAM>(self));
    }
    static BOOL CALLBACK Visit(HWND window, LPARAM self) {
        auto* answerer = reinterpret_cast<ModalAnswerer*>(self);
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (!IsWindowVisible(window) || std::wstring(className) != L"#32770" || window == answerer->last_) return TRUE;
        // A dialog not answered yet (its controls still coming) is offered again at the next tick.
        if (!answerer->answer_(window)) return FALSE;
        answerer->last_ = window;
        ++answerer->answered_;
        return FALSE;
    }

    std::function<bool(HWND)> answer_;
    UINT_PTR timer_ = 0;
    HWND last_ = nullptr;
    int answered_ = 0;
};

// Presses a dialog's button as a click would.
inline void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace lumera::testing
