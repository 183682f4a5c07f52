// System library functions looked up on first use instead of imported: the start then does
// not pay for loading libraries that only some commands need (the file chooser, the shell,
// the sound API).
#pragma once

#include <windows.h>

namespace lumera::win32 {

// The address of `function` in the system library `library`, which is loaded from the
// system folder on the first request and then kept; null when either cannot be had.
FARPROC SystemLibraryFunction(const wchar_t* library, const char* function);

// The same, typed. Pointer is the function's pointer type, e.g. decltype(&::PlaySoundA),
// which names the function without importing it.
template <typename Pointer>
Pointer SystemFunction(const wchar_t* library, const char* function) {
    // Through the generic function pointer type, which converts to any other without warning.
    return reinterpret_cast<Pointer>(reinterpret_cast<void (*)()>(SystemLibraryFunction(library, function)));
}

}  // namespace lumera::win32
