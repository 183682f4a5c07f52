// Test helpers for the small windows under Wine: pumping messages for a while, clicks posted to
// a window, pixels read back from a window, and steps run from inside a modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lumera::testing {

// Delivers this thread's messages for `milliseconds`, or until `done` says so.
inline void Pump(DWORD milliseconds, const std::function<bool()>& done = {}) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    MSG message;
    while (GetTickCount64() < end) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done && done()) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// A left click at client coordinates: the press and the release, as the mouse would send them.
inline void PostClick(HWND window, int x, int y) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// The colour of a client pixel as 0x00BBGGRR, read from what the window has painted.
inline COLORREF PixelAt(HWND window, int x, int y) {
    UpdateWindow(window);
    const HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

// Whether any pixel of the client rectangle has the colour.
inline bool AnyPixel(HWND window, const RECT& area, COLORREF colour) {
    UpdateWindow(window);
    const HDC dc = GetDC(window);
    bool found = false;
    for (int y = area.top; y < area.bottom && !found; ++y)
        for (int x = area.left; x < area.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return found;
}

inline SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

inline std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Runs steps one after another from a thread timer, so that they run inside whatever modal loop
// the test starts. A step returns false to be tried again at the next tick. After `limit`
// ticks without finishing, `giveUp` runs (it should end the modal loop) and Failed() says so.
class ModalSteps {
public:
    ModalSteps(std::vector<std::function<bool()>> steps, std::function<void()> giveUp, int limit = 250)
        : steps_(std::move(steps)), giveUp_(std::move(giveUp)), limit_(limit) {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 20, &ModalSteps::Tick);
    }
    ~ModalSteps() {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    ModalSteps(const ModalSteps&) = delete;
    ModalSteps& operator=(const ModalSteps&) = delete;

    bool Finished() const { return next_ == steps_.size(); }
    bool Failed() const { return failed_; }

private:
    static ModalSteps*& Current() {
        static ModalSteps* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalSteps* self = Current();
        if (self == nullptr || self->busy_ || self->Finished() || self->failed_) return;
        self->busy_ = true;
        if (++self->ticks_ > self->limit_) {
            self->failed_ = true;
            if (self->giveUp_) self->giveUp_();
        } else if (self->steps_[self->next_]()) {
            ++self->next_;
        }
        self->busy_ = false;
    }

    std::vector<std::function<bool()>> steps_;
    std::function<void()> giveUp_;
    int limit_;
    int ticks_ = 0;
    std::size_t next_ = 0;
    bool busy_ = false;
    bool failed_ = false;
    UINT_PTR timer_ = 0;
};

// A plain top-level window to own the windows under test, shown at the main window's place.
class OwnerWindow {
public:
    OwnerWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LumeraTestOwner";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, L"LumeraTestOwner", L"Lumera test owner", WS_OVERLAPPEDWINDOW, 173, 137, 614, 314,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~OwnerWindow() {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND Handle() const { return window_; }
    void Show() {
        ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
    }

private:
    HWND window_ = nullptr;
};

}  // namespace lumera::testing
