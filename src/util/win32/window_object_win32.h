// The C++ object behind a window of ours: the creation parameter given to CreateWindowEx,
// kept in the window's user data from WM_NCCREATE on, so that a window procedure finds it.
#pragma once

#include <windows.h>

namespace lumera::win32 {

template <typename Object>
Object* WindowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace lumera::win32
