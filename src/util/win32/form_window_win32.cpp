// The window class and procedure that every window of ours shares.
#include "util/win32/form_window_win32.h"

#include <stdexcept>
#include <string>

#include "util/win32/small_windows_win32.h"

namespace lumera::win32 {

void RegisterWindowClass(const wchar_t* className, WNDPROC procedure, HICON icon, HICON smallIcon) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className, &existing)) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.lpszClassName = className;
    if (!RegisterClassExW(&windowClass))
        throw std::runtime_error("Cannot register a window class (error " + std::to_string(GetLastError()) + ")");
}

HWND FormWindow::CreateFormWindow(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style,
                                  int left, int top, int width, int height, HWND owner, HMENU menu) {
    return CreateWindowExW(exStyle, className, caption, style, left, top, width, height, owner, menu,
                           GetModuleHandleW(nullptr), this);
}

LRESULT CALLBACK FormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = WindowObject<FormWindow>(window, message, lParam);
    if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCCREATE) form->window_ = window;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        // A window that goes before its object belongs to it leaves the object to its owner.
        if (form->belongsToWindow_)
            delete form;
        else
            form->window_ = nullptr;
        return result;
    }
    // A window released by its owner goes once control is back in the message loop.
    if (message == kReleaseRequest) {
        DestroyWindow(window);
        return 0;
    }
    return form->OnMessage(message, wParam, lParam);
}

}  // namespace lumera::win32
