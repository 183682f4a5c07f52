// One window of ours on Win32: its class registered once, the object behind the window found
// through the creation parameter, the window's messages handed to the object, and the object
// going with its window once it belongs to it. The main window, the splash and the donation
// dialog are all built on it.
#pragma once

#include <windows.h>

namespace lumera::win32 {

// Registers a window class once per process: an arrow cursor, no background brush (each window
// paints itself). Throws when it cannot.
void RegisterWindowClass(const wchar_t* className, WNDPROC procedure, HICON icon = nullptr, HICON smallIcon = nullptr);

class FormWindow {
public:
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;
    HWND Handle() const { return window_; }  // the window handle; OnMessage handles its messages

protected:
    FormWindow() = default;
    virtual ~FormWindow() = default;

    // Registers a window class with FormWindow's procedure.
    static void RegisterFormClass(const wchar_t* className, HICON icon = nullptr, HICON smallIcon = nullptr) {
        RegisterWindowClass(className, &FormWindow::WindowProc, icon, smallIcon);
    }
    // Creates the window with this object as its creation parameter.
    HWND CreateFormWindow(DWORD exStyle, const wchar_t* className, const wchar_t* caption, DWORD style, int left,
                          int top, int width, int height, HWND owner, HMENU menu);
    // From now on the object is deleted when its window is destroyed (or, given false, no longer).
    void BelongToWindow(bool belongs = true) { belongsToWindow_ = belongs; }

    // Every message after WM_NCCREATE but WM_NCDESTROY, which FormWindow handles itself.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

    HWND window_ = nullptr;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool belongsToWindow_ = false;
};

// The position of the pointer in a window's client area, for WM_SETCURSOR: nothing when the
// pointer is not over the client area (lParam's hit-test code says where it is).
inline bool PointerInClient(HWND window, LPARAM setCursorParam, POINT& point) {
    if (LOWORD(setCursorParam) != HTCLIENT) return false;
    GetCursorPos(&point);
    ScreenToClient(window, &point);
    return true;
}

// Shows the hand that a web link takes; for WM_SETCURSOR, which then returns TRUE.
inline LRESULT ShowLinkCursor() {
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
    return TRUE;
}

// The object given as creation parameter to a window, kept in the window's user data from
// WM_NCCREATE on; also for child windows that hand their messages to their dialog.
template <typename Object>
Object* WindowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace lumera::win32
